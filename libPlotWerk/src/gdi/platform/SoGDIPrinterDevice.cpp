#include "SoGDIPrinterDevice.h"

#include <Tessara/base/SoDebugError.h>
#include <cups/cups.h>

#include <cmath>

#include "SoGDICairoPainter.h"
#include "SoGDICairoText.h"
#include "SoGDIPrintSpool.h"

// 600 dots per inch is fine enough that rounding logical coordinates to whole dots cannot be
// seen on paper, and coarse enough that a page's coordinates stay far from the range limits
// of 32-bit integers. The PDF itself is resolution-free: the dots become points (1/72 inch)
// through the page's transformation, set up afresh for every page.

namespace {

constexpr double POINTS_PER_INCH = 72.0;
constexpr double HUNDREDTHS_OF_MM_PER_INCH = 2540.0;

double points(int hundredthsOfMillimetre) {
    return hundredthsOfMillimetre * POINTS_PER_INCH / HUNDREDTHS_OF_MM_PER_INCH;
}

}  // namespace

std::unique_ptr<SoGDIPrinterDevice> SoGDIPrinterDevice::create(const std::string& queue) {
    if (!SoGDIPrintQueue::exists(queue)) {
        SoDebugError::post("SoGDIPrinterDevice::create",
                           "The print queue \"%s\" does not exist (%s)", queue.c_str(),
                           cupsLastErrorString());
        return nullptr;
    }
    return std::make_unique<SoGDIPrinterDevice>(queue, SoGDIPrintQueue::defaultMedia(queue));
}

SoGDIPrinterDevice::SoGDIPrinterDevice(std::string queue, const SoGDIPrintMedia& media)
    : queue_(std::move(queue)), media_(media) {}

// A device dropped with its document open abandons the job; its spool file goes with it.
SoGDIPrinterDevice::~SoGDIPrinterDevice() = default;

int SoGDIPrinterDevice::dots(int hundredthsOfMillimetre) {
    return static_cast<int>(
        std::lround(hundredthsOfMillimetre * DOTS_PER_INCH / HUNDREDTHS_OF_MM_PER_INCH));
}

int SoGDIPrinterDevice::getCaps(int index) const {
    const SoGDIPrintMedia& m = media_;
    switch (index) {
        case TECHNOLOGY:
            return DT_RASPRINTER;
        case LOGPIXELSX:
        case LOGPIXELSY:
            return DOTS_PER_INCH;
        case PHYSICALWIDTH:
            return dots(m.width);
        case PHYSICALHEIGHT:
            return dots(m.length);
        case PHYSICALOFFSETX:
            return dots(m.left);
        case PHYSICALOFFSETY:
            return dots(m.top);
        case HORZRES:
            return dots(m.width) - dots(m.left) - dots(m.right);
        case VERTRES:
            return dots(m.length) - dots(m.top) - dots(m.bottom);
        case HORZSIZE:
            return static_cast<int>(std::lround((m.width - m.left - m.right) / 100.0));
        case VERTSIZE:
            return static_cast<int>(std::lround((m.length - m.top - m.bottom) / 100.0));
        default:
            return 0;
    }
}

bool SoGDIPrinterDevice::startDocument(const std::string& name) {
    if (spool_) {
        SoDebugError::post("SoGDIPrinterDevice::startDocument",
                           "A document is already being printed on \"%s\"", queue_.c_str());
        return false;
    }
    title_ = name.empty() ? "PlotWerk" : name;
    auto spool = std::make_unique<SoGDIPrintSpool>();
    if (!spool->open(points(media_.width), points(media_.length), title_)) return false;
    spool_ = std::move(spool);
    return true;
}

bool SoGDIPrinterDevice::startPage() {
    if (!spool_ || pageOpen_) return false;
    cairo_t* cr = spool_->context();
    cairo_identity_matrix(cr);
    cairo_reset_clip(cr);
    cairo_scale(cr, POINTS_PER_INCH / DOTS_PER_INCH, POINTS_PER_INCH / DOTS_PER_INCH);
    cairo_translate(cr, dots(media_.left), dots(media_.top));
    cairo_rectangle(cr, 0, 0, getCaps(HORZRES), getCaps(VERTRES));
    cairo_clip(cr);
    pageOpen_ = true;
    return true;
}

bool SoGDIPrinterDevice::endPage() {
    if (!pageOpen_) return false;
    pageOpen_ = false;
    return spool_->showPage();
}

bool SoGDIPrinterDevice::endDocument() {
    if (!spool_) return false;
    if (pageOpen_) endPage();
    bool done = spool_->finish();
    if (done && spool_->pageCount() > 0) done = submit();
    spool_.reset();
    return done;
}

bool SoGDIPrinterDevice::close() {
    return !spool_ || endDocument();
}

bool SoGDIPrinterDevice::submit() {
    const int job = cupsPrintFile2(CUPS_HTTP_DEFAULT, queue_.c_str(), spool_->path().c_str(),
                                   title_.c_str(), 0, nullptr);
    if (job > 0) return true;
    SoDebugError::post("SoGDIPrinterDevice::endDocument",
                       "Cannot print \"%s\" on the print queue \"%s\": %s", title_.c_str(),
                       queue_.c_str(), cupsLastErrorString());
    return false;
}

cairo_t* SoGDIPrinterDevice::page() const {
    return pageOpen_ ? spool_->context() : nullptr;
}

void SoGDIPrinterDevice::polyline(const SoGDIDeviceContext& dc, const POINT* points, int count) {
    if (cairo_t* cr = page()) SoGDICairoPainter(cr, dc).polyline(points, count);
}

void SoGDIPrinterDevice::polygon(const SoGDIDeviceContext& dc, const POINT* points, int count) {
    if (cairo_t* cr = page()) SoGDICairoPainter(cr, dc).polygon(points, count);
}

void SoGDIPrinterDevice::moveTo(const SoGDIDeviceContext& dc, POINT to) {
    (void)dc, (void)to;  // the context keeps the position; nothing is drawn
}

void SoGDIPrinterDevice::lineTo(const SoGDIDeviceContext& dc, POINT from, POINT to) {
    if (cairo_t* cr = page()) SoGDICairoPainter(cr, dc).line(from, to);
}

void SoGDIPrinterDevice::rectangle(const SoGDIDeviceContext& dc, const RECT& box) {
    if (cairo_t* cr = page()) SoGDICairoPainter(cr, dc).rectangle(box);
}

void SoGDIPrinterDevice::text(const SoGDIDeviceContext& dc, int x, int y, const std::string& narrow,
                              const std::u16string& utf16, bool wide) {
    cairo_t* cr = page();
    if (!cr) return;
    const std::string utf8 =
        wide ? SoGDICairoText::fromUtf16(utf16) : SoGDICairoText::fromLatin1(narrow);
    SoGDICairoPainter(cr, dc).text(x, y, utf8);
}

void SoGDIPrinterDevice::stretchDIBits(const SoGDIDeviceContext& dc, const SoGDIStretch& stretch) {
    if (cairo_t* cr = page()) SoGDICairoPainter(cr, dc).stretchDIBits(stretch);
}
