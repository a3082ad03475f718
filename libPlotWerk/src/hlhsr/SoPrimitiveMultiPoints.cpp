#include "SoPrimitiveMultiPoints.h"

#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbVec2f.h>

#include <algorithm>

SbVec4f* SoPrimitiveMultiPoints::getPoint(int i) {
    return i >= 0 && i < numPoints ? &points[i] : nullptr;
}

SbColor* SoPrimitiveMultiPoints::getColor(int i) {
    return i >= 0 && i < numPoints ? &colors[i] : nullptr;
}

int SoPrimitiveMultiPoints::getType() const {
    return PRIMITIVE_MULTI_POINTS;
}

void SoPrimitiveMultiPoints::copyAttributes(const SoPrimitiveMultiPoints& other) {
    multicolor = other.multicolor;
}

void SoPrimitiveMultiPoints::setPoints(int n, const SbVec4f* newPoints, const SbColor* newColors,
                                       float depthOffset) {
    if (n < 0 || (n > 0 && (!newPoints || !newColors))) {
        SoDebugError::post("SoPrimitiveMultiPoints::set",
                           "%d points with a null point or colour array: no points stored", n);
        n = 0;
    }
    numPoints = n;
    points.resize(n);
    colors.resize(n);
    std::copy(newPoints, newPoints + n, points.get());
    std::copy(newColors, newColors + n, colors.get());
    if (depthOffset != 0.0f) {
        for (int i = 0; i < n; ++i) points[i][2] += depthOffset;
    }
    computeExtents();
}

// A record without points has an empty box and a zero depth range.
void SoPrimitiveMultiPoints::computeExtents() {
    bbox.makeEmpty();
    zMax = zMin = numPoints > 0 ? points[0][2] : 0.0f;
    for (int i = 0; i < numPoints; ++i) {
        const float* p = points[i].getValue();
        bbox.extendBy(SbVec2f(p[0], p[1]));
        if (p[2] > zMax) zMax = p[2];
        if (p[2] < zMin) zMin = p[2];
    }
}
