#pragma once

#include <Tessara/math/SbVec3f.h>

/// An infinite line: a position on it and a unit direction. Used for picking rays.
class SbLine {
  public:
    /// The z axis through the origin.
    SbLine() : pos_(0.0f, 0.0f, 0.0f), dir_(0.0f, 0.0f, 1.0f) {}
    /// The line through p0 and p1, directed from p0 to p1.
    SbLine(const SbVec3f& p0, const SbVec3f& p1) { setValue(p0, p1); }

    /// The line through p0 and p1; coincident points are reported and leave a line through p0
    /// along z.
    void setValue(const SbVec3f& p0, const SbVec3f& p1);
    /// The line through position along direction (normalised here); a zero direction is
    /// reported and replaced by z.
    void setPosDir(const SbVec3f& position, const SbVec3f& direction);

    const SbVec3f& getPosition() const { return pos_; }
    const SbVec3f& getDirection() const { return dir_; }

    /// The point of the line nearest to point.
    SbVec3f getClosestPoint(const SbVec3f& point) const;
    /// The nearest pair of points between this line and line2; false, with nothing written,
    /// when the lines are parallel (every pair is then as near as any other).
    bool getClosestPoints(const SbLine& line2, SbVec3f& ptOnThis, SbVec3f& ptOnLine2) const;

  private:
    SbVec3f pos_;
    SbVec3f dir_;
};
