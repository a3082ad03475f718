#include "SoCGMBinaryElements.h"

#include <Tessara/base/SoDebugError.h>

#include <climits>

#include "SoCGMBinaryReal.h"
#include "SoCGMBinaryWriter.h"

namespace {

unsigned long long magnitude(long long v) {
    return v < 0 ? 0ULL - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
}

bool isZeroOrOne(int value, const char* where) {
    if (value == 0 || value == 1) return true;
    SoDebugError::post(where, "Value %d is neither 0 nor 1: element not written", value);
    return false;
}

}  // namespace

SoCGMBinaryElements::SoCGMBinaryElements(SoCGMBinaryWriter& writer) : writer_(writer) {}

int SoCGMBinaryElements::precisionBits(long long low, long long high) {
    const unsigned long long a = magnitude(low);
    const unsigned long long b = magnitude(high);
    const unsigned long long m = a > b ? a : b;
    if (m > 0xFFFFFFULL) return 32;
    if (m > 0xFFFFULL) return 24;
    if (m > 0xFFULL) return 16;
    return 8;
}

int SoCGMBinaryElements::realCodeForDigits(int digits) {
    return digits <= 10 ? SoCGMBinaryReal::FLOAT32 : SoCGMBinaryReal::FLOAT64;
}

// --- shared pieces -----------------------------------------------------------------------

bool SoCGMBinaryElements::header(int cls, int id, long long length, const char* where) {
    // The length field is an int: an element this long cannot be announced.
    if (length > INT_MAX) {
        SoDebugError::post(where, "Element of %lld bytes too long: not written", length);
        return false;
    }
    writer_.PWriteHeader(cls, id, static_cast<int>(length));
    return true;
}

bool SoCGMBinaryElements::isIndexed() const {
    return writer_.getColorSelectionMode() == 0;
}

int SoCGMBinaryElements::colourSize() const {
    return isIndexed() ? writer_.getColorIndexPrecision() : 3 * writer_.getColorPrecision();
}

void SoCGMBinaryElements::writeDirect(const SbColor& colour) {
    writer_.PWriteColorD(SoCGMBinaryWriter::colorComponent(colour[0]),
                         SoCGMBinaryWriter::colorComponent(colour[1]),
                         SoCGMBinaryWriter::colorComponent(colour[2]));
}

void SoCGMBinaryElements::writeColour(int index, const SbColor& colour) {
    if (isIndexed()) {
        writer_.PWriteColorI(static_cast<unsigned int>(index));
    } else {
        writeDirect(colour);
    }
}

void SoCGMBinaryElements::colourElement(int id, int index, const SbColor& colour,
                                        const char* where) {
    if (header(5, id, colourSize(), where)) writeColour(index, colour);
}

void SoCGMBinaryElements::enumElement(int cls, int id, int value, const char* where) {
    if (!header(cls, id, 2, where)) return;
    writer_.PWriteEnum(static_cast<unsigned int>(value));
}

void SoCGMBinaryElements::realElement(int cls, int id, double value, const char* where) {
    if (header(cls, id, writer_.getRealSize(), where)) writer_.PWriteReal(value);
}

void SoCGMBinaryElements::indexElement(int id, int value, const char* where) {
    if (header(5, id, writer_.getIndexPrecision(), where)) writer_.PWriteIndex(value);
}

void SoCGMBinaryElements::pointList(int id, const SbVec4f* points, int n, const char* where) {
    if (n < 1 || !points) {
        SoDebugError::post(where, "No points (%d): element not written", n);
        return;
    }
    const long long length = 2LL * n * writer_.getVdcSize();
    if (!header(4, id, length, where)) return;
    for (int i = 0; i < n; ++i) writer_.PWritePoint(points[i]);
}

void SoCGMBinaryElements::realPrecisionParameters(int code) {
    // Floating point with the exponent and fraction widths of the IEEE formats.
    writer_.PWriteEnum(0);
    writer_.PWriteInt(code == SoCGMBinaryReal::FLOAT32 ? 9u : 12u);
    writer_.PWriteInt(code == SoCGMBinaryReal::FLOAT32 ? 23u : 52u);
}

// --- delimiters ----------------------------------------------------------------------------

void SoCGMBinaryElements::Pbegmf(const SbString& name, bool indexedColour) {
    if (header(0, 1, SoCGMBinaryWriter::PStrLen(name), "SoCGMBinaryElements::Pbegmf")) {
        writer_.PWriteString(name);
    }
    writer_.resetToDefaults(indexedColour);
}

void SoCGMBinaryElements::Pendmf() {
    header(0, 2, 0, "SoCGMBinaryElements::Pendmf");
}

void SoCGMBinaryElements::Pbegpic(const SbString& name) {
    if (header(0, 3, SoCGMBinaryWriter::PStrLen(name), "SoCGMBinaryElements::Pbegpic")) {
        writer_.PWriteString(name);
    }
}

void SoCGMBinaryElements::Pbegpicbody() {
    header(0, 4, 0, "SoCGMBinaryElements::Pbegpicbody");
}

void SoCGMBinaryElements::Pendpic() {
    header(0, 5, 0, "SoCGMBinaryElements::Pendpic");
}

// --- metafile descriptor -------------------------------------------------------------------

void SoCGMBinaryElements::Pmfversion(int version) {
    if (header(1, 1, writer_.getIntegerPrecision(), "SoCGMBinaryElements::Pmfversion")) {
        writer_.PWriteInt(static_cast<unsigned int>(version));
    }
}

void SoCGMBinaryElements::Pmfdesc(const SbString& description) {
    if (header(1, 2, SoCGMBinaryWriter::PStrLen(description), "SoCGMBinaryElements::Pmfdesc")) {
        writer_.PWriteString(description);
    }
}

void SoCGMBinaryElements::Pvdctype(int type) {
    const char* where = "SoCGMBinaryElements::Pvdctype";
    if (!isZeroOrOne(type, where)) return;
    enumElement(1, 3, type, where);
    writer_.setVdcType(type);
}

void SoCGMBinaryElements::Pintegerprec(int low, int high) {
    const int bits = precisionBits(low, high);
    if (!header(1, 4, writer_.getIntegerPrecision(), "SoCGMBinaryElements::Pintegerprec")) return;
    writer_.PWriteInt(static_cast<unsigned int>(bits));
    writer_.setIntegerPrecision(bits / 8);
}

void SoCGMBinaryElements::Prealprec(double /*low*/, double /*high*/, int digits) {
    const int code = realCodeForDigits(digits);
    const long long length = 2LL * writer_.getIntegerPrecision() + 2;
    if (!header(1, 5, length, "SoCGMBinaryElements::Prealprec")) return;
    realPrecisionParameters(code);
    writer_.setRealPrecision(code);
}

void SoCGMBinaryElements::Pindexprec(int low, int high) {
    const int bits = precisionBits(low, high);
    if (!header(1, 6, writer_.getIntegerPrecision(), "SoCGMBinaryElements::Pindexprec")) return;
    writer_.PWriteInt(static_cast<unsigned int>(bits));
    writer_.setIndexPrecision(bits / 8);
}

void SoCGMBinaryElements::Pcolrprec(int maximum) {
    const int bits = precisionBits(0, maximum);
    if (!header(1, 7, writer_.getIntegerPrecision(), "SoCGMBinaryElements::Pcolrprec")) return;
    writer_.PWriteInt(static_cast<unsigned int>(bits));
    writer_.setColorPrecision(bits / 8);
}

void SoCGMBinaryElements::Pcolrindexprec(int maximum) {
    const int bits = precisionBits(0, maximum);
    const char* where = "SoCGMBinaryElements::Pcolrindexprec";
    if (!header(1, 8, writer_.getIntegerPrecision(), where)) return;
    writer_.PWriteInt(static_cast<unsigned int>(bits));
    writer_.setColorIndexPrecision(bits / 8);
}

void SoCGMBinaryElements::Pmaxcolrindex(int maximum) {
    if (header(1, 9, writer_.getColorIndexPrecision(), "SoCGMBinaryElements::Pmaxcolrindex")) {
        writer_.PWriteColorI(static_cast<unsigned int>(maximum));
    }
}

void SoCGMBinaryElements::Pcolrvalueext(const int minimum[3], const int maximum[3]) {
    const char* where = "SoCGMBinaryElements::Pcolrvalueext";
    if (!minimum || !maximum) {
        SoDebugError::post(where, "Null colour: element not written");
        return;
    }
    if (!header(1, 10, 6LL * writer_.getColorPrecision(), where)) return;
    writer_.PWriteColorD(minimum[0], minimum[1], minimum[2]);
    writer_.PWriteColorD(maximum[0], maximum[1], maximum[2]);
}

void SoCGMBinaryElements::Pmfelemlist() {
    const long long length = writer_.getIntegerPrecision() + 2LL * writer_.getIndexPrecision();
    if (!header(1, 11, length, "SoCGMBinaryElements::Pmfelemlist")) return;
    // One entry: the pair (-1, 1) names the drawing-plus set.
    writer_.PWriteInt(1);
    writer_.PWriteIndex(-1);
    writer_.PWriteIndex(1);
}

void SoCGMBinaryElements::Pfontlist(const SbString* names, int count) {
    const char* where = "SoCGMBinaryElements::Pfontlist";
    if (count < 0 || (count > 0 && !names)) {
        SoDebugError::post(where, "No font names (%d): element not written", count);
        return;
    }
    long long length = 0;
    for (int i = 0; i < count; ++i) length += SoCGMBinaryWriter::PStrLen(names[i]);
    if (!header(1, 13, length, where)) return;
    for (int i = 0; i < count; ++i) writer_.PWriteString(names[i]);
}

// --- picture descriptor --------------------------------------------------------------------

void SoCGMBinaryElements::Pscalemode(int mode, double factor) {
    const char* where = "SoCGMBinaryElements::Pscalemode";
    if (!header(2, 1, writer_.getRealSize() + 2LL, where)) return;
    writer_.PWriteEnum(static_cast<unsigned int>(mode));
    writer_.PWriteReal(factor);
}

void SoCGMBinaryElements::Pcolrmode(int mode) {
    const char* where = "SoCGMBinaryElements::Pcolrmode";
    if (!isZeroOrOne(mode, where)) return;
    enumElement(2, 2, mode, where);
    writer_.setColorSelectionMode(mode);
}

void SoCGMBinaryElements::Plinewidthmode(int mode) {
    const char* where = "SoCGMBinaryElements::Plinewidthmode";
    if (!isZeroOrOne(mode, where)) return;
    enumElement(2, 3, mode, where);
    writer_.setLineWidthMode(mode);
}

void SoCGMBinaryElements::Pmarkersizemode(int mode) {
    const char* where = "SoCGMBinaryElements::Pmarkersizemode";
    if (!isZeroOrOne(mode, where)) return;
    enumElement(2, 4, mode, where);
    writer_.setMarkerSizeMode(mode);
}

void SoCGMBinaryElements::Pedgewidthmode(int mode) {
    const char* where = "SoCGMBinaryElements::Pedgewidthmode";
    if (!isZeroOrOne(mode, where)) return;
    enumElement(2, 5, mode, where);
    writer_.setEdgeWidthMode(mode);
}

void SoCGMBinaryElements::Pvdcext(double x0, double y0, double x1, double y1) {
    if (!header(2, 6, 4LL * writer_.getVdcSize(), "SoCGMBinaryElements::Pvdcext")) return;
    writer_.PWriteVDC(x0);
    writer_.PWriteVDC(y0);
    writer_.PWriteVDC(x1);
    writer_.PWriteVDC(y1);
}

void SoCGMBinaryElements::Pbackcolr(const SbColor& colour) {
    if (header(2, 7, 3LL * writer_.getColorPrecision(), "SoCGMBinaryElements::Pbackcolr")) {
        writeDirect(colour);
    }
}

void SoCGMBinaryElements::Plineedgetypedef(int type, double dashSize, const int* runs, int count) {
    const char* where = "SoCGMBinaryElements::Plineedgetypedef";
    if (count < 0 || (count > 0 && !runs)) {
        SoDebugError::post(where, "No dash runs (%d): element not written", count);
        return;
    }
    // Runs alternate dash and gap: an odd list is closed with an empty gap.
    const long long even = count + (count & 1);
    const long long precision = writer_.getIntegerPrecision();
    if (!header(2, 17, precision + even * precision + writer_.getRealSize(), where)) return;
    writer_.PWriteInt(static_cast<unsigned int>(type));
    writer_.PWriteReal(dashSize);
    for (int i = 0; i < count; ++i) writer_.PWriteInt(static_cast<unsigned int>(runs[i]));
    if (count & 1) writer_.PWriteInt(0);
}

// --- control ---------------------------------------------------------------------------

void SoCGMBinaryElements::Pvdcrealprec(double /*low*/, double /*high*/, int digits) {
    const int code = realCodeForDigits(digits);
    const long long length = 2LL * writer_.getIntegerPrecision() + 2;
    if (!header(3, 2, length, "SoCGMBinaryElements::Pvdcrealprec")) return;
    realPrecisionParameters(code);
    writer_.setVdcRealPrecision(code);
}

void SoCGMBinaryElements::Pcliprect(const SbVec4f& corner1, const SbVec4f& corner2) {
    if (!header(3, 5, 4LL * writer_.getVdcSize(), "SoCGMBinaryElements::Pcliprect")) return;
    writer_.PWritePoint(corner1);
    writer_.PWritePoint(corner2);
}

void SoCGMBinaryElements::Pmitrelimit(double limit) {
    realElement(3, 19, limit, "SoCGMBinaryElements::Pmitrelimit");
}

void SoCGMBinaryElements::Ptranspcellcolr(bool on, int index, const SbColor& colour) {
    if (!header(3, 20, colourSize() + 2LL, "SoCGMBinaryElements::Ptranspcellcolr")) return;
    writer_.PWriteEnum(on ? 1u : 0u);
    writeColour(index, colour);
}

// --- graphical primitives ----------------------------------------------------------------

void SoCGMBinaryElements::Pline(const SbVec4f* points, int n) {
    pointList(1, points, n, "SoCGMBinaryElements::Pline");
}

void SoCGMBinaryElements::Pmarker(const SbVec4f* points, int n) {
    pointList(3, points, n, "SoCGMBinaryElements::Pmarker");
}

void SoCGMBinaryElements::Ptext(const SbVec4f& position, const SbString& text) {
    const long long length = 2LL * writer_.getVdcSize() + 2 + SoCGMBinaryWriter::PStrLen(text);
    if (!header(4, 4, length, "SoCGMBinaryElements::Ptext")) return;
    writer_.PWritePoint(position);
    writer_.PWriteEnum(1);  // final: the text is complete
    writer_.PWriteString(text);
}

void SoCGMBinaryElements::Ppolygon(const SbVec4f* points, int n) {
    pointList(7, points, n, "SoCGMBinaryElements::Ppolygon");
}

bool SoCGMBinaryElements::cellsPresent(const int* indices, const SbColor* colours,
                                       const char* where) const {
    if (isIndexed() ? indices != nullptr : colours != nullptr) return true;
    SoDebugError::post(where, "No %s cells: element not written",
                       isIndexed() ? "indexed" : "direct");
    return false;
}

void SoCGMBinaryElements::writeCells(const int* indices, const SbColor* colours, int from,
                                     int count) {
    for (int i = from; i < from + count; ++i) {
        if (isIndexed()) {
            writer_.PWriteColorI(static_cast<unsigned int>(indices[i]));
        } else {
            writeDirect(colours[i]);
        }
    }
}

void SoCGMBinaryElements::Pcellarray(const SbVec4f& p, const SbVec4f& q, const SbVec4f& r,
                                     int columns, int rows, const int* indices,
                                     const SbColor* colours) {
    const char* where = "SoCGMBinaryElements::Pcellarray";
    if (columns < 1 || rows < 1) {
        SoDebugError::post(where, "Empty cell array (%d x %d): not written", columns, rows);
        return;
    }
    if (!cellsPresent(indices, colours, where)) return;
    // Every row starts on a 16-bit boundary: odd rows get a pad byte.
    const int pad = columns & 1;
    const long long rowBytes = static_cast<long long>(columns) * colourSize() + pad;
    const long long precision = writer_.getIntegerPrecision();
    const long long length = 3 * precision + 2 + 6LL * writer_.getVdcSize() + rows * rowBytes;
    if (!header(4, 9, length, where)) return;
    writer_.PWritePoint(p);
    writer_.PWritePoint(q);
    writer_.PWritePoint(r);
    writer_.PWriteInt(static_cast<unsigned int>(columns));
    writer_.PWriteInt(static_cast<unsigned int>(rows));
    const int cellPrecision =
        isIndexed() ? writer_.getColorIndexPrecision() : writer_.getColorPrecision();
    writer_.PWriteInt(static_cast<unsigned int>(8 * cellPrecision));
    writer_.PWriteEnum(1);  // packed: cells follow each other without run lengths
    for (int row = 0; row < rows; ++row) {
        writeCells(indices, colours, row * columns, columns);
        if (pad) writer_.PWriteChar(0);
    }
}

// --- attributes ----------------------------------------------------------------------------

void SoCGMBinaryElements::Plinetype(int type) {
    indexElement(2, type, "SoCGMBinaryElements::Plinetype");
}

void SoCGMBinaryElements::Plinewidth(double width) {
    const bool absolute = writer_.getLineWidthMode() == 0;
    const int length = absolute ? writer_.getVdcSize() : writer_.getRealSize();
    if (!header(5, 3, length, "SoCGMBinaryElements::Plinewidth")) return;
    if (absolute) {
        writer_.PWriteVDC(width);
    } else {
        writer_.PWriteReal(width);
    }
}

void SoCGMBinaryElements::Plinecolr(int index, const SbColor& colour) {
    colourElement(4, index, colour, "SoCGMBinaryElements::Plinecolr");
}

void SoCGMBinaryElements::Pmarkertype(int type) {
    indexElement(6, type, "SoCGMBinaryElements::Pmarkertype");
}

void SoCGMBinaryElements::Pmarkersize(double size) {
    const bool absolute = writer_.getMarkerSizeMode() == 0;
    const int length = absolute ? writer_.getVdcSize() : writer_.getRealSize();
    if (!header(5, 7, length, "SoCGMBinaryElements::Pmarkersize")) return;
    if (absolute) {
        writer_.PWriteVDC(size);
    } else {
        writer_.PWriteReal(size);
    }
}

void SoCGMBinaryElements::Pmarkercolr(int index, const SbColor& colour) {
    colourElement(8, index, colour, "SoCGMBinaryElements::Pmarkercolr");
}

void SoCGMBinaryElements::Ptextfontindex(int font) {
    indexElement(10, font, "SoCGMBinaryElements::Ptextfontindex");
}

void SoCGMBinaryElements::Ptextprec(int precision) {
    enumElement(5, 11, precision, "SoCGMBinaryElements::Ptextprec");
}

void SoCGMBinaryElements::Pcharexpan(double factor) {
    realElement(5, 12, factor, "SoCGMBinaryElements::Pcharexpan");
}

void SoCGMBinaryElements::Pcharspace(double spacing) {
    realElement(5, 13, spacing, "SoCGMBinaryElements::Pcharspace");
}

void SoCGMBinaryElements::Ptextcolr(int index, const SbColor& colour) {
    colourElement(14, index, colour, "SoCGMBinaryElements::Ptextcolr");
}

void SoCGMBinaryElements::Pcharheight(double height) {
    if (header(5, 15, writer_.getVdcSize(), "SoCGMBinaryElements::Pcharheight")) {
        writer_.PWriteVDC(height);
    }
}

void SoCGMBinaryElements::Pcharori(double upX, double upY, double baseX, double baseY) {
    if (!header(5, 16, 4LL * writer_.getVdcSize(), "SoCGMBinaryElements::Pcharori")) return;
    writer_.PWriteVDC(upX);
    writer_.PWriteVDC(upY);
    writer_.PWriteVDC(baseX);
    writer_.PWriteVDC(baseY);
}

void SoCGMBinaryElements::Ptextpath(int path) {
    enumElement(5, 17, path, "SoCGMBinaryElements::Ptextpath");
}

void SoCGMBinaryElements::Ptextalign(int horizontal) {
    if (!header(5, 18, 2LL * writer_.getRealSize() + 4, "SoCGMBinaryElements::Ptextalign")) {
        return;
    }
    writer_.PWriteEnum(static_cast<unsigned int>(horizontal));
    writer_.PWriteEnum(0);  // normal vertical alignment: the continuous values are unused
    writer_.PWriteReal(0.0);
    writer_.PWriteReal(0.0);
}

void SoCGMBinaryElements::Pintstyle(int style) {
    enumElement(5, 22, style, "SoCGMBinaryElements::Pintstyle");
}

void SoCGMBinaryElements::Pfillcolr(int index, const SbColor& colour) {
    colourElement(23, index, colour, "SoCGMBinaryElements::Pfillcolr");
}

void SoCGMBinaryElements::Ppatindex(int index) {
    if (header(5, 25, writer_.getIntegerPrecision(), "SoCGMBinaryElements::Ppatindex")) {
        writer_.PWriteInt(static_cast<unsigned int>(index));
    }
}

void SoCGMBinaryElements::Ppattable(int index, const int* indices, const SbColor* colours) {
    const char* where = "SoCGMBinaryElements::Ppattable";
    if (!cellsPresent(indices, colours, where)) return;
    const long long length = writer_.getIndexPrecision() + 3LL * writer_.getIntegerPrecision() +
                             static_cast<long long>(kPatternCells) * colourSize();
    if (!header(5, 32, length, where)) return;
    writer_.PWriteIndex(index);
    writer_.PWriteInt(32);
    writer_.PWriteInt(32);
    writer_.PWriteInt(0);  // local colour precision 0: the metafile's own
    writeCells(indices, colours, 0, kPatternCells);
}

void SoCGMBinaryElements::Ppatsize(double size) {
    if (!header(5, 33, 4LL * writer_.getVdcSize(), "SoCGMBinaryElements::Ppatsize")) return;
    writer_.PWriteVDC(0.0);
    writer_.PWriteVDC(size);
    writer_.PWriteVDC(size);
    writer_.PWriteVDC(0.0);
}

void SoCGMBinaryElements::Pedgevis(int on) {
    enumElement(5, 30, on, "SoCGMBinaryElements::Pedgevis");
}

void SoCGMBinaryElements::Pcolrtable(int start, const int* rgb, int count) {
    const char* where = "SoCGMBinaryElements::Pcolrtable";
    if (count < 0 || (count > 0 && !rgb)) {
        SoDebugError::post(where, "No colour table entries (%d): element not written", count);
        return;
    }
    const long long length =
        writer_.getColorIndexPrecision() + 3LL * count * writer_.getColorPrecision();
    if (!header(5, 34, length, where)) return;
    writer_.PWriteColorI(static_cast<unsigned int>(start));
    for (int i = 0; i < count; ++i)
        writer_.PWriteColorD(rgb[3 * i], rgb[3 * i + 1], rgb[3 * i + 2]);
}

void SoCGMBinaryElements::Plinecap(int cap) {
    if (!header(5, 37, 4, "SoCGMBinaryElements::Plinecap")) return;
    writer_.PWriteEnum(static_cast<unsigned int>(cap));
    writer_.PWriteEnum(1);  // dash cap unspecified
}

void SoCGMBinaryElements::Plinejoin(int join) {
    enumElement(5, 38, join, "SoCGMBinaryElements::Plinejoin");
}
