#pragma once

// Scenes for the hidden-line tests, as scene text: shapes that hide one another and
// themselves in many places, made in code.

#include <Tessara/math/SbVec3f.h>

#include <cmath>
#include <random>
#include <sstream>
#include <string>

// Triangles about random centres, in random directions: they pierce and cover one another.
inline std::string randomTriangles(unsigned seed, int count) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> centre(-0.6f, 0.6f), corner(-0.45f, 0.45f);
    std::ostringstream points, sizes;
    float c[3] = {};
    for (int i = 0; i < 3 * count; ++i) {
        if (i % 3 == 0) sizes << "3 ";
        for (int axis = 0; axis < 3; ++axis) {
            if (i % 3 == 0) c[axis] = centre(random);
            points << c[axis] + corner(random) << (axis < 2 ? " " : ", ");
        }
    }
    return "Coordinate3 { point [ " + points.str() + "] } FaceSet { numVertices [ " + sizes.str() +
           "] }";
}

// A (2,3) torus knot tube, tilted: it hides parts of itself in many places.
inline std::string torusKnot() {
    const int steps = 90, around = 8;
    auto knot = [](double t) {
        const double r = 2 + std::cos(3 * t);
        return SbVec3f(float(r * std::cos(2 * t)), float(r * std::sin(2 * t)),
                       float(-std::sin(3 * t)));
    };
    std::ostringstream points, faces;
    for (int i = 0; i < steps; ++i) {
        const double t = 2 * M_PI * i / steps;
        SbVec3f along = knot(t + 1e-3) - knot(t - 1e-3), side = along.cross(SbVec3f(0, 0, 1));
        along.normalize(), side.normalize();
        const SbVec3f up = along.cross(side);
        for (int j = 0; j < around; ++j) {
            const float a = float(2 * M_PI * j / around);
            const SbVec3f p = knot(t) + side * 0.45f * std::cos(a) + up * 0.45f * std::sin(a);
            points << p[0] << ' ' << p[1] << ' ' << p[2] << ", ";
            const int k = i * around + j, next = (i + 1) % steps * around;
            const int b = next + (j + 1) % around, d = i * around + (j + 1) % around;
            faces << k << ' ' << b << ' ' << next + j << " -1 " << k << ' ' << d << ' ' << b
                  << " -1 ";
        }
    }
    return "Rotation { rotation 1 0 0 0.6 } Coordinate3 { point [ " + points.str() +
           "] } IndexedFaceSet { coordIndex [ " + faces.str() + "] }";
}
