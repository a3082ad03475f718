#pragma once

// Reads an enhanced metafile as GDI plays it back, and tells what it drew:
//
//     EMFFile emf = EMFReader::read(bytes);
//     EXPECT_TRUE(emf.clean()) << emf.errors.front();
//     for (const EMFItem& item : emf.items)
//         if (item.kind == EMFItemKind::Polyline) item.state.pen.colour.r;
//
// Written from the record layouts themselves, independently of any writer, so that a writer's
// mistake shows up as a disagreement. It checks the record structure (header first, EOF last,
// sizes, counts) and the object table (slots created, selected and deleted as GDI would), and
// replays the drawing records with the state in force. It decodes the record types our GDI
// backend writes and no others: any other type is kept in `unknown`, as not ours; bad or
// truncated input gives messages in `errors`, never a crash.
//
// Points are logical units exactly as written: the reader never applies the window mapping.

#include <cstdint>
#include <string>
#include <vector>

/// Record types the reader decodes, laid out as a table:
// clang-format off
enum EMRType : std::uint32_t {
    EMR_HEADER = 1, EMR_POLYGON = 3, EMR_POLYLINE = 4, EMR_SETWINDOWORGEX = 10, EMR_EOF = 14,
    EMR_SETMAPMODE = 17, EMR_SETBKMODE = 18, EMR_SETTEXTALIGN = 22, EMR_SETTEXTCOLOR = 24,
    EMR_MOVETOEX = 27, EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38, EMR_CREATEBRUSHINDIRECT = 39,
    EMR_DELETEOBJECT = 40, EMR_RECTANGLE = 43, EMR_LINETO = 54, EMR_SETMITERLIMIT = 58,
    EMR_EXTSELECTCLIPRGN = 75, EMR_STRETCHDIBITS = 81, EMR_EXTCREATEFONTINDIRECTW = 82,
    EMR_EXTTEXTOUTA = 83, EMR_EXTTEXTOUTW = 84, EMR_POLYGON16 = 86, EMR_POLYLINE16 = 87,
    EMR_EXTCREATEPEN = 95};
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
    std::uint32_t style = 0;  ///< the whole style: line style, end cap, join and type bits
    std::int32_t width = 0;
    EMFColour colour;
};

/// A brush from CREATEBRUSHINDIRECT or the stock.
struct EMFBrush {
    EMFColour colour;
};

/// A font from EXTCREATEFONTINDIRECTW (its LOGFONTW) or the stock.
struct EMFFont {
    std::int32_t height = 0, weight = 0;
    std::string face;  ///< UTF-8
};

/// What the playback state holds when a record is played.
struct EMFState {
    EMFPen pen;                       ///< BLACK_PEN until one is selected
    EMFBrush brush{{255, 255, 255}};  ///< WHITE_BRUSH
    EMFFont font;                     ///< SYSTEM_FONT
    EMFColour textColour;
};

enum class EMFItemKind { Polyline, Polygon, Line, Rectangle, Text, Image };

/// One thing drawn, in record order, with the state in force.
struct EMFItem {
    EMFItemKind kind = EMFItemKind::Polyline;
    /// Logical units. Poly records: their points; a line: from and to; rectangle: top-left and
    /// bottom-right; text: the reference point; image: the destination's corner and the corner
    /// opposite (x + cx, y + cy).
    std::vector<EMFPoint> points;
    EMFState state;
};

/// Where a record stands and what it is.
struct EMFRecord {
    std::uint32_t type = 0, size = 0;
    std::size_t offset = 0;
};

/// The header record's fields.
struct EMFHeader {
    EMFRect bounds;  ///< device units
    EMFRect frame;   ///< 0.01 mm
    std::uint32_t signature = 0, version = 0, bytes = 0, records = 0;
    std::uint16_t handles = 0;
    std::u16string description;    ///< as written, NULs included (application, NUL, title)
    EMFPoint device, millimetres;  ///< sizes: pixels, millimetres
};

/// A read metafile: every record, the drawing and every problem found.
struct EMFFile {
    std::vector<std::string> errors;  ///< "record N (type T) at byte B: what"; none if clean
    EMFHeader header;
    std::vector<EMFRecord> records;
    std::vector<std::size_t> unknown;  ///< indices of records of types not decoded
    std::vector<EMFItem> items;        ///< the drawing view

    bool clean() const { return errors.empty(); }
};

/// Reads an enhanced metafile into an EMFFile.
struct EMFReader {
    static EMFFile read(const std::string& bytes);
    static std::string utf8(const std::u16string& text);
};
