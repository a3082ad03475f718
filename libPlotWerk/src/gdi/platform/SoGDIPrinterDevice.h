#pragma once

#include <cairo.h>

#include <memory>
#include <string>

#include "SoGDIDevice.h"
#include "SoGDIPrintQueue.h"

class SoGDIPrintSpool;

/// A printer behind a device context (CreateDCA, PrintDlgA): pages are drawn as PDF into a
/// spool file and the finished document goes to a queue of the system's print service.
///
/// The device is a 600 dots-per-inch page of the queue's default sheet. Its device units are
/// dots from the upper-left corner of the printable area, y down, as on a GDI printer: the
/// unprintable margins lie outside (PHYSICALOFFSETX/Y say how wide they are at the left and
/// top), and drawing there is cut off.
///
/// Lifecycle: startDocument opens the spool file; startPage and endPage bracket each page;
/// endDocument completes the file and submits it, titled with the document's name (a document
/// without pages submits nothing); the spool file is removed in every case. close() ends a document
/// still open. Drawing outside a page is ignored. A failure is said through SoDebugError and gives
/// false.
class SoGDIPrinterDevice : public SoGDIDevice {
  public:
    static constexpr int DOTS_PER_INCH = 600;

    /// A printer on `queue`; null (said why) when the print service has no such queue.
    static std::unique_ptr<SoGDIPrinterDevice> create(const std::string& queue);

    SoGDIPrinterDevice(std::string queue, const SoGDIPrintMedia& media);
    ~SoGDIPrinterDevice() override;

    const std::string& queue() const { return queue_; }

    int getCaps(int index) const override;
    bool startDocument(const std::string& name) override;
    bool startPage() override;
    bool endPage() override;
    bool endDocument() override;
    bool close() override;

    void polyline(const SoGDIDeviceContext& dc, const POINT* points, int count) override;
    void polygon(const SoGDIDeviceContext& dc, const POINT* points, int count) override;
    void moveTo(const SoGDIDeviceContext& dc, POINT to) override;
    void lineTo(const SoGDIDeviceContext& dc, POINT from, POINT to) override;
    void rectangle(const SoGDIDeviceContext& dc, const RECT& box) override;
    void text(const SoGDIDeviceContext& dc, int x, int y, const std::string& narrow,
              const std::u16string& utf16, bool wide) override;
    void stretchDIBits(const SoGDIDeviceContext& dc, const SoGDIStretch& stretch) override;

  private:
    /// Hundredths of a millimetre as dots, rounded.
    static int dots(int hundredthsOfMillimetre);
    /// The page's drawing context with the printable area set up; null outside a page.
    cairo_t* page() const;
    bool submit();

    std::string queue_;
    SoGDIPrintMedia media_;
    std::string title_;
    std::unique_ptr<SoGDIPrintSpool> spool_;
    bool pageOpen_ = false;
};
