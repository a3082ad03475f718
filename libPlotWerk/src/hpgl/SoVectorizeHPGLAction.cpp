// The HP-GL/2 backend. A plot is a PCL escape into HP-GL/2, the initialisation with the pen
// palette and the page size, then one statement per primitive in plotter units (1/40 mm)
// measured from the sheet's lower left corner: no scaling command is written, so what a
// plotter draws is exactly what the page coordinates say.
//
// Polylines and polygon outlines are encoded polylines: the first point absolute, the
// others as relative steps. Each step is the difference of accumulated exact positions and
// the integer steps already taken, so truncation errors never add up along a long line.

#include <PlotWerk/SoHPGLVectorOutput.h>
#include <PlotWerk/SoVectorizeHPGLAction.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/misc/SoPreferences.h>

#include <cmath>
#include <cstdio>
#include <vector>

#include "SoHPGLEncodedNumber.h"
#include "frame/SoBackendActionSource.h"
#include "frame/SoColorByte.h"
#include "frame/SoColorCube.h"
#include "frame/SoControlCharacter.h"
#include "frame/SoDeviceInteger.h"
#include "frame/SoLinePatternRuns.h"

namespace {

constexpr float plotterUnitsPerMillimetre = 40.0f;
constexpr float millimetresPerPoint = 0.35277778f;
constexpr unsigned short solidLine = 0xFFFF;

/// HP-GL/2 line-end and line-join kinds of the action's styles.
int lineEndKind(int endStyle) {
    return endStyle >= 0 && endStyle <= 3 ? endStyle + 1 : 1;
}

int lineJoinKind(int joinStyle) {
    static const int kinds[] = {6, 1, 2, 5, 3, 4};
    return joinStyle >= 0 && joinStyle <= 5 ? kinds[joinStyle] : 6;
}

/// Label origins of the text justifications (left, right, centre), 0 for the others.
int labelOrigin(int justification) {
    switch (justification) {
        case 1:
            return 1;
        case 2:
            return 7;
        case 3:
            return 4;
        default:
            return 0;
    }
}

/// Older plot readers took dash lengths in points rather than in hundredths of an inch.
bool compatibleDashLength() {
    const SbString value = SoPreferences::getValue("VXN_COMPAT_HPGL_PLOTWERK_370");
    return !value.isEmpty() && value.getString()[0] == '1';
}

const SbColor black(0.0f, 0.0f, 0.0f);

}  // namespace

PW_BACKEND_ACTION_SOURCE(SoVectorizeHPGLAction)

// ---- Construction ----

SoVectorizeHPGLAction::SoVectorizeHPGLAction() {
    checkRegistration();
    adoptOutput(hpglOutput_.get());
}

SoVectorizeHPGLAction::SoVectorizeHPGLAction(const SoVectorizeHPGLAction& other)
    : SoVectorizeAction(other), hpglOutput_(other.hpglOutput_), plot_(other.plot_) {
    adoptOutput(hpglOutput_.get());
}

SoVectorizeHPGLAction& SoVectorizeHPGLAction::operator=(const SoVectorizeHPGLAction& other) =
    default;

SoVectorizeHPGLAction::~SoVectorizeHPGLAction() {
    // The base cannot reach writeFooter any more: a page left open is ended here.
    if (isInPage()) endPage();
    vectorOutput_ = nullptr;
}

SoHPGLVectorOutput* SoVectorizeHPGLAction::getHPGLVectorOutput() const {
    return hpglOutput_.get();
}

// ---- Writers ----

void SoVectorizeHPGLAction::writeText(const std::string& text) {
    hpglOutput_->write(text);
}

double SoVectorizeHPGLAction::plotterX(float x) const {
    return static_cast<double>((x + getOffsetX()) * plotterUnitsPerMillimetre);
}

double SoVectorizeHPGLAction::plotterY(float y) const {
    return static_cast<double>((y + getOffsetY()) * plotterUnitsPerMillimetre);
}

void SoVectorizeHPGLAction::assignColor(SbColor color, float width, int* pen) {
    if (getPenNum() == 0) {
        *pen = SoColorCube::indexOf(color);
        return;
    }
    float penWidth = 0.0f;
    penAssignment(color, width, pen, &penWidth);
}

bool SoVectorizeHPGLAction::selectPen(int pen) {
    if (!plot_.pen.changesTo(pen)) return false;
    write("SP%d", pen);
    return true;
}

void SoVectorizeHPGLAction::appendEncodedSteps(std::string& text, const SbVec4f* points, int n) {
    double x = plotterX(points[0][0]);
    double y = plotterY(points[0][1]);
    int takenX = SoDeviceInteger::truncated(x);
    int takenY = SoDeviceInteger::truncated(y);
    for (int i = 1; i < n; ++i) {
        x = x - takenX +
            static_cast<double>((points[i][0] - points[i - 1][0]) * plotterUnitsPerMillimetre);
        y = y - takenY +
            static_cast<double>((points[i][1] - points[i - 1][1]) * plotterUnitsPerMillimetre);
        takenX = SoDeviceInteger::truncated(x);
        takenY = SoDeviceInteger::truncated(y);
        if (takenX == 0 && takenY == 0) continue;
        SoHPGLEncodedNumber::append(text, takenX);
        SoHPGLEncodedNumber::append(text, takenY);
    }
}

// ---- The plot frame ----

void SoVectorizeHPGLAction::writeHeader() {
    write("\x1b%%-1B\nIN;");
    if (getOrientation() == LANDSCAPE) write("RO90;IP;");
    write("FT;");
    const int penCount = getPenNum();
    write("NP%d;TR0;\n", penCount == 0 ? 256 : penCount);
    if (penCount == 0) {
        for (int i = 0; i < 256; ++i) {
            int rgb[3];
            SoColorCube::colorOf(i, rgb);
            write("PC%d,%d,%d,%d\n", i, rgb[0], rgb[1], rgb[2]);
        }
    } else {
        std::vector<SbColor> colors(static_cast<std::size_t>(penCount));
        std::vector<float> widths(static_cast<std::size_t>(penCount));
        getPenDescription(colors.data(), widths.data());
        for (int i = 0; i < penCount; ++i)
            write("PC%d,%d,%d,%d\n", i, SoColorByte::of(colors[i][0]),
                  SoColorByte::of(colors[i][1]), SoColorByte::of(colors[i][2]));
    }
    const SbVec2f page = getPageSize();
    const int width = SoDeviceInteger::truncated(page[0] * plotterUnitsPerMillimetre);
    const int height = SoDeviceInteger::truncated(page[1] * plotterUnitsPerMillimetre);
    if (getOrientation() == LANDSCAPE)
        write("PS%d,%d;\n", height, width);
    else
        write("PS%d,%d;\n", width, height);
    write("LA1,%d,2,%d,3,%.2f\n", lineEndKind(getLineEndStyle()), lineJoinKind(getLineJoinsStyle()),
          getMiterLimit());
    resetCurrentValues();
}

void SoVectorizeHPGLAction::resetCurrentValues() {
    plot_.invalidate();
    // What IN sets up.
    plot_.lineType.assume({solidLine, 0});
    plot_.angle.assume(0.0f);
}

void SoVectorizeHPGLAction::writeFooter() {
    write("SPPG;\n");
}

SbBox2f SoVectorizeHPGLAction::getClippingLimits() const {
    const SbVec2f origin = getViewportRegion().getViewportOrigin();
    const float xmin = (getOffsetX() + origin[0] * getWidth()) * plotterUnitsPerMillimetre;
    const float ymin = (getOffsetY() + origin[1] * getHeight()) * plotterUnitsPerMillimetre;
    const float xmax = xmin + getViewportWidth() * plotterUnitsPerMillimetre;
    const float ymax = ymin + getViewportHeight() * plotterUnitsPerMillimetre;
    return SbBox2f(xmin, ymin, xmax, ymax);
}

void SoVectorizeHPGLAction::setHardwareClip() {
    const SbBox2f limits = getClippingLimits();
    write("IW%f,%f,%f,%f;\n", limits.getMin()[0], limits.getMin()[1], limits.getMax()[0],
          limits.getMax()[1]);
}

void SoVectorizeHPGLAction::printBorder() {
    float borderWidth = 0.0f;
    getBorder(&borderWidth, nullptr);
    if (!(borderWidth > 0.0f)) return;
    const float x = getOffsetX() * plotterUnitsPerMillimetre;
    const float y = getOffsetY() * plotterUnitsPerMillimetre;
    write("IW%f,%f,%f,%f;\n", x, y, (getOffsetX() + getWidth()) * plotterUnitsPerMillimetre,
          (getOffsetY() + getHeight()) * plotterUnitsPerMillimetre);
    outlineBorder();
}

void SoVectorizeHPGLAction::printBackground() {
    fillBackground();
}

// ---- Primitives ----

void SoVectorizeHPGLAction::writeLineType(unsigned short pattern, int factor) {
    if (pattern == solidLine) {
        write("LT");
        return;
    }
    const float runUnit = getLinePatternSize() * static_cast<float>(factor);
    std::string gaps("UL8");
    const SoLinePatternRuns dashes(pattern);
    for (int run : dashes.getRuns()) gaps += SbNumberFormat::format(",%.2f ", run * runUnit);
    const float k = compatibleDashLength() ? 1.0f : 2.54f;
    write("%sLT8,%.2f,1\n", gaps, k * millimetresPerPoint * runUnit);
}

void SoVectorizeHPGLAction::printPolyLine(const SbVec4f* points, int n, const SbColor* colors, int,
                                          float lineWidth, unsigned short linePattern,
                                          int linePatternScaleFactor) {
    if (!points || n <= 0) return;
    const float width = getPrintedWidth(lineWidth);
    int pen = 0;
    assignColor(colors ? colors[0] : black, width, &pen);
    if (plot_.lineType.changesTo(
            {linePattern, linePattern == solidLine ? 0 : linePatternScaleFactor}))
        writeLineType(linePattern, linePatternScaleFactor);
    if (plot_.lineWidth.changesTo(width)) write("PW%f", width);
    // The pen goes inside the encoded polyline.
    std::string text;
    if (plot_.pen.changesTo(pen)) {
        text += "PE:";
        SoHPGLEncodedNumber::append(text, pen);
        text += "<=";
    } else {
        text += "PE<=";
    }
    SoHPGLEncodedNumber::append(text, SoDeviceInteger::truncated(plotterX(points[0][0])));
    SoHPGLEncodedNumber::append(text, SoDeviceInteger::truncated(plotterY(points[0][1])));
    appendEncodedSteps(text, points, n);
    text += ";\n";
    writeText(text);
}

void SoVectorizeHPGLAction::printPolygon(const SbVec4f* points, int n, const SbColor* colors, int,
                                         const SbString&, const SbString&, const unsigned char*) {
    if (!points || n <= 0) return;
    int pen = 0;
    assignColor(colors ? colors[0] : black, getNominalWidth(), &pen);
    selectPen(pen);
    std::string text =
        SbNumberFormat::format("PU%d,%dPMPE", SoDeviceInteger::truncated(plotterX(points[0][0])),
                               SoDeviceInteger::truncated(plotterY(points[0][1])));
    appendEncodedSteps(text, points, n);
    text += ";PM2FP\n";
    writeText(text);
}

void SoVectorizeHPGLAction::printPolyMark(const SbVec4f* points, int n, const SbColor* colors,
                                          int multicolor, SoMarkerSet*) {
    // Not through the virtual table: a subclass counting marks would count these twice.
    SoVectorizeHPGLAction::printPolyMark(points, n, colors, multicolor, 0.0f);
}

void SoVectorizeHPGLAction::printPolyMark(const SbVec4f* points, int n, const SbColor* colors,
                                          int multicolor, float) {
    if (!points || n <= 0) return;
    const float nominal = getNominalWidth();
    bool opensList = true;
    if (!multicolor || !colors) {
        int pen = 0;
        assignColor(colors ? colors[0] : black, nominal, &pen);
        selectPen(pen);
    }
    for (int i = 0; i < n; ++i) {
        if (multicolor && colors) {
            int pen = 0;
            assignColor(colors[i], nominal, &pen);
            if (selectPen(pen)) opensList = true;
        }
        write(opensList ? "PUSM.PA%d,%d" : ",%d,%d",
              SoDeviceInteger::truncated(plotterX(points[i][0])),
              SoDeviceInteger::truncated(plotterY(points[i][1])));
        opensList = false;
    }
    writeText("SM;\n");
}

void SoVectorizeHPGLAction::printText2(SbVec4f origin, SbColor color, const SbString& fontName,
                                       float fontSize, const SbString& string, int justification,
                                       float angle) {
    int pen = 0;
    assignColor(color, getNominalWidth(), &pen);
    selectPen(pen);
    if (plot_.font.changesTo({fontSize, fontName})) write("SD2,1,4,%.2fSS", fontSize);
    if (plot_.justification.changesTo(justification)) write("LO%d", labelOrigin(justification));
    write("PU\n");
    if (plot_.angle.changesTo(angle)) write("DI%f,%f\n", std::cos(angle), std::sin(angle));
    write("PA%d,%dLB", SoDeviceInteger::truncated(plotterX(origin[0])),
          SoDeviceInteger::truncated(plotterY(origin[1])));
    writeLabelText(string);
}

namespace {

// A control character in a label would act, not print: the terminator ends the label early and
// what follows runs as plotter commands, an escape leaves HP-GL/2 for the printer's language,
// a line feed starts a line the screen does not show. Each prints as a space, as in SVG and PDF.
template <class Character>
Character printable(Character c) {
    if (!SoControlCharacter::is(c)) return c;
    SoDebugError::postInfoOnce("SoVectorizeHPGLAction::printText2",
                               "A control character in a text prints as a space");
    return ' ';
}

}  // namespace

void SoVectorizeHPGLAction::writeLabelText(const SbString& string) {
    std::string bytes;
    if (!string.isUnicode()) {
        for (const char* c = string.toLatin1(); *c; ++c)
            bytes += static_cast<char>(printable(static_cast<unsigned char>(*c)));
    } else {
        for (const char16_t* unit = string.toUtf16(); *unit; ++unit) {
            const char16_t shown = printable(*unit);
            bytes += static_cast<char>(shown >> 8);
            bytes += static_cast<char>(shown & 0xFF);
        }
    }
    bytes += "\x03\n";
    writeText(bytes);
}

void SoVectorizeHPGLAction::printImage(const SbVec4f&, const unsigned char*, SbVec2s&, SbVec2s&,
                                       int, SoImage::HorAlignment, SoImage::VertAlignment) {}
