// The PostScript backend. A document is plain text, one statement per line: the header and
// procedure set (SoPSProcedureSet), the page set-up, then one statement per primitive that
// calls those procedures. Geometry is written as integers in a drawing unit of
// accuracy x 0.24 mm that the "scale" statement turns into points; this keeps documents
// small and exact to well under the width of a printed line.
//
// Every setting (colour, width, dash, marker size, font) is written only when it differs
// from the value the document already has; the current values are reset with every header
// and, for the font, after every restore (the font is part of the saved graphics state,
// while the other settings are definitions that a restore leaves alone).

#include <PlotWerk/SoPSVectorOutput.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/nodes/SoMarkerSet.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "SoPSCompaction.h"
#include "SoPSDash.h"
#include "SoPSPointBuffer.h"
#include "SoPSProcedureSet.h"
#include "frame/SoBackendActionSource.h"
#include "frame/SoControlCharacter.h"
#include "frame/SoDeviceInteger.h"
#include "frame/SoImagePlacement.h"

namespace {

constexpr float millimetresPerPoint = 0.35277778f;
constexpr double pointsPerMillimetre = 2.834645658648312;
constexpr int pointsPerGroup = 100;
constexpr int level1Chunk = 248;

// A backslash too: written as it is, it would take the next character as an escape, and a
// text ending in one, as C:\ does, would leave its string open to the end of the document,
// which no interpreter then reads. Control characters print as spaces, as in every format: a
// line break would start a line of the document, which a spooler reads for comments.
std::string escapeForString(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size() + 8);
    for (char c : text) {
        if (c == '(' || c == ')' || c == '\\') escaped += '\\';
        escaped += SoControlCharacter::is(static_cast<unsigned char>(c)) ? ' ' : c;
    }
    return escaped;
}

// The bytes of a text in the document: Latin-1 when it fits, else UTF-8. The degree sign
// becomes the ring accent of the standard encoding, the closest glyph the fonts have.
std::string documentBytes(const SbString& string) {
    const char ring = static_cast<char>(0xCA);
    std::string bytes;
    if (!string.isUnicode()) {
        bytes = string.toLatin1();
        for (char& c : bytes)
            if (static_cast<unsigned char>(c) == 0xB0) c = ring;
        return bytes;
    }
    const std::string utf8 = string.getString();
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (static_cast<unsigned char>(utf8[i]) == 0xC2 && i + 1 < utf8.size() &&
            static_cast<unsigned char>(utf8[i + 1]) == 0xB0) {
            bytes += ring;
            ++i;
        } else {
            bytes += utf8[i];
        }
    }
    return bytes;
}

void replaceFirst(std::string& text, const std::string& from, const std::string& to) {
    const std::size_t at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
}

}  // namespace

PW_BACKEND_ACTION_SOURCE(SoVectorizePSAction)

// ---- Construction ----

SoVectorizePSAction::SoVectorizePSAction() {
    checkRegistration();
    adoptOutput(psOutput_.get());
}

SoVectorizePSAction::SoVectorizePSAction(const SoVectorizePSAction& other)
    : SoVectorizeAction(other), psOutput_(other.psOutput_), document_(other.document_) {
    adoptOutput(psOutput_.get());
}

SoVectorizePSAction& SoVectorizePSAction::operator=(const SoVectorizePSAction& other) = default;

SoVectorizePSAction::~SoVectorizePSAction() {
    // The base cannot reach writeFooter any more: a page left open is ended here.
    if (isInPage()) endPage();
    vectorOutput_ = nullptr;
}

SoPSVectorOutput* SoVectorizePSAction::getPSVectorOutput() const {
    return psOutput_.get();
}

// ---- Writers ----

int SoVectorizePSAction::toUnits(float millimetres) const {
    return SoDeviceInteger::truncated(millimetres / document_.drawingUnit + 0.5f);
}

void SoVectorizePSAction::writeText(const std::string& text) {
    psOutput_->write(text);
}

void SoVectorizePSAction::writeCompactedText(std::string line) {
    pcp079(line);
    line += '\n';
    psOutput_->write(line);
}

void SoVectorizePSAction::pcp079(std::string& line) {
    SoPSCompaction::compact(line);
}

// ---- Document frame ----

void SoVectorizePSAction::writeHeader() {
    const bool colored = psOutput_->getColored() != 0;
    document_.level = psOutput_->getLevel();
    writeText(patchedHeader(colored));

    document_.smoothShading = (document_.level == 3 && getPenNum() == 0) ? 1 : 0;
    if (document_.level == 1) {
        writeText(SoPSProcedureSet::polygonsLevel1(colored));
    } else {
        writeText(SoPSProcedureSet::polygonsLevel2(colored));
        if (document_.level == 3) writeText(SoPSProcedureSet::smoothShading(colored));
    }
    writeText(SoPSProcedureSet::closingBlock(colored));

    document_.drawingUnit = psOutput_->getNumericAccuracy() * 0.24f;
    const double scale = document_.drawingUnit * pointsPerMillimetre;
    write("%f %f scale\n", scale, scale);
    resetCurrentValues();
    writeLineStyle();
    writePageTransform();
}

std::string SoVectorizePSAction::patchedHeader(bool colored) const {
    std::string header = SoPSProcedureSet::header(colored);
    replaceFirst(header, "PS-Adobe-x.0", SbNumberFormat::format("PS-Adobe-%u.0", document_.level));
    const SbVec2f page = isInPage() ? getPageSize() : getDrawingDimensions();
    const std::size_t box = header.find("BoundingBox");
    if (box != std::string::npos) {
        const std::size_t end = header.find('\n', box);
        header.replace(
            box, end - box,
            SbNumberFormat::format("BoundingBox: 0 0 %4d %4d",
                                   SoDeviceInteger::truncated(page[0] / millimetresPerPoint),
                                   SoDeviceInteger::truncated(page[1] / millimetresPerPoint)));
    }
    // The orientation comment is only trusted by level-3 readers; the others would rotate
    // a drawing that the page set-up below already rotates.
    if (getOrientation() == PORTRAIT || document_.level < 3)
        replaceFirst(header, "Orientation: Landscape", std::string(22, ' '));
    return header;
}

void SoVectorizePSAction::resetCurrentValues() {
    document_.device.invalidate();
    // What writeLineStyle() below sets up.
    document_.device.pointSize.assume(getNominalWidth());
    document_.device.lineWidth.assume(getNominalWidth());
    document_.device.lineType.assume({0xFFFF, 0});
    document_.device.dashStart.assume(0);
    document_.bitmaps.clear();
    document_.patterns.clear();
    document_.currentPatternIndex = 0;
}

void SoVectorizePSAction::writeLineStyle() {
    static const int capOfEndStyle[] = {0, 2, 1, 1};
    static const int joinOfJoinStyle[] = {2, 0, 0, 2, 1, 1};
    const int endStyle = getLineEndStyle();
    const int joinStyle = getLineJoinsStyle();
    const int cap = endStyle >= 0 && endStyle < 4 ? capOfEndStyle[endStyle] : 0;
    const int join = joinStyle >= 0 && joinStyle < 6 ? joinOfJoinStyle[joinStyle] : 2;
    write("/linecap %d def\n", cap);
    write("linecap setlinecap\n");
    write("%d setlinejoin\n", join);
    write("%.2f setmiterlimit\n", getMiterLimit());
    write("%d ps\n", toUnits(getNominalWidth()));
    write("%d ep\n", toUnits(getNominalWidth()));
    write("[] 0 tl\n");
}

void SoVectorizePSAction::writePageTransform() {
    const SbVec2f origin = isInPage() ? getPagePosition() : getStartPosition();
    if (getOrientation() != PORTRAIT) {
        const SbVec2f page = isInPage() ? getPageSize() : getDrawingDimensions();
        write("%d %d translate\n", toUnits(origin[1]), toUnits(origin[0]));
        write("90 rotate\n0 -%d translate\n", toUnits(page[1]));
    } else {
        write("%d %d translate\n", toUnits(origin[0]), toUnits(origin[1]));
    }
}

void SoVectorizePSAction::writeFooter() {
    write("showpage\n");
}

void SoVectorizePSAction::setHardwareClip() {
    const SbBox2f limits = getClippingLimits();
    if (isHardwareClipSet()) {
        write("grestore\n");
        document_.device.font.invalidate();
    }
    const int xmin = toUnits(limits.getMin()[0]);
    const int ymin = toUnits(limits.getMin()[1]);
    const int xmax = toUnits(limits.getMax()[0]);
    const int ymax = toUnits(limits.getMax()[1]);
    write(
        "newpath\n%d %d moveto\n%d %d lineto\n%d %d lineto\n%d %d lineto\n%d %d lineto\n"
        "closepath\ngsave\nclip\n",
        xmin, ymin, xmax, ymin, xmax, ymax, xmin, ymax, xmin, ymin);
}

void SoVectorizePSAction::printBackground() {
    if (isInPage()) write("gsave\n%d %d translate\n", toUnits(getShiftX()), toUnits(getShiftY()));
    fillBackground();
}

void SoVectorizePSAction::printBorder() {
    document_.device.font.invalidate();
    const int w = toUnits(getWidth());
    const int h = toUnits(getHeight());
    // A drawing in which nothing was visible never set a clip: there is no save to close,
    // and a restore without one would drop the page set-up of the whole document.
    if (isHardwareClipSet()) write("grestore\n");
    write(
        "newpath\n0 0 moveto\n%d 0 lineto\n%d %d lineto\n0 %d lineto\n0 0 lineto\n"
        "closepath\ngsave\nclip\n",
        w, w, h, h);
    outlineBorder();
    write("grestore\n");
    if (isInPage()) write("grestore\n");
}

// ---- Settings ----

void SoVectorizePSAction::assignColor(SbColor color, float width) {
    color = getPenColor(color, width);
    const SbVec3s key(static_cast<short>(color[0] * 100), static_cast<short>(color[1] * 100),
                      static_cast<short>(color[2] * 100));
    if (!document_.device.color.changesTo(key)) return;
    if (psOutput_->getColored())
        writeCompacted("%.2f %.2f %.2f gc", color[0], color[1], color[2]);
    else
        writeCompacted("%.2f gb", 0.3 * color[0] + 0.59 * color[1] + 0.11 * color[2]);
}

void SoVectorizePSAction::writeLineWidth(float millimetres) {
    if (document_.device.lineWidth.changesTo(millimetres))
        writeCompacted("%d ep", toUnits(millimetres));
}

void SoVectorizePSAction::useDash(unsigned short pattern, int factor, float phase) {
    const bool solid = pattern == 0xFFFF;
    const bool typeChanged = document_.device.lineType.changesTo({pattern, solid ? 0 : factor});
    // Only the part of a repeat counts: a long line's run would overflow the offset.
    const double period = double(getLinePatternSize()) * factor;
    const double within = period > 0.0 ? std::fmod(double(phase), period) : 0.0;
    const int start = solid || !(within > 0.0) ? 0 : toUnits(static_cast<float>(within));
    if (document_.device.dashStart.changesTo(start) || typeChanged)
        writeDash(pattern, factor, start);
}

void SoVectorizePSAction::writeDash(unsigned short pattern, int factor, int start) {
    if (pattern == 0xFFFF) {
        write("[] 0 tl\n");
        return;
    }
    const float bitLength = getLinePatternSize() / 16.0f * static_cast<float>(factor);
    const SoPSDash dash(pattern, bitLength, getNominalWidth(), document_.drawingUnit,
                        document_.level);
    if (dash.isTruncated())
        SoDebugError::postWarning("SoVectorizePSAction::printPolyLine",
                                  "The current PS Level is %u which does not support patterns "
                                  "with more than 11 elements.\nPattern truncation made.",
                                  document_.level);
    write("[%s] %d tl\n", dash.getElements().c_str(), dash.getOffset() + start);
}

// ---- Lines and dots ----

namespace {

/// How long segment i of a polyline runs on the drawing.
float segmentLength(const SbVec4f* points, int i) {
    return std::hypot(points[i + 1][0] - points[i][0], points[i + 1][1] - points[i][1]);
}

}  // namespace

void SoVectorizePSAction::printPolyLine(const SbVec4f* points, int n, const SbColor* colors,
                                        int multicolor, float lineWidth, unsigned short linePattern,
                                        int linePatternScaleFactor) {
    if (n <= 0) return;
    const float width = getPrintedWidth(lineWidth);
    writeLineWidth(width);
    float phase = getLinePatternPhase();
    useDash(linePattern, linePatternScaleFactor, phase);
    if (!multicolor && linePattern == 0xFFFF) {
        assignColor(colors[0], width);
        writePointGroups(points, n, "ppl");
        return;
    }
    if (!multicolor) {
        // Every group of points is a stroke of its own: each continues the dashes of the
        // groups before it along the line.
        assignColor(colors[0], width);
        std::vector<float> reached(static_cast<std::size_t>(n), phase);
        for (int i = 1; i < n; ++i)
            reached[std::size_t(i)] = reached[std::size_t(i - 1)] + segmentLength(points, i - 1);
        writePointGroups(points, n, "ppl", [&](int first) {
            useDash(linePattern, linePatternScaleFactor, reached[std::size_t(first)]);
        });
        return;
    }
    // One stroke a segment: each continues the dashes of the one before.
    for (int i = 0; i + 1 < n; ++i) {
        useDash(linePattern, linePatternScaleFactor, phase);
        phase += segmentLength(points, i);
        assignColor(colors[i], width);
        writeCompacted("%d %d %d %d 2 ppl", toUnits(points[i][0]), toUnits(points[i][1]),
                       toUnits(points[i + 1][0]), toUnits(points[i + 1][1]));
    }
}

void SoVectorizePSAction::writePointGroups(const SbVec4f* points, int n, const char* procedure,
                                           const std::function<void(int)>& beforeGroup) {
    SoPSPointBuffer buffer(psOutput_.get(), 78);
    int count = 0;
    for (int i = n - 1; i >= 0; --i) {
        buffer.appendPoint(toUnits(points[i][0]), toUnits(points[i][1]));
        buffer.endItem();
        if (++count < pointsPerGroup) continue;
        buffer.flushLine();
        if (beforeGroup) beforeGroup(i);
        write("%d %s\n", pointsPerGroup, procedure);
        count = 0;
        // The next group starts again at this point, so that the groups join.
        if (i > 0) ++i;
    }
    if (count == 0) return;
    buffer.flushLine();
    if (beforeGroup) beforeGroup(0);
    write("%d %s\n", count, procedure);
}

void SoVectorizePSAction::printPolyMark(const SbVec4f* points, int n, const SbColor* colors,
                                        int multicolor, float pointSize) {
    if (n <= 0) return;
    const float nominal = getNominalWidth();
    const float size = getPrintedWidth(pointSize);
    if (document_.device.pointSize.changesTo(size)) write("%d ps\n", toUnits(size));
    if (!multicolor) {
        assignColor(colors[0], nominal);
        writePointGroups(points, n, "ppmp");
        return;
    }
    for (int i = 0; i < n; ++i) {
        assignColor(colors[i], nominal);
        writeCompacted("%d %d 1 ppmp", toUnits(points[i][0]), toUnits(points[i][1]));
    }
}

// ---- Bitmap markers ----

void SoVectorizePSAction::printPolyMark(const SbVec4f* points, int n, const SbColor* colors, int,
                                        SoMarkerSet* markerSet) {
    if (n <= 0 || !markerSet) return;
    const SoMFInt32& indices = markerSet->markerIndex;
    if (indices.getNum() == 0) return;
    const float nominal = getNominalWidth();
    int cursor = 0;
    for (int i = 0; i < n; ++i) {
        const int markerIndex = indices[cursor];
        cursor = (cursor + 1) % indices.getNum();
        SbVec2s size;
        const unsigned char* bytes = nullptr;
        bool isLSBFirst = false;
        if (!SoMarkerSet::getMarker(markerIndex, size, bytes, isLSBFirst)) continue;
        const std::vector<int>& bitmaps = document_.bitmaps;
        if (std::find(bitmaps.begin(), bitmaps.end(), markerIndex) == bitmaps.end())
            createBitmap(markerIndex, size);
        if (document_.device.bitmap.changesTo(markerIndex))
            write("/currentBitmapIndex {Bitmap%d} bind def\n", markerIndex);
        // Each marker takes its point's colour: the caller passes one per point here.
        assignColor(colors[i], nominal);
        const double width = size[0] * static_cast<double>(nominal);
        const double height = size[1] * static_cast<double>(nominal);
        write("%d %d %d %d DisplayBitmap\n", toUnits(static_cast<float>(width)),
              toUnits(static_cast<float>(height)),
              toUnits(static_cast<float>(points[i][0] - width / 2)),
              toUnits(static_cast<float>(points[i][1] - height / 2)));
    }
}

void SoVectorizePSAction::createBitmap(int markerIndex, const SbVec2s& size) {
    document_.bitmaps.push_back(markerIndex);
    const int width = size[0];
    const int height = size[1];
    write("/Bitmap%d\n{ %d %d\n true\n [%d 0 0 %d 0 0]\n{<", markerIndex, width, height, width,
          height);
    static const char hex[] = "0123456789ABCDEF";
    std::string data;
    int digits = 0;
    for (int row = 0; row < height; ++row) {
        for (int column = 0; column < width; column += 8) {
            unsigned int byte = 0;
            for (int bit = 0; bit < 8; ++bit)
                if (column + bit < width &&
                    SoMarkerSet::isMarkerBitSet(markerIndex, row * width + column + bit))
                    byte |= 0x80u >> bit;
            data += hex[byte >> 4];
            data += hex[byte & 15];
            if ((digits += 2) % 40 == 0) data += '\n';
        }
    }
    writeText(data);
    write(">} imagemask\n} bind def\n");
}

// ---- Polygons ----

void SoVectorizePSAction::printPolygon(const SbVec4f* points, int n, const SbColor* colors,
                                       int multicolor, const SbString&, const SbString&,
                                       const unsigned char* pattern) {
    if (n <= 0) return;
    const float nominal = getNominalWidth();
    writeLineWidth(nominal);
    const int smooth = document_.smoothShading && !pattern && multicolor ? 1 : 0;
    if (!smooth) assignColor(colors[0], nominal);
    if (pattern) selectPattern(pattern, colors[0]);
    if (document_.level == 1)
        writePolygonLevel1(points, n, pattern != nullptr);
    else
        writePolygonLevel2(points, n, colors, smooth, pattern != nullptr);
}

void SoVectorizePSAction::selectPattern(const unsigned char* pattern, const SbColor& color) {
    const int scale =
        SoDeviceInteger::truncated(millimetresPerPoint / document_.drawingUnit + 0.5f);
    std::string definition =
        SbNumberFormat::format("%f %f %f\n%d\n%d\n{<", color[0], color[1], color[2], scale, scale);
    static const char hex[] = "0123456789abcdef";
    for (int i = 0; i < 128; ++i) {
        definition += hex[pattern[i] >> 4];
        definition += hex[pattern[i] & 15];
        definition += ' ';
    }
    const auto known = document_.patterns.find(definition);
    if (known != document_.patterns.end()) {
        document_.currentPatternIndex = known->second;
        return;
    }
    const int index = static_cast<int>(document_.patterns.size());
    document_.patterns.emplace(definition, index);
    writeText(definition + SbNumberFormat::format(">} pcreatpat\n /PATTERN_%d exch def\n", index));
    document_.currentPatternIndex = index;
}

void SoVectorizePSAction::writePolygonLevel1(const SbVec4f* points, int n, int patterned) {
    if (patterned)
        write("%d %d PATTERN_%d ppatbeg\n", toUnits(points[0][0]), toUnits(points[0][1]),
              document_.currentPatternIndex);
    else
        write("%d %d pfabeg\n", toUnits(points[0][0]), toUnits(points[0][1]));
    SoPSPointBuffer buffer(psOutput_.get(), 66);
    auto writeDescending = [&](int from, int to) {
        for (int i = from; i >= to; --i) {
            buffer.appendPoint(toUnits(points[i][0]), toUnits(points[i][1]));
            buffer.endItem();
        }
        buffer.flushLine();
    };
    // The stack of a level-1 interpreter holds only a few hundred operands: long outlines
    // go in chunks, each consumed before the next is pushed.
    int chunkEnd = level1Chunk;
    for (; chunkEnd < n - 1; chunkEnd += level1Chunk) {
        writeDescending(chunkEnd, chunkEnd - level1Chunk + 1);
        write("%d pfacnt\n", level1Chunk);
    }
    const int firstRemaining = chunkEnd - level1Chunk + 1;
    writeDescending(n - 1, firstRemaining);
    const int remaining = n - firstRemaining;
    if (patterned)
        write("%d ppatend\n", remaining);
    else
        write("%d pfaend\n1 pfa\n", remaining);
}

void SoVectorizePSAction::writePolygonLevel2(const SbVec4f* points, int n, const SbColor* colors,
                                             int smooth, int patterned) {
    SoPSPointBuffer buffer(psOutput_.get(), 99);
    const bool colored = psOutput_->getColored() != 0;
    if (smooth) write("[");
    for (int i = 0; i < n; ++i) {
        // Smooth polygons are triangle fans: the first three vertices start the mesh and
        // each later one makes a triangle with the first and the previous vertex.
        if (smooth) buffer.appendText(i < 3 ? "0 " : "2 ");
        buffer.appendPoint(toUnits(points[i][0]), toUnits(points[i][1]));
        if (smooth) {
            const SbColor& c = colors[i];
            buffer.appendText(colored ? SbNumberFormat::format(" %.2f %.2f %.2f", c[0], c[1], c[2])
                                      : SbNumberFormat::format(" %.2f", c[0]));
        }
        buffer.endItem();
    }
    buffer.flushInline();
    if (patterned)
        write("PATTERN_%d %d pfap\n", document_.currentPatternIndex, n);
    else if (smooth)
        write("] pfags\n");
    else
        write("%d pfa\n", n);
}

// ---- Text ----

void SoVectorizePSAction::printText2(SbVec4f origin, SbColor color, const SbString& fontName,
                                     float fontSize, const SbString& string, int justification,
                                     float angle) {
    const float nominal = getNominalWidth();
    assignColor(color, nominal);
    if (document_.device.font.changesTo({fontSize, fontName})) {
        // The scene names the font: a parenthesis in the name must not end the string.
        write("(/%s) findfont %d scalefont setfont\n", escapeForString(fontName.toLatin1()).c_str(),
              toUnits(fontSize * nominal));
    }
    const float degrees = angle != 0.0f ? angle * 180.0f / 3.1415927f : 0.0f;
    const std::string text = escapeForString(documentBytes(string));
    const int x = toUnits(origin[0]);
    const int y = toUnits(origin[1]);
    switch (justification) {
        case 1:
            write("(%s) %.2f %d %d ltx\n", text.c_str(), degrees, x, y);
            break;
        case 2:
            write("%d %d %.2f (%s) rtx\n", x, y, degrees, text.c_str());
            break;
        case 3:
            write("%d %d %.2f (%s) ctx\n", x, y, degrees, text.c_str());
            break;
        default:
            break;
    }
}

// ---- Images ----

void SoVectorizePSAction::printImage(const SbVec4f& origin, const unsigned char* pixels,
                                     SbVec2s& sourceSize, SbVec2s& requestedSize, int numComponents,
                                     SoImage::HorAlignment horAlignment,
                                     SoImage::VertAlignment vertAlignment) {
    if (numComponents <= 0 || !pixels || sourceSize[0] <= 0 || sourceSize[1] <= 0 ||
        requestedSize[0] <= 0 || requestedSize[1] <= 0)
        return;
    const SoImagePlacement placed = SoImagePlacement::of(origin, requestedSize, getPixelImageSize(),
                                                         horAlignment, vertAlignment);
    if (!getClippingLimits().intersect(placed.box())) return;
    const float x = placed.x, y = placed.y, width = placed.width, height = placed.height;

    write("%d %d\n%d %d\n%d %d\n%d\n", sourceSize[0], sourceSize[1], toUnits(width),
          toUnits(height), toUnits(x), toUnits(y), sourceSize[0]);
    const bool colored = psOutput_->getColored() != 0;
    if (colored) write("%d\n", numComponents < 3 ? 1 : 3);
    write("DisplayImage\n");
    writeImageData(pixels, sourceSize[0] * sourceSize[1], numComponents, colored);
    write("\n");
}

void SoVectorizePSAction::writeImageData(const unsigned char* pixels, int count, int numComponents,
                                         bool colored) {
    std::string data;
    data.reserve(static_cast<std::size_t>(count) * (colored ? 6 : 2) * 41 / 40 + 1);
    initWritePixel();
    for (int i = 0; i < count; ++i) {
        const unsigned char* p = pixels + static_cast<std::size_t>(i) * numComponents;
        if (numComponents < 3) {
            writePixel(data, p[0]);
        } else if (!colored) {
            writePixel(data, static_cast<unsigned char>(
                                 static_cast<int>(0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2]) & 0xFF));
        } else {
            writePixel(data, p[0]);
            writePixel(data, p[1]);
            writePixel(data, p[2]);
        }
    }
    writeText(data);
}

void SoVectorizePSAction::initWritePixel() {
    document_.pixelCount = 0;
}

void SoVectorizePSAction::writePixel(std::string& data, unsigned char value) {
    static const char hex[] = "0123456789ABCDEF";
    data += hex[value >> 4];
    data += hex[value & 15];
    if (++document_.pixelCount == 40) {
        data += '\n';
        document_.pixelCount = 0;
    }
}
