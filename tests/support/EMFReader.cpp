#include "support/EMFReader.h"

#include <algorithm>
#include <cstring>
#include <utility>

// Records are little-endian, 4-byte aligned, each opening with its type and its size in bytes;
// every offset inside a record counts from the record's first byte. A record's bytes are only
// read through Fields, which refuses anything past the record's end, so a lying count or
// offset turns into a message, never into a read of the next record or past the file.

namespace {

constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kStockBit = 0x80000000;
constexpr std::uint32_t kUserStyle = 7, kMaxStyleEntries = 16;  // ExtCreatePen's own limit
constexpr std::uint32_t kNoRect = 0x100, kPdy = 0x2000;         // ETO_NO_RECT, ETO_PDY
constexpr std::uint32_t kRgnAnd = 1, kRgnCopy = 5;
constexpr std::uint32_t kRegionHeader = 32, kRectangles = 1;  // RGNDATAHEADER, RDH_RECTANGLES

EMFColour colour(std::uint32_t ref) {
    return {static_cast<std::uint8_t>(ref), static_cast<std::uint8_t>(ref >> 8),
            static_cast<std::uint8_t>(ref >> 16)};
}

std::int32_t plus(std::int32_t a, std::int32_t b) {  // wraps instead of overflowing
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}

/// One record's bytes. A read past the record's end gives 0 and marks the record short.
class Fields {
  public:
    Fields(const std::string& in, std::size_t offset, std::uint32_t size)
        : in_(in), offset_(offset), size_(size) {}
    bool shortRead = false;

    bool has(std::uint64_t at, std::uint64_t length) const { return at + length <= size_; }
    std::uint8_t u8(std::uint64_t at) { return static_cast<std::uint8_t>(le(at, 1)); }
    std::uint16_t u16(std::uint64_t at) { return static_cast<std::uint16_t>(le(at, 2)); }
    std::uint32_t u32(std::uint64_t at) { return static_cast<std::uint32_t>(le(at, 4)); }
    std::int32_t i32(std::uint64_t at) { return as<std::int32_t>(u32(at)); }
    std::int16_t i16(std::uint64_t at) { return as<std::int16_t>(u16(at)); }
    float f32(std::uint64_t at) { return as<float>(u32(at)); }
    EMFPoint point(std::uint64_t at) { return {i32(at), i32(at + 4)}; }
    EMFRect rect(std::uint64_t at) { return {i32(at), i32(at + 4), i32(at + 8), i32(at + 12)}; }
    std::string bytes(std::uint64_t at, std::uint64_t n) {
        if (!has(at, n)) return shortRead = true, std::string();
        return in_.substr(offset_ + at, n);
    }
    std::u16string utf16(std::uint64_t at, std::uint64_t n) {
        std::u16string out;
        for (std::uint64_t i = 0; i < n && has(at + 2 * i, 2); ++i)
            out += char16_t(u16(at + 2 * i));
        if (!has(at, 2 * n)) shortRead = true;
        return out;
    }
    /// `n` points of two 16-bit or two 32-bit coordinates.
    std::vector<EMFPoint> points(std::uint64_t at, std::uint64_t n, bool small) {
        std::vector<EMFPoint> out;
        for (std::uint64_t i = 0; i < n && !shortRead; ++i)
            out.push_back(small ? EMFPoint{i16(at + 4 * i), i16(at + 4 * i + 2)}
                                : point(at + 8 * i));
        return out;
    }

  private:
    template <typename T, typename U>
    static T as(U bits) {
        T value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    std::uint64_t le(std::uint64_t at, unsigned n) {
        if (!has(at, n)) return shortRead = true, 0;
        std::uint64_t v = 0;
        for (unsigned i = 0; i < n; ++i)
            v |= std::uint64_t(static_cast<unsigned char>(in_[offset_ + at + i])) << (8 * i);
        return v;
    }
    const std::string& in_;
    std::size_t offset_;
    std::uint32_t size_;
};

// The objects GDI always has: brushes 0..5 (white, light grey, grey, dark grey, black, null),
// pens 6..8 (white, black, null), fonts 10..14, 16 and 17, DC_BRUSH 18 and DC_PEN 19.
std::optional<EMFObject> stockObject(std::uint32_t handle) {
    static const std::uint8_t greys[] = {255, 192, 128, 64, 0};
    const std::uint32_t i = handle & ~kStockBit;
    EMFObject o;
    if (i <= 4 || i == 18) {
        const std::uint8_t g = i == 18 ? 255 : greys[i];
        o.kind = EMFObjectKind::Brush, o.brush.colour = {g, g, g};
    } else if (i == 5) {
        o.kind = EMFObjectKind::Brush, o.brush.style = 1;
    } else if ((i >= 6 && i <= 8) || i == 19) {
        const std::uint8_t g = i == 6 ? 255 : 0;
        o.kind = EMFObjectKind::Pen, o.pen.colour = {g, g, g}, o.pen.style = i == 8 ? 5 : 0;
    } else if ((i >= 10 && i <= 14) || i == 16 || i == 17) {
        o.kind = EMFObjectKind::Font;
    } else {
        return std::nullopt;
    }
    o.slot = o.pen.handle = o.brush.handle = o.font.handle = handle;
    return o;
}

/// Plays one metafile: the structure checks, the object table, the state and the drawing.
class Reader {
  public:
    explicit Reader(const std::string& in) : in_(in) {
        state_.pen = stockObject(kStockBit | 7)->pen;
        state_.brush = stockObject(kStockBit | 0)->brush;
        state_.font = stockObject(kStockBit | 13)->font;
    }

    EMFFile run() {
        std::size_t at = 0;
        while (at < in_.size()) {
            if (in_.size() - at < 8)
                return finish("byte " + std::to_string(at) + ": truncated record");
            Fields head(in_, at, 8);
            const std::uint32_t type = head.u32(0), size = head.u32(4);
            if (size < 8 || size > in_.size() - at)
                return finish("byte " + std::to_string(at) + ": record of type " +
                              std::to_string(type) + " has size " + std::to_string(size) +
                              ", outside the file");
            record(at, type, size);
            at += size;
        }
        return finish("");
    }

  private:
    /// How a record type is read: its size if the layout fixes it (else 0), and its handler.
    struct Handler {
        std::uint32_t type, size;
        void (Reader::*read)(Fields&);
    };

    EMFRecord& rec() { return file_.records.back(); }
    void error(const std::string& what) {
        file_.errors.push_back("record " + std::to_string(file_.records.size() - 1) + " (type " +
                               std::to_string(rec().type) + ") at byte " +
                               std::to_string(rec().offset) + ": " + what);
    }
    static std::string str(std::uint64_t n) { return std::to_string(n); }

    void record(std::size_t at, std::uint32_t type, std::uint32_t size) {
        file_.records.push_back({});
        rec().type = type, rec().size = size, rec().offset = at;
        const bool first = file_.records.size() == 1;
        if (size % 4) error("size " + str(size) + " is not a multiple of 4");
        if (first != (type == EMR_HEADER))
            error(first ? "the first record is not a header" : "a second header");
        if (sawEof_) error("a record after EOF");
        Fields f(in_, at, size);
        rec().known = decode(type, f);
        if (!rec().known) file_.unknown.push_back(file_.records.size() - 1);
        if (f.shortRead) error("too short for its fields");
    }

    // Records that set one number, colour or point of the state, then those with handlers of
    // their own (which find their type in rec()). A size is checked where the layout fixes it.
    bool decode(std::uint32_t type, Fields& f) {
        EMFRecord& r = rec();
        using S = EMFState;
        // Tables, laid out by hand:
        // clang-format off
        static const std::pair<std::uint32_t, std::uint32_t S::*> numbers[] = {
            {EMR_SETMAPMODE, &S::mapMode}, {EMR_SETBKMODE, &S::bkMode},
            {EMR_SETPOLYFILLMODE, &S::polyFillMode}, {EMR_SETTEXTALIGN, &S::textAlign},
            {EMR_SETMITERLIMIT, &S::miterLimit}};
        static const std::pair<std::uint32_t, EMFColour S::*> colours[] = {
            {EMR_SETTEXTCOLOR, &S::textColour}, {EMR_SETBKCOLOR, &S::bkColour}};
        static const std::pair<std::uint32_t, EMFPoint S::*> points[] = {
            {EMR_SETWINDOWORGEX, &S::windowOrg}, {EMR_SETWINDOWEXTEX, &S::windowExt},
            {EMR_SETVIEWPORTORGEX, &S::viewportOrg}, {EMR_SETVIEWPORTEXTEX, &S::viewportExt},
            {EMR_MOVETOEX, &S::position}};
        static const Handler handlers[] = {
            {EMR_HEADER, 0, &Reader::header}, {EMR_EOF, 0, &Reader::eof},
            {EMR_SAVEDC, 8, &Reader::save}, {EMR_RESTOREDC, 12, &Reader::restore},
            {EMR_SELECTOBJECT, 12, &Reader::select}, {EMR_DELETEOBJECT, 12, &Reader::remove},
            {EMR_LINETO, 16, &Reader::lineTo}, {EMR_RECTANGLE, 24, &Reader::box},
            {EMR_ELLIPSE, 24, &Reader::box}, {EMR_INTERSECTCLIPRECT, 24, &Reader::box},
            {EMR_SELECTCLIPPATH, 12, &Reader::value}, {EMR_EXTSELECTCLIPRGN, 0, &Reader::clipRegion},
            {EMR_CREATEPEN, 28, &Reader::createPen}, {EMR_EXTCREATEPEN, 0, &Reader::extCreatePen},
            {EMR_CREATEBRUSHINDIRECT, 24, &Reader::createBrush},
            {EMR_EXTCREATEFONTINDIRECTW, 0, &Reader::createFont},
            {EMR_POLYLINE16, 0, &Reader::poly}, {EMR_POLYLINE, 0, &Reader::poly},
            {EMR_POLYGON16, 0, &Reader::poly}, {EMR_POLYGON, 0, &Reader::poly},
            {EMR_POLYPOLYLINE16, 0, &Reader::polyPoly}, {EMR_POLYPOLYGON16, 0, &Reader::polyPoly},
            {EMR_EXTTEXTOUTA, 0, &Reader::text}, {EMR_EXTTEXTOUTW, 0, &Reader::text},
            {EMR_STRETCHDIBITS, 0, &Reader::image}};
        // clang-format on
        for (const auto& [t, field] : numbers)
            if (t == type) return fixed(12), state_.*field = r.value = f.u32(8), true;
        for (const auto& [t, field] : colours)
            if (t == type) return fixed(12), state_.*field = colour(r.value = f.u32(8)), true;
        for (const auto& [t, field] : points)
            if (t == type) return fixed(16), state_.*field = r.point = f.point(8), true;
        for (const Handler& h : handlers)
            if (h.type == type) return fixed(h.size), (this->*h.read)(f), true;
        return false;
    }

    void fixed(std::uint32_t size) {
        if (size && rec().size != size) error("size " + str(rec().size) + ", not " + str(size));
    }

    void value(Fields& f) { rec().value = f.u32(8); }
    void save(Fields&) { saved_.push_back(state_); }

    void lineTo(Fields& f) {
        rec().point = f.point(8);
        draw(EMFItemKind::Line, {state_.position, rec().point});
        state_.position = rec().point;
    }

    // INTERSECTCLIPRECT's rectangle is logical units, regions are device units: it is decoded,
    // not applied to the clip.
    void box(Fields& f) {
        const EMFRect b = rec().box = f.rect(8);
        const EMFItemKind kind =
            rec().type == EMR_RECTANGLE ? EMFItemKind::Rectangle : EMFItemKind::Ellipse;
        if (rec().type != EMR_INTERSECTCLIPRECT) draw(kind, {{b.left, b.top}, {b.right, b.bottom}});
    }

    // The header: fixed fields up to byte 88, then optional extensions that end where the
    // description begins (or with the record, without one), then the description.
    void header(Fields& f) {
        EMFHeader& h = file_.header;
        h.bounds = f.rect(8), h.frame = f.rect(24);
        h.signature = f.u32(40), h.version = f.u32(44), h.bytes = f.u32(48), h.records = f.u32(52);
        h.handles = f.u16(56), h.palEntries = f.u32(68);
        h.device = f.point(72), h.millimetres = f.point(80);
        const std::uint32_t chars = f.u32(60), at = f.u32(64);
        if (h.signature != kSignature) error("signature is not \" EMF\"");
        if (h.version != 0x10000) error("version " + str(h.version) + ", not 0x10000");
        if (chars && (at < 88 || !f.has(at, 2ull * chars)))
            error("description outside the header");
        else if (chars)
            h.description = f.utf16(at, chars);
        const std::uint64_t extensionsEnd = chars ? std::min(at, rec().size) : rec().size;
        if ((h.hasPixelFormat = extensionsEnd >= 100)) {
            h.pixelFormatSize = f.u32(88), h.pixelFormatOffset = f.u32(92), h.openGL = f.u32(96);
            if (h.pixelFormatSize && !f.has(h.pixelFormatOffset, h.pixelFormatSize))
                error("pixel format outside the header");
        }
        if ((h.hasMicrometres = extensionsEnd >= 108)) h.micrometres = f.point(100);
        slots_.assign(h.handles, -1);
    }

    void eof(Fields& f) {
        sawEof_ = true;
        const std::uint32_t entries = f.u32(8), at = f.u32(12);
        if (entries && !f.has(at, 4ull * entries)) error("palette outside the record");
        if (f.u32(rec().size - 4) != rec().size) error("closing size is not the record's size");
    }

    EMFFile finish(const std::string& fault) {
        if (!fault.empty()) file_.errors.push_back(fault);
        if (file_.records.empty()) return file_.errors.push_back("no header"), std::move(file_);
        if (!sawEof_) file_.errors.push_back("no EOF record");
        if (file_.records[0].type == EMR_HEADER) {
            if (file_.header.bytes != in_.size())
                file_.errors.push_back("header gives " + str(file_.header.bytes) +
                                       " bytes, the file has " + str(in_.size()));
            if (file_.header.records != file_.records.size())
                file_.errors.push_back("header gives " + str(file_.header.records) +
                                       " records, the file has " + str(file_.records.size()));
        }
        file_.end = state_;
        return std::move(file_);
    }

    // Objects: a create record puts its object in the slot it names (slot 0 is the metafile
    // itself); select copies a live or stock object into the state; delete frees the slot.
    void create(EMFObject object) {
        const std::uint32_t slot = object.slot = object.pen.handle = object.brush.handle =
            object.font.handle = rec().value;
        rec().object = static_cast<int>(file_.objects.size());
        if (slot == 0 || slot >= slots_.size())
            error("slot " + str(slot) + " outside 1.." +
                  str(slots_.size() ? slots_.size() - 1 : 0));
        else if (slots_[slot] >= 0)
            error("slot " + str(slot) + " already holds an object");
        else
            slots_[slot] = rec().object;
        file_.objects.push_back(std::move(object));
    }

    void select(Fields& f) {
        const std::uint32_t handle = rec().value = f.u32(8);
        const bool fromStock = handle & kStockBit;
        std::optional<EMFObject> stock = fromStock ? stockObject(handle) : std::nullopt;
        if (fromStock && !stock)
            return error("no stock pen, brush or font " + str(handle & ~kStockBit));
        if (!fromStock && (handle >= slots_.size() || slots_[handle] < 0))
            return error("select of empty slot " + str(handle));
        const EMFObject& o = stock ? *stock : file_.objects[slots_[handle]];
        if (o.kind == EMFObjectKind::Pen) state_.pen = o.pen;
        if (o.kind == EMFObjectKind::Brush) state_.brush = o.brush;
        if (o.kind == EMFObjectKind::Font) state_.font = o.font;
    }

    void remove(Fields& f) {
        const std::uint32_t handle = rec().value = f.u32(8);
        if (handle >= slots_.size() || slots_[handle] < 0)
            return error("delete of slot " + str(handle) + ", which holds no object");
        const EMFObject& o = file_.objects[slots_[handle]];
        if ((o.kind == EMFObjectKind::Pen && state_.pen.handle == handle) ||
            (o.kind == EMFObjectKind::Brush && state_.brush.handle == handle) ||
            (o.kind == EMFObjectKind::Font && state_.font.handle == handle))
            file_.notes.push_back("record " + str(file_.records.size() - 1) +
                                  " deletes the selected object in slot " + str(handle));
        slots_[handle] = -1;
    }

    void createPen(Fields& f) {
        EMFObject o;
        rec().value = f.u32(8);
        o.pen.style = f.u32(12), o.pen.width = f.i32(16), o.pen.colour = colour(f.u32(24));
        create(std::move(o));
    }

    // A pattern bitmap may follow the fixed part; its place is given by offsets.
    void extCreatePen(Fields& f) {
        EMFObject o;
        EMFPen& p = o.pen;
        rec().value = f.u32(8);
        const std::uint32_t bmiAt = f.u32(12), bmiSize = f.u32(16), bitsAt = f.u32(20),
                            bitsSize = f.u32(24);
        if ((bmiSize && !f.has(bmiAt, bmiSize)) || (bitsSize && !f.has(bitsAt, bitsSize)))
            error("pattern bitmap outside the record");
        p.extended = true, p.style = f.u32(28), p.width = f.i32(32), p.brushStyle = f.u32(36);
        p.colour = colour(f.u32(40)), p.hatch = f.u32(44);
        const std::uint32_t entries = f.u32(48);
        if (entries > kMaxStyleEntries)
            error(str(entries) + " style entries, more than 16");
        else if (entries && p.lineStyle() != kUserStyle)
            error("style entries without PS_USERSTYLE");
        else if (!f.has(52, 4ull * entries))
            error("style entries outside the record");
        else
            for (std::uint32_t i = 0; i < entries; ++i) p.styleEntries.push_back(f.u32(52 + 4 * i));
        create(std::move(o));
    }

    void createBrush(Fields& f) {
        EMFObject o;
        o.kind = EMFObjectKind::Brush;
        rec().value = f.u32(8);
        o.brush.style = f.u32(12), o.brush.colour = colour(f.u32(16)), o.brush.hatch = f.u32(20);
        create(std::move(o));
    }

    // The LOGFONTW at byte 12; whatever follows it (full name, style, script) is not needed.
    void createFont(Fields& f) {
        EMFObject o;
        EMFFont& t = o.font;
        o.kind = EMFObjectKind::Font;
        rec().value = f.u32(8);
        t.height = f.i32(12), t.width = f.i32(16), t.escapement = f.i32(20);
        t.orientation = f.i32(24), t.weight = f.i32(28);
        t.italic = f.u8(32), t.underline = f.u8(33), t.strikeOut = f.u8(34), t.charSet = f.u8(35);
        std::u16string face = f.utf16(40, 32);
        const std::size_t end = face.find(u'\0');
        if (end == std::u16string::npos) error("face name not terminated within 32 characters");
        t.face = EMFReader::utf8(face.substr(0, end));
        create(std::move(o));
    }

    void restore(Fields& f) {
        const std::int64_t relative = f.i32(8);
        rec().value = f.u32(8);
        if (relative >= 0 || -relative > static_cast<std::int64_t>(saved_.size()))
            return error("RESTOREDC " + std::to_string(relative) + " with " + str(saved_.size()) +
                         " saved");
        const std::size_t keep = saved_.size() - static_cast<std::size_t>(-relative);
        state_ = saved_[keep];
        saved_.resize(keep);
    }

    // The region's rectangles follow a 32-byte RGNDATAHEADER (size, type, count, size of the
    // rectangles or 0, bounds). The clip becomes the region's rectangles whatever the mode (the
    // state keeps the mode); an empty region with RGN_COPY removes the clip.
    void clipRegion(Fields& f) {
        EMFRecord& r = rec();
        const std::uint32_t size = f.u32(8), mode = r.value = f.u32(12);
        if (mode < kRgnAnd || mode > kRgnCopy) return error("region mode " + str(mode));
        state_.clipMode = mode;
        if (size == 0) {
            if (mode != kRgnCopy) return error("no region with a mode other than RGN_COPY");
            return state_.clip.reset();
        }
        if (size < kRegionHeader || !f.has(16, size))
            return error("region data outside the record");
        const std::uint32_t headerSize = f.u32(16), kind = f.u32(20), count = f.u32(24),
                            bytes = f.u32(28);
        r.box = f.rect(32);
        if (headerSize != kRegionHeader || kind != kRectangles)
            error("region header is not 32 bytes of rectangles");
        if (bytes != 0 && bytes != 16ull * count)
            error("region gives " + str(bytes) + " bytes of rectangles");
        if (kRegionHeader + 16ull * count > size)
            return error(str(count) + " rectangles outside the region data");
        for (std::uint32_t i = 0; i < count; ++i) r.rects.push_back(f.rect(48 + 16ull * i));
        state_.clip = std::make_shared<const std::vector<EMFRect>>(r.rects);
    }

    EMFItem& draw(EMFItemKind kind, std::vector<EMFPoint> points,
                  std::vector<std::size_t> parts = {}) {
        rec().item = static_cast<int>(file_.items.size());
        file_.items.push_back({});
        EMFItem& item = file_.items.back();
        item.kind = kind, item.record = file_.records.size() - 1, item.state = state_;
        item.parts = parts.empty() ? std::vector<std::size_t>{points.size()} : std::move(parts);
        item.points = std::move(points);
        return item;
    }

    // Bounds, a count and the points: 16-bit ones take 4 bytes, 32-bit ones 8.
    void poly(Fields& f) {
        const std::uint32_t type = rec().type;
        const bool small = type == EMR_POLYLINE16 || type == EMR_POLYGON16;
        const bool closed = type == EMR_POLYGON16 || type == EMR_POLYGON;
        rec().box = f.rect(8);
        const std::uint64_t count = f.u32(24), need = 28 + count * (small ? 4 : 8);
        if (need != rec().size) return error(str(count) + " points need " + str(need) + " bytes");
        draw(closed ? EMFItemKind::Polygon : EMFItemKind::Polyline, f.points(28, count, small));
    }

    // Bounds, the number of figures, the number of points, the figures' counts, the points.
    void polyPoly(Fields& f) {
        const bool closed = rec().type == EMR_POLYPOLYGON16;
        rec().box = f.rect(8);
        const std::uint64_t figures = f.u32(24), count = f.u32(28),
                            need = 32 + 4 * figures + 4 * count;
        if (need != rec().size)
            return error(str(figures) + " figures of " + str(count) + " points need " + str(need) +
                         " bytes");
        std::vector<std::size_t> parts;
        std::uint64_t sum = 0;
        for (std::uint64_t i = 0; i < figures; ++i) sum += parts.emplace_back(f.u32(32 + 4 * i));
        if (sum != count)
            return error("figures' counts add up to " + str(sum) + ", not " + str(count));
        draw(closed ? EMFItemKind::Polygon : EMFItemKind::Polyline,
             f.points(32 + 4 * figures, count, true), std::move(parts));
    }

    // Bounds, graphics mode and scales, then the text: reference point, length, offset of the
    // string, options, a rectangle left out under ETO_NO_RECT, and the offset of the advances.
    void text(Fields& f) {
        EMFText t;
        const bool wide = rec().type == EMR_EXTTEXTOUTW;
        rec().box = f.rect(8);
        t.wide = wide, t.graphicsMode = f.u32(24), t.xScale = f.f32(28), t.yScale = f.f32(32);
        const EMFPoint at = f.point(36);
        const std::uint64_t count = f.u32(44), stringAt = f.u32(48);
        t.options = f.u32(52);
        if (!(t.options & kNoRect)) t.rect = f.rect(56);
        const std::uint64_t dxAt = f.u32(t.options & kNoRect ? 56 : 72);
        if (!f.has(stringAt, count * (wide ? 2 : 1)))
            error("string outside the record");
        else if (wide)
            t.chars = f.utf16(stringAt, count);
        else
            for (char c : f.bytes(stringAt, count))
                t.chars += char16_t(static_cast<unsigned char>(c));
        const std::uint64_t advances = count * (t.options & kPdy ? 2 : 1);
        if (dxAt && !f.has(dxAt, 4 * advances))
            error("advances outside the record");
        else if (dxAt)
            for (std::uint64_t i = 0; i < advances; ++i) t.dx.push_back(f.i32(dxAt + 4 * i));
        draw(EMFItemKind::Text, {at}).text = std::move(t);
    }

    // Destination, source, where the BITMAPINFO and the bits are, usage, raster operation,
    // destination size.
    void image(Fields& f) {
        EMFImage m;
        rec().box = f.rect(8);
        const EMFPoint at = f.point(24);
        m.srcX = f.i32(32), m.srcY = f.i32(36), m.srcWidth = f.i32(40), m.srcHeight = f.i32(44);
        const std::uint32_t infoAt = f.u32(48), infoSize = f.u32(52), bitsAt = f.u32(56),
                            bitsSize = f.u32(60);
        m.usage = f.u32(64), m.rop = f.u32(68);
        const std::int32_t cx = f.i32(72), cy = f.i32(76);
        // The BITMAPINFOHEADER's own size, then width, height, planes, bit count, compression.
        if (infoSize < 40 || !f.has(infoAt, infoSize)) error("bitmap header outside the record");
        m.width = f.i32(infoAt + 4), m.height = f.i32(infoAt + 8), m.planes = f.u16(infoAt + 12);
        m.bitCount = f.u16(infoAt + 14), m.compression = f.u32(infoAt + 16);
        if (!f.has(bitsAt, bitsSize)) error("bits outside the record");
        m.bits = f.bytes(bitsAt, bitsSize);
        if (m.compression == 0 && !m.allRows())
            error(str(m.bits.size()) + " bytes of bits are too few");
        draw(EMFItemKind::Image, {at, {plus(at.x, cx), plus(at.y, cy)}}).image = std::move(m);
    }

    const std::string& in_;
    EMFFile file_;
    EMFState state_;
    std::vector<EMFState> saved_;
    std::vector<int> slots_;  // index in file_.objects, or -1 for a free slot
    bool sawEof_ = false;
};

}  // namespace

// Rows are padded to 4 bytes and stored bottom-up unless the height is negative.
std::uint64_t EMFImage::rowBytes() const {
    return (std::uint64_t(std::max(width, 0)) * bitCount + 31) / 32 * 4;
}

bool EMFImage::allRows() const {
    const std::uint64_t rows = height < 0 ? -std::int64_t(height) : height;
    return rows == 0 || rowBytes() <= bits.size() / rows;  // no product to overflow
}

std::optional<EMFColour> EMFImage::rgb(std::int32_t x, std::int32_t y) const {
    const std::int64_t rows = height < 0 ? -std::int64_t(height) : height;
    if (bitCount != 24 || compression != 0 || x < 0 || y < 0 || x >= width || y >= rows ||
        !allRows())
        return std::nullopt;
    const std::uint64_t row = height < 0 ? y : rows - 1 - y;
    const std::uint64_t at = row * rowBytes() + std::uint64_t(x) * 3;
    auto byte = [&](std::uint64_t i) { return static_cast<std::uint8_t>(bits[at + i]); };
    return EMFColour{byte(2), byte(1), byte(0)};
}

EMFFile EMFReader::read(const std::string& bytes) {
    return Reader(bytes).run();
}

std::string EMFReader::utf8(const std::u16string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        std::uint32_t c = text[i];
        const bool high = c >= 0xD800 && c < 0xDC00;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
            c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
        else if (c >= 0xD800 && c < 0xE000)
            c = 0xFFFD;  // an unpaired surrogate
        const int tail = c < 0x80 ? 0 : c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
        static const unsigned char lead[] = {0x00, 0xC0, 0xE0, 0xF0};
        out += static_cast<char>(lead[tail] | (c >> (6 * tail)));
        for (int k = tail - 1; k >= 0; --k)
            out += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
    }
    return out;
}
