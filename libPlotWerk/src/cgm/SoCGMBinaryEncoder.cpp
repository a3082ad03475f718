#include "SoCGMBinaryEncoder.h"

#include <cmath>

#include "SoCGMFontTable.h"

SoCGMBinaryEncoder::SoCGMBinaryEncoder(SoVectorOutput* output, int bufferSize)
    : writer_(output, bufferSize), elements_(writer_) {}

void SoCGMBinaryEncoder::setPointOffset(float x, float y) {
    writer_.setPointOffset(x, y);
}

// ---- Frame ----

void SoCGMBinaryEncoder::header(const SoCGMPictureSetup& setup) {
    writer_.allocateBuffer();
    elements_.Pbegmf("PlotWerk CGM OUTPUT", setup.indexed);
    elements_.Pmfversion(setup.version);
    elements_.Pmfdesc("PlotWerk CGM METAFILE OUTPUT");
    elements_.Pmfelemlist();
    elements_.Pvdctype(1);
    elements_.Pintegerprec(-32767, 32767);
    elements_.Prealprec(-32767.0, 32767.0, 8);
    elements_.Pindexprec(-32767, 32767);
    elements_.Pcolrprec(255);
    elements_.Pcolrindexprec(255);
    const int lowest[3] = {0, 0, 0};
    const int highest[3] = {255, 255, 255};
    elements_.Pcolrvalueext(lowest, highest);
    elements_.Pmaxcolrindex(255);
    elements_.Pfontlist(SoCGMFontTable::names(), SoCGMFontTable::COUNT);
    elements_.Pbegpic("Binary Image from PlotWerk");
    elements_.Pscalemode(1, 1.0);
    elements_.Plinewidthmode(0);
    elements_.Pmarkersizemode(0);
    elements_.Pedgewidthmode(0);
    if (setup.background && !setup.indexed) elements_.Pbackcolr(*setup.background);
    elements_.Pcolrmode(setup.indexed ? 0 : 1);
    const SbVec2f& origin = setup.extentOrigin;
    const SbVec2f& size = setup.extentSize;
    elements_.Pvdcext(origin[0], origin[1], origin[0] + size[0], origin[1] + size[1]);
    elements_.Pbegpicbody();
    elements_.Pvdcrealprec(-32767.0, 32767.0, 8);
    elements_.Pedgevis(0);
    if (!setup.indexed) return;
    const std::vector<int>& table = setup.colourTable;
    elements_.Pcolrtable(0, table.data(), static_cast<int>(table.size() / 3));
}

void SoCGMBinaryEncoder::footer() {
    elements_.Pendpic();
    elements_.Pendmf();
    writer_.flushWriteBuffer();
}

void SoCGMBinaryEncoder::viewportClip(const SbBox2f& limits) {
    // The limits are on the drawing: the writer adds the offset like to every point.
    const SbVec2f low = limits.getMin();
    const SbVec2f high = limits.getMax();
    elements_.Pcliprect(SbVec4f(low[0], low[1], 0, 1), SbVec4f(high[0], high[1], 0, 1));
}

void SoCGMBinaryEncoder::clipRectangle(float x0, float y0, float x1, float y1) {
    elements_.Pcliprect(SbVec4f(x0, y0, 0, 1), SbVec4f(x1, y1, 0, 1));
}

void SoCGMBinaryEncoder::colour(ColourKind kind, bool, int index, const SbColor& colour) {
    // The elements write the index or the colour as the colour selection mode says.
    switch (kind) {
        case MARKER_COLOUR:
            return elements_.Pmarkercolr(index, colour);
        case LINE_COLOUR:
            return elements_.Plinecolr(index, colour);
        case FILL_COLOUR:
            return elements_.Pfillcolr(index, colour);
        case TEXT_COLOUR:
            return elements_.Ptextcolr(index, colour);
    }
}

// ---- Lines ----

void SoCGMBinaryEncoder::lineTypeDefinition(int type, float dashSize,
                                            const std::vector<int>& runs) {
    elements_.Plineedgetypedef(type, dashSize, runs.data(), static_cast<int>(runs.size()));
}

void SoCGMBinaryEncoder::lineType(int type) {
    elements_.Plinetype(type);
}

void SoCGMBinaryEncoder::lineCapJoinAndMitre(int cap, int join, float miterLimit) {
    elements_.Plinecap(cap);
    elements_.Plinejoin(join);
    elements_.Pmitrelimit(miterLimit);
}

void SoCGMBinaryEncoder::lineWidth(float width) {
    elements_.Plinewidth(width);
}

void SoCGMBinaryEncoder::polyline(const SbVec4f* points, int n) {
    elements_.Pline(points, n);
}

// ---- Fills ----

void SoCGMBinaryEncoder::fillStyle(bool patterned, float patternSize, bool transparency, bool,
                                   const SbColor& background) {
    if (patterned && transparency) elements_.Ptranspcellcolr(true, 0, background);
    elements_.Pintstyle(patterned ? 2 : 1);
    if (patterned) elements_.Ppatsize(patternSize);
}

void SoCGMBinaryEncoder::patternTable(int index, const std::vector<int>& indices,
                                      const std::vector<SbColor>& colours, bool) {
    elements_.Ppattable(index, indices.data(), colours.data());
}

void SoCGMBinaryEncoder::polygon(const SbVec4f* points, int n, int patternIndex, bool transparency,
                                 bool, const SbColor& background) {
    if (patternIndex) elements_.Ppatindex(patternIndex);
    elements_.Ppolygon(points, n);
    // Transparency is switched off after every polygon, patterned or not.
    if (transparency) elements_.Ptranspcellcolr(false, 0, background);
}

// ---- Markers ----

void SoCGMBinaryEncoder::markerTypeAndSize(float size) {
    elements_.Pmarkertype(1);
    elements_.Pmarkersize(size);
}

void SoCGMBinaryEncoder::markers(const SbVec4f* points, int n) {
    elements_.Pmarker(points, n);
}

void SoCGMBinaryEncoder::markerRun(const SbVec4f* points, int n) {
    elements_.Pmarker(points, n);
}

void SoCGMBinaryEncoder::markerTransparency(bool on, bool, const SbColor& transparent) {
    elements_.Ptranspcellcolr(on, 0, transparent);
}

void SoCGMBinaryEncoder::cellArray(const SbVec4f corners[3], int columns, int rows,
                                   const std::vector<int>& indices,
                                   const std::vector<SbColor>& colours, bool, int) {
    elements_.Pcellarray(corners[0], corners[1], corners[2], columns, rows, indices.data(),
                         colours.data());
}

// ---- Text ----

void SoCGMBinaryEncoder::textSize(float height, float angle, bool) {
    // Binary metafiles carry the orientation and height with every text.
    elements_.Pcharori(-std::sin(angle), std::cos(angle), std::cos(angle), std::sin(angle));
    elements_.Pcharheight(height);
}

void SoCGMBinaryEncoder::fontIndex(int index) {
    elements_.Ptextfontindex(index);
}

void SoCGMBinaryEncoder::textAttributes() {
    elements_.Ptextprec(2);
    elements_.Ptextpath(0);
    elements_.Pcharspace(0.0);
    elements_.Pcharexpan(1.0);
}

void SoCGMBinaryEncoder::textAlignment(int justification) {
    static const int alignments[] = {1, 3, 2};
    elements_.Ptextalign(alignments[justification - 1]);
}

void SoCGMBinaryEncoder::text(const SbVec4f& origin, const SbString& string, float, bool) {
    elements_.Ptext(origin, string);
}
