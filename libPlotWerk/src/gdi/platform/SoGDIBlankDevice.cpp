#include "SoGDIBlankDevice.h"

#include <cmath>

SoGDIBlankDevice::SoGDIBlankDevice(int technology, int dotsPerInch, int widthMm, int heightMm)
    : technology_(technology),
      dotsPerInch_(dotsPerInch > 0 ? dotsPerInch : 96),
      widthMm_(widthMm > 0 ? widthMm : 210),
      heightMm_(heightMm > 0 ? heightMm : 297) {}

int SoGDIBlankDevice::getCaps(int index) const {
    auto dots = [this](int mm) { return static_cast<int>(std::lround(mm * dotsPerInch_ / 25.4)); };
    switch (index) {
        case TECHNOLOGY:
            return technology_;
        case HORZSIZE:
            return widthMm_;
        case VERTSIZE:
            return heightMm_;
        case HORZRES:
        case PHYSICALWIDTH:
            return dots(widthMm_);
        case VERTRES:
        case PHYSICALHEIGHT:
            return dots(heightMm_);
        case LOGPIXELSX:
        case LOGPIXELSY:
            return dotsPerInch_;
        default:
            return 0;
    }
}
