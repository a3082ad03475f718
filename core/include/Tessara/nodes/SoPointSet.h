#pragma once

#include <Tessara/nodes/SoShape.h>

/// A set of points, one per coordinate of the current coordinate array.
class SoPointSet : public SoShape {
    SO_NODE_HEADER(SoPointSet);

  public:
    SoPointSet();

    /// How many coordinates become points, from the first one; -1 means all of them.
    SoSFInt32 numPoints{-1};

    void computeBBox(SoAction* action, SbBox3f& box, SbVec3f& center) override;

  protected:
    ~SoPointSet() override;
    void generatePrimitives(SoAction* action) override;

    /// The number of points to emit: numPoints checked against the available coordinates
    /// (a bad count is reported and clamped).
    int getNumPointsToUse(SoAction* action) const;
};
