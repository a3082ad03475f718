// The CGM backend. One metafile per document: the metafile descriptor (precisions, colour
// extent, fonts), one picture whose descriptor sets metric scaling and absolute widths, and
// its body. The action takes every decision once and hands the elements to the encoder of
// the output's encoding (SoCGMEncoder): clear text or binary.
//
// The attribute cache keeps the last value of every attribute written to this metafile, so
// that an attribute element is written only when its value changes; the next header starts
// it afresh, user-defined line type numbers included, so that a metafile's bytes never
// depend on what the process printed before.

#include <PlotWerk/SoCGMVectorOutput.h>
#include <PlotWerk/SoVectorizeCGMAction.h>
#include <Tessara/misc/SoPreferences.h>
#include <Tessara/nodes/SoMarkerSet.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "SoCGMBinaryEncoder.h"
#include "SoCGMClearTextElements.h"
#include "SoCGMFontTable.h"
#include "SoCGMLineType.h"
#include "frame/SoBackendActionSource.h"
#include "frame/SoColorByte.h"
#include "frame/SoColorCube.h"

namespace {

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

SoVectorizeCGMAction::SoVectorizeCGMAction()
    : binaryEncoder_(std::make_unique<SoCGMBinaryEncoder>(cgmOutput_.get(), bufferSizeSetting())),
      clearTextEncoder_(std::make_unique<SoCGMClearTextElements>(cgmOutput_.get())) {
    checkRegistration();
    adoptOutput(cgmOutput_.get());
}

SoVectorizeCGMAction::SoVectorizeCGMAction(const SoVectorizeCGMAction& other)
    : SoVectorizeAction(other),
      cgmOutput_(other.cgmOutput_),
      binaryEncoder_(std::make_unique<SoCGMBinaryEncoder>(cgmOutput_.get(), bufferSizeSetting())),
      clearTextEncoder_(std::make_unique<SoCGMClearTextElements>(cgmOutput_.get())),
      cache_(other.cache_) {
    adoptOutput(cgmOutput_.get());
}

SoVectorizeCGMAction& SoVectorizeCGMAction::operator=(const SoVectorizeCGMAction& other) {
    if (this == &other) return *this;
    SoVectorizeAction::operator=(other);
    cgmOutput_ = other.cgmOutput_;
    cache_ = other.cache_;
    adoptOutput(cgmOutput_.get());
    return *this;
}

SoVectorizeCGMAction::~SoVectorizeCGMAction() {
    // The base cannot reach writeFooter any more: a page left open is ended here.
    if (isInPage()) endPage();
    vectorOutput_ = nullptr;
}

SoCGMVectorOutput* SoVectorizeCGMAction::getCGMVectorOutput() const {
    return cgmOutput_.get();
}

// ---- Encoders and colours ----

SoCGMEncoder& SoVectorizeCGMAction::out() const {
    SoCGMEncoder& encoder = cgmOutput_->isBinary() != 0
                                ? static_cast<SoCGMEncoder&>(*binaryEncoder_)
                                : static_cast<SoCGMEncoder&>(*clearTextEncoder_);
    encoder.setPointOffset(getOffsetX(), getOffsetY());
    return encoder;
}

bool SoVectorizeCGMAction::indexed() const {
    return cgmOutput_->isIndexed() != 0;
}

int SoVectorizeCGMAction::version() const {
    return cgmOutput_->getVersion();
}

void SoVectorizeCGMAction::assignColor(SbColor colour, float width, int* index,
                                       SbColor* colourOut) {
    if (getPenNum() == 0) {
        *index = std::min(SoColorCube::indexOf(colour) + 1, 255);
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
    const bool indexChanged = cache_.colourIndex[kind].changesTo(index);
    const bool colourChanged = cache_.colour.changesTo(colour);
    return indexChanged || colourChanged;
}

void SoVectorizeCGMAction::AttributeCache::invalidate() {
    *this = AttributeCache();
    lineType.assume({0xFFFF, 0});
    textAngle.assume(0.0f);
    for (SoDeviceValue<int>& index : colourIndex) index.assume(0);
    colour.assume(black);
}

void SoVectorizeCGMAction::writeColourElement(ColourKind kind, int index, const SbColor& colour) {
    out().colour(static_cast<SoCGMEncoder::ColourKind>(kind), indexed(), index, colour);
}

// ---- The metafile frame ----

void SoVectorizeCGMAction::writeHeader() {
    SoCGMPictureSetup setup;
    setup.version = version();
    setup.indexed = indexed();
    SbColor background;
    if (getBackgroundColor(&background)) {
        background = translateColor(background);
        setup.background = &background;
    }
    setup.extentOrigin = isInPage() ? getPagePosition() : getStartPosition();
    setup.extentSize = isInPage() ? getPageSize() : getDrawingDimensions();
    if (setup.indexed) setup.colourTable = colourTable();
    out().header(setup);
    cache_.invalidate();
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

void SoVectorizeCGMAction::writeFooter() {
    out().footer();
}

SbBox2f SoVectorizeCGMAction::getClippingLimits() const {
    const SbVec2f origin = getViewportRegion().getViewportOrigin();
    float xmin = origin[0] * getWidth();
    float ymin = origin[1] * getHeight();
    if (out().clipsOnTheSheet()) {
        xmin += getOffsetX();
        ymin += getOffsetY();
    }
    return SbBox2f(xmin, ymin, xmin + getViewportWidth(), ymin + getViewportHeight());
}

void SoVectorizeCGMAction::setHardwareClip() {
    out().viewportClip(getClippingLimits());
}

void SoVectorizeCGMAction::printBorder() {
    float borderWidth = 0.0f;
    getBorder(&borderWidth, nullptr);
    if (!(borderWidth > 0.0f)) return;
    out().clipRectangle(0.0f, 0.0f, getWidth(), getHeight());
    outlineBorder();
}

void SoVectorizeCGMAction::printBackground() {}

// ---- Lines ----

void SoVectorizeCGMAction::printPolyLine(const SbVec4f* points, int n, const SbColor* colors, int,
                                         float lineWidth, unsigned short linePattern,
                                         int linePatternScaleFactor) {
    if (!points || n <= 0) return;
    const float width = getPrintedWidth(lineWidth);
    int index = 0;
    SbColor colour;
    assignColor(colors ? colors[0] : black, width, &index, &colour);
    writeLineStyle(linePattern, linePatternScaleFactor);
    if (cache_.lineWidth.changesTo(width)) out().lineWidth(width);
    if (colourChanged(LINE_COLOUR, index, colour)) writeColourElement(LINE_COLOUR, index, colour);
    out().polyline(points, n);
}

void SoVectorizeCGMAction::writeLineStyle(unsigned short pattern, int factor) {
    const bool changed = cache_.lineType.changesTo({pattern, pattern == 0xFFFF ? 0 : factor});
    int type = 0;
    bool userDefined = false;
    std::vector<int> runs;
    if (changed) {
        if (pattern == 0xFFFF) {
            type = SoCGMLineType::SOLID;
        } else {
            runs = SoCGMLineType::runs(pattern);
            userDefined = version() != 1;
            type = userDefined ? cache_.nextUserLineType-- : SoCGMLineType::standardType(runs);
        }
    }
    // A version 1 metafile has no standard type for a pattern without dashes: it keeps the
    // type it had.
    const bool writeType = changed && type != 0;
    const float dashSize = getLinePatternSize() * static_cast<float>(factor);
    const bool extended = version() == 3;
    SoCGMEncoder& encoder = out();
    if (extended && changed && userDefined) encoder.lineTypeDefinition(type, dashSize, runs);
    if (writeType) encoder.lineType(type);
    if (extended)
        encoder.lineCapJoinAndMitre(lineCap(getLineEndStyle()), lineJoin(getLineJoinsStyle()),
                                    getMiterLimit());
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
    if (pattern)
        cache_.currentPatternIndex = patternIndexOf(patternString1, patternString2, &isNew);
    SbColor background;
    getBackgroundColor(&background);
    const bool transparency = version() > 2;
    out().fillStyle(pattern != nullptr, getPixelImageSize() * 32.0f, transparency, indexed(),
                    background);
    const bool changed = colourChanged(FILL_COLOUR, index, colour);
    if (changed || isNew) {
        if (pattern)
            writePatternTable(pattern, index, colour);
        else
            writeColourElement(FILL_COLOUR, index, colour);
    }
    out().polygon(points, n, pattern ? cache_.currentPatternIndex : 0, transparency, indexed(),
                  background);
}

int SoVectorizeCGMAction::patternIndexOf(const SbString& name1, const SbString& name2,
                                         bool* isNew) {
    const std::array<SbString, 2> names{name1, name2};
    auto& known = cache_.patternNames;
    const auto found = std::find(known.begin(), known.end(), names);
    if (found != known.end()) return static_cast<int>(found - known.begin()) + 1;
    known.push_back(names);
    *isNew = true;
    return static_cast<int>(known.size());
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
    out().patternTable(cache_.currentPatternIndex, indices, colours, indexed());
}

// ---- Markers ----

void SoVectorizeCGMAction::printPolyMark(const SbVec4f* points, int n, const SbColor* colors,
                                         int multicolor, float pointSize) {
    if (!points || n <= 0) return;
    out().markerTypeAndSize(getPrintedWidth(pointSize));
    if (multicolor && colors) {
        writeMarkerRuns(points, n, colors);
        return;
    }
    int index = 0;
    SbColor colour;
    assignColor(colors ? colors[0] : black, getNominalWidth(), &index, &colour);
    if (colourChanged(MARKER_COLOUR, index, colour))
        writeColourElement(MARKER_COLOUR, index, colour);
    out().markers(points, n);
}

void SoVectorizeCGMAction::writeMarkerRuns(const SbVec4f* points, int n, const SbColor* colors) {
    // Points of one colour share a marker element; a colour change ends it.
    std::vector<SbVec4f> run;
    auto closeRun = [this, &run]() {
        if (run.empty()) return;
        out().markerRun(run.data(), static_cast<int>(run.size()));
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
    if (transparency) out().markerTransparency(true, indexed(), transparent);
    const int count = markerSet->markerIndex.getNum();
    for (int i = 0, j = 0; i < n && count > 0; ++i, j = (j + 1) % count) {
        const SbColor& colour = colors ? colors[multicolor ? i : 0] : black;
        writeMarkerBitmap(points[i], markerSet->markerIndex[j], colour, transparent);
    }
    if (transparency) out().markerTransparency(false, indexed(), transparent);
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
    out().cellArray(corners, w, h, indices, colours, indexed(), w);
}

// ---- Text ----

void SoVectorizeCGMAction::printText2(SbVec4f origin, SbColor color, const SbString& fontName,
                                      float fontSize, const SbString& string, int justification,
                                      float angle) {
    int index = 0;
    SbColor colour;
    assignColor(color, getNominalWidth(), &index, &colour);
    if (colourChanged(TEXT_COLOUR, index, colour)) writeColourElement(TEXT_COLOUR, index, colour);
    const bool sizeChanged = cache_.fontSize.changesTo(fontSize);
    out().textSize(fontSize * getNominalWidth() * 0.6f, angle, sizeChanged);
    writeTextAttributes(fontName, justification);
    out().text(origin, string, angle, cache_.textAngle.changesTo(angle));
}

void SoVectorizeCGMAction::writeTextAttributes(const SbString& fontName, int justification) {
    if (cache_.fontName.changesTo(fontName)) {
        // A font the table does not list leaves the metafile's font as it was.
        const int font = SoCGMFontTable::indexOf(fontName);
        if (font != 0) out().fontIndex(font);
    }
    out().textAttributes();
    if (!cache_.justification.changesTo(justification)) return;
    if (justification < 1 || justification > 3) return;
    out().textAlignment(justification);
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
    out().cellArray(corners, columns, rows, indices, colours, indexed(), 20);
}
