#include "nodes/shapes/SoNormalGenerator.h"

#include <Tessara/math/SbPolygonNormal.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr float kPi = 3.14159265358979323846f;

SbVec3f newellNormal(const SbVec3f* coords, const int32_t* corners, int n) {
    SbPolygonNormal normal;
    for (int i = 0; i < n; ++i) normal.add(coords[corners[i]]);
    return normal.getUnit();
}

bool sameBits(const SbVec3f& a, const SbVec3f& b) {
    return std::memcmp(a.getValue(), b.getValue(), sizeof(float) * 3) == 0;
}

// Orders normals by their bit patterns: a strict order even when a NaN is among them.
bool bitsLess(const SbVec3f& a, const SbVec3f& b) {
    uint32_t ka[3], kb[3];
    std::memcpy(ka, a.getValue(), sizeof(ka));
    std::memcpy(kb, b.getValue(), sizeof(kb));
    return std::lexicographical_compare(ka, ka + 3, kb, kb + 3);
}

// Normals nearer than this cosine differ by the rounding of their faces' corners only: the
// faces lie in one plane.
constexpr float kOnePlane = 1.0f - 1e-6f;

// Above this many corners on one coordinate, identical face normals (a flat fan around a
// centre, say) are merged first so that the work does not grow with the square of the count.
constexpr int kDirectLimit = 32;

}  // namespace

void SoNormalGenerator::generate(const SbVec3f* coords, int numCoords, const int32_t* corners,
                                 const int32_t* starts, int numFaces, float creaseAngle,
                                 bool clockwise) {
    if (numFaces < 0) numFaces = 0;
    makeFaceNormals(coords, numCoords, corners, starts, numFaces, clockwise);
    smooth_ = creaseAngle > 0.0f;  // false for NaN too
    cornerNormals_.clear();
    if (smooth_) smooth(coords, numCoords, corners, starts, numFaces, creaseAngle);
}

void SoNormalGenerator::makeFaceNormals(const SbVec3f* coords, int numCoords,
                                        const int32_t* corners, const int32_t* starts, int numFaces,
                                        bool clockwise) {
    faceNormals_.assign(numFaces, SbVec3f(0, 0, 0));
    validFace_.assign(numFaces, false);
    for (int f = 0; f < numFaces; ++f) {
        const int32_t* face = corners + starts[f];
        const int n = starts[f + 1] - starts[f];
        bool valid = n >= 3;
        for (int i = 0; i < n && valid; ++i) valid = face[i] >= 0 && face[i] < numCoords;
        if (!valid) continue;
        SbVec3f normal = newellNormal(coords, face, n);
        if (clockwise) normal.negate();
        faceNormals_[f] = normal;
        validFace_[f] = true;
    }
}

// Faces meet where their corners lie, whatever the indices: a mesh that stores every face's
// corners apart (as STL files do) smooths as its welded form would.
void SoNormalGenerator::findPlaces(const SbVec3f* coords, int numCoords) {
    std::vector<int32_t> order(numCoords);
    for (int c = 0; c < numCoords; ++c) order[c] = c;
    // +0.0f makes -0 and 0 one place; NaN coordinates meet only their own bit patterns.
    auto place = [coords](int32_t c) { return coords[c] + SbVec3f(0.0f, 0.0f, 0.0f); };
    std::sort(order.begin(), order.end(),
              [&](int32_t a, int32_t b) { return bitsLess(place(a), place(b)); });
    placeOf_.resize(numCoords);
    for (int i = 0; i < numCoords; ++i) {
        const bool same = i > 0 && sameBits(place(order[i]), place(order[i - 1]));
        placeOf_[order[i]] = same ? placeOf_[order[i - 1]] : order[i];
    }
}

void SoNormalGenerator::smooth(const SbVec3f* coords, int numCoords, const int32_t* corners,
                               const int32_t* starts, int numFaces, float creaseAngle) {
    const int numCorners = numFaces > 0 ? starts[numFaces] : 0;
    cornerNormals_.assign(numCorners, SbVec3f(0, 0, 0));
    faceOfCorner_.assign(numCorners, -1);
    cornerOffsets_.assign(static_cast<size_t>(numCoords) + 1, 0);
    findPlaces(coords, numCoords);
    // Buckets of corners per place, counted first so that one array holds them all.
    for (int f = 0; f < numFaces; ++f) {
        if (!validFace_[f]) continue;
        for (int k = starts[f]; k < starts[f + 1]; ++k) {
            faceOfCorner_[k] = f;
            ++cornerOffsets_[placeOf_[corners[k]] + 1];
        }
    }
    for (int c = 0; c < numCoords; ++c) cornerOffsets_[c + 1] += cornerOffsets_[c];
    cornersByCoord_.resize(cornerOffsets_[numCoords]);
    std::vector<int32_t> fill(cornerOffsets_.begin(), cornerOffsets_.end() - 1);
    for (int k = 0; k < numCorners; ++k)
        if (faceOfCorner_[k] >= 0) cornersByCoord_[fill[placeOf_[corners[k]]]++] = k;

    // Angles past half a turn cover every pair of faces, opposite ones included.
    const bool all = creaseAngle >= kPi;
    const float cosCrease = all ? -1.0f : std::cos(creaseAngle);
    for (int c = 0; c < numCoords; ++c) {
        const int count = cornerOffsets_[c + 1] - cornerOffsets_[c];
        if (count == 0) continue;
        const int32_t* list = cornersByCoord_.data() + cornerOffsets_[c];
        if (count <= kDirectLimit) {
            smoothCoordinate(list, count, cosCrease, all);
        } else {
            smoothManyCorners(list, count, cosCrease, all);
        }
    }
}

// A face's own normal always counts, whatever rounding does to its dot product with itself;
// a face that uses the coordinate twice counts once. Where every face that counts lies in
// the face's own plane, the corner keeps the face's normal to the bit, as the rounded sum
// would not: the corners of a flat face then light alike, and it prints as a flat fill.
void SoNormalGenerator::smoothCoordinate(const int32_t* cornerList, int count, float cosCrease,
                                         bool all) {
    for (int i = 0; i < count; ++i) {
        const int fi = faceOfCorner_[cornerList[i]];
        const SbVec3f& ni = faceNormals_[fi];
        SbVec3f sum = ni;
        bool flat = true;
        for (int j = 0; j < count; ++j) {
            const int fj = faceOfCorner_[cornerList[j]];
            if (fj == fi) continue;
            const SbVec3f& nj = faceNormals_[fj];
            const bool same = sameBits(ni, nj);
            const float cosine = ni.dot(nj);
            if (!(all || same || cosine > cosCrease)) continue;
            sum += nj;
            flat = flat && (same || cosine > kOnePlane);
        }
        sum.normalize();
        cornerNormals_[cornerList[i]] = flat ? ni : sum;
    }
}

void SoNormalGenerator::smoothManyCorners(const int32_t* cornerList, int count, float cosCrease,
                                          bool all) {
    std::vector<SbVec3f> distinct;
    distinct.reserve(count);
    for (int i = 0; i < count; ++i) distinct.push_back(faceNormals_[faceOfCorner_[cornerList[i]]]);
    std::sort(distinct.begin(), distinct.end(), bitsLess);
    std::vector<int> weight;
    size_t unique = 0;
    for (size_t i = 0; i < distinct.size(); ++i) {
        if (unique > 0 && sameBits(distinct[unique - 1], distinct[i])) {
            ++weight[unique - 1];
            continue;
        }
        distinct[unique++] = distinct[i];
        weight.push_back(1);
    }
    distinct.resize(unique);
    std::vector<SbVec3f> sums(unique);
    for (size_t i = 0; i < unique; ++i) {
        SbVec3f sum = distinct[i] * static_cast<float>(weight[i]);
        bool flat = true;
        for (size_t j = 0; j < unique; ++j) {
            const float cosine = distinct[i].dot(distinct[j]);
            if (j != i && (all || cosine > cosCrease)) {
                sum += distinct[j] * static_cast<float>(weight[j]);
                flat = flat && cosine > kOnePlane;
            }
        }
        sum.normalize();
        sums[i] = flat ? distinct[i] : sum;
    }
    for (int i = 0; i < count; ++i) {
        const SbVec3f& n = faceNormals_[faceOfCorner_[cornerList[i]]];
        const size_t at =
            std::lower_bound(distinct.begin(), distinct.end(), n, bitsLess) - distinct.begin();
        cornerNormals_[cornerList[i]] = sums[at];
    }
}
