#include <Tessara/base/SoDebugError.h>
#include <Tessara/math/SbMathHelper.h>

void SbMathHelper::reportBadIndex(const char* where, int index, int size) {
    SoDebugError::post(where, "index %d is out of range [0, %d)", index, size);
}
