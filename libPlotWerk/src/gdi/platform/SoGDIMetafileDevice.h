#pragma once

#include <memory>
#include <optional>
#include <string>

#include "SoGDIDevice.h"
#include "SoGDIDeviceContext.h"

class SoGDIMetafileFile;
class SoGDIMetafileObjectTable;

/// The enhanced-metafile device: what lies behind a context made by CreateEnhMetaFileA/W.
/// Each call the context passes on becomes one record, in call order, and CloseEnhMetaFile
/// (close()) writes the file.
///
/// Reference device: a metafile made without a reference context is measured against the
/// display, here a 96-dpi display of 1920 x 1440 pixels, 508 x 381 mm. At that size the
/// millimetres are whole and agree exactly with 96 dpi in both directions, so LOGPIXELS,
/// HORZRES/HORZSIZE and the header's micrometres all give the same scale, and a reader
/// sizing the picture from any of them sees the same frame. GetDeviceCaps answers from it
/// (TECHNOLOGY DT_RASDISPLAY, no PHYSICAL* values).
class SoGDIMetafileDevice : public SoGDIDevice {
  public:
    /// Opens `path` (UTF-8) for a new metafile; null, quietly, when it cannot be written.
    /// `frame` is the picture frame in 0.01 mm, or null to take it from the bounds of the
    /// drawing at close. `description` is stored as given (application, NUL, picture
    /// name, NUL, NUL), or none when empty.
    static std::unique_ptr<SoGDIMetafileDevice> create(const std::string& path, const RECT* frame,
                                                       const std::u16string& description);
    ~SoGDIMetafileDevice() override;

    int getCaps(int index) const override;
    bool close() override;

    void stateChanged(const SoGDIDeviceContext& dc, StateChange what) override;
    void objectSelected(const SoGDIDeviceContext& dc, const SoGDIObject& object) override;
    void objectDeleted(const SoGDIObject& object) override;
    void clipSelected(const SoGDIDeviceContext& dc) override;

    void polyline(const SoGDIDeviceContext& dc, const POINT* points, int count) override;
    void polygon(const SoGDIDeviceContext& dc, const POINT* points, int count) override;
    void moveTo(const SoGDIDeviceContext& dc, POINT to) override;
    void lineTo(const SoGDIDeviceContext& dc, POINT from, POINT to) override;
    void rectangle(const SoGDIDeviceContext& dc, const RECT& box) override;
    void text(const SoGDIDeviceContext& dc, int x, int y, const std::string& narrow,
              const std::u16string& utf16, bool wide) override;
    void stretchDIBits(const SoGDIDeviceContext& dc, const SoGDIStretch& stretch) override;

  private:
    SoGDIMetafileDevice(std::unique_ptr<SoGDIMetafileFile> file, const RECT* frame);

    /// Until close(): afterwards every call is ignored.
    bool writing() const { return !closed_; }
    void poly(const SoGDIDeviceContext& dc, const POINT* points, int count, bool closed);
    /// An EMR_EXTSELECTCLIPRGN of `mode` with the rectangle, or without region data.
    void appendClip(std::uint32_t mode, const RECT* clip);
    /// Appends a drawing record and, when it was kept, adds `bounds` (device units, both
    /// edges included) to the drawing's bounds.
    void draw(char* record, const char* what, const RECT& bounds);
    RECT frameOfBounds() const;

    std::unique_ptr<SoGDIMetafileFile> file_;
    std::unique_ptr<SoGDIMetafileObjectTable> objects_;
    std::optional<RECT> frame_;
    /// The union of the bounds of every record drawn; none while nothing is.
    std::optional<RECT> bounds_;
    bool closed_ = false;
    bool written_ = false;
};
