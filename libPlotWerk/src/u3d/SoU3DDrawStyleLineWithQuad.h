#pragma once

#include "SoU3DDrawStyleLine.h"
#include "SoU3DTriangleRecord.h"

/// A shape drawn as lines whose faces are quads split in two triangles: the two triangles of
/// one face are drawn as the quad's four edges, without the diagonal that the split added.
/// Each triangle is held back until the next one shows whether the two share a face.
class SoToU3DActionPrivate::SoU3DDrawStyleLineWithQuad
    : public SoToU3DActionPrivate::SoU3DDrawStyleLine {
  public:
    void triangle(const SoPrimitiveVertex* a, const SoPrimitiveVertex* b,
                  const SoPrimitiveVertex* c) override;
    void begin(SoCallbackAction* action) override;
    /// Draws the triangle still held back, then ends the shape.
    void end() override;
    bool usesQuads() override { return true; }

  protected:
    /// How the edges found while merging reach the engine.
    virtual void mergedLine(const SoPrimitiveVertex* a, const SoPrimitiveVertex* b);

  private:
    using Emit = void (SoU3DDrawStyleLineWithQuad::*)(const SoPrimitiveVertex*,
                                                      const SoPrimitiveVertex*);

    /// Pairs `next` with the triangle held back, drawing what is complete with `emit`.
    void merge(const SoU3DTriangleRecord& next, Emit emit);
    void plainLine(const SoPrimitiveVertex* a, const SoPrimitiveVertex* b) { line(a, b); }

    SoU3DTriangleRecord pending_{true};
};
