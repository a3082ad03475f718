// Clear-text statements. The layout is fixed to the byte: keywords and separators as the
// element list below writes them, reals through RSHORT, integers as "%d" writes them, and
// the few reals that are written directly (mitre limit, pattern size, dash size) as "%f" or
// "%.2f" do.

#include "SoCGMClearTextElements.h"

#include <PlotWerk/SoVectorOutput.h>
#include <Tessara/base/SbNumberFormat.h>
#include <Tessara/base/SoDebugError.h>

#include <cmath>
#include <string>

#include "SoCGMFontTable.h"
#include "frame/SoColorByte.h"

namespace {

// A clear-text string is delimited by apostrophes; one inside it is written twice.
std::string quoted(const char* text) {
    std::string out = "'";
    for (const char* c = text; *c; ++c) {
        out += *c;
        if (*c == '\'') out += '\'';
    }
    return out + "'";
}

}  // namespace

SoCGMClearTextElements::SoCGMClearTextElements(SoVectorOutput* output) : output_(output) {}

std::string SoCGMClearTextElements::RSHORT(float value) {
    std::string text;
    appendReal(text, value);
    return text;
}

void SoCGMClearTextElements::appendReal(std::string& text, float value) {
    // printf's "%g": six significant digits, the shorter of the fixed and the exponent form.
    // Metafile readers need a point in every real.
    if (!std::isfinite(value)) {
        SoDebugError::postWarning("SoCGMClearTextElements::RSHORT", "Non-finite real written as 0");
        value = 0.0f;
    }
    const std::size_t start = text.size();
    SbNumberFormat::appendSignificant(text, static_cast<double>(value), 6);
    if (text.find('.', start) == std::string::npos) text += '.';
}

void SoCGMClearTextElements::setPointOffset(float xOffset, float yOffset) {
    offsetX_ = xOffset;
    offsetY_ = yOffset;
}

void SoCGMClearTextElements::writeText(const std::string& text) {
    output_->write(text);
}

std::string SoCGMClearTextElements::x(float value) const {
    return RSHORT(value + offsetX_);
}

std::string SoCGMClearTextElements::y(float value) const {
    return RSHORT(value + offsetY_);
}

// ---- Frame ----

void SoCGMClearTextElements::header(const SoCGMPictureSetup& setup) {
    write("BEGMF 'PlotWerk CGM OUTPUT';\n");
    write("MFVERSION %d;\n", setup.version);
    write("MFDESC 'PlotWerk CGM METAFILE OUTPUT';\n");
    write("MFELEMLIST 'DRAWINGPLUS';\n");
    write("VDCTYPE REAL;\nINTEGERPREC -32767 32767;\nREALPREC -32767. 32767. 8;\n");
    write("INDEXPREC -32767 32767;\nCOLRPREC 255;\nCOLRINDEXPREC 255;\n");
    write("COLRVALUEEXT 0 0 0 255 255 255;\nMAXCOLRINDEX 255;\n");
    write("FONTLIST\n");
    const SbString* fonts = SoCGMFontTable::names();
    for (int i = 0; i + 1 < SoCGMFontTable::COUNT; ++i) write("'%s', \n", fonts[i].getString());
    write("'%s';\n\n", fonts[SoCGMFontTable::COUNT - 1].getString());
    write("BEGPIC 'Clear Text Image from PlotWerk';\n");
    write("SCALEMODE METRIC 1.;\nLINEWIDTHMODE ABS;\nMARKERSIZEMODE ABS;\nEDGEWIDTHMODE ABS;\n");
    if (setup.background && !setup.indexed)
        colourStatement("BACKCOLR", false, 0, *setup.background);
    write(setup.indexed ? "COLRMODE INDEXED;\n" : "COLRMODE DIRECT;\n");
    const SbVec2f& origin = setup.extentOrigin;
    const SbVec2f& size = setup.extentSize;
    write("VDCEXT %s %s %s %s;\n", RSHORT(origin[0]), RSHORT(origin[1]),
          RSHORT(origin[0] + size[0]), RSHORT(origin[1] + size[1]));
    write("BEGPICBODY;VDCREALPREC -32767. 32767. 8;\nEDGEVIS OFF;");
    if (!setup.indexed) return;
    write("COLRTABLE 0\n");
    const std::vector<int>& table = setup.colourTable;
    for (std::size_t i = 0; i + 2 < table.size(); i += 3)
        write("%d %d %d\n", table[i], table[i + 1], table[i + 2]);
    write(";\n");
}

void SoCGMClearTextElements::footer() {
    write("\nENDPIC;ENDMF;");
}

void SoCGMClearTextElements::viewportClip(const SbBox2f& limits) {
    // The limits are on the sheet already: written as they are.
    const SbVec2f low = limits.getMin();
    const SbVec2f high = limits.getMax();
    write("CLIPRECT %s %s %s %s;\n", RSHORT(low[0]), RSHORT(low[1]), RSHORT(high[0]),
          RSHORT(high[1]));
}

void SoCGMClearTextElements::clipRectangle(float x0, float y0, float x1, float y1) {
    write("CLIPRECT %s %s %s %s;\n", x(x0), y(y0), x(x1), y(y1));
}

void SoCGMClearTextElements::colour(ColourKind kind, bool indexed, int index, const SbColor& c) {
    static const char* const keywords[] = {"MARKERCOLR", "LINECOLR", "FILLCOLR", "TEXTCOLR"};
    colourStatement(keywords[kind], indexed, index, c);
}

void SoCGMClearTextElements::colourStatement(const char* keyword, bool indexed, int index,
                                             const SbColor& c) {
    if (indexed)
        write("%s %d;\n", keyword, index);
    else
        write("%s %d %d %d;\n", keyword, SoColorByte::of(c[0]), SoColorByte::of(c[1]),
              SoColorByte::of(c[2]));
}

void SoCGMClearTextElements::transparentCells(bool on, bool indexed, const SbColor& c,
                                              const char* indexSeparator) {
    const char* state = on ? "ON" : "OFF";
    if (indexed)
        write("TRANSPCELLCOLR %s%s%d;\n", state, indexSeparator, 0);
    else
        write("TRANSPCELLCOLR %s %d %d %d;\n", state, SoColorByte::of(c[0]), SoColorByte::of(c[1]),
              SoColorByte::of(c[2]));
}

// ---- Lines ----

void SoCGMClearTextElements::lineTypeDefinition(int type, float dashSize,
                                                const std::vector<int>& runs) {
    write("LINEEDGETYPEDEF %d %.2f ", type, dashSize);
    for (int run : runs) write("%d ", run);
    write(";\n");
}

void SoCGMClearTextElements::lineType(int type) {
    write("LINETYPE %d;\n", type);
}

void SoCGMClearTextElements::lineCapJoinAndMitre(int cap, int join, float miterLimit) {
    write("LINECAP %d 1;\nLINEJOIN %d;\nMITRELIMIT %f;\n", cap, join, miterLimit);
}

void SoCGMClearTextElements::lineWidth(float width) {
    write("LINEWIDTH %s;\n", RSHORT(width));
}

void SoCGMClearTextElements::polyline(const SbVec4f* points, int n) {
    writePoints("LINE", points, n, ", ", 5);
}

void SoCGMClearTextElements::writePoints(const char* keyword, const SbVec4f* points, int n,
                                         const char* separator, int breakAfter) {
    // Meshes make millions of these: the element is built in memory and written at once.
    std::string text(keyword);
    text += '\n';
    text.reserve(text.size() + static_cast<std::size_t>(n) * 24 + 4);
    for (int i = 0; i < n; ++i) {
        text += ' ';
        appendReal(text, points[i][0] + offsetX_);
        text += separator;
        appendReal(text, points[i][1] + offsetY_);
        if (i % 6 == breakAfter) text += '\n';
    }
    text += ";\n";
    writeText(text);
}

// ---- Fills ----

void SoCGMClearTextElements::fillStyle(bool patterned, float patternSize, bool transparency,
                                       bool indexed, const SbColor& background) {
    write(patterned ? "INTSTYLE PAT;\n" : "INTSTYLE SOLID;\n");
    if (patterned) write("PATSIZE 0. %f %f 0.;\n", patternSize, patternSize);
    // Polygons have always written two blanks between the state and an index.
    if (patterned && transparency) transparentCells(true, indexed, background, "  ");
}

void SoCGMClearTextElements::patternTable(int index, const std::vector<int>& indices,
                                          const std::vector<SbColor>& colours, bool indexed) {
    write("PATTABLE %d 32 32 0 ", index);
    // Each value is followed by a blank: three per direct cell, one per indexed cell.
    std::string text;
    for (int value : cellValues(indices, colours, indexed)) {
        SbNumberFormat::appendInteger(text, value);
        text += ' ';
    }
    text += ";\n";
    writeText(text);
}

void SoCGMClearTextElements::polygon(const SbVec4f* points, int n, int patternIndex,
                                     bool transparency, bool indexed, const SbColor& background) {
    if (patternIndex) write("PATINDEX %d;\n", patternIndex);
    writePoints("POLYGON", points, n, ", ", 5);
    if (patternIndex && transparency) transparentCells(false, indexed, background, "  ");
}

std::vector<int> SoCGMClearTextElements::cellValues(const std::vector<int>& indices,
                                                    const std::vector<SbColor>& colours,
                                                    bool indexed) {
    if (indexed) return indices;
    std::vector<int> values;
    values.reserve(colours.size() * 3);
    for (const SbColor& c : colours)
        for (int k = 0; k < 3; ++k) values.push_back(SoColorByte::of(c[k]));
    return values;
}

// ---- Markers ----

void SoCGMClearTextElements::markerTypeAndSize(float size) {
    write("MARKERTYPE 1;\nMARKERSIZE %s;\n", RSHORT(size));
}

void SoCGMClearTextElements::markers(const SbVec4f* points, int n) {
    writePoints("MARKER", points, n, " ", 5);
}

void SoCGMClearTextElements::markerRun(const SbVec4f* points, int n) {
    // Runs have always broken their lines one point earlier than whole mark lists.
    writePoints("MARKER", points, n, " ", 4);
}

void SoCGMClearTextElements::markerTransparency(bool on, bool indexed, const SbColor& transparent) {
    transparentCells(on, indexed, transparent, " ");
}

void SoCGMClearTextElements::cellArray(const SbVec4f corners[3], int columns, int rows,
                                       const std::vector<int>& indices,
                                       const std::vector<SbColor>& colours, bool indexed,
                                       int cellsPerLine) {
    write("CELLARRAY %s %s", x(corners[0][0]), y(corners[0][1]));
    write(" %s %s", x(corners[1][0]), y(corners[1][1]));
    write(" %s %s", x(corners[2][0]), y(corners[2][1]));
    write(" %d %d 0\n", columns, rows);
    const std::vector<int> cells = cellValues(indices, colours, indexed);
    const std::size_t perCell = indexed ? 1 : 3;
    const std::size_t count = cells.size() / perCell;
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        for (std::size_t k = 0; k < perCell; ++k) {
            text += ' ';
            SbNumberFormat::appendInteger(text, cells[perCell * i + k]);
        }
        if (cellsPerLine > 0 && (i + 1) % static_cast<std::size_t>(cellsPerLine) == 0) text += '\n';
    }
    text += ";\n";
    writeText(text);
}

// ---- Text ----

void SoCGMClearTextElements::textSize(float height, float, bool sizeChanged) {
    // The orientation waits until the text itself: see text().
    if (sizeChanged) write("CHARHEIGHT %s;\n", RSHORT(height));
}

void SoCGMClearTextElements::fontIndex(int index) {
    write("TEXTFONTINDEX %d;\n", index);
}

void SoCGMClearTextElements::textAttributes() {
    write("TEXTPREC STROKE;\nTEXTPATH RIGHT;\nCHARSPACE 0.;\nCHAREXPAN 1.;\n");
}

void SoCGMClearTextElements::textAlignment(int justification) {
    static const char* const words[] = {"LEFT", "RIGHT", "CTR"};
    write("TEXTALIGN %s NORMVERT 0. 0.;\n", words[justification - 1]);
}

void SoCGMClearTextElements::text(const SbVec4f& position, const SbString& string, float angle,
                                  bool angleChanged) {
    if (angleChanged) {
        const float s = std::sin(angle);
        const float c = std::cos(angle);
        write("CHARORI %s %s %s %s;\n", RSHORT(-s), RSHORT(c), RSHORT(c), RSHORT(s));
    }
    write("TEXT %s %s FINAL\n", x(position[0]), y(position[1]));
    // This platform has no 16-bit text mode for streams: texts Latin-1 cannot hold are
    // written in UTF-8, which clear-text readers take as bytes between the quotes.
    write("%s;\n", quoted(string.isUnicode() ? string.getString() : string.toLatin1()));
}
