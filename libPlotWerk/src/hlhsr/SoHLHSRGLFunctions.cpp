#include "SoHLHSRGLFunctions.h"

#include <Tessara/base/SoDebugError.h>
#include <Tessara/rendering/SoOffscreenRenderer.h>

SoHLHSRGLFunctions::SoHLHSRGLFunctions() {
#define PLOTWERK_HLHSR_GL_LOAD(name)                                                          \
    name = reinterpret_cast<decltype(name)>(SoOffscreenRenderer::getProcAddress("gl" #name)); \
    if (!name && !missing_) missing_ = "gl" #name;
    PLOTWERK_HLHSR_GL_FUNCTIONS(PLOTWERK_HLHSR_GL_LOAD)
#undef PLOTWERK_HLHSR_GL_LOAD
    if (missing_) {
        SoDebugError::post("SoHLHSRGLFunctions",
                           "The offscreen OpenGL lacks %s: hidden-surface "
                           "records are not rendered",
                           missing_);
    }
}

const SoHLHSRGLFunctions& SoHLHSRGLFunctions::get() {
    static const SoHLHSRGLFunctions functions;
    return functions;
}
