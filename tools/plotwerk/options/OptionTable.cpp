#include "options/OptionTable.h"

#include <PlotWerk/SoCGMVectorOutput.h>
#include <PlotWerk/SoPSVectorOutput.h>
#include <PlotWerk/SoVectorizePSAction.h>

#include <climits>
#include <cstdio>
#include <cstring>

#include "options/HiddenLineModes.h"
#include "options/OptionValue.h"
#include "views/ViewSheet.h"

namespace {

using Action = SoVectorizeAction;

std::string decimal(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value);
    return text;
}

std::string millimetrePair(const SbVec2f& value) {
    return decimal(value[0]) + "x" + decimal(value[1]) + "mm";
}

const char* colorMethodName(Action::ColorTranslationMethod method) {
    switch (method) {
        case Action::SWAP_BLACK_AND_WHITE:
            return "swap";
        case Action::KEEP_COLORS:
            return "keep";
        case Action::INVERT_COLORS:
            return "invert";
    }
    return "?";
}

Action::ColorTranslationMethod colorMethod(const std::string& name, const std::string& text) {
    for (Action::ColorTranslationMethod method :
         {Action::SWAP_BLACK_AND_WHITE, Action::KEEP_COLORS, Action::INVERT_COLORS})
        if (text == colorMethodName(method)) return method;
    OptionValue::fail(name, text, "expected swap, keep or invert");
}

void applyBorder(PrintOptions& options, const std::string& name, const std::string& value) {
    // The colour follows a comma, which is why colours are written with ':' between parts.
    const size_t comma = value.find(',');
    const std::string width = value.substr(0, comma);
    options.borderWidth = OptionValue::number(name, width);
    if (*options.borderWidth < 0.0f) OptionValue::fail(name, value, "negative width");
    if (comma != std::string::npos)
        options.borderColor = OptionValue::color(name, value.substr(comma + 1));
}

std::string borderDefault(const SoVectorizePSAction& fresh) {
    float width = 0.0f;
    SbColor color;
    fresh.getBorder(&width, &color);
    return decimal(width) + "," + OptionValue::colorText(color);
}

std::string backgroundDefault(const SoVectorizePSAction& fresh) {
    SbColor color;
    if (!fresh.getBackgroundColor(&color)) return "none";
    return OptionValue::colorText(color);
}

std::string onOff(bool on) {
    return on ? "on" : "off";
}

// Each entry's lambdas are captureless, so they convert to the table's function pointers.
std::vector<OptionTable::Entry> makeEntries() {
    using Entry = OptionTable::Entry;
    using PS = SoVectorizePSAction;
    return {
        Entry{"-o", "FILE",
              "write the drawing to FILE, which is replaced only once the drawing is complete; "
              "- is standard output; unnamed, the output goes there too, except to a terminal: "
              "then to a file in the current directory named after INPUT (demo for the demo "
              "scene, plotwerk for standard input) with the format's extension",
              [](const PS&) -> std::string { return "standard output"; },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  o.output = OptionValue::nonEmpty(n, v);
              }},
        Entry{"-f", "FORMAT",
              "output format: ps, hpgl, cgm, emf (an enhanced metafile for office documents), "
              "pdf, svg, png for the picture the screen shows (96 dpi), u3d for the scene in "
              "3D, or pdf3d for a PDF page that shows it in 3D; by default FILE's extension "
              "chooses (.ps, .eps, .plt, .hpgl, .hpg, .cgm, .emf, .pdf, .svg, .png, .u3d), "
              "standard output means ps",
              [](const PS&) -> std::string { return "by extension"; },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  o.format = OptionValue::nonEmpty(n, v);
              }},
        Entry{"--size", "WxH[unit]", "drawing size, width by height as the drawing is seen",
              [](const PS& a) { return millimetrePair(a.getDrawingDimensions()); },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  o.size = OptionValue::pair(n, v, true);
              }},
        Entry{"--position", "XxY[unit]",
              "lower-left corner of the drawing on the page (an .eps figure: 0x0)",
              [](const PS& a) { return millimetrePair(a.getStartPosition()); },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  o.position = OptionValue::pair(n, v, false);
              }},
        Entry{"--landscape", nullptr,
              "lay the drawing across the sheet: a quarter turn on an upright sheet, in PDF and "
              "SVG a sheet that lies across, an .eps figure only wide; without --size its width "
              "and height are swapped",
              [](const PS& a) -> std::string {
                  return a.getOrientation() == Action::LANDSCAPE ? "landscape" : "portrait";
              },
              [](PrintOptions& o, const std::string&, const std::string&) { o.landscape = true; }},
        Entry{"--border", "WIDTH[,COLOR]",
              "frame around the drawing, WIDTH in nominal line widths (0: no frame)", borderDefault,
              applyBorder},
        Entry{"--background", "COLOR", "fill the drawing area with COLOR", backgroundDefault,
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  o.background = OptionValue::color(n, v);
              }},
        Entry{
            "--hidden", "MODE",
            "hidden-line and hidden-surface removal: off, sort (simple painter), painter, "
            "visible (painter with surface removal), raster, lines (hidden lines removed)",
            [](const PS&) -> std::string { return HiddenLineModes::nameOf(PrintOptions().hidden); },
            [](PrintOptions& o, const std::string& n, const std::string& v) {
                o.hidden = HiddenLineModes::parse(n, v);
            }},
        Entry{"--raster-quality", "Q",
              "for --hidden raster: 0 to 1, the finer the raster the more exactly hidden parts "
              "are cut (below 0.25: 75 pixels per inch, 0.5: 300, 0.75 and up: 600)",
              [](const PS& a) { return decimal(a.getHLHSRRasterQuality()); },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  const float quality = OptionValue::number(n, v);
                  if (!(quality >= 0.0f && quality <= 1.0f))
                      OptionValue::fail(n, v, "expected a number from 0 to 1");
                  o.rasterQuality = quality;
              }},
        Entry{"--raster-tile", "N",
              "for --hidden raster: the raster is drawn in tiles of N x N pixels (64 to 2048), "
              "margins included",
              [](const PS& a) { return std::to_string(a.getHLHSRRasterTileSize()); },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  o.rasterTile =
                      static_cast<unsigned short>(OptionValue::wholeNumber(n, v, 64, 2048));
              }},
        Entry{"--edges", "all|feature[=DEG]",
              "for --hidden lines: every edge, or only edges where faces meet at more than "
              "DEG degrees, unless the shape's normals run smoothly across them, and the "
              "outlines of curved surfaces; either way each drawn once, with lines where "
              "faces pass through one another (all is feature=0)",
              [](const PS&) -> std::string {
                  return "feature=" + decimal(PrintOptions().featureAngle);
              },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  if (v == "all" || v == "feature") {
                      o.featureAngle = v == "all" ? 0.0f : PrintOptions().featureAngle;
                      return;
                  }
                  if (v.rfind("feature=", 0) != 0)
                      OptionValue::fail(n, v, "expected all, feature or feature=DEG");
                  o.featureAngle = OptionValue::number(n, v.substr(8));
                  if (!(o.featureAngle >= 0.0f && o.featureAngle <= 180.0f))
                      OptionValue::fail(n, v, "expected an angle from 0 to 180 degrees");
              }},
        Entry{
            "--dashed", nullptr,
            "for --hidden lines: draw hidden edges too, dashed, beneath the visible ones",
            [](const PS&) -> std::string { return "off"; },
            [](PrintOptions& o, const std::string&, const std::string&) { o.dashedHidden = true; }},
        Entry{"--projection", "perspective|orthographic",
              "the camera given to a scene without one, framing the scene to fill the drawing",
              [](const PS&) -> std::string { return "perspective, orthographic with --views"; },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  if (v != "perspective" && v != "orthographic")
                      OptionValue::fail(n, v, "expected perspective or orthographic");
                  o.orthographic = v == "orthographic";
              }},
        Entry{"--view", "SIDE|X,Y,Z",
              "the side the camera given to a scene without one looks from: front, back, left, "
              "right, top, bottom, iso (front, right and top at once), or X,Y,Z, the direction "
              "from the model towards the eye",
              [](const PS&) -> std::string { return "front"; },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  o.view.choose(n, v);
              }},
        Entry{"--views", "SIDE,SIDE,...",
              "a sheet of several views of a scene without a camera, in a grid filled left to "
              "right and top down (top,iso,front,right: a drafter's sheet); orthographic "
              "unless --projection says otherwise, front, back, side, top and bottom views "
              "then share one scale",
              [](const PS&) -> std::string { return "one view"; },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  o.views = ViewSheet::parse(n, v);
              }},
        Entry{"--scale", "A:B",
              "print orthographic at a scale: A millimetres on paper for B of the model's units",
              [](const PS&) -> std::string { return "to fit"; },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  o.scale = OptionValue::ratio(n, v);
                  o.scaleText = v;
              }},
        Entry{"--model-unit", "mm|m|in", "the length of the model's unit, for --scale",
              [](const PS&) -> std::string { return "mm"; },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  o.modelUnit = OptionValue::unitLength(n, v);
              }},
        Entry{"--up", "y|z",
              "the model's up axis, kept upwards on the drawing: y for most scenes and meshes "
              "(the front faces +z), z for STL and CAD models (the front faces -y)",
              [](const PS&) -> std::string { return "y"; },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  o.view.chooseUpAxis(n, v);
              }},
        Entry{"--lighting", nullptr,
              "light the shapes whose light model asks for per-pixel lighting as well",
              [](const PS& a) { return onOff(a.isLightingEnabled()); },
              [](PrintOptions& o, const std::string&, const std::string&) { o.lighting = true; }},
        Entry{"--smooth", nullptr,
              "shade lit faces smoothly instead of one colour per face, in the outputs that "
              "blend colours (PostScript then takes level 3)",
              [](const PS& a) -> std::string {
                  return a.getShadeModel() == Action::FLAT ? "flat" : "smooth";
              },
              [](PrintOptions& o, const std::string&, const std::string&) { o.smooth = true; }},
        Entry{"--crease", "DEG",
              "for a mesh file without smooth normals of its own, with --smooth, --hidden "
              "lines and in 3D: its surface runs smoothly across edges where faces meet at "
              "less than DEG degrees (0: every face flat)",
              [](const PS&) -> std::string { return decimal(PrintOptions().creaseAngle); },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  o.creaseAngle = OptionValue::number(n, v);
                  if (!(o.creaseAngle >= 0.0f && o.creaseAngle <= 180.0f))
                      OptionValue::fail(n, v, "expected an angle from 0 to 180 degrees");
              }},
        Entry{"--colors", "swap|keep|invert",
              "colour translation: swap black and white (screen to paper), keep, or invert",
              [](const PS& a) -> std::string {
                  return colorMethodName(a.getColorTranslationMethod());
              },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  o.colors = colorMethod(n, v);
              }},
        Entry{"--bw", nullptr, "black and white: every colour but white prints black",
              [](const PS&) -> std::string { return "off"; },
              [](PrintOptions& o, const std::string&, const std::string&) {
                  o.blackAndWhite = true;
              }},
        Entry{"--line-width", "W[unit]", "nominal line width, the unit of line widths",
              [](const PS& a) { return decimal(a.getNominalWidth()) + "mm"; },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  o.lineWidth = OptionValue::length(n, v);
              }},
        Entry{"--pens", "COLOR[@W],...",
              "the plotter's pens, W their widths: each line takes the pen nearest its colour "
              "(and width); without pens every colour is drawn as it is (for HP-GL/2: a "
              "palette of 256)",
              [](const PS&) -> std::string { return "none"; },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  o.pens = OptionValue::pens(n, v);
              }},
        Entry{"--ps-level", "1|2|3", "PostScript language level (3 with --smooth)",
              [](const PS& a) { return std::to_string(a.getPSVectorOutput()->getLevel()); },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  o.psLevel = OptionValue::wholeNumber(n, v, 1, 3);
              }},
        Entry{"--gray", nullptr, "PostScript in grey levels instead of colours",
              [](const PS& a) -> std::string {
                  return a.getPSVectorOutput()->getColored() ? "colour" : "grey";
              },
              [](PrintOptions& o, const std::string&, const std::string&) { o.gray = true; }},
        Entry{"--accuracy", "F",
              "PostScript numeric accuracy: coordinates are written in units of F x 0.24 mm",
              [](const PS& a) { return decimal(a.getPSVectorOutput()->getNumericAccuracy()); },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  o.accuracy = OptionValue::atLeast(n, v, SoPSVectorOutput::kFinestAccuracy);
              }},
        Entry{"--cgm-binary", nullptr, "CGM in the binary encoding instead of clear text",
              [](const PS&) -> std::string {
                  return SoCGMVectorOutput().isBinary() ? "binary" : "clear text";
              },
              [](PrintOptions& o, const std::string&, const std::string&) { o.cgmBinary = true; }},
        Entry{"--cgm-version", "1|3",
              "CGM version: 1 uses the standard line types, 3 defines its own dashes, caps, "
              "joins and transparent cells",
              [](const PS&) { return std::to_string(SoCGMVectorOutput().getVersion()); },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  const unsigned int version = OptionValue::wholeNumber(n, v, 1, 3);
                  if (version == 2) OptionValue::fail(n, v, "expected 1 or 3");
                  o.cgmVersion = static_cast<int>(version);
              }},
        Entry{"--cgm-indexed", nullptr, "CGM with a colour table and colour indices",
              [](const PS&) -> std::string {
                  return SoCGMVectorOutput().isIndexed() ? "indexed colour" : "direct colour";
              },
              [](PrintOptions& o, const std::string&, const std::string&) { o.cgmIndexed = true; }},
        Entry{"--title", "TEXT",
              "the drawing's title, in a strip under it with the scale, and the document's in "
              "PostScript, PDF and SVG (3D PDF: the page's title, above the model)",
              [](const PS&) -> std::string { return "none"; },
              [](PrintOptions& o, const std::string&, const std::string& v) { o.title = v; }},
        Entry{"--text", "TEXT", "3D PDF: text below the title",
              [](const PS&) -> std::string { return "none"; },
              [](PrintOptions& o, const std::string&, const std::string& v) { o.text = v; }},
        Entry{"--password", "USER[:OWNER]",
              "3D PDF: encrypt (AES-256); USER opens the document, OWNER (default USER) also "
              "lifts its restrictions",
              [](const PS&) -> std::string { return "not encrypted"; },
              [](PrintOptions& o, const std::string& n, const std::string& v) {
                  const size_t colon = OptionValue::nonEmpty(n, v).find(':');
                  o.userPassword = v.substr(0, colon);
                  o.ownerPassword = colon == std::string::npos ? v : v.substr(colon + 1);
              }},
        Entry{"--print", "[=QUEUE]",
              "send the drawing to a printer instead of a file: the print queue QUEUE, else the "
              "one the PRINTER environment variable names, else the system's default",
              [](const PS&) -> std::string { return "off"; },
              [](PrintOptions& o, const std::string&, const std::string& v) {
                  o.print = true;
                  o.printQueue = v;
              }},
        Entry{
            "--max-primitives", "N",
            "the most triangles, segments and points a drawing takes from the scene; the "
            "rest of the scene is left out, with a warning (0: no limit)",
            [](const PS&) -> std::string {
                return std::to_string(PrintOptions::kPrimitivesAtLeast) + ", or " +
                       std::to_string(PrintOptions::kPrimitivesPerInputByte) +
                       " per byte of the input (a mesh's buffers and textures included) if that is "
                       "more";
            },
            [](PrintOptions& o, const std::string& n, const std::string& v) {
                o.maxPrimitives = OptionValue::wholeNumber(n, v, 0, UINT_MAX);
            }},
        Entry{"--help", nullptr, "show this help and exit", nullptr,
              [](PrintOptions& o, const std::string&, const std::string&) { o.help = true; }},
        Entry{"--version", nullptr, "show the name and version and exit", nullptr,
              [](PrintOptions& o, const std::string&, const std::string&) { o.version = true; }},
    };
}

}  // namespace

const std::vector<OptionTable::Entry>& OptionTable::entries() {
    static const std::vector<Entry> table = makeEntries();
    return table;
}

const OptionTable::Entry* OptionTable::find(const std::string& name) {
    // Long spellings of the two short options, for scripts that prefer words.
    const std::string canonical = name == "--output"   ? "-o"
                                  : name == "--format" ? "-f"
                                  : name == "-h"       ? "--help"
                                                       : name;
    for (const Entry& entry : entries())
        if (canonical == entry.name) return &entry;
    return nullptr;
}
