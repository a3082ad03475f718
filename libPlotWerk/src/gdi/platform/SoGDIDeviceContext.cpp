#include "SoGDIDeviceContext.h"

#include <cmath>
#include <limits>

#include "SoGDIObjectTable.h"

namespace {

LONG rounded(double value) {
    if (!(value == value)) return 0;
    const double limit = std::numeric_limits<LONG>::max();
    return static_cast<LONG>(std::lround(std::fmax(-limit, std::fmin(limit, value))));
}

/// Logical units per inch of the metric mapping modes; 0 for MM_TEXT.
double logicalPerInch(int mapMode) {
    if (mapMode == MM_HIMETRIC) return 2540.0;
    if (mapMode == MM_LOMETRIC) return 254.0;
    return 0.0;
}

}  // namespace

SoGDIDeviceContext::SoGDIDeviceContext(std::unique_ptr<SoGDIDevice> device_)
    : device(std::move(device_)),
      pen(SoGDIObjectTable::stockPen()),
      brush(SoGDIObjectTable::stockBrush()),
      font(SoGDIObjectTable::stockFont()) {}

double SoGDIDeviceContext::scaleX() const {
    const double perInch = logicalPerInch(mapMode);
    return perInch > 0 ? device->getCaps(LOGPIXELSX) / perInch : 1.0;
}

double SoGDIDeviceContext::scaleY() const {
    const double perInch = logicalPerInch(mapMode);
    return perInch > 0 ? -device->getCaps(LOGPIXELSY) / perInch : 1.0;
}

POINT SoGDIDeviceContext::toDevice(POINT logical) const {
    return {rounded((double(logical.x) - windowOrigin.x) * scaleX() + viewportOrigin.x),
            rounded((double(logical.y) - windowOrigin.y) * scaleY() + viewportOrigin.y)};
}

POINT SoGDIDeviceContext::toLogical(POINT device_) const {
    return {rounded((double(device_.x) - viewportOrigin.x) / scaleX() + windowOrigin.x),
            rounded((double(device_.y) - viewportOrigin.y) / scaleY() + windowOrigin.y)};
}
