#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbVec4f.h>

SbVec4f& SbVec4f::setValue(const float v[4]) {
    if (v == nullptr) {
        SoDebugError::post("SbVec4f::setValue", "null array, using (0, 0, 0, 0)");
        return setValue(0.0f, 0.0f, 0.0f, 0.0f);
    }
    return setValue(v[0], v[1], v[2], v[3]);
}

void SbVec4f::getReal(SbVec3f& v) const {
    if (vec_[3] == 0.0f) {
        // A direction (point at infinity) has no real counterpart; keep x, y, z so the caller
        // still gets something finite to work with.
        SoDebugError::postWarning("SbVec4f::getReal", "w is 0, returning x, y, z undivided");
        v.setValue(vec_[0], vec_[1], vec_[2]);
        return;
    }
    v.setValue(vec_[0] / vec_[3], vec_[1] / vec_[3], vec_[2] / vec_[3]);
}
