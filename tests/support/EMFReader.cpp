#include "support/EMFReader.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>
#include <variant>

// Records are little-endian, 4-byte aligned, each opening with its type and its size in bytes;
// every offset inside a record counts from the record's first byte. A record's bytes are only
// read through Fields, which refuses anything past the record's end, so a lying count or
// offset turns into a message, never into a read of the next record or past the file.

namespace {

constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kStockBit = 0x80000000;
constexpr std::uint32_t kNoRect = 0x100, kPdy = 0x2000;  // ETO_NO_RECT, ETO_PDY
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
    std::uint16_t u16(std::uint64_t at) { return static_cast<std::uint16_t>(le(at, 2)); }
    std::uint32_t u32(std::uint64_t at) { return static_cast<std::uint32_t>(le(at, 4)); }
    std::int32_t i32(std::uint64_t at) { return as<std::int32_t>(u32(at)); }
    std::int16_t i16(std::uint64_t at) { return as<std::int16_t>(u16(at)); }
    EMFPoint point(std::uint64_t at) { return {i32(at), i32(at + 4)}; }
    EMFRect rect(std::uint64_t at) { return {i32(at), i32(at + 4), i32(at + 8), i32(at + 12)}; }
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

/// An object a create record made or the stock holds.
using Object = std::variant<EMFPen, EMFBrush, EMFFont>;

// The objects GDI always has: brushes 0..5 (white, light grey, grey, dark grey, black, null),
// pens 6..8 (white, black, null), fonts 10..14, 16 and 17, DC_BRUSH 18 and DC_PEN 19.
std::optional<Object> stockObject(std::uint32_t handle) {
    static const std::uint8_t greys[] = {255, 192, 128, 64, 0, 0};
    const std::uint32_t i = handle & ~kStockBit;
    if (i <= 5 || i == 18) {
        const std::uint8_t g = i == 18 ? 255 : greys[i];
        return EMFBrush{{g, g, g}};
    }
    if ((i >= 6 && i <= 8) || i == 19) {
        const std::uint8_t g = i == 6 ? 255 : 0;
        return EMFPen{i == 8 ? 5u : 0u, 0, {g, g, g}};  // 5: PS_NULL
    }
    if ((i >= 10 && i <= 14) || i == 16 || i == 17) return EMFFont{};
    return std::nullopt;
}

/// Plays one metafile: the structure checks, the object table, the state and the drawing.
class Reader {
  public:
    explicit Reader(const std::string& in) : in_(in) {}

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
    /// How a record type is read: its size if the layout fixes it (else 0), and its handler,
    /// if it sets anything the reader keeps.
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
        file_.records.push_back({type, size, at});
        const bool first = file_.records.size() == 1;
        if (size % 4) error("size " + str(size) + " is not a multiple of 4");
        if (first != (type == EMR_HEADER))
            error(first ? "the first record is not a header" : "a second header");
        if (sawEof_) error("a record after EOF");
        Fields f(in_, at, size);
        if (!decode(type, f)) file_.unknown.push_back(file_.records.size() - 1);
        if (f.shortRead) error("too short for its fields");
    }

    // The mapping mode, background mode, text alignment, miter limit and window origin change
    // nothing the reader keeps: their records are only checked. Handlers find their type in
    // rec(). A size is checked where the layout fixes it.
    bool decode(std::uint32_t type, Fields& f) {
        // A table, laid out by hand:
        // clang-format off
        static const Handler handlers[] = {
            {EMR_HEADER, 0, &Reader::header}, {EMR_EOF, 0, &Reader::eof},
            {EMR_SETMAPMODE, 12, nullptr}, {EMR_SETBKMODE, 12, nullptr},
            {EMR_SETTEXTALIGN, 12, nullptr}, {EMR_SETMITERLIMIT, 12, nullptr},
            {EMR_SETWINDOWORGEX, 16, nullptr}, {EMR_SETTEXTCOLOR, 12, &Reader::textColour},
            {EMR_SELECTOBJECT, 12, &Reader::select}, {EMR_DELETEOBJECT, 12, &Reader::remove},
            {EMR_MOVETOEX, 16, &Reader::moveTo}, {EMR_LINETO, 16, &Reader::lineTo},
            {EMR_RECTANGLE, 24, &Reader::rectangle}, {EMR_EXTSELECTCLIPRGN, 0, &Reader::clipRegion},
            {EMR_CREATEPEN, 28, &Reader::createPen}, {EMR_EXTCREATEPEN, 0, &Reader::extCreatePen},
            {EMR_CREATEBRUSHINDIRECT, 24, &Reader::createBrush},
            {EMR_EXTCREATEFONTINDIRECTW, 0, &Reader::createFont},
            {EMR_POLYLINE16, 0, &Reader::poly}, {EMR_POLYLINE, 0, &Reader::poly},
            {EMR_POLYGON16, 0, &Reader::poly}, {EMR_POLYGON, 0, &Reader::poly},
            {EMR_EXTTEXTOUTA, 0, &Reader::text}, {EMR_EXTTEXTOUTW, 0, &Reader::text},
            {EMR_STRETCHDIBITS, 0, &Reader::image}};
        // clang-format on
        for (const Handler& h : handlers) {
            if (h.type != type) continue;
            if (h.size && rec().size != h.size)
                error("size " + str(rec().size) + ", not " + str(h.size));
            if (h.read) (this->*h.read)(f);
            return true;
        }
        return false;
    }

    void textColour(Fields& f) { state_.textColour = colour(f.u32(8)); }
    void moveTo(Fields& f) { position_ = f.point(8); }

    void lineTo(Fields& f) {
        const EMFPoint to = f.point(8);
        draw(EMFItemKind::Line, {position_, to});
        position_ = to;
    }

    void rectangle(Fields& f) {
        const EMFRect b = f.rect(8);
        draw(EMFItemKind::Rectangle, {{b.left, b.top}, {b.right, b.bottom}});
    }

    // The header: fixed fields up to byte 88, then optional extensions (pixel format, size in
    // micrometres) that this reader skips, then the description, wherever its offset says.
    void header(Fields& f) {
        EMFHeader& h = file_.header;
        h.bounds = f.rect(8), h.frame = f.rect(24);
        h.signature = f.u32(40), h.version = f.u32(44), h.bytes = f.u32(48), h.records = f.u32(52);
        h.handles = f.u16(56), h.device = f.point(72), h.millimetres = f.point(80);
        const std::uint32_t chars = f.u32(60), at = f.u32(64);
        if (h.signature != kSignature) error("signature is not \" EMF\"");
        if (h.version != 0x10000) error("version " + str(h.version) + ", not 0x10000");
        if (chars && (at < 88 || !f.has(at, 2ull * chars)))
            error("description outside the header");
        else if (chars)
            h.description = f.utf16(at, chars);
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
        return std::move(file_);
    }

    // Objects: a create record puts its object in the slot it names (slot 0 is the metafile
    // itself); select copies a live or stock object into the state; delete frees the slot.
    void create(std::uint32_t slot, Object object) {
        if (slot == 0 || slot >= slots_.size())
            error("slot " + str(slot) + " outside 1.." +
                  str(slots_.size() ? slots_.size() - 1 : 0));
        else if (slots_[slot] >= 0)
            error("slot " + str(slot) + " already holds an object");
        else
            slots_[slot] = static_cast<int>(objects_.size());
        objects_.push_back(std::move(object));
    }

    void select(Fields& f) {
        const std::uint32_t handle = f.u32(8);
        const bool fromStock = handle & kStockBit;
        std::optional<Object> stock = fromStock ? stockObject(handle) : std::nullopt;
        if (fromStock && !stock)
            return error("no stock pen, brush or font " + str(handle & ~kStockBit));
        if (!fromStock && (handle >= slots_.size() || slots_[handle] < 0))
            return error("select of empty slot " + str(handle));
        const Object& o = stock ? *stock : objects_[slots_[handle]];
        if (const auto* pen = std::get_if<EMFPen>(&o)) state_.pen = *pen;
        if (const auto* brush = std::get_if<EMFBrush>(&o)) state_.brush = *brush;
        if (const auto* font = std::get_if<EMFFont>(&o)) state_.font = *font;
    }

    // Deleting the selected object is allowed: the state keeps its copy.
    void remove(Fields& f) {
        const std::uint32_t handle = f.u32(8);
        if (handle >= slots_.size() || slots_[handle] < 0)
            return error("delete of slot " + str(handle) + ", which holds no object");
        slots_[handle] = -1;
    }

    void createPen(Fields& f) { create(f.u32(8), EMFPen{f.u32(12), f.i32(16), colour(f.u32(24))}); }

    // A pattern bitmap may follow the fixed part; its place is given by offsets. Dash and gap
    // lengths of a user style would follow too: they are not read, so a pen with them is not
    // taken as ours.
    void extCreatePen(Fields& f) {
        const std::uint32_t bmiAt = f.u32(12), bmiSize = f.u32(16), bitsAt = f.u32(20),
                            bitsSize = f.u32(24);
        if ((bmiSize && !f.has(bmiAt, bmiSize)) || (bitsSize && !f.has(bitsAt, bitsSize)))
            error("pattern bitmap outside the record");
        if (const std::uint32_t entries = f.u32(48))
            error(str(entries) + " style entries, which the reader does not read");
        create(f.u32(8), EMFPen{f.u32(28), f.i32(32), colour(f.u32(40))});
    }

    void createBrush(Fields& f) { create(f.u32(8), EMFBrush{colour(f.u32(16))}); }

    // The LOGFONTW at byte 12: height, width, escapement, orientation, weight, eight bytes of
    // flags, then the face; whatever follows it (full name, style, script) is not needed.
    void createFont(Fields& f) {
        const std::u16string face = f.utf16(40, 32);
        const std::size_t end = face.find(u'\0');
        if (end == std::u16string::npos) error("face name not terminated within 32 characters");
        create(f.u32(8), EMFFont{f.i32(12), f.i32(28), EMFReader::utf8(face.substr(0, end))});
    }

    // The region's rectangles follow a 32-byte RGNDATAHEADER (size, type, count, size of the
    // rectangles or 0, bounds); an empty region with RGN_COPY removes the clip. The clip is
    // checked, not kept.
    void clipRegion(Fields& f) {
        const std::uint32_t size = f.u32(8), mode = f.u32(12);
        if (mode < kRgnAnd || mode > kRgnCopy) return error("region mode " + str(mode));
        if (size == 0 && mode != kRgnCopy) error("no region with a mode other than RGN_COPY");
        if (size == 0) return;
        if (size < kRegionHeader || !f.has(16, size))
            return error("region data outside the record");
        const std::uint32_t headerSize = f.u32(16), kind = f.u32(20), count = f.u32(24),
                            bytes = f.u32(28);
        if (headerSize != kRegionHeader || kind != kRectangles)
            error("region header is not 32 bytes of rectangles");
        if (bytes != 0 && bytes != 16ull * count)
            error("region gives " + str(bytes) + " bytes of rectangles");
        if (kRegionHeader + 16ull * count > size)
            error(str(count) + " rectangles outside the region data");
    }

    void draw(EMFItemKind kind, std::vector<EMFPoint> points) {
        file_.items.push_back({kind, std::move(points), state_});
    }

    // Bounds, a count and the points: 16-bit ones take 4 bytes, 32-bit ones 8.
    void poly(Fields& f) {
        const std::uint32_t type = rec().type;
        const bool small = type == EMR_POLYLINE16 || type == EMR_POLYGON16;
        const bool closed = type == EMR_POLYGON16 || type == EMR_POLYGON;
        const std::uint64_t count = f.u32(24), need = 28 + count * (small ? 4 : 8);
        if (need != rec().size) return error(str(count) + " points need " + str(need) + " bytes");
        draw(closed ? EMFItemKind::Polygon : EMFItemKind::Polyline, f.points(28, count, small));
    }

    // Bounds, graphics mode and scales, then the text: reference point, length, offset of the
    // string, options, a rectangle left out under ETO_NO_RECT, and the offset of the advances.
    void text(Fields& f) {
        const bool wide = rec().type == EMR_EXTTEXTOUTW;
        const EMFPoint at = f.point(36);
        const std::uint64_t count = f.u32(44), stringAt = f.u32(48), options = f.u32(52);
        const std::uint64_t dxAt = f.u32(options & kNoRect ? 56 : 72);
        if (!f.has(stringAt, count * (wide ? 2 : 1))) error("string outside the record");
        const std::uint64_t advances = count * (options & kPdy ? 2 : 1);
        if (dxAt && !f.has(dxAt, 4 * advances)) error("advances outside the record");
        draw(EMFItemKind::Text, {at});
    }

    // Bounds, destination, source, where the BITMAPINFO and the bits are, usage, raster
    // operation, destination size. Uncompressed rows are padded to 4 bytes.
    void image(Fields& f) {
        const EMFPoint at = f.point(24);
        const std::uint32_t infoAt = f.u32(48), infoSize = f.u32(52), bitsAt = f.u32(56),
                            bitsSize = f.u32(60);
        const std::int32_t cx = f.i32(72), cy = f.i32(76);
        // The BITMAPINFOHEADER's own size, then width, height, planes, bit count, compression.
        if (infoSize < 40 || !f.has(infoAt, infoSize)) error("bitmap header outside the record");
        const std::int64_t width = std::max(f.i32(infoAt + 4), 0), height = f.i32(infoAt + 8);
        const std::uint64_t rows = height < 0 ? -height : height,
                            rowBytes = (width * f.u16(infoAt + 14) + 31) / 32 * 4;
        if (!f.has(bitsAt, bitsSize))
            error("bits outside the record");
        else if (f.u32(infoAt + 16) == 0 && rows && rowBytes > bitsSize / rows)
            error(str(bitsSize) + " bytes of bits are too few");  // no product to overflow
        draw(EMFItemKind::Image, {at, {plus(at.x, cx), plus(at.y, cy)}});
    }

    const std::string& in_;
    EMFFile file_;
    EMFState state_;
    EMFPoint position_;            // the current position of MOVETOEX and LINETO
    std::vector<Object> objects_;  // in the order created
    std::vector<int> slots_;       // index in objects_, or -1 for a free slot
    bool sawEof_ = false;
};

}  // namespace

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
