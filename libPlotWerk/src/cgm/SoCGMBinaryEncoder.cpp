#include "SoCGMBinaryEncoder.h"

#include <cmath>

#include "SoCGMFontTable.h"

SoCGMBinaryEncoder::SoCGMBinaryEncoder(SoVectorOutput* output, int bufferSize)
    : writer(output, bufferSize), elements(writer) {}

void SoCGMBinaryEncoder::setPointOffset(float x, float y) {
    writer.setPointOffset(x, y);
}

// ---- Frame ----

void SoCGMBinaryEncoder::header(const SoCGMPictureSetup& setup) {
    writer.allocateBuffer();
    elements.Pbegmf("PlotWerk CGM OUTPUT", setup.indexed);
    elements.Pmfversion(setup.version);
    elements.Pmfdesc("PlotWerk CGM METAFILE OUTPUT");
    elements.Pmfelemlist();
    elements.Pvdctype(1);
    elements.Pintegerprec(-32767, 32767);
    elements.Prealprec(-32767.0, 32767.0, 8);
    elements.Pindexprec(-32767, 32767);
    elements.Pcolrprec(255);
    elements.Pcolrindexprec(255);
    const int lowest[3] = {0, 0, 0};
    const int highest[3] = {255, 255, 255};
    elements.Pcolrvalueext(lowest, highest);
    elements.Pmaxcolrindex(255);
    elements.Pfontlist(SoCGMFontTable::names(), SoCGMFontTable::COUNT);
    elements.Pbegpic("Binary Image from PlotWerk");
    elements.Pscalemode(1, 1.0);
    elements.Plinewidthmode(0);
    elements.Pmarkersizemode(0);
    elements.Pedgewidthmode(0);
    if (setup.background && !setup.indexed) elements.Pbackcolr(*setup.background);
    elements.Pcolrmode(setup.indexed ? 0 : 1);
    const SbVec2f& origin = setup.extentOrigin;
    const SbVec2f& size = setup.extentSize;
    elements.Pvdcext(origin[0], origin[1], origin[0] + size[0], origin[1] + size[1]);
    elements.Pbegpicbody();
    elements.Pvdcrealprec(-32767.0, 32767.0, 8);
    elements.Pedgevis(0);
    if (!setup.indexed) return;
    const std::vector<int>& table = setup.colourTable;
    elements.Pcolrtable(0, table.data(), static_cast<int>(table.size() / 3));
}

void SoCGMBinaryEncoder::footer() {
    elements.Pendpic();
    elements.Pendmf();
    writer.flushWriteBuffer();
}

void SoCGMBinaryEncoder::viewportClip(const SbBox2f& limits) {
    // The limits are on the drawing: the writer adds the offset like to every point.
    const SbVec2f low = limits.getMin();
    const SbVec2f high = limits.getMax();
    elements.Pcliprect(SbVec4f(low[0], low[1], 0, 1), SbVec4f(high[0], high[1], 0, 1));
}

void SoCGMBinaryEncoder::clipRectangle(float x0, float y0, float x1, float y1) {
    elements.Pcliprect(SbVec4f(x0, y0, 0, 1), SbVec4f(x1, y1, 0, 1));
}

void SoCGMBinaryEncoder::colour(ColourKind kind, bool, int index, const SbColor& colour) {
    // The elements write the index or the colour as the colour selection mode says.
    switch (kind) {
        case MARKER_COLOUR:
            return elements.Pmarkercolr(index, colour);
        case LINE_COLOUR:
            return elements.Plinecolr(index, colour);
        case FILL_COLOUR:
            return elements.Pfillcolr(index, colour);
        case TEXT_COLOUR:
            return elements.Ptextcolr(index, colour);
    }
}

// ---- Lines ----

void SoCGMBinaryEncoder::lineTypeDefinition(int type, float dashSize,
                                            const std::vector<int>& runs) {
    elements.Plineedgetypedef(type, dashSize, runs.data(), static_cast<int>(runs.size()));
}

void SoCGMBinaryEncoder::lineType(int type) {
    elements.Plinetype(type);
}

void SoCGMBinaryEncoder::lineCapJoinAndMitre(int cap, int join, float miterLimit) {
    elements.Plinecap(cap);
    elements.Plinejoin(join);
    elements.Pmitrelimit(miterLimit);
}

void SoCGMBinaryEncoder::lineWidth(float width) {
    elements.Plinewidth(width);
}

void SoCGMBinaryEncoder::polyline(const SbVec4f* points, int n) {
    elements.Pline(points, n);
}

// ---- Fills ----

void SoCGMBinaryEncoder::fillStyle(bool patterned, float patternSize, bool transparency, bool,
                                   const SbColor& background) {
    if (patterned && transparency) elements.Ptranspcellcolr(true, 0, background);
    elements.Pintstyle(patterned ? 2 : 1);
    if (patterned) elements.Ppatsize(patternSize);
}

void SoCGMBinaryEncoder::patternTable(int index, const std::vector<int>& indices,
                                      const std::vector<SbColor>& colours, bool) {
    elements.Ppattable(index, indices.data(), colours.data());
}

void SoCGMBinaryEncoder::polygon(const SbVec4f* points, int n, int patternIndex,
                                 bool transparency, bool, const SbColor& background) {
    if (patternIndex) elements.Ppatindex(patternIndex);
    elements.Ppolygon(points, n);
    // Transparency is switched off after every polygon, patterned or not.
    if (transparency) elements.Ptranspcellcolr(false, 0, background);
}

// ---- Markers ----

void SoCGMBinaryEncoder::markerTypeAndSize(float size) {
    elements.Pmarkertype(1);
    elements.Pmarkersize(size);
}

void SoCGMBinaryEncoder::markers(const SbVec4f* points, int n) {
    elements.Pmarker(points, n);
}

void SoCGMBinaryEncoder::markerRun(const SbVec4f* points, int n) {
    elements.Pmarker(points, n);
}

void SoCGMBinaryEncoder::markerTransparency(bool on, bool, const SbColor& transparent) {
    elements.Ptranspcellcolr(on, 0, transparent);
}

void SoCGMBinaryEncoder::cellArray(const SbVec4f corners[3], int columns, int rows,
                                   const std::vector<int>& indices,
                                   const std::vector<SbColor>& colours, bool, int) {
    elements.Pcellarray(corners[0], corners[1], corners[2], columns, rows, indices.data(),
                        colours.data());
}

// ---- Text ----

void SoCGMBinaryEncoder::textSize(float height, float angle, bool) {
    // Binary metafiles carry the orientation and height with every text.
    elements.Pcharori(-std::sin(angle), std::cos(angle), std::cos(angle), std::sin(angle));
    elements.Pcharheight(height);
}

void SoCGMBinaryEncoder::fontIndex(int index) {
    elements.Ptextfontindex(index);
}

void SoCGMBinaryEncoder::textAttributes() {
    elements.Ptextprec(2);
    elements.Ptextpath(0);
    elements.Pcharspace(0.0);
    elements.Pcharexpan(1.0);
}

void SoCGMBinaryEncoder::textAlignment(int justification) {
    static const int alignments[] = {1, 3, 2};
    elements.Ptextalign(alignments[justification - 1]);
}

void SoCGMBinaryEncoder::text(const SbVec4f& origin, const SbString& string, float, bool) {
    elements.Ptext(origin, string);
}
