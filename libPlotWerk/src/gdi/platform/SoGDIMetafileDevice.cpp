// The enhanced-metafile device writes what GDI itself records for each call: coordinates in
// the application's logical units, bounds in device units of the reference device, objects
// created in the metafile's own table when first selected.
//
// Bounds. Each drawing record carries its bounds, and the header their union, as the
// pixels the drawing would cover on the reference display: the points' extent widened by
// half the pen, a rectangle without its right and bottom edges as GDI fills it, an image's
// destination. They are not cut by the clip, so they may be larger than what shows, never
// smaller. Text is measured in the face the font names, as the printer finds it (through
// cairo and fontconfig): each character advances as that face has it; the baseline lies at
// 80% of the height, and the box turns with the escapement. The same advances go into the
// text record's dx array, which playback uses to place the characters.
//
// Limits. Record sizes are 32-bit and libUEMF computes them in int, so a call whose record
// would pass 1 GiB is reported and left out rather than written wrong.

#include "SoGDIMetafileDevice.h"

#include <Tessara/base/SoDebugError.h>
#include <uemf.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <numeric>
#include <string_view>
#include <vector>

#include "SoGDICairoText.h"
#include "SoGDIMetafileFile.h"
#include "SoGDIMetafileObjectTable.h"

namespace {

// The reference display.
constexpr int kPixelsWide = 1920, kPixelsHigh = 1440, kMillimetresWide = 508,
              kMillimetresHigh = 381, kDotsPerInch = 96;
constexpr double kHundredthsPerPixel = 2540.0 / kDotsPerInch;
/// The system font's height on the reference display, for text in a font without one.
constexpr double kDefaultFontPixels = 16.0;

// The largest calls written, well inside libUEMF's int record sizes.
constexpr int kMostPoints = 1 << 26;
constexpr std::size_t kMostCharacters = std::size_t(1) << 24;
constexpr std::size_t kMostBitmapBytes = std::size_t(1) << 30;
constexpr std::size_t kMostDescription = std::size_t(1) << 16;

constexpr RECT kNoBounds{0, 0, -1, -1};
constexpr double kPi = 3.14159265358979323846;
/// The longest bitmap header a caller may give: the fifth version.
constexpr DWORD kLongestBitmapHeader = 124;

struct FreeDeleter {
    void operator()(void* memory) const { std::free(memory); }
};

LONG clamped(double value) {
    if (std::isnan(value)) return 0;
    const double limit = std::numeric_limits<LONG>::max();
    return LONG(std::fmax(-limit, std::fmin(limit, value)));
}

U_RECTL rectl(const RECT& r) {
    return U_RECTL{r.left, r.top, r.right, r.bottom};
}

bool isEmpty(const RECT& r) {
    return r.right < r.left || r.bottom < r.top;
}

RECT grown(const RECT& r, double by) {
    return {clamped(double(r.left) - by), clamped(double(r.top) - by),
            clamped(double(r.right) + by), clamped(double(r.bottom) + by)};
}

/// Device units per logical unit, along x and y (signed), measured over a long stretch so
/// that the context's rounding to whole units does not show.
double devicePerLogical(const SoGDIDeviceContext& dc, bool alongY) {
    constexpr LONG kStretch = 1 << 16;
    const POINT origin = dc.toDevice({0, 0});
    const POINT far = dc.toDevice(alongY ? POINT{0, kStretch} : POINT{kStretch, 0});
    return alongY ? double(far.y - origin.y) / kStretch : double(far.x - origin.x) / kStretch;
}

RECT deviceExtent(const SoGDIDeviceContext& dc, const POINT* points, int count) {
    RECT box{std::numeric_limits<LONG>::max(), std::numeric_limits<LONG>::max(),
             std::numeric_limits<LONG>::min(), std::numeric_limits<LONG>::min()};
    for (int i = 0; i < count; ++i) {
        const POINT p = dc.toDevice(points[i]);
        box = {std::min(box.left, p.x), std::min(box.top, p.y), std::max(box.right, p.x),
               std::max(box.bottom, p.y)};
    }
    return box;
}

/// The device box of a logical rectangle, without the right and bottom edges GDI leaves out.
RECT deviceArea(const SoGDIDeviceContext& dc, POINT corner, POINT opposite) {
    const POINT corners[2] = {corner, opposite};
    RECT box = deviceExtent(dc, corners, 2);
    box.right = std::max(box.left, box.right - 1);
    box.bottom = std::max(box.top, box.bottom - 1);
    return box;
}

/// Half the width, in device units, of the line the context's pen draws; 0 for no line.
double penReach(const SoGDIDeviceContext& dc) {
    const SoGDIObject* pen = dc.pen.get();
    constexpr int kNullPen = 8;  // the stock NULL_PEN
    if (!pen || pen->stockIndex == kNullPen || (pen->penStyle & PS_STYLE_MASK) == PS_NULL) return 0;
    // Cosmetic pens are one pixel wide whatever their width says.
    const bool cosmetic = pen->extendedPen && (pen->penStyle & PS_TYPE_MASK) == PS_COSMETIC;
    if (cosmetic || pen->penWidth <= 1) return 0;
    return std::floor(pen->penWidth * std::fabs(devicePerLogical(dc, false)) / 2);
}

bool fitsShort(LONG value) {
    return value >= INT16_MIN && value <= INT16_MAX;
}

bool fitsShort(const POINT* points, int count, const RECT& bounds) {
    for (int i = 0; i < count; ++i)
        if (!fitsShort(points[i].x) || !fitsShort(points[i].y)) return false;
    return fitsShort(bounds.left) && fitsShort(bounds.top) && fitsShort(bounds.right) &&
           fitsShort(bounds.bottom);
}

/// The font's height in logical units, the system font's where it gives none.
double fontHeight(const SoGDIDeviceContext& dc) {
    const SoGDIObject* font = dc.font.get();
    if (font && !font->isStock() && font->height != 0) return std::fabs(double(font->height));
    const double scale = std::fabs(devicePerLogical(dc, true));
    return scale > 0 ? kDefaultFontPixels / scale : kDefaultFontPixels;
}

/// The advance of each character in logical units, as the font's face has it.
std::vector<std::uint32_t> advances(const SoGDIDeviceContext& dc, const std::u16string& chars) {
    std::vector<std::uint32_t> dx;
    for (const double advance : SoGDICairoText::advances(dc, chars))
        dx.push_back(std::uint32_t(std::fmin(std::round(advance), INT32_MAX)));
    return dx;
}

/// The device box of a string at (x, y) advancing `width` logical units.
RECT textBox(const SoGDIDeviceContext& dc, int x, int y, double width) {
    const double w = width * std::fabs(devicePerLogical(dc, false));
    const double h = fontHeight(dc) * std::fabs(devicePerLogical(dc, true));
    const UINT horizontal = dc.textAlign & TA_CENTER, vertical = dc.textAlign & TA_BASELINE;
    const double left = horizontal == TA_CENTER ? -w / 2 : horizontal == TA_RIGHT ? -w : 0;
    const double top = vertical == TA_BASELINE ? -0.8 * h : vertical == TA_BOTTOM ? -h : 0;
    const SoGDIObject* font = dc.font.get();
    const double turn = font && !font->isStock() ? font->escapement * kPi / 1800 : 0;
    const POINT origin = dc.toDevice({x, y});
    double lowX = INFINITY, lowY = INFINITY, highX = -INFINITY, highY = -INFINITY;
    for (const double cx : {left, left + w})
        for (const double cy : {top, top + h}) {
            // Counterclockwise as seen, with device y pointing down.
            const double px = origin.x + cx * std::cos(turn) + cy * std::sin(turn);
            const double py = origin.y - cx * std::sin(turn) + cy * std::cos(turn);
            lowX = std::fmin(lowX, px), highX = std::fmax(highX, px);
            lowY = std::fmin(lowY, py), highY = std::fmax(highY, py);
        }
    return {clamped(std::floor(lowX)), clamped(std::floor(lowY)), clamped(std::ceil(highX)),
            clamped(std::ceil(highY))};
}

/// The description as the header stores it: readers look for the two NULs that end it,
/// which a caller may have left off.
std::vector<std::uint16_t> storedDescription(const std::u16string& description) {
    std::vector<std::uint16_t> text(description.begin(), description.end());
    if (text.empty()) return text;
    const bool endsInNul = text.back() == 0;
    const bool endsInTwo = endsInNul && text.size() >= 2 && text[text.size() - 2] == 0;
    if (!endsInTwo) text.insert(text.end(), endsInNul ? 1 : 2, 0);
    return text;
}

/// The BITMAPINFO the record carries: the header, with the colour count made explicit
/// (libUEMF otherwise trims a full table to the pixel count), and the colours the caller's
/// table holds. Empty, after a message, for a bitmap this device does not record.
std::vector<char> bitmapInfo(const SoGDIStretch& stretch) {
    const char* source = "SoGDIMetafileDevice::stretchDIBits";
    if (!stretch.info || stretch.info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER) ||
        stretch.info->bmiHeader.biSize > kLongestBitmapHeader) {
        SoDebugError::post(source, "The bitmap has no valid header; nothing is recorded");
        return {};
    }
    U_BITMAPINFOHEADER header;
    static_assert(sizeof header == sizeof(BITMAPINFOHEADER), "the same header layout");
    std::memcpy(&header, &stretch.info->bmiHeader, sizeof header);
    const int bits = header.biBitCount;
    if (header.biCompression != BI_RGB ||
        (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)) {
        SoDebugError::post(source,
                           "Only uncompressed bitmaps of 1, 4, 8, 16, 24 or 32 bits a pixel are "
                           "recorded, not compression %u at %d bits",
                           unsigned(header.biCompression), bits);
        return {};
    }
    const std::uint32_t most = bits <= 8 ? 1u << bits : 256u;
    const std::uint32_t colours = header.biClrUsed != 0 || bits > 8 ? header.biClrUsed : most;
    if (colours > most || (colours > 0 && stretch.usage != DIB_RGB_COLORS)) {
        SoDebugError::post(source, "A colour table of %u entries (usage %u) is not recorded",
                           unsigned(colours), stretch.usage);
        return {};
    }
    header.biSize = sizeof header;
    header.biClrUsed = colours;
    if (get_real_color_count(reinterpret_cast<const char*>(&header)) != int(colours)) {
        SoDebugError::post(source, "libUEMF would store %d colours, not %u",
                           get_real_color_count(reinterpret_cast<const char*>(&header)),
                           unsigned(colours));
        return {};
    }
    std::vector<char> info(sizeof header + 4 * colours);
    std::memcpy(info.data(), &header, sizeof header);
    const char* table =
        reinterpret_cast<const char*>(stretch.info) + stretch.info->bmiHeader.biSize;
    if (colours > 0) std::memcpy(info.data() + sizeof header, table, 4 * colours);
    return info;
}

}  // namespace

std::unique_ptr<SoGDIMetafileDevice> SoGDIMetafileDevice::create(
    const std::string& path, const RECT* frame, const std::u16string& description) {
    std::unique_ptr<SoGDIMetafileFile> file = SoGDIMetafileFile::open(path);
    if (!file) return nullptr;
    std::vector<std::uint16_t> stored = storedDescription(description);
    if (stored.size() > kMostDescription) {
        SoDebugError::postWarning("SoGDIMetafileDevice::create",
                                  "The description of '%s' (%zu characters) is left out",
                                  path.c_str(), stored.size());
        stored.clear();
    }
    // Bounds and frame are set at close, when the drawing is known.
    char* header = U_EMRHEADER_set(rectl(kNoBounds), rectl(kNoBounds), nullptr,
                                   U_CBSTR(stored.size()), stored.empty() ? nullptr : stored.data(),
                                   sizel_set(kPixelsWide, kPixelsHigh),
                                   sizel_set(kMillimetresWide, kMillimetresHigh), 0);
    if (!file->append(header, "EMR_HEADER")) return nullptr;
    return std::unique_ptr<SoGDIMetafileDevice>(new SoGDIMetafileDevice(std::move(file), frame));
}

SoGDIMetafileDevice::SoGDIMetafileDevice(std::unique_ptr<SoGDIMetafileFile> file, const RECT* frame)
    : file_(std::move(file)), objects_(std::make_unique<SoGDIMetafileObjectTable>(*file_)) {
    if (frame) frame_ = *frame;
}

SoGDIMetafileDevice::~SoGDIMetafileDevice() = default;

int SoGDIMetafileDevice::getCaps(int index) const {
    switch (index) {
        case TECHNOLOGY:
            return DT_RASDISPLAY;
        case HORZSIZE:
            return kMillimetresWide;
        case VERTSIZE:
            return kMillimetresHigh;
        case HORZRES:
            return kPixelsWide;
        case VERTRES:
            return kPixelsHigh;
        case LOGPIXELSX:
        case LOGPIXELSY:
            return kDotsPerInch;
        default:
            return 0;
    }
}

bool SoGDIMetafileDevice::close() {
    if (closed_) return written_;
    closed_ = true;
    const RECT frame = frame_ ? *frame_ : frameOfBounds();
    written_ =
        file_->finish(rectl(bounds_.value_or(kNoBounds)), rectl(frame), objects_->slotsUsed());
    return written_;
}

/// The frame of a drawing with no frame given: its bounds' pixels, outer edges, in 0.01 mm.
RECT SoGDIMetafileDevice::frameOfBounds() const {
    if (!bounds_) return kNoBounds;
    const RECT& b = *bounds_;
    const auto hundredths = [](double pixels) {
        return clamped(std::round(pixels * kHundredthsPerPixel));
    };
    return {hundredths(b.left), hundredths(b.top), hundredths(b.right + 1.0),
            hundredths(b.bottom + 1.0)};
}

void SoGDIMetafileDevice::stateChanged(const SoGDIDeviceContext& dc, StateChange what) {
    if (!writing()) return;
    switch (what) {
        case MAP_MODE:
            file_->append(U_EMRSETMAPMODE_set(std::uint32_t(dc.mapMode)), "EMR_SETMAPMODE");
            break;
        case WINDOW_ORIGIN:
            file_->append(
                U_EMRSETWINDOWORGEX_set(point32_set(dc.windowOrigin.x, dc.windowOrigin.y)),
                "EMR_SETWINDOWORGEX");
            break;
        case MITER_LIMIT: {
            // The record holds a whole number; the context accepts only limits of 1 or more.
            const double limit = std::fmin(std::fmax(double(dc.miterLimit), 1.0), 1e9);
            file_->append(U_EMRSETMITERLIMIT_set(std::uint32_t(std::lround(limit))),
                          "EMR_SETMITERLIMIT");
            break;
        }
        case TEXT_COLOR:
            file_->append(U_EMRSETTEXTCOLOR_set(SoGDIMetafileObjectTable::colour(dc.textColor)),
                          "EMR_SETTEXTCOLOR");
            break;
        case TEXT_ALIGN:
            file_->append(U_EMRSETTEXTALIGN_set(dc.textAlign), "EMR_SETTEXTALIGN");
            break;
        case BK_MODE:
            file_->append(U_EMRSETBKMODE_set(std::uint32_t(dc.bkMode)), "EMR_SETBKMODE");
            break;
    }
}

void SoGDIMetafileDevice::objectSelected(const SoGDIDeviceContext& dc, const SoGDIObject& object) {
    (void)dc;
    if (writing()) objects_->select(object);
}

void SoGDIMetafileDevice::objectDeleted(const SoGDIObject& object) {
    if (writing()) objects_->remove(object);
}

// One record, as GDI writes it. Some readers (LibreOffice's) ignore a copied region; they
// must not be given an intersection instead, since they place regions otherwise than GDI
// does and would cut the whole drawing away. The drawing is clipped before it gets here.
void SoGDIMetafileDevice::clipSelected(const SoGDIDeviceContext& dc) {
    if (!writing()) return;
    appendClip(U_RGN_COPY, dc.clip ? &*dc.clip : nullptr);
}

void SoGDIMetafileDevice::appendClip(std::uint32_t mode, const RECT* clip) {
    U_RECTL rect = clip ? rectl(*clip) : U_RECTL{0, 0, 0, 0};
    const std::unique_ptr<U_RGNDATA, FreeDeleter> region(
        rgndata_set(rgndataheader_set(1, rect), &rect));
    char* record = region ? U_EMREXTSELECTCLIPRGN_set(mode, region.get()) : nullptr;
    if (record && !clip) {
        // No region is the same record without region data, which libUEMF builds only with
        // one: the region is cut off again.
        auto* removal = reinterpret_cast<U_EMREXTSELECTCLIPRGN*>(record);
        removal->emr.nSize = U_SIZE_EMREXTSELECTCLIPRGN;
        removal->cbRgnData = 0;
    }
    file_->append(record, "EMR_EXTSELECTCLIPRGN");
}

void SoGDIMetafileDevice::polyline(const SoGDIDeviceContext& dc, const POINT* points, int count) {
    poly(dc, points, count, false);
}

void SoGDIMetafileDevice::polygon(const SoGDIDeviceContext& dc, const POINT* points, int count) {
    poly(dc, points, count, true);
}

void SoGDIMetafileDevice::poly(const SoGDIDeviceContext& dc, const POINT* points, int count,
                               bool closed) {
    if (!writing() || !points || count < 1) return;
    const char* what = closed ? "EMR_POLYGON" : "EMR_POLYLINE";
    if (count > kMostPoints) {
        SoDebugError::post("SoGDIMetafileDevice::poly", "%s of %d points is too large to record",
                           what, count);
        return;
    }
    const RECT bounds = grown(deviceExtent(dc, points, count), penReach(dc));
    char* record = nullptr;
    if (fitsShort(points, count, bounds)) {
        std::vector<U_POINT16> shorts(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            shorts[std::size_t(i)] = point16_set(int16_t(points[i].x), int16_t(points[i].y));
        record = closed ? U_EMRPOLYGON16_set(rectl(bounds), std::uint32_t(count), shorts.data())
                        : U_EMRPOLYLINE16_set(rectl(bounds), std::uint32_t(count), shorts.data());
    } else {
        std::vector<U_POINTL> longs(static_cast<std::size_t>(count));
        for (int i = 0; i < count; ++i)
            longs[std::size_t(i)] = point32_set(points[i].x, points[i].y);
        record = closed ? U_EMRPOLYGON_set(rectl(bounds), std::uint32_t(count), longs.data())
                        : U_EMRPOLYLINE_set(rectl(bounds), std::uint32_t(count), longs.data());
    }
    draw(record, what, bounds);
}

void SoGDIMetafileDevice::moveTo(const SoGDIDeviceContext& dc, POINT to) {
    (void)dc;
    if (writing()) file_->append(U_EMRMOVETOEX_set(point32_set(to.x, to.y)), "EMR_MOVETOEX");
}

void SoGDIMetafileDevice::lineTo(const SoGDIDeviceContext& dc, POINT from, POINT to) {
    if (!writing()) return;
    const POINT ends[2] = {from, to};
    draw(U_EMRLINETO_set(point32_set(to.x, to.y)), "EMR_LINETO",
         grown(deviceExtent(dc, ends, 2), penReach(dc)));
}

void SoGDIMetafileDevice::rectangle(const SoGDIDeviceContext& dc, const RECT& box) {
    if (!writing()) return;
    const RECT bounds =
        grown(deviceArea(dc, {box.left, box.top}, {box.right, box.bottom}), penReach(dc));
    draw(U_EMRRECTANGLE_set(rectl(box)), "EMR_RECTANGLE", bounds);
}

void SoGDIMetafileDevice::text(const SoGDIDeviceContext& dc, int x, int y,
                               const std::string& narrow, const std::u16string& utf16, bool wide) {
    if (!writing()) return;
    const char* what = wide ? "EMR_EXTTEXTOUTW" : "EMR_EXTTEXTOUTA";
    const std::size_t count = wide ? utf16.size() : narrow.size();
    if (count > kMostCharacters) {
        SoDebugError::post("SoGDIMetafileDevice::text",
                           "%s of %zu characters is too long to record", what, count);
        return;
    }
    // Latin-1 bytes are the first 256 characters of UTF-16.
    std::vector<std::uint32_t> dx =
        advances(dc, wide ? utf16 : std::u16string(narrow.begin(), narrow.end()));
    dx.push_back(0);  // never empty, so that its data is never null
    std::string bytes = narrow;
    std::u16string units = utf16;
    void* string = wide ? static_cast<void*>(units.data()) : static_cast<void*>(bytes.data());
    // No opaquing or clipping rectangle, as TextOut records.
    const std::unique_ptr<char, FreeDeleter> placed(emrtext_set(point32_set(x, y), U_NUM_STR(count),
                                                                wide ? 2 : 1, string, U_ETO_NONE,
                                                                rectl(kNoBounds), dx.data()));
    const double width = std::accumulate(dx.begin(), dx.end(), 0.0);
    const RECT bounds = count > 0 ? textBox(dc, x, y, width) : kNoBounds;
    // GM_COMPATIBLE text scales with the page: 0.01 mm per logical unit.
    const bool compatible = dc.graphicsMode == GM_COMPATIBLE;
    const auto xScale =
        U_FLOAT(compatible ? std::fabs(devicePerLogical(dc, false)) * kHundredthsPerPixel : 0);
    const auto yScale =
        U_FLOAT(compatible ? std::fabs(devicePerLogical(dc, true)) * kHundredthsPerPixel : 0);
    auto* emrtext = reinterpret_cast<PU_EMRTEXT>(placed.get());
    char* record = !placed ? nullptr
                   : wide  ? U_EMREXTTEXTOUTW_set(rectl(bounds), std::uint32_t(dc.graphicsMode),
                                                  xScale, yScale, emrtext)
                           : U_EMREXTTEXTOUTA_set(rectl(bounds), std::uint32_t(dc.graphicsMode),
                                                  xScale, yScale, emrtext);
    draw(record, what, bounds);
}

void SoGDIMetafileDevice::stretchDIBits(const SoGDIDeviceContext& dc, const SoGDIStretch& stretch) {
    if (!writing()) return;
    if (!stretch.bits || stretch.bitsSize > kMostBitmapBytes) {
        SoDebugError::post("SoGDIMetafileDevice::stretchDIBits",
                           "A bitmap of %zu bytes is not recorded", stretch.bitsSize);
        return;
    }
    std::vector<char> info = bitmapInfo(stretch);
    if (info.empty()) return;
    const POINT corner{stretch.xDest, stretch.yDest};
    const POINT opposite{clamped(double(stretch.xDest) + stretch.destWidth),
                         clamped(double(stretch.yDest) + stretch.destHeight)};
    const RECT bounds = deviceArea(dc, corner, opposite);
    // libUEMF's builder only copies from the pixels it is given.
    char* pixels = const_cast<char*>(static_cast<const char*>(stretch.bits));
    char* record = U_EMRSTRETCHDIBITS_set(rectl(bounds), point32_set(stretch.xDest, stretch.yDest),
                                          point32_set(stretch.destWidth, stretch.destHeight),
                                          point32_set(stretch.xSource, stretch.ySource),
                                          point32_set(stretch.sourceWidth, stretch.sourceHeight),
                                          stretch.usage, stretch.rasterOperation,
                                          reinterpret_cast<PU_BITMAPINFO>(info.data()),
                                          std::uint32_t(stretch.bitsSize), pixels);
    draw(record, "EMR_STRETCHDIBITS", bounds);
}

void SoGDIMetafileDevice::draw(char* record, const char* what, const RECT& bounds) {
    if (!file_->append(record, what) || isEmpty(bounds)) return;
    if (!bounds_) {
        bounds_ = bounds;
        return;
    }
    RECT& all = *bounds_;
    all = {std::min(all.left, bounds.left), std::min(all.top, bounds.top),
           std::max(all.right, bounds.right), std::max(all.bottom, bounds.bottom)};
}
