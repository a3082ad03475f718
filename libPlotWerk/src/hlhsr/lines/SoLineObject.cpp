#include "SoLineObject.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "../SoBitsHash.h"

namespace {
// Outline tests this close to 0 count as on the edge.
constexpr double ON_EDGE = 1e-8;
// How far beyond its box a point computed on the outline may fall by rounding.
constexpr double BOX_MARGIN = 1e-9;
// A plane whose normal has less of a depth component than this stands edge-on: it hides
// nothing that its outline would not already show as a line.
constexpr double EDGE_ON = 1e-9;
}  // namespace

SoLineObject::SoLineObject(const SoLinePoint* points, int numPoints, bool closed,
                           const SoLineAttributes& attributes)
    : points_(points),
      numPoints_(std::max(numPoints, 0)),
      closed_(closed),
      attributes_(attributes) {
    computeExtent();
    if (closed_ && numPoints_ >= 3) computePlane();
}

template <class T>
T* SoLineObject::copyInto(std::pmr::memory_resource& arena, const T* data, int count) {
    if (!data || count <= 0) return nullptr;
    const size_t bytes = sizeof(T) * static_cast<size_t>(count);
    T* copy = static_cast<T*>(arena.allocate(bytes, alignof(T)));
    std::memcpy(static_cast<void*>(copy), data, bytes);
    return copy;
}

void SoLineObject::keepIn(std::pmr::memory_resource& arena) {
    const int numEdges = getNumEdges();
    points_ = copyInto(arena, points_, numPoints_);
    normals = copyInto(arena, normals, numPoints_);
    patternRun = copyInto(arena, patternRun, patternRun ? numEdges + 1 : 0);
    drawn = numEdges > 0 ? static_cast<char*>(arena.allocate(static_cast<size_t>(numEdges), 1))
                         : nullptr;
    std::fill(drawn, drawn + numEdges, char(1));
}

bool SoLineObject::sameAs(const SoLineObject& other, double tolerance) const {
    const SoLineAttributes &a = attributes_, &b = other.attributes_;
    const size_t runs = patternRun ? static_cast<size_t>(getNumEdges()) + 1 : 0;
    auto near = [tolerance](const SoLinePoint& p, const SoLinePoint& q) {
        return std::memcmp(&p, &q, sizeof p) == 0 ||
               (std::fabs(p.x - q.x) <= tolerance && std::fabs(p.y - q.y) <= tolerance &&
                std::fabs(p.z - q.z) <= tolerance);
    };
    return closed_ == other.closed_ && numPoints_ == other.numPoints_ &&
           std::equal(points_, points_ + numPoints_, other.points_, near) && a.color == b.color &&
           a.lineWidth == b.lineWidth && a.linePattern == b.linePattern &&
           a.linePatternScaleFactor == b.linePatternScaleFactor &&
           !patternRun == !other.patternRun &&
           std::equal(patternRun, patternRun + runs, other.patternRun);
}

void SoLineObject::computeExtent() {
    if (numPoints_ == 0) return;
    xmin = xmax = points_[0].x, ymin = ymax = points_[0].y, zmin = zmax = points_[0].z;
    for (int k = 1; k < numPoints_; ++k) {
        const SoLinePoint& p = points_[k];
        xmin = std::min(xmin, p.x), xmax = std::max(xmax, p.x);
        ymin = std::min(ymin, p.y), ymax = std::max(ymax, p.y);
        zmin = std::min(zmin, p.z), zmax = std::max(zmax, p.z);
    }
}

// Newell's normal over all the points: no three of them decide alone, so nearly collinear
// corners do not tip the plane.
void SoLineObject::computePlane() {
    double nx = 0, ny = 0, nz = 0;
    for (int k = 0; k < numPoints_; ++k) {
        const SoLinePoint& p = points_[k];
        const SoLinePoint& q = points_[(k + 1) % numPoints_];
        nx += (p.y - q.y) * (p.z + q.z);
        ny += (p.z - q.z) * (p.x + q.x);
        nz += (p.x - q.x) * (p.y + q.y);
    }
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (!(length > 0)) return;
    windingNormal_ = {nx / length, ny / length, nz / length};
    if (std::fabs(windingNormal_.z) < EDGE_ON) return;
    // Towards the viewer, and the outline's sense on the page follows the same sign.
    sense_ = windingNormal_.z > 0 ? 1 : -1;
    const SoLinePoint towardsViewer{windingNormal_.x * sense_, windingNormal_.y * sense_,
                                    windingNormal_.z * sense_};
    plane_ = SoLinePlane::through(points_[0], towardsViewer);
    hides_ = true;
}

bool SoLineObject::enclosesNothing() const {
    return closed_ && windingNormal_.x == 0 && windingNormal_.y == 0 && windingNormal_.z == 0;
}

// The box bounds the outline along its edges too: the edge tests alone would take in the
// whole line through an outline whose points all lie on one line, as a polygon seen edge-on.
bool SoLineObject::outlineContains(double x, double y) const {
    if (!(x >= xmin - BOX_MARGIN && x <= xmax + BOX_MARGIN && y >= ymin - BOX_MARGIN &&
          y <= ymax + BOX_MARGIN))
        return false;
    for (int k = 0; k < numPoints_; ++k) {
        double o = insideEdge(k, x, y);
        if (std::fabs(o) < ON_EDGE) o = 0;
        if (o < 0) return false;
    }
    return true;
}

double SoLineObject::insideEdge(int k, double x, double y) const {
    const SoLinePoint& v = points_[k];
    const SoLinePoint& w = points_[(k + 1) % numPoints_];
    return ((w.x - v.x) * (y - w.y) - (w.y - v.y) * (x - w.x)) * sense_;
}

bool SoLineObject::apartOnPageFrom(const SoLineObject& other) const {
    for (int k = 0; k < numPoints_; ++k) {
        const SoLinePoint &v = points_[k], &w = points_[edgeEndIndex(k)];
        bool apart = true;
        for (int j = 0; j < other.numPoints_ && apart; ++j) {
            const SoLinePoint& q = other.points_[j];
            apart = ((w.x - v.x) * (q.y - w.y) - (w.y - v.y) * (q.x - w.x)) * sense_ <= 0;
        }
        if (apart) return true;
    }
    return false;
}

double SoLineObject::pageSide(const SoLinePoint& a, const SoLinePoint& b) const {
    double side = 0;
    for (int k = 0; k < numPoints_; ++k)
        side += (b.x - a.x) * (points_[k].y - a.y) - (b.y - a.y) * (points_[k].x - a.x);
    return side;
}

bool SoLineObject::hidesPoint(const SoLinePoint& p) const {
    return hides_ && p.x >= xmin && p.x <= xmax && p.y >= ymin && p.y <= ymax && planeHides(p) &&
           outlineContains(p.x, p.y);
}

SoLineObject::Stretch SoLineObject::stretchInside(const SoLinePoint& from,
                                                  const SoLinePoint& to) const {
    Stretch stretch;
    for (int k = 0; k < numPoints_ && stretch.first <= stretch.last; ++k) {
        const double a = insideEdge(k, from.x, from.y), b = insideEdge(k, to.x, to.y);
        if (a < 0 && b < 0) stretch.first = 1.0, stretch.last = 0.0;
        if (a < 0 && b >= 0 && a / (a - b) > stretch.first)
            stretch.first = a / (a - b), stretch.firstEdge = k;
        if (b < 0 && a >= 0 && a / (a - b) < stretch.last)
            stretch.last = a / (a - b), stretch.lastEdge = k;
    }
    return stretch;
}

float SoLineObject::patternAt(int e, double t) const {
    if (!patternRun || e < 0 || e >= getNumEdges()) return 0.0f;
    const double from = patternRun[e], to = patternRun[e + 1];
    return static_cast<float>(from + t * (to - from));
}
