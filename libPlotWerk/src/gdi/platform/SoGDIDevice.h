#pragma once

#include <PlotWerk/SoGDIPlatform.h>

#include <cstddef>
#include <string>

struct SoGDIObject;

/// The arguments of one StretchDIBits call, the bitmap with its header as given.
struct SoGDIStretch {
    int xDest, yDest, destWidth, destHeight;
    int xSource, ySource, sourceWidth, sourceHeight;
    const BITMAPINFO* info;
    const void* bits;
    /// The bytes `bits` holds: rows of biWidth pixels padded to 4 bytes, |biHeight| rows.
    std::size_t bitsSize;
    UINT usage;
    DWORD rasterOperation;
};

/// What lies behind a device context: a metafile being written, a printer page, or nothing.
/// The context (SoGDIDeviceContext) keeps the state every device shares (mapping, selected
/// objects, colours, current position, clip) and calls its device after each change and for
/// each drawing, with coordinates in logical units as the application gave them. A device
/// reads the state it needs from the context it is given.
class SoGDIDevice {
  public:
    /// The context state a device may write down as it changes (a metafile does).
    enum StateChange { MAP_MODE, WINDOW_ORIGIN, MITER_LIMIT, TEXT_COLOR, TEXT_ALIGN, BK_MODE };

    virtual ~SoGDIDevice() = default;

    /// GetDeviceCaps of this device.
    virtual int getCaps(int index) const = 0;

    // Documents and pages, on devices that have them; true on success.
    virtual bool startDocument(const std::string& name) {
        (void)name;
        return true;
    }
    virtual bool startPage() { return true; }
    virtual bool endPage() { return true; }
    virtual bool endDocument() { return true; }
    /// The context is finished with (CloseEnhMetaFile, DeleteDC): complete the file or the
    /// job. False when that failed; the device has then said why through SoDebugError.
    virtual bool close() { return true; }

    virtual void stateChanged(const SoGDIDeviceContext& dc, StateChange what) {
        (void)dc, (void)what;
    }
    /// `object` has just been selected into the context.
    virtual void objectSelected(const SoGDIDeviceContext& dc, const SoGDIObject& object) {
        (void)dc, (void)object;
    }
    /// DeleteObject of an object this device may have seen selected; it stays alive while a
    /// context still has it selected.
    virtual void objectDeleted(const SoGDIObject& object) { (void)object; }
    /// The context's clip changed (SelectClipRgn): dc.clip, or no clip.
    virtual void clipSelected(const SoGDIDeviceContext& dc) { (void)dc; }

    // Drawing with the context's pen, brush, font and colours.
    virtual void polyline(const SoGDIDeviceContext& dc, const POINT* points, int count) = 0;
    virtual void polygon(const SoGDIDeviceContext& dc, const POINT* points, int count) = 0;
    /// MoveToEx: the context's position is already `to`.
    virtual void moveTo(const SoGDIDeviceContext& dc, POINT to) = 0;
    /// LineTo from the position the context had to `to` (now its position).
    virtual void lineTo(const SoGDIDeviceContext& dc, POINT from, POINT to) = 0;
    virtual void rectangle(const SoGDIDeviceContext& dc, const RECT& box) = 0;
    /// TextOutA (`wide` false, `narrow` holds the Latin-1 bytes) or TextOutW (`wide` true,
    /// `utf16` holds the code units).
    virtual void text(const SoGDIDeviceContext& dc, int x, int y, const std::string& narrow,
                      const std::u16string& utf16, bool wide) = 0;
    virtual void stretchDIBits(const SoGDIDeviceContext& dc, const SoGDIStretch& stretch) = 0;
};
