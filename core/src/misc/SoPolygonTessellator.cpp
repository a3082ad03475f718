#include <GL/glu.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbPolygonNormal.h>
#include <Tessara/misc/SoPolygonTessellator.h>

#include <algorithm>
#include <cmath>
#include <memory>

#include "SoBandLines.h"
#include "SoDelaunayFlips.h"
#include "SoPolygonPieces.h"
#include "SoSectorRays.h"

#ifndef CALLBACK
#define CALLBACK
#endif

namespace {

using Contours = std::vector<SoPolygonPieces::Contour>;
using Corners = std::vector<SoPolygonPieces::Corner>;

std::size_t cornerCount(const Contours& contours) {
    std::size_t count = 0;
    for (const SoPolygonPieces::Contour& contour : contours) count += contour.size();
    return count;
}

// The ways to cut a polygon, in the order they are tried: bands across `axis`, bands across
// `otherAxis`, sectors round its middle.
enum class Cut { ALONG_AXIS, ALONG_OTHER_AXIS, ROUND_MIDDLE };

std::unique_ptr<SoPolygonBorders> bordersFor(Cut way, Corners& corners, const Contours& contours,
                                             int axis, int otherAxis, std::size_t pieces) {
    switch (way) {
        case Cut::ALONG_AXIS:
            return std::make_unique<SoBandLines>(corners, contours, axis, int(pieces));
        case Cut::ALONG_OTHER_AXIS:
            return std::make_unique<SoBandLines>(corners, contours, otherAxis, int(pieces));
        case Cut::ROUND_MIDDLE:
            break;
    }
    return std::make_unique<SoSectorRays>(corners, contours, axis, otherAxis, int(pieces));
}

// The most pieces cut one way that add at most a quarter to the corners: long edges, or an
// outline that zigzags finer than the pieces, cross many borders. Fewer, wider pieces cross
// fewer: each retry takes as many as would add a quarter at the rate the last cut added, and
// at most half as many as before. Pieces are not cut again: the pieces beside a border share
// the corners on it, and a second cut of one piece alone would add corners to its side of
// the border that the other side lacks.
std::vector<Contours> cutOneWay(Cut way, Corners& corners, const Contours& contours, int axis,
                                int otherAxis, std::size_t pieces) {
    const std::size_t count = cornerCount(contours);
    while (pieces >= 2) {
        const std::size_t known = corners.size();
        const std::unique_ptr<SoPolygonBorders> borders =
            bordersFor(way, corners, contours, axis, otherAxis, pieces);
        std::vector<Contours> cut = SoPolygonPieces::cut(corners, contours, *borders);
        std::size_t cutCount = 0;
        for (const Contours& piece : cut) cutCount += cornerCount(piece);
        if (!cut.empty() && cutCount <= count + count / 4) return cut;
        corners.resize(known);
        if (cut.empty()) break;
        pieces = std::min(pieces / 2, pieces * count / (4 * (cutCount - count)));
    }
    return {};
}

std::size_t largestPiece(const std::vector<Contours>& pieces) {
    std::size_t largest = 0;
    for (const Contours& piece : pieces) largest = std::max(largest, cornerCount(piece));
    return largest;
}

// Pieces of about a quarter of `cornersAtOnce` corners, cut the way that makes the most of
// them; a polygon that no way suits is left whole. Bands come first: they cut a comb, and any
// outline whose edges are short, as asked. A star's long edges cross them, but hardly a
// sector's rays. Sectors are the last resort, for pieces that bands leave larger than the
// tessellator takes at once: their triangles fan out from the middle, and the fans of a
// gear's two faces cross each other far more often than the chords that bands leave, which
// a hidden-line drawing pays for at every crossing.
std::vector<Contours> cutIntoPieces(Corners& corners, const Contours& contours, int axis,
                                    int otherAxis, int cornersAtOnce) {
    const std::size_t asked =
        cornerCount(contours) / std::size_t(std::max(cornersAtOnce / 4, 3)) + 1;
    std::vector<Contours> best{contours};
    Corners bestCorners = corners;
    for (const Cut way : {Cut::ALONG_AXIS, Cut::ALONG_OTHER_AXIS, Cut::ROUND_MIDDLE}) {
        if (best.size() >= asked ||
            (way == Cut::ROUND_MIDDLE && largestPiece(best) <= std::size_t(cornersAtOnce)))
            break;
        Corners trial = corners;
        std::vector<Contours> cut = cutOneWay(way, trial, contours, axis, otherAxis, asked);
        if (cut.size() > best.size()) best = std::move(cut), bestCorners = std::move(trial);
    }
    corners = std::move(bestCorners);
    return best;
}

}  // namespace

struct SoPolygonTessellator::Callbacks {
    static void CALLBACK vertex(void* vertexData, void* polygonData) {
        auto* self = static_cast<SoPolygonTessellator*>(polygonData);
        self->pending_.push_back(*static_cast<int*>(vertexData));
        if (self->pending_.size() == 3) {
            self->triangles_.insert(self->triangles_.end(), self->pending_.begin(),
                                    self->pending_.end());
            self->pending_.clear();
        }
    }
    static void CALLBACK begin(GLenum, void* polygonData) {
        static_cast<SoPolygonTessellator*>(polygonData)->pending_.clear();
    }
    // Registering an edge-flag callback makes GLU emit separate triangles only.
    static void CALLBACK edgeFlag(GLboolean, void*) {}
    static void CALLBACK combine(GLdouble coords[3], void* vertexData[4], GLfloat weight[4],
                                 void** outData, void* polygonData) {
        auto* self = static_cast<SoPolygonTessellator*>(polygonData);
        CombinedVertex v;
        v.point.setValue(static_cast<float>(coords[0]), static_cast<float>(coords[1]),
                         static_cast<float>(coords[2]));
        for (int i = 0; i < 4; ++i) {
            v.sources[i] = vertexData[i] ? *static_cast<int*>(vertexData[i]) : -1;
            v.weights[i] = vertexData[i] ? weight[i] : 0.0f;
        }
        self->combined_.push_back(v);
        const int id = self->getNumInputVertices() + static_cast<int>(self->combined_.size()) - 1;
        self->vertexIds_.push_back(id);
        *outData = &self->vertexIds_.back();
    }
    static void CALLBACK error(GLenum code, void* polygonData) {
        auto* self = static_cast<SoPolygonTessellator*>(polygonData);
        self->failed_ = true;
        SoDebugError::postWarning("SoPolygonTessellator",
                                  "The polygon could not be tessellated: %s",
                                  reinterpret_cast<const char*>(gluErrorString(code)));
    }
};

SoPolygonTessellator::SoPolygonTessellator(Winding winding, int cornersAtOnce)
    : winding_(winding), cornersAtOnce_(cornersAtOnce) {
    GLUtesselator* tess = gluNewTess();
    tess_ = tess;
    if (!tess) return;
    using Fn = void(CALLBACK*)();
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<Fn>(&Callbacks::begin));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<Fn>(&Callbacks::vertex));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<Fn>(&Callbacks::edgeFlag));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<Fn>(&Callbacks::combine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<Fn>(&Callbacks::error));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE,
                    winding_ == ODD ? GLU_TESS_WINDING_ODD : GLU_TESS_WINDING_NONZERO);
}

SoPolygonTessellator::~SoPolygonTessellator() {
    if (tess_) gluDeleteTess(static_cast<GLUtesselator*>(tess_));
}

void SoPolygonTessellator::beginPolygon() {
    points_.clear();
    contourStarts_.clear();
    coords_.clear();
    combined_.clear();
    triangles_.clear();
    pending_.clear();
    vertexIds_.clear();
    failed_ = false;
}

void SoPolygonTessellator::beginContour() {
    contourStarts_.push_back(getNumInputVertices());
}

void SoPolygonTessellator::addVertex(const SbVec3f& point) {
    points_.push_back(point);
}

void SoPolygonTessellator::endContour() {}

bool SoPolygonTessellator::endPolygon() {
    if (!tess_) return false;
    for (const SbVec3f& p : points_) addCorner({p[0], p[1], p[2]});
    // Polygons without area or with corners that are not finite are left as the GLU
    // tessellator makes them of the whole.
    const std::vector<std::vector<int>> contours = wholeContours();
    const SbVec3f facing = normal(contours);
    const bool hasPlane = facing != SbVec3f(0.0f, 0.0f, 0.0f) && std::isfinite(facing[0]);
    if (getNumInputVertices() > cornersAtOnce_ && hasPlane)
        tessellateInPieces(contours, facing);
    else
        tessellateWhole(contours);
    if (failed_)
        triangles_.clear();
    else if (hasPlane)
        flipSlivers(facing);
    return !failed_;
}

// In the polygon's plane, to scale: a flip that widens triangles there widens them on any page
// that faces the plane.
void SoPolygonTessellator::flipSlivers(const SbVec3f& normal) {
    int shortest = 0;
    for (int i = 1; i < 3; ++i)
        if (std::fabs(normal[i]) < std::fabs(normal[shortest])) shortest = i;
    SbVec3f axis(0.0f, 0.0f, 0.0f);
    axis[shortest] = 1.0f;
    SbVec3f u = normal.cross(axis);
    u.normalize();
    const SbVec3f v = normal.cross(u);
    std::vector<std::array<double, 2>> corners;
    const int count = getNumInputVertices() + static_cast<int>(combined_.size());
    for (int n = 0; n < count; ++n) corners.push_back({getPoint(n).dot(u), getPoint(n).dot(v)});
    SoDelaunayFlips::improve(corners, triangles_);
}

void SoPolygonTessellator::addCorner(const std::array<double, 3>& coords) {
    vertexIds_.push_back(static_cast<int>(coords_.size()));
    coords_.push_back(coords);
}

void SoPolygonTessellator::feed(const std::vector<std::vector<int>>& contours) {
    auto* tess = static_cast<GLUtesselator*>(tess_);
    gluTessBeginPolygon(tess, this);
    for (const std::vector<int>& contour : contours) {
        gluTessBeginContour(tess);
        for (const int n : contour)
            gluTessVertex(tess, coords_[std::size_t(n)].data(), &vertexIds_[std::size_t(n)]);
        gluTessEndContour(tess);
    }
    gluTessEndPolygon(tess);
}

void SoPolygonTessellator::tessellateWhole(const std::vector<std::vector<int>>& contours) {
    gluTessNormal(static_cast<GLUtesselator*>(tess_), 0.0, 0.0, 0.0);
    feed(contours);
}

// The GLU tessellator's work grows with the square of a face's corners where its sweep
// splits the face again and again, or where the sweep line meets many edges at once: a comb
// of 80,000 corners took 8 s, a star of 100,000 90 s. In pieces of a quarter of
// `cornersAtOnce` corners it takes time in proportion to its corners. Every piece is given
// the polygon's normal, so that all of them face the same way.
void SoPolygonTessellator::tessellateInPieces(const std::vector<std::vector<int>>& contours,
                                              const SbVec3f& normal) {
    int longest = 0;
    for (int i = 1; i < 3; ++i)
        if (std::fabs(normal[i]) > std::fabs(normal[longest])) longest = i;
    Corners corners;
    for (const auto& coords : coords_) corners.push_back({coords});
    const std::vector<Contours> pieces =
        cutIntoPieces(corners, contours, (longest + 1) % 3, (longest + 2) % 3, cornersAtOnce_);

    for (std::size_t n = coords_.size(); n < corners.size(); ++n) {
        const SoPolygonPieces::Corner& c = corners[n];
        addCorner(c.point);
        const float t = static_cast<float>(c.t);
        combined_.push_back({SbVec3f(float(c.point[0]), float(c.point[1]), float(c.point[2])),
                             {c.from, c.to, -1, -1},
                             {1.0f - t, t, 0.0f, 0.0f}});
    }
    gluTessNormal(static_cast<GLUtesselator*>(tess_), normal[0], normal[1], normal[2]);
    for (std::size_t k = 0; k < pieces.size() && !failed_; ++k)
        if (!pieces[k].empty()) feed(pieces[k]);
}

std::vector<std::vector<int>> SoPolygonTessellator::wholeContours() const {
    std::vector<std::vector<int>> contours;
    for (std::size_t c = 0; c < contourStarts_.size(); ++c) {
        const int end =
            c + 1 < contourStarts_.size() ? contourStarts_[c + 1] : getNumInputVertices();
        contours.emplace_back();
        for (int n = contourStarts_[c]; n < end; ++n) contours.back().push_back(n);
    }
    return contours;
}

SbVec3f SoPolygonTessellator::normal(const std::vector<std::vector<int>>& contours) const {
    SbPolygonNormal newell;
    for (const std::vector<int>& contour : contours) {
        newell.beginContour();
        for (const int n : contour) newell.add(points_[std::size_t(n)]);
    }
    return newell.getUnit();
}

const SbVec3f& SoPolygonTessellator::getPoint(int n) const {
    return n < getNumInputVertices() ? points_[n] : getCombined(n).point;
}
