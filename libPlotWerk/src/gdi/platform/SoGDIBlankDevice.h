#pragma once

#include "SoGDIDevice.h"

/// A device that draws nothing: a display for application-controlled drawings, and the
/// device of recorded contexts. It answers GetDeviceCaps as a device of its technology,
/// resolution and page size would, with no unprintable margin.
class SoGDIBlankDevice : public SoGDIDevice {
  public:
    SoGDIBlankDevice(int technology, int dotsPerInch, int widthMm, int heightMm);

    int getCaps(int index) const override;

    void polyline(const SoGDIDeviceContext&, const POINT*, int) override {}
    void polygon(const SoGDIDeviceContext&, const POINT*, int) override {}
    void moveTo(const SoGDIDeviceContext&, POINT) override {}
    void lineTo(const SoGDIDeviceContext&, POINT, POINT) override {}
    void rectangle(const SoGDIDeviceContext&, const RECT&) override {}
    void text(const SoGDIDeviceContext&, int, int, const std::string&, const std::u16string&,
              bool) override {}
    void stretchDIBits(const SoGDIDeviceContext&, const SoGDIStretch&) override {}

  private:
    int technology_, dotsPerInch_, widthMm_, heightMm_;
};
