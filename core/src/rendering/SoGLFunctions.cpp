#include "rendering/SoGLFunctions.h"

#include <GL/osmesa.h>

namespace {

template <class F>
void load(F& function, const char* name, const char*& missing) {
    function = reinterpret_cast<F>(OSMesaGetProcAddress(name));
    if (function == nullptr && missing == nullptr) missing = name;
}

}  // namespace

SoGLFunctions::SoGLFunctions() {
#define TESSARA_GL_LOAD(name) load(name, "gl" #name, missing_);
    TESSARA_GL_FUNCTIONS(TESSARA_GL_LOAD)
#undef TESSARA_GL_LOAD
    load(BlendFuncSeparate, "glBlendFuncSeparate", missing_);
    load(ProvokingVertex, "glProvokingVertex", missing_);
}

const SoGLFunctions& SoGLFunctions::get() {
    // Built once, thread-safely; the pointers stay valid for the life of the process.
    static const SoGLFunctions functions;
    return functions;
}
