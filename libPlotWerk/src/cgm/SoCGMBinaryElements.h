#pragma once

#include <Tessara/base/SbString.h>
#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec4f.h>

class SoCGMBinaryWriter;

/// The elements of a binary metafile, one writer each, named after the element's clear-text
/// keyword: each announces its exact parameter length, writes its parameters with the
/// precisions in force and records the precisions and modes it changes. Colour elements take
/// both an index and a colour and write the one the colour selection mode asks for.
class SoCGMBinaryElements {
  public:
    /// Cells of a pattern table entry: 32 x 32.
    static constexpr int kPatternCells = 1024;

    explicit SoCGMBinaryElements(SoCGMBinaryWriter& writer);

    /// Bits of a precision holding every value from low to high: 8, 16, 24 or 32.
    static int precisionBits(long long low, long long high);
    /// The real precision code a number of significant digits needs: 1 up to 10, else 2.
    static int realCodeForDigits(int digits);

    // Delimiters.
    /// Starts a metafile, then puts the writer back to its defaults; the colour selection
    /// mode starts indexed or direct as the output asks.
    void Pbegmf(const SbString& name, bool indexedColour);
    void Pendmf();
    void Pbegpic(const SbString& name);
    void Pbegpicbody();
    void Pendpic();

    // Metafile descriptor.
    void Pmfversion(int version);
    void Pmfdesc(const SbString& description);
    /// 0 integer, 1 real.
    void Pvdctype(int type);
    void Pintegerprec(int low, int high);
    /// The range is not used: the digit count chooses 32- or 64-bit floating point.
    void Prealprec(double low, double high, int digits);
    void Pindexprec(int low, int high);
    void Pcolrprec(int maximum);
    void Pcolrindexprec(int maximum);
    void Pmaxcolrindex(int maximum);
    /// Colours of the darkest and the brightest direct colour, three components each.
    void Pcolrvalueext(const int minimum[3], const int maximum[3]);
    /// The drawing-plus set of elements.
    void Pmfelemlist();
    void Pfontlist(const SbString* names, int count);

    // Picture descriptor.
    /// 0 abstract, 1 metric (factor: millimetres per VDC unit).
    void Pscalemode(int mode, double factor);
    /// 0 indexed, 1 direct.
    void Pcolrmode(int mode);
    /// Width and size modes: 0 absolute, 1 scaled.
    void Plinewidthmode(int mode);
    void Pmarkersizemode(int mode);
    void Pedgewidthmode(int mode);
    /// Corners as given: the point offset is not added.
    void Pvdcext(double x0, double y0, double x1, double y1);
    /// Always a direct colour, whatever the colour selection mode.
    void Pbackcolr(const SbColor& colour);
    /// A user line type: the dash size and `count` alternating dash and gap runs.
    void Plineedgetypedef(int type, double dashSize, const int* runs, int count);

    // Control.
    void Pvdcrealprec(double low, double high, int digits);
    /// Corners plus the point offset.
    void Pcliprect(const SbVec4f& corner1, const SbVec4f& corner2);
    void Pmitrelimit(double limit);
    void Ptranspcellcolr(bool on, int index, const SbColor& colour);

    // Graphical primitives; points get the point offset.
    void Pline(const SbVec4f* points, int n);
    void Pmarker(const SbVec4f* points, int n);
    void Ptext(const SbVec4f& position, const SbString& text);
    void Ppolygon(const SbVec4f* points, int n);
    /// Cells row by row, `columns` x `rows` of them: `indices` are read in indexed colour,
    /// `colours` in direct colour; the other may be null.
    void Pcellarray(const SbVec4f& p, const SbVec4f& q, const SbVec4f& r, int columns, int rows,
                    const int* indices, const SbColor* colours);

    // Attributes.
    void Plinetype(int type);
    /// A VDC in absolute line width mode, a real scale factor in scaled mode.
    void Plinewidth(double width);
    void Plinecolr(int index, const SbColor& colour);
    void Pmarkertype(int type);
    /// A VDC in absolute marker size mode, a real scale factor in scaled mode.
    void Pmarkersize(double size);
    void Pmarkercolr(int index, const SbColor& colour);
    void Ptextfontindex(int font);
    /// 0 string, 1 character, 2 stroke.
    void Ptextprec(int precision);
    void Pcharexpan(double factor);
    void Pcharspace(double spacing);
    void Ptextcolr(int index, const SbColor& colour);
    void Pcharheight(double height);
    /// Up and base vectors, without the point offset.
    void Pcharori(double upX, double upY, double baseX, double baseY);
    void Ptextpath(int path);
    /// Horizontal 1 left, 2 centre, 3 right; vertical normal.
    void Ptextalign(int horizontal);
    /// 1 solid, 2 pattern.
    void Pintstyle(int style);
    void Pfillcolr(int index, const SbColor& colour);
    void Ppatindex(int index);
    /// kPatternCells cells, read as Pcellarray reads them.
    void Ppattable(int index, const int* indices, const SbColor* colours);
    /// Square pattern of `size` VDC: height vector (0, size), width vector (size, 0).
    void Ppatsize(double size);
    void Pedgevis(int on);
    /// `count` entries from index `start`, three integer components 0..255 each in `rgb`.
    void Pcolrtable(int start, const int* rgb, int count);
    void Plinecap(int cap);
    void Plinejoin(int join);

  private:
    bool header(int cls, int id, long long length, const char* where);
    bool isIndexed() const;
    int colourSize() const;
    void writeColour(int index, const SbColor& colour);
    void writeDirect(const SbColor& colour);
    void colourElement(int id, int index, const SbColor& colour, const char* where);
    void pointList(int id, const SbVec4f* points, int n, const char* where);
    void enumElement(int cls, int id, int value, const char* where);
    void realElement(int cls, int id, double value, const char* where);
    void indexElement(int id, int value, const char* where);
    void realPrecisionParameters(int code);
    bool cellsPresent(const int* indices, const SbColor* colours, const char* where) const;
    void writeCells(const int* indices, const SbColor* colours, int from, int count);

    SoCGMBinaryWriter& writer_;
};
