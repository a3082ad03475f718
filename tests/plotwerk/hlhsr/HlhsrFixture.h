#pragma once

// What the hidden-surface tests share: the engine's private classes and records built from
// plain coordinates.

#include <PlotWerk/SoPlotWerk.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "../../../libPlotWerk/src/hlhsr/SoGraphicPrimitiveList.h"
#include "../../../libPlotWerk/src/hlhsr/SoHLHSRPainter.h"
#include "../../../libPlotWerk/src/hlhsr/SoHLHSRVectorize.h"
#include "../../../libPlotWerk/src/hlhsr/SoPolyLine.h"
#include "../../../libPlotWerk/src/hlhsr/SoPolyMark.h"
#include "../../../libPlotWerk/src/hlhsr/SoPolygon.h"
#include "plotwerk/support/SceneText.h"

namespace hlhsr {

inline SbVec4f pt(float x, float y, float z) {
    return SbVec4f(x, y, z, 1.0f);
}

/// A colour that names a record: (k / 256, 0, 0) tells printed records apart.
inline SbColor tag(int k) {
    return SbColor(static_cast<float>(k) / 256.0f, 0.0f, 0.0f);
}

inline int tagOf(const SbColor& color) {
    return static_cast<int>(color[0] * 256.0f + 0.5f);
}

/// A filled polygon of the given points, every point coloured tag(k), numbered k.
inline SoPolygon* polygon(const std::vector<SbVec4f>& points, int k = 0) {
    std::vector<SbColor> colors(points.size(), tag(k));
    auto* p = new SoPolygon;
    p->set(static_cast<int>(points.size()), points.data(), colors.data(), 0, 0.0f, 0.0f, 0xFFFF, 1,
           0, SbString(), SbString(), nullptr, 0.0f, 0.0f, 0.0f);
    p->id = k;
    return p;
}

/// An axis-aligned square at one depth.
inline SoPolygon* square(float x0, float y0, float x1, float y1, float z, int k = 0) {
    return polygon({pt(x0, y0, z), pt(x1, y0, z), pt(x1, y1, z), pt(x0, y1, z)}, k);
}

inline SoPolyLine* segment(const SbVec4f& a, const SbVec4f& b, int k = 0) {
    const SbVec4f points[2] = {a, b};
    const SbColor colors[2] = {tag(k), tag(k)};
    auto* line = new SoPolyLine;
    line->set(2, points, colors, 0, 1.0f, 0xFFFF, 1, 0.0f);
    line->id = k;
    return line;
}

inline SoPolyMark* mark(const SbVec4f& p, int k = 0) {
    const SbColor color = tag(k);
    auto* m = new SoPolyMark;
    m->set(1, &p, &color, 0, 2.0f, nullptr, 0.0f);
    m->id = k;
    return m;
}

/// The corners of a convex polygon of 3 to 7 corners on the plane z = a x + b y + c, turning
/// either way round on the page.
struct RandomConvex {
    std::vector<SbVec4f> corners;
    float a, b, c;
};

inline RandomConvex randomConvex(std::mt19937& random) {
    std::uniform_real_distribution<float> unit(-1.0f, 1.0f);
    RandomConvex p{{}, 0.5f * unit(random), 0.5f * unit(random), 0.5f + 0.2f * unit(random)};
    std::vector<float> angles(3 + random() % 5);
    for (float& angle : angles) angle = 3.14159f * unit(random);
    std::sort(angles.begin(), angles.end());
    if (random() % 2) std::reverse(angles.begin(), angles.end());
    const float cx = 0.3f * unit(random), cy = 0.3f * unit(random), r = 0.3f + 0.1f * unit(random);
    for (float angle : angles) {
        const float x = cx + r * std::cos(angle), y = cy + r * std::sin(angle);
        p.corners.push_back(pt(x, y, p.a * x + p.b * y + p.c));
    }
    return p;
}

/// The tag of every record of the list, in list order.
inline std::vector<int> tagsOf(const SoGraphicPrimitiveList& list) {
    std::vector<int> tags;
    for (int i = 0; i < list.getLength(); ++i) {
        SoGraphicPrimitive* record = list.getPrimitive(i);
        SbColor* color = record->getColor(0);
        tags.push_back(color ? tagOf(*color) : -1);
    }
    return tags;
}

}  // namespace hlhsr
