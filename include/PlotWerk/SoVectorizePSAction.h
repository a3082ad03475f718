#pragma once

#include <PlotWerk/SoActionHeader.h>
#include <PlotWerk/SoDeviceValue.h>
#include <PlotWerk/SoOwnedOutput.h>
#include <PlotWerk/SoVectorizeAction.h>
#include <Tessara/base/SbNumberFormat.h>
#include <Tessara/base/SbString.h>
#include <Tessara/math/SbVec3s.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

class SoPSVectorOutput;

/// The PostScript backend: one document per apply (or per page), written as text to the
/// stream of its SoPSVectorOutput. Geometry is written as integers in a drawing unit that
/// the document scales to points; every setting is written only when it changes.
class SoVectorizePSAction : public SoVectorizeAction {
    PW_ACTION_HEADER(SoVectorizePSAction);

  public:
    SoVectorizePSAction();
    /// A copy has the same settings and output kind and its own output object, which
    /// writes to standard output until given a file.
    SoVectorizePSAction(const SoVectorizePSAction& other);
    SoVectorizePSAction& operator=(const SoVectorizePSAction& other);
    ~SoVectorizePSAction() override;

    /// The output object, owned by this action.
    SoPSVectorOutput* getPSVectorOutput() const;

  protected:
    void writeHeader() override;
    void writeFooter() override;
    void setHardwareClip() override;
    void printPolyMark(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       SoMarkerSet* markerSet) override;
    void printPolyMark(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       float pointSize) override;
    void printImage(const SbVec4f& origin, const unsigned char* pixels, SbVec2s& sourceSize,
                    SbVec2s& requestedSize, int numComponents, SoImage::HorAlignment horAlignment,
                    SoImage::VertAlignment vertAlignment) override;
    void printPolyLine(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                       float lineWidth, unsigned short linePattern,
                       int linePatternScaleFactor) override;
    void printPolygon(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                      const SbString& patternString1, const SbString& patternString2,
                      const unsigned char* pattern) override;
    void printText2(SbVec4f origin, SbColor color, const SbString& fontName, float fontSize,
                    const SbString& string, int justification, float angle) override;
    void printBorder() override;
    void printBackground() override;

  private:
    /// Number compaction: trailing decimal zeros and extra blanks removed.
    static void pcp079(std::string& line);
    void assignColor(SbColor color, float width);
    void createBitmap(int markerIndex, const SbVec2s& size);
    void initWritePixel();
    void writePixel(std::string& data, unsigned char value);

    // The document frame.
    std::string patchedHeader(bool colored) const;
    void resetCurrentValues();
    void writeLineStyle();
    void writePageTransform();

    // Writers shared by the print operations.
    /// A length or coordinate in millimetres as drawing units: +0.5, then truncated.
    int toUnits(float millimetres) const;
    /// A statement with its numbers formatted as SbNumberFormat::appendFormatted does.
    template <class... T>
    void write(const char* format, const T&... arguments) {
        writeText(SbNumberFormat::format(format, arguments...));
    }
    /// The same, compacted, then a line feed.
    template <class... T>
    void writeCompacted(const char* format, const T&... arguments) {
        writeCompactedText(SbNumberFormat::format(format, arguments...));
    }
    void writeText(const std::string& text);
    void writeCompactedText(std::string line);
    void writeLineWidth(float millimetres);
    /// Sets the pattern when the device holds another, starting `phase` millimetres into it.
    void useDash(unsigned short pattern, int factor, float phase);
    void writeDash(unsigned short pattern, int factor, int start);
    /// Points from the last to the first in groups of 100 that join, each group ended by
    /// "<count> <procedure>"; beforeGroup, when given, runs just before that, with the index
    /// of the group's first point.
    void writePointGroups(const SbVec4f* points, int n, const char* procedure,
                          const std::function<void(int)>& beforeGroup = {});
    void writePolygonLevel1(const SbVec4f* points, int n, int patterned);
    void writePolygonLevel2(const SbVec4f* points, int n, const SbColor* colors, int smooth,
                            int patterned);
    /// Defines a fill pattern the first time its mask is used; selects it as current.
    void selectPattern(const unsigned char* pattern, const SbColor& color);
    void writeImageData(const unsigned char* pixels, int count, int numComponents, bool colored);

    SoOwnedOutput<SoPSVectorOutput> psOutput_;

    /// What the document has defined and set so far; a copy of the action goes on from the
    /// same state.
    struct DocumentState {
        /// The procedure variables the statements set (colour, widths, dash) and the font.
        /// The variables are dictionary entries that a grestore leaves alone; the font is
        /// graphics state, which it restores.
        struct Device {
            SoDeviceValue<SbVec3s> color;
            SoDeviceValue<float> pointSize;
            SoDeviceValue<float> lineWidth;
            /// The pattern and its factor; the factor of a solid line does not count.
            SoDeviceValue<std::pair<unsigned short, int>> lineType;
            /// How far into the pattern a line starts, in drawing units.
            SoDeviceValue<int> dashStart;
            SoDeviceValue<std::pair<float, SbString>> font;
            SoDeviceValue<int> bitmap;
            void invalidate() { *this = Device(); }
        };
        Device device;
        /// The marker bitmaps the document has defined, and its fill patterns keyed by what
        /// defines them (colour and mask), not by where the caller keeps the mask.
        std::vector<int> bitmaps;
        std::map<std::string, int> patterns;
        int currentPatternIndex = 0;
        int pixelCount = 0;
        unsigned int level = 2;
        int smoothShading = 0;
        float drawingUnit = 0.024f;
    };
    DocumentState document_;
};
