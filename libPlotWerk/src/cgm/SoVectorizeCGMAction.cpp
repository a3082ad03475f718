// The CGM backend. One metafile per document: the metafile descriptor (precisions, colour
// extent, fonts), one picture whose descriptor sets metric scaling and absolute widths, and
// its body. Both encodings take the same decisions: clear text writes one statement per
// element with formatted text, binary writes the same elements through SoCGMBinaryElements.
//
// The attribute cache keeps the last value of every attribute written to this metafile, so
// that an attribute element is written only when its value changes; the next header starts
// it afresh.

#include <PlotWerk/SoCGMVectorOutput.h>
#include <PlotWerk/SoVectorizeCGMAction.h>
#include <Tessara/misc/SoPreferences.h>
#include <Tessara/nodes/SoMarkerSet.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "SoCGMBinaryElements.h"
#include "SoCGMBinaryWriter.h"
#include "SoCGMClearTextElements.h"
#include "SoCGMFontTable.h"
#include "SoCGMLineType.h"
#include "frame/SoBackendActionSource.h"
#include "frame/SoColorByte.h"
#include "frame/SoColorCube.h"

namespace {

/// The two names a patterned polygon carries: a pattern table entry per distinct pair.
struct PatternRecord {
    SbString name1;
    SbString name2;
};

int lineCap(int endStyle) {
    static const int caps[] = {2, 4, 5, 3};
    return endStyle >= 0 && endStyle <= 3 ? caps[endStyle] : 2;
}

int lineJoin(int joinStyle) {
    static const int joins[] = {4, 2, 2, 4, 3, 3};
    return joinStyle >= 0 && joinStyle <= 5 ? joins[joinStyle] : 4;
}

int bufferSizeSetting() {
    if (SoPreferences::getInt("VXN_COMPAT_CGM_PLOTWERK_400", 0) == 1) return 1;
    const int size = SoPreferences::getInt("VXN_CGM_PLOTWERK_BUFSIZE", 0x100000);
    return size >= 1 ? size : 0x100000;
}

const SbColor black(0.0f, 0.0f, 0.0f);

}  // namespace

PW_BACKEND_ACTION_SOURCE(SoVectorizeCGMAction)

// ---- Construction ----

SoVectorizeCGMAction::SoVectorizeCGMAction() {
    checkRegistration();
    vectorOutput = cgmOutput.get();
    writer = std::make_unique<SoCGMBinaryWriter>(cgmOutput.get(), bufferSizeSetting());
    binaryElements = std::make_unique<SoCGMBinaryElements>(*writer);
    clearText = std::make_unique<SoCGMClearTextElements>(cgmOutput.get());
}

SoVectorizeCGMAction::~SoVectorizeCGMAction() {
    // The base cannot reach writeFooter any more: a page left open is ended here.
    if (isInPage()) endPage();
    clearPatternRecords();
    clearText.reset();
    binaryElements.reset();
    writer.reset();
    vectorOutput = nullptr;
}

SoCGMVectorOutput* SoVectorizeCGMAction::getCGMVectorOutput() const {
    return cgmOutput.get();
}

// ---- Encoders and colours ----

bool SoVectorizeCGMAction::binary() const {
    return cgmOutput->isBinary() != 0;
}

bool SoVectorizeCGMAction::indexed() const {
    return cgmOutput->isIndexed() != 0;
}

int SoVectorizeCGMAction::version() const {
    return cgmOutput->getVersion();
}

SoCGMBinaryElements& SoVectorizeCGMAction::binaryOut() {
    writer->setPointOffset(getOffsetX(), getOffsetY());
    return *binaryElements;
}

SoCGMClearTextElements& SoVectorizeCGMAction::textOut() {
    clearText->setPointOffset(getOffsetX(), getOffsetY());
    return *clearText;
}

void SoVectorizeCGMAction::assignColor(SbColor colour, float width, int* index,
                                       SbColor* colourOut) {
    if (getPenNum() == 0) {
        const int r = SoColorByte::of(colour[0]);
        const int g = SoColorByte::of(colour[1]);
        const int b = SoColorByte::of(colour[2]);
        *index = std::min(SoColorCube::indexOf(r, g, b) + 1, 255);
        *colourOut = colour;
        return;
    }
    int pen = 0;
    float penWidth = 0.0f;
    penAssignment(colour, width, &pen, &penWidth);
    std::vector<SbColor> pens(static_cast<std::size_t>(getPenNum()));
    getPenDescription(pens.data(), nullptr);
    const bool known = pen >= 0 && pen < getPenNum();
    *colourOut = known ? pens[static_cast<std::size_t>(pen)] : colour;
    *index = std::min(pen + 1, 255);
}

bool SoVectorizeCGMAction::colourChanged(ColourKind kind, int index, const SbColor& colour) {
    const bool changed = lastColourIndex[kind] != index || !(lastColour == colour);
    lastColourIndex[kind] = index;
    lastColour = colour;
    return changed;
}

void SoVectorizeCGMAction::writeColourElement(ColourKind kind, int index, const SbColor& colour) {
    if (binary()) {
        SoCGMBinaryElements& out = binaryOut();
        switch (kind) {
            case MARKER_COLOUR:
                return out.Pmarkercolr(index, colour);
            case LINE_COLOUR:
                return out.Plinecolr(index, colour);
            case FILL_COLOUR:
                return out.Pfillcolr(index, colour);
            case TEXT_COLOUR:
                return out.Ptextcolr(index, colour);
        }
        return;
    }
    static const char* const keywords[] = {"MARKERCOLR", "LINECOLR", "FILLCOLR", "TEXTCOLR"};
    textOut().colour(keywords[kind], indexed(), index, colour);
}

// ---- The metafile frame ----

SbVec2f SoVectorizeCGMAction::extentOrigin() const {
    return isInPage() ? getPagePosition() : getStartPosition();
}

SbVec2f SoVectorizeCGMAction::extentSize() const {
    return isInPage() ? getPageSize() : getDrawingDimensions();
}

void SoVectorizeCGMAction::writeHeader() {
    if (binary()) {
        writer->allocateBuffer();
        writeBinaryHeader();
    } else {
        SbColor background;
        const bool withBackground = getBackgroundColor(&background) != 0;
        background = translateColor(background);
        textOut().header(version(), indexed(), withBackground ? &background : nullptr,
                         extentOrigin(), extentSize(),
                         indexed() ? colourTable() : std::vector<int>());
    }
    resetAttributeCache();
}

void SoVectorizeCGMAction::writeBinaryHeader() {
    SoCGMBinaryElements& e = binaryOut();
    e.Pbegmf("PlotWerk CGM OUTPUT", indexed());
    e.Pmfversion(version());
    e.Pmfdesc("PlotWerk CGM METAFILE OUTPUT");
    e.Pmfelemlist();
    e.Pvdctype(1);
    e.Pintegerprec(-32767, 32767);
    e.Prealprec(-32767.0, 32767.0, 8);
    e.Pindexprec(-32767, 32767);
    e.Pcolrprec(255);
    e.Pcolrindexprec(255);
    const int lowest[3] = {0, 0, 0};
    const int highest[3] = {255, 255, 255};
    e.Pcolrvalueext(lowest, highest);
    e.Pmaxcolrindex(255);
    e.Pfontlist(SoCGMFontTable::names(), SoCGMFontTable::COUNT);
    e.Pbegpic("Binary Image from PlotWerk");
    e.Pscalemode(1, 1.0);
    e.Plinewidthmode(0);
    e.Pmarkersizemode(0);
    e.Pedgewidthmode(0);
    SbColor background;
    if (getBackgroundColor(&background) && !indexed()) e.Pbackcolr(translateColor(background));
    e.Pcolrmode(indexed() ? 0 : 1);
    const SbVec2f origin = extentOrigin();
    const SbVec2f size = extentSize();
    e.Pvdcext(origin[0], origin[1], origin[0] + size[0], origin[1] + size[1]);
    e.Pbegpicbody();
    e.Pvdcrealprec(-32767.0, 32767.0, 8);
    e.Pedgevis(0);
    if (!indexed()) return;
    const std::vector<int> table = colourTable();
    e.Pcolrtable(0, table.data(), static_cast<int>(table.size() / 3));
}

std::vector<int> SoVectorizeCGMAction::colourTable() const {
    const int penCount = getPenNum();
    std::vector<SbColor> pens(static_cast<std::size_t>(penCount));
    if (penCount > 0) getPenDescription(pens.data(), nullptr);
    const int entries = penCount == 0 ? 256 : std::min(penCount + 1, 256);
    std::vector<int> table(static_cast<std::size_t>(entries) * 3);
    auto set = [&table](int entry, const SbColor& c) {
        for (int k = 0; k < 3; ++k)
            table[static_cast<std::size_t>(entry * 3 + k)] = SoColorByte::of(c[k]);
    };
    // Entry 0 is the background slot: the background when there is one.
    SbColor background;
    if (getBackgroundColor(&background))
        set(0, translateColor(background));
    else
        set(0, penCount == 0 ? black : pens[0]);
    for (int entry = 1; entry < entries; ++entry) {
        if (penCount > 0)
            set(entry, pens[static_cast<std::size_t>(entry - 1)]);
        else if (entry == 255)
            set(entry, SbColor(1.0f, 1.0f, 1.0f));
        else
            SoColorCube::colorOf(entry - 1, &table[static_cast<std::size_t>(entry * 3)]);
    }
    return table;
}

void SoVectorizeCGMAction::resetAttributeCache() {
    lastLineWidth = 0.0f;
    lastLinePattern = 0xFFFF;
    lastPatternFactor = 1;
    lastFontSize = -1.0f;
    lastFontName.makeEmpty();
    lastJustification = -1;
    lastTextAngle = 0.0f;
    currentPatternIndex = 1;
    clearPatternRecords();
    std::fill(std::begin(lastColourIndex), std::end(lastColourIndex), 0);
    lastColour = black;
}

void SoVectorizeCGMAction::clearPatternRecords() {
    for (int i = 0; i < patternRecords.getLength(); ++i)
        delete static_cast<PatternRecord*>(patternRecords[i]);
    patternRecords.truncate(0);
    patternCount = 0;
}

void SoVectorizeCGMAction::writeFooter() {
    if (!binary()) {
        textOut().footer();
        return;
    }
    binaryOut().Pendpic();
    binaryElements->Pendmf();
    writer->flushWriteBuffer();
}

SbBox2f SoVectorizeCGMAction::getClippingLimits() const {
    const SbVec2f origin = getViewportRegion().getViewportOrigin();
    float xmin = origin[0] * getWidth();
    float ymin = origin[1] * getHeight();
    if (!binary()) {
        xmin += getOffsetX();
        ymin += getOffsetY();
    }
    return SbBox2f(xmin, ymin, xmin + getViewportWidth(), ymin + getViewportHeight());
}

void SoVectorizeCGMAction::setHardwareClip() {
    const SbBox2f limits = getClippingLimits();
    const SbVec2f low = limits.getMin();
    const SbVec2f high = limits.getMax();
    if (binary()) {
        binaryOut().Pcliprect(SbVec4f(low[0], low[1], 0, 1), SbVec4f(high[0], high[1], 0, 1));
        return;
    }
    // The limits are on the sheet already: written as they are.
    clearText->setPointOffset(0.0f, 0.0f);
    clearText->cliprect(low[0], low[1], high[0], high[1]);
}

void SoVectorizeCGMAction::printBorder() {
    float borderWidth = 0.0f;
    SbColor borderColour;
    getBorder(&borderWidth, &borderColour);
    if (!(borderWidth > 0.0f)) return;
    const float w = getWidth();
    const float h = getHeight();
    if (binary())
        binaryOut().Pcliprect(SbVec4f(0, 0, 0, 1), SbVec4f(w, h, 0, 1));
    else
        textOut().cliprect(0.0f, 0.0f, w, h);
    const SbVec4f corners[5] = {
        {0, 0, 0, 1}, {w, 0, 0, 1}, {w, h, 0, 1}, {0, h, 0, 1}, {0, 0, 0, 1}};
    const SbColor translated = translateColor(borderColour);
    printPolyLine(corners, 5, &translated, 0, borderWidth, 0xFFFF, 1);
}

void SoVectorizeCGMAction::printBackground() {}

// ---- Lines ----

void SoVectorizeCGMAction::printPolyLine(const SbVec4f* points, int n, const SbColor* colors, int,
                                         float lineWidth, unsigned short linePattern,
                                         int linePatternScaleFactor) {
    if (!points || n <= 0) return;
    const float width = (lineWidth == 0.0f ? 1.0f : lineWidth) * getNominalWidth();
    int index = 0;
    SbColor colour;
    assignColor(colors ? colors[0] : black, width, &index, &colour);
    writeLineStyle(linePattern, linePatternScaleFactor);
    if (width != lastLineWidth) {
        lastLineWidth = width;
        if (binary())
            binaryOut().Plinewidth(width);
        else
            textOut().lineWidth(width);
    }
    if (colourChanged(LINE_COLOUR, index, colour)) writeColourElement(LINE_COLOUR, index, colour);
    if (binary())
        binaryOut().Pline(points, n);
    else
        textOut().pointList("LINE", points, n, ", ");
}

void SoVectorizeCGMAction::writeLineStyle(unsigned short pattern, int factor) {
    lineEndStyle = getLineEndStyle();
    lineJoinStyle = getLineJoinsStyle();
    miterLimit = getMiterLimit();
    const bool changed =
        pattern != lastLinePattern || (factor != lastPatternFactor && pattern != 0xFFFF);
    int type = 0;
    bool userDefined = false;
    std::vector<int> runs;
    if (changed) {
        lastLinePattern = pattern;
        lastPatternFactor = factor;
        if (pattern == 0xFFFF) {
            type = SoCGMLineType::SOLID;
        } else {
            runs = SoCGMLineType::runs(pattern);
            userDefined = version() != 1;
            type = userDefined ? SoCGMLineType::nextUserType() : SoCGMLineType::standardType(runs);
        }
    }
    // A version 1 metafile has no standard type for a pattern without dashes: it keeps the
    // type it had.
    const bool writeType = changed && type != 0;
    const float dashSize = getLinePatternSize() * static_cast<float>(lastPatternFactor);
    const bool extended = version() == 3;
    if (binary()) {
        SoCGMBinaryElements& out = binaryOut();
        if (extended && changed && userDefined)
            out.Plineedgetypedef(type, dashSize, runs.data(), static_cast<int>(runs.size()));
        if (writeType) out.Plinetype(type);
        if (extended) {
            out.Plinecap(lineCap(lineEndStyle));
            out.Plinejoin(lineJoin(lineJoinStyle));
            out.Pmitrelimit(miterLimit);
        }
        return;
    }
    SoCGMClearTextElements& out = textOut();
    if (extended && changed && userDefined) out.lineEdgeTypeDefinition(type, dashSize, runs);
    if (writeType) out.lineType(type);
    if (extended)
        out.lineCapJoinAndMitre(lineCap(lineEndStyle), lineJoin(lineJoinStyle), miterLimit);
}

// ---- Polygons ----

void SoVectorizeCGMAction::printPolygon(const SbVec4f* points, int n, const SbColor* colors, int,
                                        const SbString& patternString1,
                                        const SbString& patternString2,
                                        const unsigned char* pattern) {
    if (!points || n <= 0) return;
    int index = 0;
    SbColor colour;
    assignColor(colors ? colors[0] : black, getNominalWidth(), &index, &colour);
    bool isNew = false;
    if (pattern) currentPatternIndex = patternIndexOf(patternString1, patternString2, &isNew);
    const float patternSize = getPixelImageSize() * 32.0f;
    SbColor background;
    getBackgroundColor(&background);
    const bool transparency = version() > 2;
    if (binary()) {
        SoCGMBinaryElements& out = binaryOut();
        if (pattern && transparency) out.Ptranspcellcolr(true, 0, background);
        out.Pintstyle(pattern ? 2 : 1);
        if (pattern) out.Ppatsize(patternSize);
    } else {
        SoCGMClearTextElements& out = textOut();
        out.interiorStyle(pattern != nullptr);
        if (pattern) out.patternSize(patternSize);
        if (pattern && transparency) out.transparentCells(true, indexed(), background, "  ");
    }
    const bool changed = colourChanged(FILL_COLOUR, index, colour);
    if (changed || isNew) {
        if (pattern)
            writePatternTable(pattern, index, colour);
        else
            writeColourElement(FILL_COLOUR, index, colour);
    }
    if (binary()) {
        SoCGMBinaryElements& out = binaryOut();
        if (pattern) out.Ppatindex(currentPatternIndex);
        out.Ppolygon(points, n);
        if (transparency) out.Ptranspcellcolr(false, 0, background);
        return;
    }
    SoCGMClearTextElements& out = textOut();
    if (pattern) out.patternIndex(currentPatternIndex);
    out.pointList("POLYGON", points, n, ", ");
    if (pattern && transparency) out.transparentCells(false, indexed(), background, "  ");
}

int SoVectorizeCGMAction::patternIndexOf(const SbString& name1, const SbString& name2,
                                         bool* isNew) {
    for (int k = 0; k < patternRecords.getLength(); ++k) {
        const PatternRecord* record = static_cast<const PatternRecord*>(patternRecords[k]);
        if (record->name1 == name1 && record->name2 == name2) return k + 1;
    }
    patternRecords.append(new PatternRecord{name1, name2});
    *isNew = true;
    return ++patternCount;
}

void SoVectorizeCGMAction::writePatternTable(const unsigned char* pattern, int index,
                                             const SbColor& colour) {
    // Rows from the top of the mask down, each byte's bits from the most significant:
    // set bits take the fill, clear bits the background (transparent in indexed colour).
    SbColor background;
    getBackgroundColor(&background);
    std::vector<int> indices;
    std::vector<SbColor> colours;
    for (int row = 31; row >= 0; --row)
        for (int byte = 0; byte < 4; ++byte)
            for (int bit = 7; bit >= 0; --bit) {
                const bool set = (pattern[row * 4 + byte] >> bit) & 1;
                indices.push_back(set ? index : 0);
                colours.push_back(set ? colour : background);
            }
    if (binary()) {
        binaryOut().Ppattable(currentPatternIndex, indices.data(), colours.data());
        return;
    }
    std::vector<int> cells;
    if (indexed()) {
        cells = indices;
    } else {
        for (const SbColor& c : colours)
            for (int k = 0; k < 3; ++k) cells.push_back(SoColorByte::of(c[k]));
    }
    textOut().patternTable(currentPatternIndex, cells);
}

// ---- Markers ----

void SoVectorizeCGMAction::printPolyMark(const SbVec4f* points, int n, const SbColor* colors,
                                         int multicolor, float pointSize) {
    if (!points || n <= 0) return;
    const float size = (pointSize == 0.0f ? 1.0f : pointSize) * getNominalWidth();
    if (binary()) {
        binaryOut().Pmarkertype(1);
        binaryOut().Pmarkersize(size);
    } else {
        textOut().markerTypeAndSize(size);
    }
    if (multicolor && colors) {
        writeMarkerRuns(points, n, colors);
        return;
    }
    int index = 0;
    SbColor colour;
    assignColor(colors ? colors[0] : black, getNominalWidth(), &index, &colour);
    if (colourChanged(MARKER_COLOUR, index, colour))
        writeColourElement(MARKER_COLOUR, index, colour);
    if (binary())
        binaryOut().Pmarker(points, n);
    else
        textOut().pointList("MARKER", points, n, " ");
}

void SoVectorizeCGMAction::writeMarkerRuns(const SbVec4f* points, int n, const SbColor* colors) {
    // Points of one colour share a marker element; a colour change ends it.
    std::vector<SbVec4f> run;
    auto closeRun = [this, &run]() {
        if (run.empty()) return;
        if (binary())
            binaryOut().Pmarker(run.data(), static_cast<int>(run.size()));
        else
            textOut().markerRun(run.data(), static_cast<int>(run.size()));
        run.clear();
    };
    for (int i = 0; i < n; ++i) {
        int index = 0;
        SbColor colour;
        assignColor(colors[i], getNominalWidth(), &index, &colour);
        if (colourChanged(MARKER_COLOUR, index, colour)) {
            closeRun();
            writeColourElement(MARKER_COLOUR, index, colour);
        }
        run.push_back(points[i]);
    }
    closeRun();
}

void SoVectorizeCGMAction::printPolyMark(const SbVec4f* points, int n, const SbColor* colors,
                                         int multicolor, SoMarkerSet* markerSet) {
    if (!points || n <= 0 || !markerSet) return;
    SbColor transparent;
    if (!indexed()) {
        SbColor background;
        getBackgroundColor(&background);
        int unused = 0;
        assignColor(translateColor(background), getNominalWidth(), &unused, &transparent);
    }
    const bool transparency = version() > 2;
    if (transparency) {
        if (binary())
            binaryOut().Ptranspcellcolr(true, 0, transparent);
        else
            textOut().transparentCells(true, indexed(), transparent, " ");
    }
    const int count = markerSet->markerIndex.getNum();
    for (int i = 0, j = 0; i < n && count > 0; ++i, j = (j + 1) % count) {
        const SbColor& colour = colors ? colors[multicolor ? i : 0] : black;
        writeMarkerBitmap(points[i], markerSet->markerIndex[j], colour, transparent);
    }
    if (transparency) {
        if (binary())
            binaryOut().Ptranspcellcolr(false, 0, transparent);
        else
            textOut().transparentCells(false, indexed(), transparent, " ");
    }
}

void SoVectorizeCGMAction::writeMarkerBitmap(const SbVec4f& point, int markerIndex,
                                             const SbColor& colour, const SbColor& transparent) {
    SbVec2s size;
    const unsigned char* bytes = nullptr;
    bool isLSBFirst = false;
    if (!SoMarkerSet::getMarker(markerIndex, size, bytes, isLSBFirst)) return;
    const int w = size[0];
    const int h = size[1];
    if (w <= 0 || h <= 0) return;
    const float halfWidth = static_cast<float>(w) * getNominalWidth() / 2.0f;
    const float halfHeight = static_cast<float>(h) * getNominalWidth() / 2.0f;
    int index = 0;
    SbColor markerColour;
    assignColor(colour, getNominalWidth(), &index, &markerColour);
    const SbVec4f corners[3] = {SbVec4f(point[0] - halfWidth, point[1] + halfHeight, 0, 1),
                                SbVec4f(point[0] + halfWidth, point[1] - halfHeight, 0, 1),
                                SbVec4f(point[0] + halfWidth, point[1] + halfHeight, 0, 1)};
    std::vector<int> indices;
    std::vector<SbColor> colours;
    for (int row = 0; row < h; ++row)
        for (int column = 0; column < w; ++column) {
            const bool set = SoMarkerSet::isMarkerBitSet(markerIndex, (h - 1 - row) * w + column);
            indices.push_back(set ? index : 0);
            colours.push_back(set ? markerColour : transparent);
        }
    writeCellArray(corners, w, h, indices, colours, w);
}

void SoVectorizeCGMAction::writeCellArray(const SbVec4f corners[3], int columns, int rows,
                                          const std::vector<int>& indices,
                                          const std::vector<SbColor>& colours, int cellsPerLine) {
    if (binary()) {
        binaryOut().Pcellarray(corners[0], corners[1], corners[2], columns, rows, indices.data(),
                               colours.data());
        return;
    }
    std::vector<int> cells;
    if (indexed()) {
        cells = indices;
    } else {
        cells.reserve(colours.size() * 3);
        for (const SbColor& c : colours)
            for (int k = 0; k < 3; ++k) cells.push_back(SoColorByte::of(c[k]));
    }
    textOut().cellArray(corners, columns, rows, indexed(), cells, cellsPerLine);
}

// ---- Text ----

void SoVectorizeCGMAction::printText2(SbVec4f origin, SbColor color, const SbString& fontName,
                                      float fontSize, const SbString& string, int justification,
                                      float angle) {
    int index = 0;
    SbColor colour;
    assignColor(color, getNominalWidth(), &index, &colour);
    if (colourChanged(TEXT_COLOUR, index, colour)) writeColourElement(TEXT_COLOUR, index, colour);
    const float height = fontSize * getNominalWidth() * 0.6f;
    if (binary()) {
        // Binary metafiles carry the orientation and height with every text.
        binaryOut().Pcharori(-std::sin(angle), std::cos(angle), std::cos(angle), std::sin(angle));
        binaryOut().Pcharheight(height);
    } else if (fontSize != lastFontSize) {
        lastFontSize = fontSize;
        textOut().charHeight(height);
    }
    writeTextAttributes(fontName, justification);
    if (binary()) {
        binaryOut().Ptext(origin, string);
        return;
    }
    if (angle != lastTextAngle) {
        lastTextAngle = angle;
        textOut().charOrientation(angle);
    }
    textOut().text(origin, string);
}

void SoVectorizeCGMAction::writeTextAttributes(const SbString& fontName, int justification) {
    if (fontName != lastFontName) {
        lastFontName = fontName;
        // A font the table does not list leaves the metafile's font as it was.
        const int font = SoCGMFontTable::indexOf(fontName);
        if (font != 0) {
            if (binary())
                binaryOut().Ptextfontindex(font);
            else
                textOut().fontIndex(font);
        }
    }
    if (binary()) {
        SoCGMBinaryElements& out = binaryOut();
        out.Ptextprec(2);
        out.Ptextpath(0);
        out.Pcharspace(0.0);
        out.Pcharexpan(1.0);
    } else {
        textOut().textAttributes();
    }
    if (justification == lastJustification) return;
    lastJustification = justification;
    if (justification < 1 || justification > 3) return;
    static const char* const words[] = {"LEFT", "RIGHT", "CTR"};
    static const int alignments[] = {1, 3, 2};
    if (binary())
        binaryOut().Ptextalign(alignments[justification - 1]);
    else
        textOut().textAlignment(words[justification - 1]);
}

// ---- Images ----

void SoVectorizeCGMAction::printImage(const SbVec4f& origin, const unsigned char* pixels,
                                      SbVec2s& sourceSize, SbVec2s& requestedSize,
                                      int numComponents, SoImage::HorAlignment horAlignment,
                                      SoImage::VertAlignment vertAlignment) {
    const int columns = sourceSize[0];
    const int rows = sourceSize[1];
    if (!pixels || columns <= 0 || rows <= 0 || numComponents <= 0) return;
    const float w = getPixelImageSize() * requestedSize[0];
    const float h = getPixelImageSize() * requestedSize[1];
    const float left = horAlignment == SoImage::CENTER  ? origin[0] - w / 2.0f
                       : horAlignment == SoImage::RIGHT ? origin[0] - w
                                                        : origin[0];
    const float top = vertAlignment == SoImage::HALF  ? origin[1] + h / 2.0f
                      : vertAlignment == SoImage::TOP ? origin[1]
                                                      : origin[1] + h;
    // The clip box on the drawing, like the image: without the page offset.
    const SbVec2f viewport = getViewportRegion().getViewportOrigin();
    const float clipLeft = viewport[0] * getWidth();
    const float clipBottom = viewport[1] * getHeight();
    if (left > clipLeft + getViewportWidth() || left + w < clipLeft || top < clipBottom ||
        top - h > clipBottom + getViewportHeight())
        return;
    const SbVec4f corners[3] = {SbVec4f(left, top, 0, 1), SbVec4f(left + w, top - h, 0, 1),
                                SbVec4f(left + w, top, 0, 1)};
    std::vector<int> indices;
    std::vector<SbColor> colours;
    for (int row = rows - 1; row >= 0; --row)
        for (int column = 0; column < columns; ++column) {
            const unsigned char* pixel =
                pixels + (static_cast<std::size_t>(row) * columns + column) * numComponents;
            const SbColor source = numComponents < 3
                                       ? SbColor(pixel[0], pixel[0], pixel[0]) / 255.0f
                                       : SbColor(pixel[0], pixel[1], pixel[2]) / 255.0f;
            int index = 0;
            SbColor colour;
            assignColor(source, getNominalWidth(), &index, &colour);
            indices.push_back(index);
            colours.push_back(colour);
        }
    writeCellArray(corners, columns, rows, indices, colours, 20);
}
