#include "SoPrimitiveAssembler.h"

#include <Tessara/math/SbPolygonNormal.h>
#include <Tessara/misc/SoPolygonTessellator.h>

#include <algorithm>

namespace {

SbVec3f newellNormal(const SoPrimitiveVertex* v, int n) {
    SbPolygonNormal normal;
    for (int i = 0; i < n; ++i) normal.add(v[i].getPoint());
    return normal.getUnit();
}

// Convex when every turn goes the same way around the polygon's normal.
bool isConvex(const SoPrimitiveVertex* v, int n) {
    if (n <= 3) return true;
    const SbVec3f normal = newellNormal(v, n);
    for (int i = 0; i < n; ++i) {
        const SbVec3f& a = v[i].getPoint();
        const SbVec3f& b = v[(i + 1) % n].getPoint();
        const SbVec3f& c = v[(i + 2) % n].getPoint();
        if ((b - a).cross(c - b).dot(normal) < 0.0f) return false;
    }
    return true;
}

}  // namespace

void SoPrimitiveAssembler::begin(SoAction* action, SoShape::TriangleShape type,
                                 const SoDetail* detail) {
    action_ = action;
    type_ = type;
    detail_ = detail;
    buffer_.clear();
    count_ = 0;
}

void SoPrimitiveAssembler::vertex(const SoPrimitiveVertex& input) {
    SoPrimitiveVertex v = input;
    if (!v.getDetail() && detail_) v.setDetail(detail_);
    switch (type_) {
        case SoShape::POINTS:
            shape_->invokePointCallbacks(action_, &v);
            break;
        case SoShape::LINES:
            if (count_ % 2 == 1) shape_->invokeLineSegmentCallbacks(action_, &buffer_[0], &v);
            buffer_.assign(1, v);
            break;
        case SoShape::LINE_STRIP:
            if (count_ > 0) shape_->invokeLineSegmentCallbacks(action_, &buffer_[0], &v);
            buffer_.assign(1, v);
            break;
        case SoShape::TRIANGLES:
            buffer_.push_back(v);
            if (buffer_.size() == 3) {
                triangle(buffer_[0], buffer_[1], buffer_[2]);
                buffer_.clear();
            }
            break;
        case SoShape::QUADS:
            buffer_.push_back(v);
            if (buffer_.size() == 4) {
                polygon(shape_, action_, buffer_.data(), 4);
                buffer_.clear();
            }
            break;
        case SoShape::TRIANGLE_STRIP:
            stripVertex(v);
            break;
        case SoShape::TRIANGLE_FAN:
            fanVertex(v);
            break;
        case SoShape::QUAD_STRIP:
            quadStripVertex(v);
            break;
        case SoShape::POLYGON:
            buffer_.push_back(v);
            break;
    }
    ++count_;
}

void SoPrimitiveAssembler::end() {
    if (type_ == SoShape::POLYGON && buffer_.size() >= 3)
        polygon(shape_, action_, buffer_.data(), static_cast<int>(buffer_.size()));
    buffer_.clear();
    count_ = 0;
}

void SoPrimitiveAssembler::triangle(const SoPrimitiveVertex& a, const SoPrimitiveVertex& b,
                                    const SoPrimitiveVertex& c) {
    shape_->invokeTriangleCallbacks(action_, &a, &b, &c);
}

// Every second triangle of a strip is flipped so that all keep the first one's winding.
void SoPrimitiveAssembler::stripVertex(const SoPrimitiveVertex& v) {
    if (buffer_.size() < 2) {
        buffer_.push_back(v);
        return;
    }
    if (count_ % 2 == 0)
        triangle(buffer_[0], buffer_[1], v);
    else
        triangle(buffer_[1], buffer_[0], v);
    buffer_[0] = buffer_[1];
    buffer_[1] = v;
}

void SoPrimitiveAssembler::fanVertex(const SoPrimitiveVertex& v) {
    if (buffer_.size() < 2) {
        buffer_.push_back(v);
        return;
    }
    triangle(buffer_[0], buffer_[1], v);
    buffer_[1] = v;
}

// Quad k of a strip is vertices 2k, 2k+1, 2k+3, 2k+2.
void SoPrimitiveAssembler::quadStripVertex(const SoPrimitiveVertex& v) {
    buffer_.push_back(v);
    if (buffer_.size() < 4) return;
    const SoPrimitiveVertex quad[4] = {buffer_[0], buffer_[1], buffer_[3], buffer_[2]};
    polygon(shape_, action_, quad, 4);
    buffer_.erase(buffer_.begin(), buffer_.begin() + 2);
}

void SoPrimitiveAssembler::polygon(SoShape* shape, SoAction* action,
                                   const SoPrimitiveVertex* vertices, int n) {
    if (n < 3) return;
    if (isConvex(vertices, n)) {
        for (int i = 1; i + 1 < n; ++i)
            shape->invokeTriangleCallbacks(action, &vertices[0], &vertices[i], &vertices[i + 1]);
        return;
    }
    tessellate(shape, action, vertices, n);
}

void SoPrimitiveAssembler::tessellate(SoShape* shape, SoAction* action,
                                      const SoPrimitiveVertex* vertices, int n) {
    SoPolygonTessellator tessellator;
    tessellator.beginPolygon();
    tessellator.beginContour();
    for (int i = 0; i < n; ++i) tessellator.addVertex(vertices[i].getPoint());
    tessellator.endContour();
    tessellator.endPolygon();

    // Vertices created where edges cross are blends of the input vertices.
    std::vector<SoPrimitiveVertex> all(vertices, vertices + n);
    const auto& triangles = tessellator.getTriangles();
    int maxIndex = n - 1;
    for (int index : triangles) maxIndex = std::max(maxIndex, index);
    for (int k = n; k <= maxIndex; ++k) {
        const SoPolygonTessellator::CombinedVertex& c = tessellator.getCombined(k);
        SbVec3f normal(0, 0, 0);
        SbVec4f tex(0, 0, 0, 0);
        int first = -1;
        for (int s = 0; s < 4; ++s) {
            if (c.sources[s] < 0 || c.sources[s] >= k) continue;
            if (first < 0) first = c.sources[s];
            normal += all[c.sources[s]].getNormal() * c.weights[s];
            tex += all[c.sources[s]].getTextureCoords() * c.weights[s];
        }
        SoPrimitiveVertex blended = all[first < 0 ? 0 : first];
        blended.setPoint(c.point);
        if (normal.length() > 0.0f) normal.normalize();
        blended.setNormal(normal);
        blended.setTextureCoords(tex);
        all.push_back(blended);
    }
    for (size_t t = 0; t + 2 < triangles.size(); t += 3)
        shape->invokeTriangleCallbacks(action, &all[triangles[t]], &all[triangles[t + 1]],
                                       &all[triangles[t + 2]]);
}
