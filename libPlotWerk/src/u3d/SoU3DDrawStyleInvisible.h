#pragma once

#include <PlotWerk/SoToU3DActionPrivate.h>

/// An invisible shape: nothing of it reaches the engine, though the engine still sees the
/// shape begin and end.
class SoToU3DActionPrivate::SoU3DDrawStyleInvisible
    : public SoToU3DActionPrivate::ISoRenderPrimitivesUsingDrawStyle {
  public:
    void setAction(SoToU3DAction* /*action*/) override {}
    void line(const SoPrimitiveVertex* /*a*/, const SoPrimitiveVertex* /*b*/) override {}
    void triangle(const SoPrimitiveVertex* /*a*/, const SoPrimitiveVertex* /*b*/,
                  const SoPrimitiveVertex* /*c*/) override {}
    void begin(SoCallbackAction* /*action*/) override {}
    void end() override {}
    bool usesQuads() override { return false; }
    /// Nothing is sent: no triangles, lines or points remain.
    void adjustCounts(std::uint32_t* quads, std::uint32_t* triangles, std::uint32_t* lines,
                      std::uint32_t* points) override;
    float getNormalOffset() override { return 0.0f; }
};
