#pragma once

#include <PlotWerk/SoToU3DActionPrivate.h>

/// A filled shape: its triangles and lines reach the engine as they come. The base of the
/// renderers that send something, holding the action whose engine they send to and the
/// callback action of the shape under way.
class SoToU3DActionPrivate::SoU3DDrawStyleFilled
    : public SoToU3DActionPrivate::ISoRenderPrimitivesUsingDrawStyle {
  public:
    void setAction(SoToU3DAction* action) override { action_ = action; }
    void line(const SoPrimitiveVertex* a, const SoPrimitiveVertex* b) override;
    void triangle(const SoPrimitiveVertex* a, const SoPrimitiveVertex* b,
                  const SoPrimitiveVertex* c) override;
    void begin(SoCallbackAction* action) override { callbackAction_ = action; }
    void end() override { callbackAction_ = nullptr; }
    bool usesQuads() override { return false; }
    void adjustCounts(std::uint32_t* quads, std::uint32_t* triangles, std::uint32_t* lines,
                      std::uint32_t* points) override;
    float getNormalOffset() override { return 0.0f; }

  protected:
    /// The engine of the action, looked up on each call: the action may change engines
    /// between shapes.
    SoToU3DActionPrivate* engine() const;
    SoCallbackAction* callbackAction() const { return callbackAction_; }

  private:
    SoToU3DAction* action_ = nullptr;
    SoCallbackAction* callbackAction_ = nullptr;
};
