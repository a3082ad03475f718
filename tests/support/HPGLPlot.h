#pragma once

// What an HP-GL/2 plot set and drew, as read back by HPGLDecoder.
//
// Coordinates are plotter units exactly as written (1 unit = 0.025 mm): the reader never
// applies scaling (SC), rotation (RO) or the input window (IW); it records them. Every mark
// carries the state that was in force when it was made; the plot-level settings hold the last
// value each command gave, whatever IN, DF or a printer reset did afterwards.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

/// A point in plotter units.
struct HPGLPoint {
    double x = 0, y = 0;
};

/// A colour: as given by PC (in the CR range of its time), or the default palette in 0..255.
struct HPGLColour {
    double r = 0, g = 0, b = 0;
};

/// The input window (IW) by its lower-left and upper-right corners; unset means none.
struct HPGLWindow {
    bool set = false;
    HPGLPoint lowerLeft, upperRight;
};

/// A line type (LT). The length and mode are kept while solid, since LT with a type alone
/// goes on using the last pattern length given.
struct HPGLLineType {
    bool solid = true;
    int type = 0;       ///< -8..8; meaningful unless solid
    double length = 4;  ///< percent of the P1-P2 diagonal (mode 0) or millimetres (mode 1)
    int mode = 0;
    std::vector<double> gaps;  ///< the UL pattern of |type| when UL defined one, else empty
};

/// Line attributes (LA).
struct HPGLLineAttributes {
    int ends = 1;  ///< kind 1: 1 butt, 2 square, 3 triangular, 4 round
    int joins =
        1;  ///< kind 2: 1 mitered, 2 mitered/beveled, 3 triangular, 4 round, 5 beveled, 6 none
    double miterLimit = 5;  ///< kind 3
};

/// A fill type (FT) with its options as given.
struct HPGLFillType {
    int type = 1;
    std::vector<double> options;
};

/// The pen a mark was made with.
struct HPGLPen {
    int number = 0;
    double width = 0.35;         ///< millimetres (WU0) or percent of the P1-P2 diagonal (WU1)
    bool widthRelative = false;  ///< WU1 was in force
    HPGLColour colour;           ///< PC colour, or the default palette when PC gave none
};

/// One pen-down path, from the first pen-down move after a pen-up to the next lift of the pen
/// or change of pen, line type, width, line attributes, window or colour.
struct HPGLPolyline {
    HPGLPen pen;
    HPGLLineType lineType;
    HPGLLineAttributes attributes;
    HPGLWindow window;
    int page = 0;  ///< number of PG seen before it
    std::vector<HPGLPoint> points;
};

/// One subpath of the polygon buffer; closed by PM1/PM2, which also add the closing point.
struct HPGLSubpath {
    std::vector<HPGLPoint> points;
    bool closed = false;
};

/// The polygon buffer as filled (FP) or edged (EP).
struct HPGLPolygon {
    bool edged = false;  ///< EP rather than FP
    int fillMethod = 0;  ///< FP: 0 even-odd, 1 non-zero winding
    HPGLPen pen;
    HPGLFillType fillType;
    HPGLLineType lineType;
    HPGLWindow window;
    int page = 0;
    std::vector<HPGLSubpath> subpaths;
};

/// A point plotted while symbol mode (SM) was on.
struct HPGLSymbol {
    char symbol = 0;
    HPGLPen pen;
    HPGLPoint at;
    int page = 0;
};

/// A label (LB). With the terminator printed (DT mode 0) it ends the text as well.
struct HPGLLabel {
    HPGLPoint at;         ///< the pen position where it was drawn
    bool atKnown = true;  ///< false right after another label: its end is not known
    HPGLPen pen;
    int origin = 1;              ///< LO
    double run = 1, rise = 0;    ///< DI
    std::map<int, double> font;  ///< the selected font definition by SD/AD kind
    bool alternateFont = false;  ///< SA rather than SS
    int terminator = 3;
    bool terminatorPrinted = false;
    int page = 0;
    std::string bytes;                 ///< the text as it stood in the plot
    std::vector<std::uint16_t> units;  ///< one per byte, or per big-endian pair in 16-bit mode
};

/// How to read a plot.
struct HPGLDecodeOptions {
    /// Read label text as big-endian UTF-16 code units (no byte-order mark); the terminator
    /// is then the code unit with the terminator's value (0x0003 by default).
    bool labels16Bit = false;
};

/// A decoded plot: settings, marks in drawing order and every problem found.
struct HPGLPlot {
    std::vector<std::string> errors;      ///< one readable message per problem; none if clean
    std::vector<std::string> notes;       ///< noteworthy but legal, e.g. user scaling (SC)
    std::vector<std::string> pclEscapes;  ///< each PCL escape without its ESC: "%-1B", "E"
    std::vector<std::string> comments;    ///< CO strings

    int pens = 8;                       ///< NP
    std::map<int, HPGLColour> palette;  ///< colours given by PC and not reset by PC since
    std::array<double, 6> colourRange = {0, 255, 0, 255, 0, 255};  ///< CR
    int rotation = 0;                                              ///< RO
    std::vector<double> plotSize;                                  ///< PS, as given
    std::vector<double> inputPoints;                               ///< IP (or IR), as given
    HPGLLineAttributes lineAttributes;                             ///< LA
    bool transparency = true;                                      ///< TR
    HPGLFillType fillType;                                         ///< FT
    HPGLWindow window;                                             ///< IW
    std::vector<double> scaling;                                   ///< SC, as given; empty when off
    bool scalingUsed = false;                                      ///< SC with parameters appeared
    int pages = 0;                                                 ///< PG count

    std::vector<HPGLPolyline> polylines;
    std::vector<HPGLPolygon> polygons;
    std::vector<HPGLSymbol> symbols;
    std::vector<HPGLLabel> labels;

    bool clean() const { return errors.empty(); }
    /// Whether some error message contains the fragment.
    bool hasError(const std::string& fragment) const {
        for (const std::string& e : errors)
            if (e.find(fragment) != std::string::npos) return true;
        return false;
    }
};
