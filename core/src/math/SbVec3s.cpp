#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbVec3s.h>

SbVec3s& SbVec3s::setValue(const short v[3]) {
    if (v == nullptr) {
        SoDebugError::post("SbVec3s::setValue", "null array, using (0, 0, 0)");
        return setValue(0, 0, 0);
    }
    return setValue(v[0], v[1], v[2]);
}
