#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbVec2f.h>

SbVec2f& SbVec2f::setValue(const float v[2]) {
    if (v == nullptr) {
        SoDebugError::post("SbVec2f::setValue", "null array, using (0, 0)");
        return setValue(0.0f, 0.0f);
    }
    return setValue(v[0], v[1]);
}
