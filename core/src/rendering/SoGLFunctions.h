#pragma once

#include <GL/gl.h>

// clang-format off
// Every OpenGL entry point the core draws with. Each becomes a member of SoGLFunctions
// holding the function of that name without its "gl" prefix: gl.Begin(GL_TRIANGLES).
#define TESSARA_GL_FUNCTIONS(X)                                                               \
    X(Begin) X(End) X(Vertex3f) X(Vertex3fv) X(Normal3fv) X(Color4f) X(Color4fv)             \
    X(Materialfv) X(Materialf) X(Lightfv) X(Lightf) X(LightModelfv) X(LightModeli)          \
    X(Enable) X(Disable) X(IsEnabled) X(Viewport) X(Scissor) X(ClearColor) X(ClearDepth)    \
    X(ClearStencil) X(Clear) X(Finish) X(Flush) X(ReadPixels) X(ReadBuffer) X(DrawBuffer)   \
    X(PixelStorei) X(GetIntegerv) X(GetFloatv) X(GetString) X(GetError) X(MatrixMode)       \
    X(LoadMatrixf) X(LoadIdentity) X(PushMatrix) X(PopMatrix) X(PushAttrib) X(PopAttrib)    \
    X(PushClientAttrib) X(PopClientAttrib) X(ShadeModel) X(LineWidth) X(LineStipple)        \
    X(PointSize) X(PolygonMode) X(PolygonOffset) X(PolygonStipple) X(CullFace)              \
    X(FrontFace) X(DepthFunc) X(DepthMask) X(BlendFunc) X(Bitmap) X(RasterPos3fv)           \
    X(GetBooleanv) X(DrawPixels) X(PixelZoom) X(ColorMask) X(StencilMask)
// clang-format on

/// The OpenGL functions of the offscreen (OSMesa) implementation, looked up by name.
///
/// They are fetched from OSMesa itself rather than linked by symbol: the process may also
/// hold the vendor-neutral libGL/libOpenGL (the GLU tessellator pulls it in), whose
/// functions of the same names dispatch to a different, contextless table. Which library
/// a plain glBegin() binds to would then depend on load order; these pointers do not.
class SoGLFunctions {
  public:
    // clang-format off
#define TESSARA_GL_MEMBER(name) decltype(&::gl##name) name = nullptr;
    TESSARA_GL_FUNCTIONS(TESSARA_GL_MEMBER)
#undef TESSARA_GL_MEMBER
    // clang-format on
    /// Newer than the prototypes <GL/gl.h> declares: typed through its pointer type.
    PFNGLBLENDFUNCSEPARATEPROC BlendFuncSeparate = nullptr;
    PFNGLPROVOKINGVERTEXPROC ProvokingVertex = nullptr;

    /// The table, loaded on first use; check isComplete() before calling through it.
    static const SoGLFunctions& get();
    /// Whether every function was found.
    bool isComplete() const {
        return missing_ == nullptr;
    }
    /// The first function that could not be found, or null.
    const char* getMissing() const {
        return missing_;
    }

  private:
    SoGLFunctions();
    const char* missing_ = nullptr;
};
