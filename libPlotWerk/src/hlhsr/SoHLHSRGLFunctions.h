#pragma once

#include <GL/gl.h>

// The OpenGL entry points the records and the offscreen pass draw with. Each becomes a
// member holding the function of that name without its "gl" prefix: gl.Begin(GL_POLYGON).
// clang-format off
#define PLOTWERK_HLHSR_GL_FUNCTIONS(X)                                                     \
    X(Begin) X(End) X(Color4ubv) X(Vertex3fv) X(Enable) X(Disable) X(PolygonOffset)      \
    X(PolygonMode) X(PushAttrib) X(PopAttrib) X(PointSize) X(DepthFunc) X(ClearColor)    \
    X(Clear) X(ShadeModel) X(MatrixMode) X(LoadIdentity) X(Ortho) X(Finish)              \
    X(ReadBuffer) X(PixelStorei) X(ReadPixels) X(Viewport) X(LineWidth) X(GenLists)      \
    X(NewList) X(EndList) X(CallList) X(DeleteLists) X(ColorMask)
// clang-format on

/// The OpenGL functions of the core's offscreen implementation, looked up through the
/// core's renderer: a process that also loads the vendor-neutral libGL would otherwise bind
/// plain gl calls to whichever library came first, and that one may have no context.
class SoHLHSRGLFunctions {
  public:
#define PLOTWERK_HLHSR_GL_MEMBER(name) decltype(&::gl##name) name = nullptr;
    PLOTWERK_HLHSR_GL_FUNCTIONS(PLOTWERK_HLHSR_GL_MEMBER)
#undef PLOTWERK_HLHSR_GL_MEMBER

    /// The table, loaded on first use.
    static const SoHLHSRGLFunctions& get();
    /// Whether every function was found; drawing is skipped (and reported once) otherwise.
    bool isComplete() const {
        return missing_ == nullptr;
    }

  private:
    SoHLHSRGLFunctions();
    const char* missing_ = nullptr;
};
