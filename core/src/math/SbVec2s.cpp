#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbVec2s.h>

SbVec2s& SbVec2s::setValue(const short v[2]) {
    if (v == nullptr) {
        SoDebugError::post("SbVec2s::setValue", "null array, using (0, 0)");
        return setValue(0, 0);
    }
    return setValue(v[0], v[1]);
}
