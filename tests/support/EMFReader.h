#pragma once

// Reads an enhanced metafile as GDI plays it back, and tells what it set and drew:
//
//     EMFFile emf = EMFReader::read(bytes);
//     EXPECT_TRUE(emf.clean()) << emf.errors.front();
//     for (const EMFItem& item : emf.items)
//         if (item.kind == EMFItemKind::Polyline) item.state.pen.colour.r;
//
// Written from the record layouts themselves, independently of any writer, so that a writer's
// mistake shows up as a disagreement. It checks the record structure (header first, EOF last,
// sizes, counts) and the object table (slots created, selected and deleted as GDI would), and
// replays the drawing records with the state in force. Any other record type is kept in
// `unknown`; bad or truncated input gives messages in `errors`, never a crash.
//
// Points are logical units exactly as written: the reader never applies the window/viewport
// mapping, it records it. Clip rectangles are device units, as regions are stored.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

/// Record types the reader decodes, laid out as a table:
// clang-format off
enum EMRType : std::uint32_t {
    EMR_HEADER = 1, EMR_POLYGON = 3, EMR_POLYLINE = 4, EMR_SETWINDOWEXTEX = 9,
    EMR_SETWINDOWORGEX = 10, EMR_SETVIEWPORTEXTEX = 11, EMR_SETVIEWPORTORGEX = 12, EMR_EOF = 14,
    EMR_SETMAPMODE = 17, EMR_SETBKMODE = 18, EMR_SETPOLYFILLMODE = 19, EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24, EMR_SETBKCOLOR = 25, EMR_MOVETOEX = 27, EMR_INTERSECTCLIPRECT = 30,
    EMR_SAVEDC = 33, EMR_RESTOREDC = 34, EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39, EMR_DELETEOBJECT = 40, EMR_ELLIPSE = 42, EMR_RECTANGLE = 43,
    EMR_LINETO = 54, EMR_SETMITERLIMIT = 58, EMR_SELECTCLIPPATH = 67, EMR_EXTSELECTCLIPRGN = 75,
    EMR_STRETCHDIBITS = 81, EMR_EXTCREATEFONTINDIRECTW = 82, EMR_EXTTEXTOUTA = 83,
    EMR_EXTTEXTOUTW = 84, EMR_POLYGON16 = 86, EMR_POLYLINE16 = 87, EMR_POLYPOLYLINE16 = 90,
    EMR_POLYPOLYGON16 = 91, EMR_EXTCREATEPEN = 95};
// clang-format on

struct EMFPoint {
    std::int32_t x = 0, y = 0;
};
struct EMFRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};
/// A COLORREF: red in the low byte.
struct EMFColour {
    std::uint8_t r = 0, g = 0, b = 0;
};

/// A pen from CREATEPEN, EXTCREATEPEN or the stock.
struct EMFPen {
    bool extended = false;    ///< from EXTCREATEPEN
    std::uint32_t style = 0;  ///< the whole style: line style, end cap, join and type bits
    std::int32_t width = 0;
    EMFColour colour;
    std::uint32_t brushStyle = 0, hatch = 0;  ///< EXTCREATEPEN only
    std::vector<std::uint32_t> styleEntries;  ///< dash and gap lengths of PS_USERSTYLE
    std::uint32_t handle = 0;                 ///< its slot, or the stock index with its high bit

    std::uint32_t lineStyle() const { return style & 0xF; }  ///< PS_SOLID .. PS_ALTERNATE
    std::uint32_t cap() const { return style & 0xF00; }      ///< PS_ENDCAP_*
    std::uint32_t join() const { return style & 0xF000; }    ///< PS_JOIN_*
    bool geometric() const { return (style & 0xF0000) == 0x10000; }
    bool null() const { return lineStyle() == 5; }
};

/// A brush from CREATEBRUSHINDIRECT or the stock.
struct EMFBrush {
    std::uint32_t style = 0, hatch = 0;  ///< BS_*, HS_*
    EMFColour colour;
    std::uint32_t handle = 0;  ///< its slot, or the stock index with its high bit
    bool null() const { return style == 1; }
};

/// A font from EXTCREATEFONTINDIRECTW (its LOGFONTW) or the stock.
struct EMFFont {
    std::int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
    std::uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = 0;
    std::string face;          ///< UTF-8
    std::uint32_t handle = 0;  ///< its slot, or the stock index with its high bit
};

enum class EMFObjectKind { Pen, Brush, Font };

/// An object a create record made, with the slot it names; the member of its kind is filled.
struct EMFObject {
    EMFObjectKind kind = EMFObjectKind::Pen;
    std::uint32_t slot = 0;
    EMFPen pen;
    EMFBrush brush;
    EMFFont font;
};

/// What the playback state holds when a record is played.
struct EMFState {
    EMFPen pen;      ///< BLACK_PEN until one is selected
    EMFBrush brush;  ///< WHITE_BRUSH
    EMFFont font;    ///< SYSTEM_FONT
    EMFColour textColour, bkColour{255, 255, 255};
    std::uint32_t textAlign = 0, bkMode = 2, mapMode = 1, polyFillMode = 1;
    std::uint32_t miterLimit = 10;  ///< SETMITERLIMIT's field read as an unsigned integer
    EMFPoint windowOrg, windowExt{1, 1}, viewportOrg, viewportExt{1, 1};
    EMFPoint position;  ///< the current position of MOVETOEX and LINETO
    /// The rectangles of the last region selected, device units; null when unclipped.
    /// `clipMode` is its RGN_* mode: the reader does not combine regions.
    std::shared_ptr<const std::vector<EMFRect>> clip;
    std::uint32_t clipMode = 0;
};

/// The string of EXTTEXTOUTA/W and how it is placed.
struct EMFText {
    bool wide = false;     ///< W: UTF-16LE; A: one byte a character
    std::u16string chars;  ///< A's bytes widened one by one
    std::uint32_t options = 0, graphicsMode = 0;
    float xScale = 0, yScale = 0;
    EMFRect rect;                  ///< the opaquing/clipping rectangle, if options carry one
    std::vector<std::int32_t> dx;  ///< advances, as written (two per character with ETO_PDY)
};

/// The bitmap of STRETCHDIBITS and where it goes.
struct EMFImage {
    std::int32_t srcX = 0, srcY = 0, srcWidth = 0, srcHeight = 0;
    std::uint32_t usage = 0, rop = 0;
    std::int32_t width = 0, height = 0;  ///< of the bitmap; height < 0 means top-down rows
    std::uint16_t planes = 0, bitCount = 0;
    std::uint32_t compression = 0;
    std::string bits;  ///< the pixel bytes as written
    /// The colour at column x, row y counted from the top: 24-bit BI_RGB only.
    std::optional<EMFColour> rgb(std::int32_t x, std::int32_t y) const;
    std::uint64_t rowBytes() const;  ///< one row of pixels, padded to 4 bytes
    bool allRows() const;            ///< whether `bits` holds every row
};

enum class EMFItemKind { Polyline, Polygon, Line, Rectangle, Ellipse, Text, Image };

/// One thing drawn, in record order, with the state in force.
struct EMFItem {
    EMFItemKind kind = EMFItemKind::Polyline;
    std::size_t record = 0;  ///< index in EMFFile::records
    /// Logical units. Poly records: their points; a line: from and to; rectangle, ellipse:
    /// top-left and bottom-right; text: the reference point; image: the destination's corner
    /// and the corner opposite (x + cx, y + cy).
    std::vector<EMFPoint> points;
    std::vector<std::size_t> parts;  ///< points per figure: one entry unless POLYPOLY*
    EMFState state;
    EMFText text;
    EMFImage image;
};

/// One record as it stands; the fields its type uses are filled, the others left as they are.
struct EMFRecord {
    std::uint32_t type = 0, size = 0;
    std::size_t offset = 0;
    bool known = false;
    /// The one number of a SET*MODE, SETTEXTALIGN, SETMITERLIMIT, SET*COLOR (a COLORREF),
    /// SELECTOBJECT, DELETEOBJECT, RESTOREDC, SELECTCLIPPATH; a create record's slot;
    /// EXTSELECTCLIPRGN's mode.
    std::uint32_t value = 0;
    EMFPoint point;  ///< SETWINDOW/VIEWPORT ORG/EXT, MOVETOEX, LINETO
    EMFRect box;     ///< RECTANGLE, ELLIPSE, INTERSECTCLIPRECT; the bounds of other kinds
    std::vector<EMFRect> rects;  ///< EXTSELECTCLIPRGN's region
    int item = -1, object = -1;  ///< what it made, in EMFFile::items and EMFFile::objects
};

/// The header record's fields.
struct EMFHeader {
    EMFRect bounds;  ///< device units
    EMFRect frame;   ///< 0.01 mm
    std::uint32_t signature = 0, version = 0, bytes = 0, records = 0, palEntries = 0;
    std::uint16_t handles = 0;
    std::u16string description;    ///< as written, NULs included (application, NUL, title)
    EMFPoint device, millimetres;  ///< sizes: pixels, millimetres
    bool hasPixelFormat = false, hasMicrometres = false;  ///< which extensions are present
    std::uint32_t pixelFormatSize = 0, pixelFormatOffset = 0, openGL = 0;
    EMFPoint micrometres;
};

/// A read metafile: every record, the objects, the drawing and every problem found.
struct EMFFile {
    std::vector<std::string> errors;  ///< "record N (type T) at byte B: what"; none if clean
    std::vector<std::string> notes;   ///< unusual but allowed, e.g. deleting a selected object
    EMFHeader header;
    std::vector<EMFRecord> records;
    std::vector<std::size_t> unknown;  ///< indices of records of types not decoded
    std::vector<EMFObject> objects;    ///< in the order created
    std::vector<EMFItem> items;        ///< the drawing view
    EMFState end;                      ///< the state after the last record

    bool clean() const { return errors.empty(); }
};

/// Reads an enhanced metafile into an EMFFile.
struct EMFReader {
    static EMFFile read(const std::string& bytes);
    static std::string utf8(const std::u16string& text);
};
