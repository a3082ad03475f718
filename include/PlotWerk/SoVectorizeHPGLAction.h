#pragma once

#include <PlotWerk/SoActionHeader.h>
#include <PlotWerk/SoDeviceValue.h>
#include <PlotWerk/SoOwnedOutput.h>
#include <PlotWerk/SoVectorizeAction.h>
#include <Tessara/base/SbNumberFormat.h>
#include <Tessara/base/SbString.h>

#include <cstdio>
#include <string>
#include <utility>

class SoHPGLVectorOutput;

/// The HP-GL/2 backend: one plot per apply (or per page) for pen plotters, cutters and
/// large-format printers, written to the stream of its SoHPGLVectorOutput. Coordinates are
/// plotter units of 1/40 mm taken straight from the page; polylines and polygon outlines
/// are written as encoded polylines, and every setting is written only when it changes.
///
/// Labels whose text Latin-1 cannot hold are written as UTF-16 code units, high byte first
/// (the order of two-byte label fonts), without a byte-order mark, followed by the usual
/// one-byte label terminator.
class SoVectorizeHPGLAction : public SoVectorizeAction {
    PW_ACTION_HEADER(SoVectorizeHPGLAction);

  public:
    SoVectorizeHPGLAction();
    /// A copy has the same settings and plot state and its own output object, which writes
    /// to standard output until given a file.
    SoVectorizeHPGLAction(const SoVectorizeHPGLAction& other);
    SoVectorizeHPGLAction& operator=(const SoVectorizeHPGLAction& other);
    ~SoVectorizeHPGLAction() override;

    /// The output object, owned by this action.
    SoHPGLVectorOutput* getHPGLVectorOutput() const;

  protected:
    void writeHeader() override;
    void writeFooter() override;
    void setHardwareClip() override;
    /// The viewport's part of the drawing, in plotter units on the sheet.
    SbBox2f getClippingLimits() const override;
    /// Bitmap markers are plotted as dots.
    void printPolyMark(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       SoMarkerSet* markerSet) override;
    /// Every mark is the symbol "." whatever its size.
    void printPolyMark(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       float pointSize) override;
    /// Plotters take no images: nothing is written.
    void printImage(const SbVec4f& origin, const unsigned char* pixels, SbVec2s& sourceSize,
                    SbVec2s& requestedSize, int numComponents, SoImage::HorAlignment horAlignment,
                    SoImage::VertAlignment vertAlignment) override;
    void printPolyLine(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       float lineWidth, unsigned short linePattern,
                       int linePatternScaleFactor) override;
    /// A solid fill in the pen of the first colour; fill patterns are not plotted.
    void printPolygon(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                      const SbString& patternString1, const SbString& patternString2,
                      const unsigned char* pattern) override;
    void printText2(SbVec4f origin, SbColor color, const SbString& fontName, float fontSize,
                    const SbString& string, int justification, float angle) override;
    void printBorder() override;
    void printBackground() override;

  private:
    void assignColor(SbColor color, float width, int* pen);
    void resetCurrentValues();

    /// A statement with its numbers formatted as SbNumberFormat::appendFormatted does.
    template <class... T>
    void write(const char* format, const T&... arguments) {
        writeText(SbNumberFormat::format(format, arguments...));
    }
    void writeText(const std::string& text);
    /// Selects the pen with "SP" unless it is the current one; true when it was not.
    bool selectPen(int pen);
    void writeLineType(unsigned short pattern, int factor);
    /// The encoded relative steps from the first point to the last, carrying the fractions.
    void appendEncodedSteps(std::string& text, const SbVec4f* points, int n);
    void writeLabelText(const SbString& string);
    /// A page coordinate (mm) on the sheet in plotter units, not yet truncated.
    double plotterX(float x) const;
    double plotterY(float y) const;

    SoOwnedOutput<SoHPGLVectorOutput> hpglOutput_;

    /// What the plot has been told so far, so that unchanged settings are not written again;
    /// a copy of the action goes on from the same state.
    struct PlotState {
        SoDeviceValue<int> pen;
        SoDeviceValue<float> lineWidth;
        /// The pattern and its factor; the factor of a solid line does not count.
        SoDeviceValue<std::pair<unsigned short, int>> lineType;
        SoDeviceValue<std::pair<float, SbString>> font;
        SoDeviceValue<int> justification;
        SoDeviceValue<float> angle;
        void invalidate() { *this = PlotState(); }
    };
    PlotState plot_;
};
