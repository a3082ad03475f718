#pragma once

#include <PlotWerk/SoGDIPlatform.h>

#include <memory>
#include <optional>

#include "SoGDIDevice.h"
#include "SoGDIObject.h"

/// What an HDC points at: the state GDI keeps for a device context, the same for every
/// device, and the device that renders. The mapping follows GDI: a logical point p maps to
/// the device point (p - window origin) x scale + viewport origin, where the scale is 1 in
/// MM_TEXT, and in MM_HIMETRIC (MM_LOMETRIC) the device's LOGPIXELSX and LOGPIXELSY per
/// 2540 (254) logical units, y turned upwards. A device whose pixels are not square in
/// those terms says so through its LOGPIXELS values.
struct SoGDIDeviceContext {
    explicit SoGDIDeviceContext(std::unique_ptr<SoGDIDevice> device);

    /// Device point of a logical one, and back, rounded to the nearest.
    POINT toDevice(POINT logical) const;
    POINT toLogical(POINT device) const;
    /// Device units per logical unit along x and y (y negative where logical y points up).
    double scaleX() const;
    double scaleY() const;

    std::unique_ptr<SoGDIDevice> device;

    int mapMode = MM_TEXT;
    int graphicsMode = GM_COMPATIBLE;
    POINT windowOrigin{0, 0};
    POINT viewportOrigin{0, 0};
    /// Selected objects; a deleted object lives on while it is selected here.
    std::shared_ptr<SoGDIObject> pen, brush, font;
    COLORREF textColor = 0;
    UINT textAlign = TA_LEFT | TA_TOP;
    int bkMode = OPAQUE;
    FLOAT miterLimit = 10.0f;
    POINT position{0, 0};
    /// In device units, right and bottom excluded; none when drawing is not clipped.
    std::optional<RECT> clip;
    bool documentStarted = false;
    bool pageStarted = false;
};
