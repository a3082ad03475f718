#pragma once

// Reads HP-GL/2 as a printer would, after the PCL escape into it, and tells what it set and
// drew:
//
//     HPGLPlot plot = HPGLDecoder::decode(bytes);
//     EXPECT_TRUE(plot.clean()) << plot.errors.front();
//     plot.polylines[0].points[1].x;  // plotter units
//
// Written from the command language itself, independently of any writer, so that a writer's
// mistake shows up as a disagreement. It knows the commands our plots use; any other command
// is reported, as is bad or truncated input, never a crash.
//
// Coordinates are plotter units exactly as written (1 unit = 0.025 mm): the reader never
// applies rotation (RO) or the input window (IW); it records them. Every mark carries the
// state that was in force when it was made.

#include <map>
#include <string>
#include <vector>

/// A point in plotter units.
struct HPGLPoint {
    double x = 0, y = 0;
};

/// A colour as given by PC, in 0..255.
struct HPGLColour {
    double r = 0, g = 0, b = 0;
};

/// The input window (IW) by its lower-left and upper-right corners; unset means none.
struct HPGLWindow {
    bool set = false;
    HPGLPoint lowerLeft, upperRight;
};

/// A line type (LT): solid, or a numbered type with its pattern length.
struct HPGLLineType {
    bool solid = true;
    int type = 0;       ///< -8..8; meaningful unless solid
    double length = 4;  ///< the pattern length LT gave
};

/// The pen a mark was made with.
struct HPGLPen {
    int number = 0;
    double width = 0.35;  ///< millimetres
};

/// One pen-down path, from the first pen-down move after a pen-up to the next lift of the pen
/// or change of pen, line type, width or window.
struct HPGLPolyline {
    HPGLPen pen;
    HPGLLineType lineType;
    HPGLWindow window;
    std::vector<HPGLPoint> points;
};

/// The polygon buffer as filled (FP): our plots give each polygon one subpath, which closing
/// ends with its first point.
struct HPGLPolygon {
    HPGLPen pen;
    std::vector<HPGLPoint> points;
};

/// A point plotted while symbol mode (SM) was on.
struct HPGLSymbol {
    char symbol = 0;
    HPGLPen pen;
    HPGLPoint at;
};

/// A label (LB), ended by the default terminator ETX.
struct HPGLLabel {
    HPGLPoint at;  ///< the pen position where it was drawn
    HPGLPen pen;
    double run = 1, rise = 0;  ///< DI
    double height = 11.5;      ///< in points, as SD gave it
    std::string bytes;         ///< the text as it stood in the plot, without the terminator
};

/// A decoded plot: settings, marks in drawing order and every problem found.
struct HPGLPlot {
    std::vector<std::string> errors;  ///< one readable message per problem; none if clean

    int pens = 8;                       ///< NP
    std::map<int, HPGLColour> palette;  ///< colours given by PC
    int rotation = 0;                   ///< RO
    std::vector<double> plotSize;       ///< PS, as given
    int pages = 0;                      ///< PG count

    std::vector<HPGLPolyline> polylines;
    std::vector<HPGLPolygon> polygons;
    std::vector<HPGLSymbol> symbols;
    std::vector<HPGLLabel> labels;

    bool clean() const { return errors.empty(); }
};

/// Decodes an HP-GL/2 plot (with its PCL escape) into an HPGLPlot.
struct HPGLDecoder {
    static HPGLPlot decode(const std::string& bytes);
};
