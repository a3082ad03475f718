// Polylines: number formats, the settings written only when they change, dash patterns and
// the grouping of long point lists.

#include <string>
#include <vector>

#include "plotwerk/ps/PSFixture.h"
#include "support/DebugErrorRecorder.h"

namespace {

using Lines = std::vector<std::string>;

const SbColor kRed(1, 0, 0);

/// Text of the point i of the long test lines: always "xxxx yyyy", nine characters.
std::string longPointText(int i) {
    return std::to_string(1000 + 10 * i) + " " + std::to_string(5000 + i);
}

std::vector<SbVec4f> longLine(int n) {
    std::vector<SbVec4f> points;
    for (int i = 0; i < n; ++i) points.push_back(at(1000.0f + 10.0f * i, 5000.0f + i));
    return points;
}

/// The lines of one group of points (given in writing order), `perLine` points a line,
/// closed by "<count> <procedure>".
Lines groupLines(const std::vector<int>& indices, std::size_t perLine, const std::string& proc) {
    Lines lines;
    std::string line;
    for (std::size_t k = 0; k < indices.size(); ++k) {
        line += (line.empty() ? "" : " ") + longPointText(indices[k]);
        if ((k + 1) % perLine == 0) {
            lines.push_back(line);
            line.clear();
        }
    }
    if (!line.empty()) lines.push_back(line);
    lines.push_back(std::to_string(indices.size()) + " " + proc);
    return lines;
}

std::vector<int> descending(int from, int to) {
    std::vector<int> indices;
    for (int i = from; i >= to; --i) indices.push_back(i);
    return indices;
}

void append(Lines& lines, const Lines& more) {
    lines.insert(lines.end(), more.begin(), more.end());
}

using PolyLine = PSTest;

TEST_F(PolyLine, ColoursAreWrittenWithoutTrailingZeros) {
    startDocument();
    action->line({at(0, 0), at(10, 0)}, SbColor(0.5f, 1.0f, 0.25f));
    action->line({at(0, 0), at(10, 0)}, SbColor(0.1f, 0.2f, 0.3f));
    action->line({at(0, 0), at(10, 0)}, SbColor(0.05f, 0.0f, 1.0f));
    expectSameLines(lines(), {"0.5 1 0.25 gc", "10 0 0 0", "2 ppl", "0.1 0.2 0.3 gc", "10 0 0 0",
                              "2 ppl", "0.05 0 1 gc", "10 0 0 0", "2 ppl"});
}

TEST_F(PolyLine, GreyDocumentsWriteTheLuminance) {
    setGrey();
    startDocument();
    const SbColor colors[] = {SbColor(0, 0, 0), SbColor(1, 0, 0), SbColor(0, 1, 0),
                              SbColor(0, 0, 1), SbColor(0.5f, 0.5f, 0.5f)};
    for (const SbColor& c : colors) action->line({at(0, 0), at(1, 1)}, c);
    expectSameLines(lines(),
                    {"0 gb", "1 1 0 0", "2 ppl", "0.3 gb", "1 1 0 0", "2 ppl", "0.59 gb", "1 1 0 0",
                     "2 ppl", "0.11 gb", "1 1 0 0", "2 ppl", "0.5 gb", "1 1 0 0", "2 ppl"});
}

TEST_F(PolyLine, CoordinatesAreRoundedUpByAHalfAndTruncatedTowardZero) {
    startDocument();
    // -2.7 + 0.5 = -2.2 gives -2; -7.6 gives -7 (not -8 as rounding or flooring would).
    action->line({at(-2.7f, -7.6f), at(3.4f, 4.6f), at(-0.3f, 0.49f)}, kRed);
    expectSameLines(lines(), {"1 0 0 gc", "0 0 3 5 -2 -7", "3 ppl"});
}

TEST_F(PolyLine, WidthIsWrittenOnlyWhenItChanges) {
    startDocument();
    const std::vector<SbVec4f> points = {at(0, 0), at(5, 5)};
    action->line(points, kRed, 0.0f);  // 0 counts as 1: the nominal width already in force
    action->line(points, kRed, 2.0f);
    action->line(points, kRed, 2.0f);
    action->line(points, kRed, 3.0f);
    action->line(points, kRed, 0.5f);
    action->fill({at(0, 0), at(5, 0), at(5, 5)}, kRed);  // polygons go back to nominal
    expectSameLines(lines(), {"1 0 0 gc", "5 5 0 0", "2 ppl", "29 ep", "5 5 0 0", "2 ppl",
                              "5 5 0 0", "2 ppl", "44 ep", "5 5 0 0", "2 ppl", "7 ep", "5 5 0 0",
                              "2 ppl", "15 ep", "0 0 5 0 5 5 3 pfa"});
}

TEST_F(PolyLine, ASecondIdenticalLineRepeatsNoSetting) {
    startDocument();
    const std::vector<SbVec4f> points = {at(0, 0), at(20, 30)};
    action->line(points, kRed, 2.0f, 0xFF00);
    action->mark();
    action->line(points, kRed, 2.0f, 0xFF00);
    expectSameLines(lines(), {"20 30 0 0", "2 ppl"});
}

TEST_F(PolyLine, ColoursOfTheSameHundredthsAreNotWrittenAgain) {
    startDocument();
    const std::vector<SbVec4f> points = {at(0, 0), at(1, 0)};
    action->line(points, SbColor(0.501f, 0.2f, 0.3f));
    action->line(points, SbColor(0.509f, 0.205f, 0.309f));
    action->line(points, SbColor(0.51f, 0.2f, 0.3f));
    expectSameLines(lines(), {"0.5 0.2 0.3 gc", "1 0 0 0", "2 ppl", "1 0 0 0", "2 ppl",
                              "0.51 0.2 0.3 gc", "1 0 0 0", "2 ppl"});
}

TEST_F(PolyLine, DashRunsAreBitLengthsAndTheOffsetSkipsTheLeadingGap) {
    startDocument();
    const std::vector<SbVec4f> points = {at(0, 0), at(1, 0)};
    action->mark();
    action->line(points, kRed, 1.0f, 0xFF00);
    EXPECT_EQ(lineAt(0), "[118 118 ] 118 tl");
    action->mark();
    action->line(points, kRed, 1.0f, 0x00FF);
    EXPECT_EQ(lineAt(0), "[118 118 ] 235 tl");
    action->mark();
    action->line(points, kRed, 1.0f, 0x0F0F);
    EXPECT_EQ(lineAt(0), "[59 59 59 59 ] 235 tl");
    // A repeat factor stretches the runs but not the offset.
    action->mark();
    action->line(points, kRed, 1.0f, 0xFF00, 2);
    EXPECT_EQ(lineAt(0), "[235 235 ] 118 tl");
    // One run only: an odd number of elements is completed by a zero.
    action->mark();
    action->line(points, kRed, 1.0f, 0x0000, 2);
    EXPECT_EQ(lineAt(0), "[470 0. ] 235 tl");

    // Back to solid; a factor alone does not change a solid line.
    action->mark();
    action->line(points, kRed, 1.0f, 0xFFFF, 1);
    expectSameLines(lines(), {"[] 0 tl", "1 0 0 0", "2 ppl"});
    action->mark();
    action->line(points, kRed, 1.0f, 0xFFFF, 3);
    expectSameLines(lines(), {"1 0 0 0", "2 ppl"});
}

TEST_F(PolyLine, PatternsOfMoreThanElevenRunsAreTruncatedBelowLevel3Only) {
    for (unsigned int level = 1; level <= 2; ++level) {
        SCOPED_TRACE(level);
        setLevel(level);
        startDocument();
        DebugErrorRecorder errors;
        action->line({at(0, 0), at(1, 0)}, kRed, 1.0f, 0xAAAA);
        // 16 runs of one bit: the first 11 (15 units each), then a zero to make them even.
        EXPECT_EQ(lineAt(0), "[15 15 15 15 15 15 15 15 15 15 15 0. ] 147 tl");
        ASSERT_EQ(errors.size(), 1u) << errors.dump();
        const DebugErrorRecorder::Post post = errors.messages()[0];
        EXPECT_EQ(post.severity, SoDebugError::WARNING);
        EXPECT_EQ(post.source, "SoVectorizePSAction::printPolyLine");
        EXPECT_EQ(post.message, "The current PS Level is " + std::to_string(level) +
                                    " which does not support patterns with more than 11 "
                                    "elements.\nPattern truncation made.");
    }

    setLevel(3);
    startDocument();
    DebugErrorRecorder errors;
    action->line({at(0, 0), at(1, 0)}, kRed, 1.0f, 0xAAAA);
    EXPECT_EQ(lineAt(0), "[15 15 15 15 15 15 15 15 15 15 15 15 15 15 15 15 ] 220 tl");
    EXPECT_EQ(errors.size(), 0u) << errors.dump();
}

TEST_F(PolyLine, LongLinesAreWrittenInJoiningGroupsOfAHundred) {
    startDocument();
    action->line(longLine(250), kRed);
    // Written from the last point; each group starts again with the previous group's last
    // point. Nine-character points make lines of eight.
    Lines expected = {"1 0 0 gc"};
    append(expected, groupLines(descending(249, 150), 8, "ppl"));
    append(expected, groupLines(descending(150, 51), 8, "ppl"));
    append(expected, groupLines(descending(51, 0), 8, "ppl"));
    expectSameLines(lines(), expected);
}

TEST_F(PolyLine, ALineOfPointsIsCutOnlyWhenLongerThan78Characters) {
    startDocument();
    // In writing order: seven points of 9 characters, one of 8, one of 9. After the eighth
    // the buffer holds exactly 78 characters, which is not yet too long.
    std::vector<SbVec4f> written;
    for (int k = 0; k < 7; ++k) written.push_back(at(1000.0f + k, 2000));
    written.push_back(at(100, 2000));
    written.push_back(at(1007, 2000));
    const std::vector<SbVec4f> points(written.rbegin(), written.rend());
    action->line(points, kRed);
    expectSameLines(lines(), {"1 0 0 gc",
                              "1000 2000 1001 2000 1002 2000 1003 2000 1004 2000 1005 2000 "
                              "1006 2000 100 2000 1007 2000",
                              "9 ppl"});
}

TEST_F(PolyLine, MulticolourLinesAreOneSegmentPerPointColour) {
    startDocument();
    const SbVec4f points[] = {at(0, 0), at(10, 0), at(10, 10), at(0, 10)};
    const SbColor colors[] = {kRed, kRed, SbColor(0, 0, 1), SbColor(0, 1, 0)};
    action->printPolyLine(points, 4, colors, 1, 1.0f, 0xFFFF, 1);
    // The last point's colour colours no segment.
    expectSameLines(lines(), {"1 0 0 gc", "0 0 10 0 2 ppl", "10 0 10 10 2 ppl", "0 0 1 gc",
                              "10 10 0 10 2 ppl"});
}

}  // namespace
