#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbVec2i32.h>

SbVec2i32& SbVec2i32::setValue(const int32_t v[2]) {
    if (v == nullptr) {
        SoDebugError::post("SbVec2i32::setValue", "null array, using (0, 0)");
        return setValue(0, 0);
    }
    return setValue(v[0], v[1]);
}
