#pragma once

// The painter's promise, checked on its result alone: where two printed polygons overlap on
// the page by more than 1e-6, the later one is not deeper by more than 1e-5 at the centre of
// the overlap.

#include <algorithm>
#include <array>

#include "HlhsrFixture.h"

namespace hlhsr {

using Outline = std::vector<std::array<double, 2>>;

inline double twiceArea(const Outline& p) {
    double sum = 0.0;
    for (size_t k = 0, n = p.size(); k < n; ++k)
        sum += p[k][0] * p[(k + 1) % n][1] - p[(k + 1) % n][0] * p[k][1];
    return sum;
}

/// The part of `subject` inside the convex counter-clockwise `clipper`.
inline Outline overlap(Outline subject, const Outline& clipper) {
    for (size_t e = 0; e < clipper.size(); ++e) {
        const auto &a = clipper[e], &b = clipper[(e + 1) % clipper.size()];
        auto side = [&](const std::array<double, 2>& p) {
            return (b[0] - a[0]) * (p[1] - a[1]) - (b[1] - a[1]) * (p[0] - a[0]);
        };
        Outline kept;
        for (size_t k = 0; k < subject.size(); ++k) {
            const auto &p = subject[k], &q = subject[(k + 1) % subject.size()];
            if (side(p) >= 0) kept.push_back(p);
            if ((side(p) >= 0) != (side(q) >= 0)) {
                const double t = side(p) / (side(p) - side(q));
                kept.push_back({p[0] + t * (q[0] - p[0]), p[1] + t * (q[1] - p[1])});
            }
        }
        subject = kept;
    }
    return subject;
}

/// The page outline of a polygon, counter-clockwise.
inline Outline outlineOf(const SoPolygon& g) {
    Outline p;
    for (int k = 0; k < g.numPoints; ++k) p.push_back({g.points[k][0], g.points[k][1]});
    if (twiceArea(p) < 0) std::reverse(p.begin(), p.end());
    return p;
}

inline double depthAt(const SoPolygon& g, double x, double y) {
    const SbVec4f& o = g.points[0];
    return o[2] - (g.normal[0] * (x - o[0]) + g.normal[1] * (y - o[1])) / g.normal[2];
}

/// The pairs of polygons of list printed in the wrong order.
inline int wrongPairs(SoGraphicPrimitiveList& list) {
    std::vector<SoPolygon*> polygons;
    std::vector<Outline> outlines;
    for (int i = 0; i < list.getLength(); ++i) {
        if (list.getPrimitive(i)->getType() != SoGraphicPrimitive::POLYGON) continue;
        polygons.push_back(static_cast<SoPolygon*>(list.getPrimitive(i)));
        outlines.push_back(outlineOf(*polygons.back()));
    }
    int wrong = 0;
    for (size_t i = 0; i < polygons.size(); ++i)
        for (size_t j = i + 1; j < polygons.size(); ++j) {
            const Outline o = overlap(outlines[j], outlines[i]);
            if (o.size() < 3 || twiceArea(o) <= 2e-6) continue;
            double x = 0, y = 0;  // the mean of the corners: inside, near enough the centre
            for (const auto& p : o) x += p[0] / o.size(), y += p[1] / o.size();
            if (depthAt(*polygons[j], x, y) > depthAt(*polygons[i], x, y) + 1e-5) ++wrong;
        }
    return wrong;
}

}  // namespace hlhsr
