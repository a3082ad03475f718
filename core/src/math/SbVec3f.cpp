#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbVec3f.h>

SbVec3f& SbVec3f::setValue(const float v[3]) {
    if (v == nullptr) {
        SoDebugError::post("SbVec3f::setValue", "null array, using (0, 0, 0)");
        return setValue(0.0f, 0.0f, 0.0f);
    }
    return setValue(v[0], v[1], v[2]);
}
