#pragma once

#include <Tessara/math/SbVec3f.h>

#include <cstdint>
#include <vector>

/// Makes normals for a shape's faces: one per face when the crease angle is 0, otherwise one
/// per face corner, averaged over the faces that share the corner's coordinate and whose
/// normals differ from the corner's face by less than the crease angle.
class SoNormalGenerator {
  public:
    /// Face f uses coordinate indices corners[starts[f]] .. corners[starts[f + 1] - 1], in
    /// counterclockwise order unless `clockwise`. A face with fewer than 3 corners or an index
    /// outside [0, numCoords) gets a zero normal and does not take part in smoothing.
    void generate(const SbVec3f* coords, int numCoords, const int32_t* corners,
                  const int32_t* starts, int numFaces, float creaseAngle, bool clockwise);

    /// True when the last generate() made one normal per corner.
    bool isSmooth() const { return smooth_; }
    /// One unit normal per face (zero for degenerate faces, NaN for NaN coordinates).
    const std::vector<SbVec3f>& getFaceNormals() const { return faceNormals_; }
    /// One normal per corner, in the order of `corners`; empty unless smooth.
    const std::vector<SbVec3f>& getCornerNormals() const { return cornerNormals_; }

  private:
    void makeFaceNormals(const SbVec3f* coords, int numCoords, const int32_t* corners,
                         const int32_t* starts, int numFaces, bool clockwise);
    void findPlaces(const SbVec3f* coords, int numCoords);
    void smooth(const SbVec3f* coords, int numCoords, const int32_t* corners, const int32_t* starts,
                int numFaces, float creaseAngle);
    void smoothCoordinate(const int32_t* cornerList, int count, float cosCrease, bool all);
    void smoothManyCorners(const int32_t* cornerList, int count, float cosCrease, bool all);

    bool smooth_ = false;
    std::vector<SbVec3f> faceNormals_;
    std::vector<SbVec3f> cornerNormals_;
    std::vector<int32_t> faceOfCorner_;   // scratch, kept to avoid reallocating
    std::vector<int32_t> placeOf_;        // per coordinate: the first coordinate at its place
    std::vector<int32_t> cornerOffsets_;  // per place: where its corners start
    std::vector<int32_t> cornersByCoord_;
    std::vector<bool> validFace_;
};
