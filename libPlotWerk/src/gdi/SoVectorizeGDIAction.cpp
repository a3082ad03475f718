// The GDI backend's frame: where the drawing goes (a metafile, an application's context or
// a printer), how the page is mapped, the clip, border and background, and the pens and
// brushes every primitive shares. Metafiles and printers are mapped in 0.01 mm with y
// upwards (MM_HIMETRIC) and the window origin put where the drawing starts on the sheet, so
// that the logical point of a page point is simply 100 times its millimetres. The
// primitives follow.

#include <PlotWerk/SoGDIVectorOutput.h>
#include <PlotWerk/SoVectorizeGDIAction.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/misc/SbFileHelper.h>
#include <Tessara/misc/SoPreferences.h>
#include <Tessara/nodes/SoMarkerSet.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "SoGDILine.h"
#include "frame/SoBackendActionSource.h"
#include "frame/SoColorByte.h"
#include "frame/SoDeviceInteger.h"
#include "frame/SoFontName.h"
#include "frame/SoImagePlacement.h"
#include "frame/SoLinePatternRuns.h"

namespace {

constexpr COLORREF white = 0xFFFFFF;
constexpr const char* appControlSetting = "VXN_PWGDI_APPCONTROL";

bool appControlIsSet() {
    return SoPreferences::getValue(appControlSetting) != nullptr;
}

/// "Creator : ...", a zero, the output name, two zeros: the metafile's description.
std::string description(const std::string& outputName) {
    static const char creator[] = "Creator : Quorvane PlotWerk";
    std::string text(creator, sizeof creator);  // with its terminating zero
    text += outputName;
    text.append(2, '\0');
    return text;
}

}  // namespace

PW_BACKEND_ACTION_SOURCE(SoVectorizeGDIAction)

// ---- Construction ----

SoVectorizeGDIAction::SoVectorizeGDIAction() {
    checkRegistration();
    adoptOutput(gdiOutput_.get());
    readSettings();
}

SoVectorizeGDIAction::SoVectorizeGDIAction(const SoVectorizeGDIAction& other)
    : SoVectorizeAction(other), gdiOutput_(other.gdiOutput_) {
    adoptOutput(gdiOutput_.get());
    readSettings();
}

// Settings and the target are copied; a document under way stays with its action.
SoVectorizeGDIAction& SoVectorizeGDIAction::operator=(const SoVectorizeGDIAction& other) {
    if (this == &other) return *this;
    SoVectorizeAction::operator=(other);
    gdiOutput_ = other.gdiOutput_;
    adoptOutput(gdiOutput_.get());
    polygonCompatible_ = other.polygonCompatible_;
    edgeWidth_ = other.edgeWidth_;
    return *this;
}

SoVectorizeGDIAction::~SoVectorizeGDIAction() = default;

SoGDIVectorOutput* SoVectorizeGDIAction::getGDIVectorOutput() const {
    return gdiOutput_.get();
}

void SoVectorizeGDIAction::readSettings() {
    polygonCompatible_ = SoPreferences::getBool("VXN_PWGDI_POLYGON_COMPAT", false);
    const float edge = SoPreferences::getFloat("VXN_PWGDI_EDGE_WIDTH", 0.0f);
    if (edge >= 0.0f) edgeWidth_ = edge;
}

// ---- Document ----

void SoVectorizeGDIAction::writeHeader() {
    dc_ = nullptr;
    outputName_.makeEmpty();
    documentStarted_ = 0;
    hasPrinter_ = 0;
    clipSet_ = false;
    miterLimit_.invalidate();
    pen_.invalidate();
    brushColor_.invalidate();
    penHandle_ = brushHandle_ = fontHandle_ = nullptr;
    outputName_ = gdiOutput_->getGDIOutputName();
    dc_ = gdiOutput_->getGDIHdc();
    units_ = 100;
    const SbVec2f origin = isInPage() ? getPagePosition() : SbVec2f(getShiftX(), getShiftY());
    originX_ = SoDeviceInteger::truncated(100.0 * origin[0]);
    originY_ = SoDeviceInteger::truncated(100.0 * origin[1]);
    if (!outputName_.isEmpty() && !dc_) {
        if (!openMetafile()) return;
    } else {
        bool appControl = false;
        if (dc_ && !appControlIsSet()) {
            const int technology = GetDeviceCaps(dc_, TECHNOLOGY);
            appControl = technology != DT_PLOTTER && technology != DT_RASPRINTER;
        } else if (dc_) {
            appControl = SoPreferences::getInt(appControlSetting, 0) == 1;
        }
        if (appControl) {
            units_ = 1;
            originX_ = SoDeviceInteger::truncated(-origin[0]);
            originY_ = SoDeviceInteger::truncated(SoDeviceInteger::truncated(documentSize()[1]) -
                                                  origin[1]);
            SetWindowOrgEx(dc_, originX_, originY_, nullptr);
        } else if (!openPrinter()) {
            return;
        }
    }
    setUpBrush();
}

bool SoVectorizeGDIAction::openMetafile() {
    if (SbFileHelper::getExtension(outputName_).toUpper() != "EMF") outputName_ += ".emf";
    const int w = SoDeviceInteger::truncated(documentSize()[0]),
              h = SoDeviceInteger::truncated(documentSize()[1]);
    RECT frame{0, -(units_ * h) - 2 * originY_, units_ * w + 2 * originX_, 0};
    if (getOrientation() == LANDSCAPE) {
        frame = {0, -(units_ * w) - 2 * originX_, units_ * h + 2 * originY_, 0};
        pageHeight_ = units_ * h;
    }
    const SbString path = SbFileHelper::cleanUpPath(SbFileHelper::expandString(outputName_));
    const std::string text = description(outputName_.getStdString());
    if (outputName_.isUnicode()) {
        const std::u16string wide = SbString(text.c_str()).toUtf16() + std::u16string(1, u'\0') +
                                    outputName_.toUtf16() + std::u16string(2, u'\0');
        dc_ = CreateEnhMetaFileW(nullptr, path.toUtf16(), &frame, wide.c_str());
    } else {
        const std::string latin1 = description(outputName_.toLatin1());
        dc_ = CreateEnhMetaFileA(nullptr, path.toLatin1(), &frame, latin1.c_str());
    }
    if (!dc_) {
        SoDebugError::post("SoVectorizeActionGDI::writeHeader", "Unable to open file '%s'",
                           path.getString());
        return false;
    }
    SetGraphicsMode(dc_, GM_COMPATIBLE);
    SetMapMode(dc_, MM_HIMETRIC);
    SetWindowOrgEx(dc_, -originX_, -originY_, nullptr);
    return true;
}

bool SoVectorizeGDIAction::openPrinter() {
    if (!dc_) dc_ = getPrinterDC();
    if (!dc_) {
        hasPrinter_ = 0;
        return false;
    }
    hasPrinter_ = documentStarted_ = 1;
    DOCINFOA document{};
    document.cbSize = sizeof document;
    document.lpszDocName = "PlotWerk : GDI Output";
    StartDocA(dc_, &document);
    StartPage(dc_);
    const int offsetX = GetDeviceCaps(dc_, PHYSICALOFFSETX);
    const int offsetY = GetDeviceCaps(dc_, PHYSICALOFFSETY);
    const int width = GetDeviceCaps(dc_, PHYSICALWIDTH);
    const int height = GetDeviceCaps(dc_, PHYSICALHEIGHT);
    SetGraphicsMode(dc_, GM_COMPATIBLE);
    SetMapMode(dc_, MM_HIMETRIC);
    POINT converted[2] = {{offsetX, -offsetY}, {width, -height}};
    DPtoLP(dc_, converted, 2);
    const POINT offset = converted[0], paper = converted[1];
    pageHeight_ = units_ * SoDeviceInteger::truncated(documentSize()[1]);
    originX_ = originX_ < offset.x ? offset.x : originX_ - offset.x;
    originY_ = originY_ < offset.y ? offset.y : originY_ + offset.y;
    SetWindowOrgEx(dc_, -originX_, paper.y - originY_, nullptr);
    return true;
}

void SoVectorizeGDIAction::setUpBrush() {
    brushColor_.assume(white);
    const HBRUSH brush = CreateSolidBrush(white);
    DeleteObject(SelectObject(dc_, brush));
    brushHandle_ = brush;
    pen_.invalidate();
}

HDC SoVectorizeGDIAction::getPrinterDC() {
    PRINTDLGA dialog;
    std::memset(&dialog, 0, sizeof dialog);
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = PD_RETURNDC;
    PrintDlgA(&dialog);
    return dialog.hDC;
}

void SoVectorizeGDIAction::writeFooter() {
    if (!dc_) return;
    for (HGDIOBJ* handle : {&penHandle_, &brushHandle_, &fontHandle_})
        if (*handle) DeleteObject(*handle), *handle = nullptr;
    if (!documentStarted_) {
        if (!outputName_.isEmpty()) DeleteEnhMetaFile(CloseEnhMetaFile(dc_));
    } else if (!appControlIsSet()) {
        EndPage(dc_);
        EndDoc(dc_);
        DeleteDC(dc_);
    }
    dc_ = nullptr;
}

// ---- Clip, border, background ----

void SoVectorizeGDIAction::setHardwareClip() {
    if (!dc_) return;
    if (clipSet_) {
        SelectClipRgn(dc_, nullptr);
        return;
    }
    // The corners (xmin, ymin) and (xmax, ymax), turned with the page in landscape; the
    // rectangle takes its top from the second and its bottom from the first.
    const SbBox2f limits = getClippingLimits();
    const SbVec4f ends[2] = {{limits.getMin()[0], limits.getMin()[1], 0, 1},
                             {limits.getMax()[0], limits.getMax()[1], 0, 1}};
    POINT corners[2];
    toLogical(ends, 2, corners);
    POINT box[2] = {{corners[0].x, corners[1].y}, {corners[1].x, corners[0].y}};
    LPtoDP(dc_, box, 2);
    const HRGN region = CreateRectRgn(box[0].x, box[0].y, box[1].x, box[1].y);
    SelectClipRgn(dc_, region);
    DeleteObject(region);
    clipSet_ = true;
}

void SoVectorizeGDIAction::printBorder() {
    if (!dc_) return;
    if (clipSet_) SelectClipRgn(dc_, nullptr);
    float width = 0.0f;
    SbColor color;
    getBorder(&width, &color);
    if (!(width > 0.0f)) return;
    assignColor(translateColor(color), width);
    const float w = getWidth(), h = getHeight();
    const SbVec4f frame[5] = {{0, 0, 0, 1}, {w, 0, 0, 1}, {w, h, 0, 1}, {0, h, 0, 1}, {0, 0, 0, 1}};
    printPolyLine(frame, 5, &currentColor_, 0, width, 0xFFFF, 1);
}

void SoVectorizeGDIAction::printBackground() {
    if (dc_) fillBackground();
}

// ---- Colours, pens and brushes ----

void SoVectorizeGDIAction::assignColor(SbColor color, float width) {
    color = getPenColor(color, width);
    if (color != currentColor_) currentColor_ = color;
}

COLORREF SoVectorizeGDIAction::colorRef() const {
    return COLORREF(SoColorByte::of(currentColor_[0]) | SoColorByte::of(currentColor_[1]) << 8 |
                    SoColorByte::of(currentColor_[2]) << 16);
}

void SoVectorizeGDIAction::selectPen(unsigned long style, unsigned long width, unsigned long color,
                                     int extended) {
    if (!pen_.changesTo(PenKey(style, width, color, extended))) return;
    if (!extended) {
        replacePen(CreatePen(int(style), int(width), COLORREF(color)));
        return;
    }
    const LOGBRUSH brush{BS_SOLID, COLORREF(color), 0};
    replacePen(ExtCreatePen(DWORD(style), DWORD(width), &brush, 0, nullptr));
}

int SoVectorizeGDIAction::isPenUsedAgain(unsigned long style, unsigned long width,
                                         unsigned long color, int extended) {
    return pen_.changesTo(PenKey(style, width, color, extended)) ? 0 : 1;
}

void SoVectorizeGDIAction::replacePen(HPEN pen) {
    DeleteObject(SelectObject(dc_, pen));
    penHandle_ = pen;
}

void SoVectorizeGDIAction::useBrush(COLORREF color) {
    if (!brushColor_.changesTo(color)) return;
    const HBRUSH brush = CreateSolidBrush(color);
    DeleteObject(SelectObject(dc_, brush));
    brushHandle_ = brush;
}

// ---- Coordinates ----

void SoVectorizeGDIAction::pointsToLandscape(POINT* points, int n) const {
    for (int i = 0; i < n; ++i) points[i] = {pageHeight_ - points[i].y, points[i].x};
}

void SoVectorizeGDIAction::toLogical(const SbVec4f* points, int n, POINT* out) const {
    const float units = static_cast<float>(units_);
    const SbVec2f place = placeOnPage();
    for (int i = 0; i < n; ++i)
        out[i] = {SoDeviceInteger::truncated(units * (points[i][0] + place[0])),
                  SoDeviceInteger::truncated(units * (points[i][1] + place[1]))};
    if (getOrientation() == LANDSCAPE) pointsToLandscape(out, n);
}

SbVec2f SoVectorizeGDIAction::documentSize() const {
    return isInPage() ? getPageSize() : getDrawingDimensions();
}

// The window's origin is the page's corner, set once for the page's document: each apply
// on the page places its drawing itself.
SbVec2f SoVectorizeGDIAction::placeOnPage() const {
    return isInPage() ? getStartPosition() : SbVec2f(0.0f, 0.0f);
}

// ---- Lines ----

namespace {

/// GDI's end caps and joins of the action's line styles.
DWORD capOf(int endStyle) {
    return endStyle == 0 ? PS_ENDCAP_FLAT : endStyle == 1 ? PS_ENDCAP_SQUARE : PS_ENDCAP_ROUND;
}

DWORD joinOf(int joinStyle) {
    if (joinStyle == 0 || joinStyle == 3) return PS_JOIN_BEVEL;
    if (joinStyle == 1 || joinStyle == 2) return PS_JOIN_MITER;
    return PS_JOIN_ROUND;
}

/// The software dash's elements: 10 logical units per bit of each run; an odd count of runs
/// has its last run joined to the first, so that drawn and gap elements alternate.
std::vector<int> dashElements(unsigned short pattern) {
    std::vector<int> runs = SoLinePatternRuns(pattern).getRuns();
    if (runs.size() % 2 == 1) {
        runs.front() += runs.back();
        runs.pop_back();
    }
    for (int& run : runs) run *= 10;
    return runs;
}

}  // namespace

void SoVectorizeGDIAction::printPolyLine(const SbVec4f* points, int n, const SbColor* colors,
                                         int multicolor, float lineWidth,
                                         unsigned short linePattern, int) {
    if (!dc_ || n <= 0 || !points || !colors) return;
    const int penWidth =
        SoDeviceInteger::truncated(getPrintedWidth(lineWidth) * static_cast<float>(units_));
    std::vector<POINT> logical(static_cast<std::size_t>(n));
    toLogical(points, n, logical.data());
    const bool dashed = linePattern != 0xFFFF;
    DWORD style = 0;
    if (!dashed) {
        style = PS_GEOMETRIC | capOf(getLineEndStyle()) | joinOf(getLineJoinsStyle());
        if (miterLimit_.changesTo(getMiterLimit()))
            SetMiterLimit(dc_, static_cast<float>(units_) * getMiterLimit(), nullptr);
    }
    SoGDILine line(dc_, dashed ? dashElements(linePattern) : std::vector<int>());
    assignColor(colors[0], static_cast<float>(penWidth));
    selectPen(style, DWORD(penWidth), colorRef(), !dashed);
    if (!multicolor && !dashed) {
        Polyline(dc_, logical.data(), n);
        return;
    }
    // Each segment starts the pattern again; a piece of a longer line, its first segment
    // where the line had run to.
    const double phase = double(getLinePatternPhase()) * units_;
    long long skip = std::isfinite(phase) ? std::llround(std::min(phase, 1e15)) : 0;
    for (int i = 1; i < n; ++i) {
        const POINT &from = logical[std::size_t(i - 1)], &to = logical[std::size_t(i)];
        if (dashed) {
            line.moveTo(from.x, from.y, skip);
            line.lineTo(to.x, to.y);
            skip = 0;
        } else {
            MoveToEx(dc_, from.x, from.y, nullptr);
            LineTo(dc_, to.x, to.y);
        }
        if (multicolor && colors[i] != colors[i - 1]) {
            assignColor(colors[i], static_cast<float>(penWidth));
            selectPen(style, DWORD(penWidth), colorRef(), !dashed);
        }
    }
}

// ---- Fills and marks ----

void SoVectorizeGDIAction::printPolygon(const SbVec4f* points, int n, const SbColor* colors, int,
                                        const SbString&, const SbString&, const unsigned char*) {
    if (!dc_ || n <= 0 || !points || !colors) return;
    std::vector<POINT> logical(static_cast<std::size_t>(n));
    toLogical(points, n, logical.data());
    assignColor(colors[0], 0.0f);
    const COLORREF color = colorRef();
    if (!polygonCompatible_) {
        // The outline in the fill colour closes the hairline gaps between neighbours.
        const int edge =
            SoDeviceInteger::truncated(edgeWidth_ * static_cast<float>(units_) * getNominalWidth());
        const DWORD style = edge > 0 ? PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_BEVEL : 0;
        if (!isPenUsedAgain(style, DWORD(edge), color, 1)) {
            const LOGBRUSH brush{BS_SOLID, color, 0};
            replacePen(edge == 0 ? CreatePen(0, 0, color)
                                 : ExtCreatePen(style, DWORD(edge), &brush, 0, nullptr));
        }
    } else if (!isPenUsedAgain(PS_NULL, 0, 0, 1)) {
        replacePen(CreatePen(PS_NULL, 0, 0));
    }
    useBrush(color);
    Polygon(dc_, logical.data(), n);
}

/// Pen and brush of the current colour for a filled mark.
void SoVectorizeGDIAction::useMarkColor(const SbColor& color) {
    assignColor(color, 0.0f);
    const COLORREF ref = colorRef();
    if (!isPenUsedAgain(0, 0, ref, 0)) replacePen(CreatePen(0, 0, ref));
    useBrush(ref);
}

void SoVectorizeGDIAction::printPolyMark(const SbVec4f* points, int n, const SbColor* colors,
                                         int multicolor, float pointSize) {
    if (!dc_ || n <= 0 || !points || !colors) return;
    const int side =
        SoDeviceInteger::truncated(static_cast<float>(units_) * pointSize * getNominalWidth());
    const int half = side / 2;
    // An even side leaves out one row and column, so the square keeps its side.
    const int trim = side % 2 == 0 ? 1 : 0;
    std::vector<POINT> logical(static_cast<std::size_t>(n));
    toLogical(points, n, logical.data());
    useMarkColor(colors[0]);
    for (int i = 0; i < n; ++i) {
        const POINT p = logical[std::size_t(i)];
        Rectangle(dc_, p.x - half, p.y + half, p.x + half - trim, p.y - half + trim);
        if (multicolor && i + 1 < n && colors[i + 1] != colors[i]) useMarkColor(colors[i + 1]);
    }
}

void SoVectorizeGDIAction::printPolyMark(const SbVec4f* points, int n, const SbColor* colors,
                                         int multicolor, SoMarkerSet* markerSet) {
    if (!dc_ || n <= 0 || !points || !colors || !markerSet) return;
    const SoMFInt32& indices = markerSet->markerIndex;
    if (indices.getNum() == 0) return;
    const int pixel = SoDeviceInteger::truncated(static_cast<float>(units_) * getNominalWidth());
    std::vector<POINT> logical(static_cast<std::size_t>(n));
    toLogical(points, n, logical.data());
    if (!multicolor) useMarkColor(colors[0]);
    for (int i = 0, cursor = 0; i < n; ++i, cursor = (cursor + 1) % indices.getNum()) {
        SbVec2s size;
        const unsigned char* bytes = nullptr;
        bool isLSBFirst = false;
        if (!SoMarkerSet::getMarker(indices[cursor], size, bytes, isLSBFirst)) continue;
        if (multicolor) useMarkColor(colors[i]);
        printMarkerBits(indices[cursor], size, logical[std::size_t(i)], pixel);
    }
}

// In landscape the bitmap is read turned, so that it turns with the page.
void SoVectorizeGDIAction::printMarkerBits(int index, const SbVec2s& size, POINT at, int pixel) {
    const double nominal = getNominalWidth();
    const int x = at.x - SoDeviceInteger::truncated(units_ / 2.0 * size[0] * nominal);
    const int y = at.y - SoDeviceInteger::truncated(units_ / 2.0 * size[1] * nominal);
    const bool landscape = getOrientation() == LANDSCAPE;
    const int columns = landscape ? size[1] : size[0], rows = landscape ? size[0] : size[1];
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) {
            const int bit =
                landscape ? column * size[0] + (size[0] - 1 - row) : row * size[0] + column;
            if (!SoMarkerSet::isMarkerBitSet(index, bit)) continue;
            const POINT square[4] = {{x + column * pixel, y + row * pixel},
                                     {x + (column + 1) * pixel, y + row * pixel},
                                     {x + (column + 1) * pixel, y + (row + 1) * pixel},
                                     {x + column * pixel, y + (row + 1) * pixel}};
            Polygon(dc_, square, 4);
        }
}

// ---- Text ----

namespace {

UINT horizontalAlign(int justification) {
    return justification == 2 ? TA_RIGHT : justification == 3 ? TA_CENTER : TA_LEFT;
}

}  // namespace

void SoVectorizeGDIAction::printText2(SbVec4f origin, SbColor color, const SbString& fontName,
                                      float fontSize, const SbString& string, int justification,
                                      float angle) {
    if (!dc_) return;
    const SoFontName name = SoFontName::of(fontName);
    const int weight = name.isBold() ? FW_BOLD : FW_NORMAL;
    const DWORD italic = name.isItalic() ? 1 : 0;
    int escapement =
        angle != 0.0f ? SoDeviceInteger::truncated(-(angle * 180.0f / 3.1415927f * 10.0f)) : 0;
    assignColor(color, getNominalWidth());
    SetTextColor(dc_, colorRef());
    SetTextAlign(dc_, horizontalAlign(justification) | TA_BASELINE);
    SetBkMode(dc_, TRANSPARENT);
    POINT at;
    const SbVec4f point(origin[0], origin[1], 0, 1);
    toLogical(&point, 1, &at);
    if (getOrientation() == LANDSCAPE) escapement -= 900;
    const HFONT font = CreateFontA(
        SoDeviceInteger::truncated(-static_cast<float>(units_) * getNominalWidth() * fontSize), 0,
        escapement, escapement, weight, italic, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_LH_ANGLES, PROOF_QUALITY, DEFAULT_PITCH, name.face.c_str());
    SelectObject(dc_, font);
    if (fontHandle_) DeleteObject(fontHandle_);
    fontHandle_ = font;
    if (!string.isUnicode()) {
        const char* text = string.toLatin1();
        TextOutA(dc_, at.x, at.y, text, static_cast<int>(std::strlen(text)));
    } else {
        // The count of UTF-16 units, which is the character count but for characters
        // beyond the basic plane, which take two.
        const std::u16string text = string.toUtf16();
        TextOutW(dc_, at.x, at.y, text.c_str(), static_cast<int>(text.size()));
    }
}

// ---- Images ----

namespace {

/// Rows of 24-bit pixels (blue, green, red), each padded with zeros to 4 bytes.
class DIBRows {
  public:
    DIBRows(int width, int height)
        : stride_((3 * width + 3) / 4 * 4),
          bytes_(static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height), 0) {}
    void set(int row, int column, const unsigned char* pixel, int numComponents) {
        unsigned char* out =
            &bytes_[std::size_t(row) * std::size_t(stride_) + 3 * std::size_t(column)];
        const bool grey = numComponents < 3;
        out[0] = pixel[grey ? 0 : 2], out[1] = pixel[grey ? 0 : 1], out[2] = pixel[0];
    }
    const unsigned char* data() const { return bytes_.data(); }

  private:
    int stride_;
    std::vector<unsigned char> bytes_;
};

}  // namespace

void SoVectorizeGDIAction::printImage(const SbVec4f& origin, const unsigned char* pixels,
                                      SbVec2s& sourceSize, SbVec2s& requestedSize,
                                      int numComponents, SoImage::HorAlignment horAlignment,
                                      SoImage::VertAlignment vertAlignment) {
    if (!dc_ || !pixels || numComponents <= 0 || sourceSize[0] <= 0 || sourceSize[1] <= 0 ||
        requestedSize[0] <= 0 || requestedSize[1] <= 0)
        return;
    const float pixel = getPixelImageSize();
    const SoImagePlacement placed =
        SoImagePlacement::of(origin, requestedSize, pixel, horAlignment, vertAlignment);
    if (!getClippingLimits().intersect(placed.box())) return;
    const float x = placed.x, y = placed.y, width = placed.width, height = placed.height;
    const bool landscape = getOrientation() == LANDSCAPE;
    const int sw = sourceSize[0], sh = sourceSize[1];
    BITMAPINFO info{};
    info.bmiHeader = {40,
                      landscape ? sh : sw,
                      landscape ? sw : sh,
                      1,
                      24,
                      BI_RGB,
                      0,
                      SoDeviceInteger::truncated(units_ * GetDeviceCaps(dc_, LOGPIXELSX) / 2.54),
                      SoDeviceInteger::truncated(units_ * GetDeviceCaps(dc_, LOGPIXELSY) / 2.54),
                      0,
                      0};
    DIBRows rows(info.bmiHeader.biWidth, info.bmiHeader.biHeight);
    for (int r = 0; r < sh; ++r)
        for (int c = 0; c < sw; ++c) {
            const unsigned char* source =
                pixels + (std::size_t(r) * std::size_t(sw) + c) * numComponents;
            if (landscape)
                rows.set(sw - 1 - c, sh - 1 - r, source, numComponents);
            else
                rows.set(r, c, source, numComponents);
        }
    const SbVec2f place = placeOnPage();
    const int lx = SoDeviceInteger::truncated(units_ * (x + place[0])),
              ly = SoDeviceInteger::truncated(units_ * (y + place[1]));
    const int w = SoDeviceInteger::truncated(width * 100.0f),
              h = SoDeviceInteger::truncated(height * 100.0f);
    if (!landscape)
        StretchDIBits(dc_, lx, ly + h, w, -h, 0, 0, sw, sh, rows.data(), &info, DIB_RGB_COLORS,
                      SRCCOPY);
    else
        StretchDIBits(
            dc_, pageHeight_ - (ly + SoDeviceInteger::truncated(units_ * requestedSize[1] * pixel)),
            lx, h, w, 0, 0, sh, sw, rows.data(), &info, DIB_RGB_COLORS, SRCCOPY);
}
