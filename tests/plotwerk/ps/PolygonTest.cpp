// Filled polygons: the level-2/3 fill statement, the level-1 chunks, smooth triangle fans
// at level 3 and fill patterns defined once per document.

#include <cstdio>
#include <string>
#include <vector>

#include "plotwerk/ps/PSFixture.h"

namespace {

using Lines = std::vector<std::string>;

const SbColor kRed(1, 0, 0);
const SbColor kGreen(0, 1, 0);
const SbColor kBlue(0, 0, 1);

std::string pointText(int i) {
    return std::to_string(1000 + 10 * i) + " " + std::to_string(5000 + i);
}

std::vector<SbVec4f> manyPoints(int n) {
    std::vector<SbVec4f> points;
    for (int i = 0; i < n; ++i) points.push_back(at(1000.0f + 10.0f * i, 5000.0f + i));
    return points;
}

/// Points first..last (either direction), `perLine` a line; a shorter last line is kept
/// in `rest` instead of being closed.
Lines pointLines(int first, int last, std::size_t perLine, std::string* rest) {
    Lines lines;
    std::string line;
    std::size_t inLine = 0;
    const int step = first <= last ? 1 : -1;
    for (int i = first; i != last + step; i += step) {
        line += (line.empty() ? "" : " ") + pointText(i);
        if (++inLine == perLine) {
            lines.push_back(line);
            line.clear();
            inLine = 0;
        }
    }
    *rest = line;
    return lines;
}

const std::vector<SbVec4f> kTriangle = {at(0, 0), at(417, 0), at(417, 417)};

/// A fill mask whose bytes all differ from their neighbours.
std::vector<unsigned char> sampleMask() {
    std::vector<unsigned char> mask(128);
    for (int i = 0; i < 128; ++i) mask[i] = static_cast<unsigned char>(i * 37 + 5);
    return mask;
}

/// The lines defining a fill pattern.
Lines patternDefinition(const std::string& color, const std::vector<unsigned char>& mask,
                        int index) {
    std::string hex = "{<";
    for (unsigned char byte : mask) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02x ", byte);
        hex += digits;
    }
    hex += ">} pcreatpat";
    return {color, "15", "15", hex, " /PATTERN_" + std::to_string(index) + " exch def"};
}

void append(Lines& lines, const Lines& more) {
    lines.insert(lines.end(), more.begin(), more.end());
}

using Polygon = PSTest;

TEST_F(Polygon, Level2PolygonIsOneFillStatementFromTheFirstPoint) {
    startDocument();
    action->fill(kTriangle, kRed);
    expectSameLines(lines(), {"1 0 0 gc", "0 0 417 0 417 417 3 pfa"});
}

TEST_F(Polygon, Level2PointsWrapAfter99Characters) {
    startDocument();
    action->fill(manyPoints(30), kGreen);
    // Nine-character points: eleven make 109 characters, ten only 99.
    std::string rest;
    Lines expected = {"0 1 0 gc"};
    append(expected, pointLines(0, 29, 11, &rest));
    expected.push_back(rest + " 30 pfa");
    expectSameLines(lines(), expected);
}

TEST_F(Polygon, Level1PolygonIsCutInChunksOf248Points) {
    setLevel(1);
    startDocument();
    action->fill(manyPoints(250), kRed);
    // Point 0 starts the path; points 248 down to 1 follow in a chunk, seven to a line;
    // point 249 closes it.
    std::string rest;
    Lines expected = {"1 0 0 gc", pointText(0) + " pfabeg"};
    append(expected, pointLines(248, 1, 7, &rest));
    expected.push_back(rest);
    append(expected, {"248 pfacnt", pointText(249), "1 pfaend", "1 pfa"});
    expectSameLines(lines(), expected);
}

TEST_F(Polygon, Level1SmallPolygonIsOnePathEnd) {
    setLevel(1);
    startDocument();
    action->fill(kTriangle, kBlue);
    expectSameLines(lines(), {"0 0 1 gc", "0 0 pfabeg", "417 417 417 0", "2 pfaend", "1 pfa"});
}

TEST_F(Polygon, Level3MulticolourQuadrilateralIsASmoothTriangleFan) {
    setLevel(3);
    startDocument();
    action->fill({at(0, 0), at(417, 0), at(417, 417), at(0, 417)},
                 {kRed, kGreen, kBlue, SbColor(0.5f, 0.5f, 0.5f)});
    // No colour statement: the colours travel with the vertices.
    expectSameLines(lines(),
                    {"[0 0 0 1 0 0 0 417 0 0 1 0 0 417 417 0 0 1 2 0 417 0.5 0.5 0.5 ] pfags"});
}

TEST_F(Polygon, SmoothLineCutAfter99CharactersKeepsItsLastNumberWhole) {
    setLevel(3);
    startDocument();
    action->fill({at(4167, 4167), at(4168, 4167), at(4168, 4168), at(4167, 4168)},
                 {kRed, kGreen, kBlue, kGreen});
    // The fourth vertex makes the buffer 107 characters long; it is written before a blank
    // follows its last number, and compaction leaves a number at the end of a line alone.
    expectSameLines(lines(), {"[0 4167 4167 1 0 0 0 4168 4167 0 1 0 0 4168 4168 0 0 1 2 4167 "
                              "4168 0 1 0.00",
                              "] pfags"});
}

TEST_F(Polygon, GreySmoothVerticesCarryTheFirstColourComponent) {
    setGrey();
    setLevel(3);
    startDocument();
    action->fill(kTriangle, {SbColor(0.25f, 0.9f, 0.9f), SbColor(0.5f, 0, 0), kRed});
    expectSameLines(lines(), {"[0 0 0 0.25 0 417 0 0.5 0 417 417 1 ] pfags"});
}

TEST_F(Polygon, SmoothFillNeedsLevel3AndOneColourPerPoint) {
    startDocument();  // level 2: the first colour fills the polygon
    action->fill(kTriangle, {kRed, kGreen, kBlue});
    expectSameLines(lines(), {"1 0 0 gc", "0 0 417 0 417 417 3 pfa"});

    setLevel(3);
    startDocument();
    action->fill(kTriangle, kGreen);
    expectSameLines(lines(), {"0 1 0 gc", "0 0 417 0 417 417 3 pfa"});
}

// A pattern is what its colour and mask make it, wherever the caller keeps the mask.
TEST_F(Polygon, APatternIsDefinedOnceForEachColourAndMask) {
    startDocument();
    const std::vector<unsigned char> mask = sampleMask();
    const std::vector<unsigned char> sameContents = mask;
    action->fill(kTriangle, SbColor(1, 0.5f, 0.25f), mask.data());
    action->fill(kTriangle, SbColor(1, 0.5f, 0.25f), mask.data());
    action->fill(kTriangle, kBlue, sameContents.data());
    action->fill(kTriangle, kBlue, mask.data());

    Lines expected = {"1 0.5 0.25 gc"};
    append(expected, patternDefinition("1.000000 0.500000 0.250000", mask, 0));
    append(expected, {"0 0 417 0 417 417 PATTERN_0 3 pfap", "0 0 417 0 417 417 PATTERN_0 3 pfap",
                      "0 0 1 gc"});
    append(expected, patternDefinition("0.000000 0.000000 1.000000", sameContents, 1));
    append(expected, {"0 0 417 0 417 417 PATTERN_1 3 pfap", "0 0 417 0 417 417 PATTERN_1 3 pfap"});
    expectSameLines(lines(), expected);

    // A new document defines its patterns afresh, numbered from 0 again.
    action->writeFooter();
    startDocument();
    action->fill(kTriangle, kRed, sameContents.data());
    expected = {"1 0 0 gc"};
    append(expected, patternDefinition("1.000000 0.000000 0.000000", sameContents, 0));
    expected.push_back("0 0 417 0 417 417 PATTERN_0 3 pfap");
    expectSameLines(lines(), expected);
}

TEST_F(Polygon, Level1PatternedPolygonUsesThePatternPathProcedures) {
    setLevel(1);
    startDocument();
    const std::vector<unsigned char> mask = sampleMask();
    action->fill(kTriangle, kGreen, mask.data());
    Lines expected = {"0 1 0 gc"};
    append(expected, patternDefinition("0.000000 1.000000 0.000000", mask, 0));
    append(expected, {"0 0 PATTERN_0 ppatbeg", "417 417 417 0", "2 ppatend"});
    expectSameLines(lines(), expected);
}

}  // namespace
