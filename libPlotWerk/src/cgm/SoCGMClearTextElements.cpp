// Clear-text statements. The layout is fixed to the byte: keywords and separators as the
// element list below writes them, reals through RSHORT, integers with "%d", and the few
// reals that are written directly (mitre limit, pattern size, dash size) with "%f" or
// "%.2f".

#include "SoCGMClearTextElements.h"

#include <PlotWerk/SoVectorOutput.h>
#include <Tessara/base/SoDebugError.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

#include "SoCGMFontTable.h"
#include "frame/SoCLocalePrint.h"
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

SoCGMClearTextElements::SoCGMClearTextElements(SoVectorOutput* output) : output(output) {}

char* SoCGMClearTextElements::RSHORT(int slot, float value) {
    static char slots[4][20];
    char* text = slots[slot & 3];
    const std::size_t length = formatReal(text, value);
    text[length] = '\0';
    return text;
}

std::size_t SoCGMClearTextElements::formatReal(char* text, float value) {
    // printf's "%g" without its locale: six significant digits, the shorter of the fixed and
    // the exponent form. Metafile readers need a point in every real.
    char* const end = text + 18;
    if (!std::isfinite(value)) {
        SoDebugError::postWarning("SoCGMClearTextElements::RSHORT", "Non-finite real written as 0");
        value = 0.0f;
    }
    const std::to_chars_result result =
        std::to_chars(text, end, static_cast<double>(value), std::chars_format::general, 6);
    std::size_t length = static_cast<std::size_t>(result.ptr - text);
    if (!std::memchr(text, '.', length)) text[length++] = '.';
    return length;
}

void SoCGMClearTextElements::appendReal(std::string& text, float value) {
    char number[20];
    text.append(number, formatReal(number, value));
}

void SoCGMClearTextElements::setPointOffset(float xOffset, float yOffset) {
    offsetX = xOffset;
    offsetY = yOffset;
}

FILE* SoCGMClearTextElements::out() const {
    return output->getFilePointer();
}

void SoCGMClearTextElements::write(const char* format, ...) {
    va_list args;
    va_start(args, format);
    SoCLocalePrint::vwrite(out(), format, args);
    va_end(args);
}

const char* SoCGMClearTextElements::x(int slot, float value) const {
    return RSHORT(slot, value + offsetX);
}

const char* SoCGMClearTextElements::y(int slot, float value) const {
    return RSHORT(slot, value + offsetY);
}

// ---- Frame ----

void SoCGMClearTextElements::header(int version, bool indexed, const SbColor* background,
                                    const SbVec2f& origin, const SbVec2f& size,
                                    const std::vector<int>& table) {
    write("BEGMF 'PlotWerk CGM OUTPUT';\n");
    write("MFVERSION %d;\n", version);
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
    if (background && !indexed) colour("BACKCOLR", false, 0, *background);
    write(indexed ? "COLRMODE INDEXED;\n" : "COLRMODE DIRECT;\n");
    write("VDCEXT %s %s %s %s;\n", RSHORT(0, origin[0]), RSHORT(1, origin[1]),
          RSHORT(2, origin[0] + size[0]), RSHORT(3, origin[1] + size[1]));
    write("BEGPICBODY;VDCREALPREC -32767. 32767. 8;\nEDGEVIS OFF;");
    if (!indexed) return;
    write("COLRTABLE 0\n");
    for (std::size_t i = 0; i + 2 < table.size(); i += 3)
        write("%d %d %d\n", table[i], table[i + 1], table[i + 2]);
    write(";\n");
}

void SoCGMClearTextElements::footer() {
    write("\nENDPIC;ENDMF;");
}

void SoCGMClearTextElements::cliprect(float x0, float y0, float x1, float y1) {
    write("CLIPRECT %s %s %s %s;\n", x(0, x0), y(1, y0), x(2, x1), y(3, y1));
}

void SoCGMClearTextElements::colour(const char* keyword, bool indexed, int index,
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

void SoCGMClearTextElements::lineEdgeTypeDefinition(int type, float dashSize,
                                                    const std::vector<int>& runs) {
    write("LINEEDGETYPEDEF %d %.2f ", type, static_cast<double>(dashSize));
    for (int run : runs) write("%d ", run);
    write(";\n");
}

void SoCGMClearTextElements::lineType(int type) {
    write("LINETYPE %d;\n", type);
}

void SoCGMClearTextElements::lineCapJoinAndMitre(int cap, int join, float miterLimit) {
    write("LINECAP %d 1;\nLINEJOIN %d;\nMITRELIMIT %f;\n", cap, join,
          static_cast<double>(miterLimit));
}

void SoCGMClearTextElements::lineWidth(float width) {
    write("LINEWIDTH %s;\n", RSHORT(0, width));
}

void SoCGMClearTextElements::pointList(const char* keyword, const SbVec4f* points, int n,
                                       const char* separator) {
    writePoints(keyword, points, n, separator, 5);
}

void SoCGMClearTextElements::markerRun(const SbVec4f* points, int n) {
    writePoints("MARKER", points, n, " ", 4);
}

void SoCGMClearTextElements::writePoints(const char* keyword, const SbVec4f* points, int n,
                                         const char* separator, int breakAfter) {
    // Meshes make millions of these: the element is built in memory and written at once.
    std::string text(keyword);
    text += '\n';
    text.reserve(text.size() + static_cast<std::size_t>(n) * 24 + 4);
    for (int i = 0; i < n; ++i) {
        text += ' ';
        appendReal(text, points[i][0] + offsetX);
        text += separator;
        appendReal(text, points[i][1] + offsetY);
        if (i % 6 == breakAfter) text += '\n';
    }
    text += ";\n";
    std::fwrite(text.data(), 1, text.size(), out());
}

// ---- Fills ----

void SoCGMClearTextElements::interiorStyle(bool patterned) {
    write(patterned ? "INTSTYLE PAT;\n" : "INTSTYLE SOLID;\n");
}

void SoCGMClearTextElements::patternSize(float size) {
    write("PATSIZE 0. %f %f 0.;\n", static_cast<double>(size), static_cast<double>(size));
}

void SoCGMClearTextElements::patternTable(int index, const std::vector<int>& cells) {
    write("PATTABLE %d 32 32 0 ", index);
    // Each value is followed by a blank: three per direct cell, one per indexed cell.
    for (int value : cells) write("%d ", value);
    write(";\n");
}

void SoCGMClearTextElements::patternIndex(int index) {
    write("PATINDEX %d;\n", index);
}

// ---- Markers and text ----

void SoCGMClearTextElements::markerTypeAndSize(float size) {
    write("MARKERTYPE 1;\nMARKERSIZE %s;\n", RSHORT(0, size));
}

void SoCGMClearTextElements::charHeight(float height) {
    write("CHARHEIGHT %s;\n", RSHORT(0, height));
}

void SoCGMClearTextElements::fontIndex(int index) {
    write("TEXTFONTINDEX %d;\n", index);
}

void SoCGMClearTextElements::textAttributes() {
    write("TEXTPREC STROKE;\nTEXTPATH RIGHT;\nCHARSPACE 0.;\nCHAREXPAN 1.;\n");
}

void SoCGMClearTextElements::textAlignment(const char* horizontal) {
    write("TEXTALIGN %s NORMVERT 0. 0.;\n", horizontal);
}

void SoCGMClearTextElements::charOrientation(float angle) {
    const float s = std::sin(angle);
    const float c = std::cos(angle);
    write("CHARORI %s %s %s %s;\n", RSHORT(0, -s), RSHORT(1, c), RSHORT(2, c), RSHORT(3, s));
}

void SoCGMClearTextElements::text(const SbVec4f& position, const SbString& string) {
    write("TEXT %s %s FINAL\n", x(0, position[0]), y(1, position[1]));
    // This platform has no 16-bit text mode for streams: texts Latin-1 cannot hold are
    // written in UTF-8, which clear-text readers take as bytes between the quotes.
    write("%s;\n", quoted(string.isUnicode() ? string.getString() : string.toLatin1()).c_str());
}

void SoCGMClearTextElements::cellArray(const SbVec4f corners[3], int columns, int rows,
                                       bool indexed, const std::vector<int>& cells,
                                       int cellsPerLine) {
    write("CELLARRAY %s %s", x(0, corners[0][0]), y(1, corners[0][1]));
    write(" %s %s", x(0, corners[1][0]), y(1, corners[1][1]));
    write(" %s %s", x(0, corners[2][0]), y(1, corners[2][1]));
    write(" %d %d 0\n", columns, rows);
    const std::size_t perCell = indexed ? 1 : 3;
    const std::size_t count = cells.size() / perCell;
    for (std::size_t i = 0; i < count; ++i) {
        if (indexed)
            write(" %d", cells[i]);
        else
            write(" %d %d %d", cells[3 * i], cells[3 * i + 1], cells[3 * i + 2]);
        if (cellsPerLine > 0 && (i + 1) % static_cast<std::size_t>(cellsPerLine) == 0) write("\n");
    }
    write(";\n");
}
