#include "frame/SoDeviceInteger.h"

#include <climits>

int SoDeviceInteger::truncated(double value) {
    if (!(value == value)) return 0;
    if (value >= double(INT_MAX)) return INT_MAX;
    if (value <= double(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}
