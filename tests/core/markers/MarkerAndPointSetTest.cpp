// Point and marker sets: the marker library's bitmaps and bit conventions, and the points the
// sets emit with their indices, details and bounding box.

#include <Tessara/nodes/SoMarkerSet.h>
#include <Tessara/nodes/SoTranslation.h>

#include <string>
#include <vector>

#include "core/shapes/ShapeTestSupport.h"
#include "support/DebugErrorRecorder.h"

namespace {

using Picture = std::vector<std::string>;

// The marker as text rows, top row first, 'X' for a set pixel, read from its bytes: rows
// bottom row first, whole bytes each, the leftmost pixel in the bit the flag names. Every
// pixel must agree with isMarkerBitSet.
Picture picture(int index) {
    SbVec2s size;
    const unsigned char* bytes = nullptr;
    bool lsb = false;
    if (!SoMarkerSet::getMarker(index, size, bytes, lsb)) return {};
    const int stride = (size[0] + 7) / 8;
    Picture rows;
    for (int row = size[1] - 1; row >= 0; --row) {
        std::string line;
        for (int col = 0; col < size[0]; ++col) {
            const bool set = (bytes[row * stride + col / 8] >> (lsb ? col % 8 : 7 - col % 8)) & 1;
            EXPECT_EQ(set, SoMarkerSet::isMarkerBitSet(index, row * size[0] + col)) << index;
            line += set ? 'X' : '.';
        }
        rows.push_back(line);
    }
    return rows;
}

// Custom markers use indices far above the built-ins so tests cannot disturb them.
constexpr int kCustom = 5000;

class MarkerAndPointSetTest : public shapetest::ShapeTest {
  protected:
    void SetUp() override {
        ShapeTest::SetUp();
        coords = coordinates(
            {SbVec3f(1, 2, 3), SbVec3f(-1, 0, 0), SbVec3f(4, -5, 6), SbVec3f(0, 7, -2)});
    }
    void TearDown() override {
        for (int i = kCustom; i < kCustom + 10; ++i) SoMarkerSet::removeMarker(i);
        ShapeTest::TearDown();
    }
    SoCoordinate3* coords = nullptr;
};

TEST_F(MarkerAndPointSetTest, BuiltInMarkersHaveExactPixels) {
    const struct {
        int index;
        Picture rows;
    } cases[] = {
        {SoMarkerSet::PLUS_5_5, {"..X..", "..X..", "XXXXX", "..X..", "..X.."}},
        {SoMarkerSet::CIRCLE_LINE_5_5, {".XXX.", "X...X", "X...X", "X...X", ".XXX."}},
        {SoMarkerSet::TRIANGLE_FILLED_7_7,
         {"...X...", "...X...", "..XXX..", "..XXX..", ".XXXXX.", ".XXXXX.", "XXXXXXX"}},
    };
    for (const auto& c : cases) EXPECT_EQ(picture(c.index), c.rows) << c.index;
    EXPECT_FALSE(SoMarkerSet::isMarkerBitSet(SoMarkerSet::PLUS_5_5, 25));  // past the last row
    EXPECT_FALSE(SoMarkerSet::isMarkerBitSet(SoMarkerSet::PLUS_5_5, -1));
    EXPECT_FALSE(SoMarkerSet::isMarkerBitSet(987654, 0));
    EXPECT_TRUE(picture(-3).empty());
}

TEST_F(MarkerAndPointSetTest, BuiltInsAreCentredSymmetricAndFilledOverOutlines) {
    const int sizes[3] = {5, 7, 9};
    for (int index = 0; index < SoMarkerSet::NUM_MARKERS; ++index) {
        SCOPED_TRACE(index);
        const Picture rows = picture(index);
        ASSERT_EQ(static_cast<int>(rows.size()), sizes[index % 3]);
        for (const std::string& row : rows)
            EXPECT_EQ(row, std::string(row.rbegin(), row.rend())) << "not mirror-symmetric";
        const bool pointsUp =
            index >= SoMarkerSet::TRIANGLE_LINE_5_5 && index <= SoMarkerSet::TRIANGLE_FILLED_9_9;
        EXPECT_TRUE(pointsUp || rows == Picture(rows.rbegin(), rows.rend()));
        // Every shape touches all four edges: with the symmetry, it is centred and uses the
        // full size.
        std::string left, right;
        for (const std::string& row : rows) {
            left += row.front();
            right += row.back();
        }
        for (const std::string& edge : {rows.front(), rows.back(), left, right})
            EXPECT_NE(edge.find('X'), std::string::npos);
    }
    // Each outline shape is followed by its filled form, three sizes on.
    for (int outline : {SoMarkerSet::CIRCLE_LINE_5_5, SoMarkerSet::SQUARE_LINE_5_5,
                        SoMarkerSet::DIAMOND_LINE_5_5, SoMarkerSet::TRIANGLE_LINE_5_5,
                        SoMarkerSet::HOURGLASS_LINE_5_5, SoMarkerSet::SATELLITE_LINE_5_5}) {
        for (int line = outline; line < outline + 3; ++line) {
            int outlinePixels = 0, filledPixels = 0;
            for (int bit = 0; bit < 81; ++bit) {
                const bool set = SoMarkerSet::isMarkerBitSet(line, bit);
                const bool filled = SoMarkerSet::isMarkerBitSet(line + 3, bit);
                EXPECT_TRUE(!set || filled) << line << " bit " << bit;
                outlinePixels += set;
                filledPixels += filled;
            }
            EXPECT_LT(outlinePixels, filledPixels) << line;
        }
    }
}

TEST_F(MarkerAndPointSetTest, CustomMarkersFollowTheirBitOrderAndRowOrderUntilRemoved) {
    const struct {
        short width, height;
        std::vector<unsigned char> bytes;
        bool lsbFirst, topDown;
        Picture rows;
    } cases[] = {
        {3, 2, {0x01, 0x06}, true, false, {".XX", "X.."}},    // column 0 in bit 0
        {3, 2, {0x80, 0x60}, false, false, {".XX", "X.."}},   // column 0 in bit 7
        {3, 2, {0x01, 0x06}, true, true, {"X..", ".XX"}},     // given top row first
        {10, 1, {0x80, 0x40}, false, false, {"X........X"}},  // two bytes a row
        {10, 1, {0x01, 0x02}, true, false, {"X........X"}},
    };
    const int before = SoMarkerSet::getNumDefinedMarkers();
    EXPECT_GE(before, static_cast<int>(SoMarkerSet::NUM_MARKERS));
    for (const auto& c : cases) {  // each replaces the one before
        SoMarkerSet::addMarker(kCustom, SbVec2s(c.width, c.height), c.bytes.data(), c.lsbFirst,
                               c.topDown);
        EXPECT_EQ(picture(kCustom), c.rows) << &c - cases;
    }
    EXPECT_EQ(SoMarkerSet::getNumDefinedMarkers(), before + 1);
    EXPECT_TRUE(SoMarkerSet::removeMarker(kCustom));
    EXPECT_FALSE(SoMarkerSet::removeMarker(kCustom));
    EXPECT_EQ(SoMarkerSet::getNumDefinedMarkers(), before);
    EXPECT_TRUE(picture(kCustom).empty());

    DebugErrorRecorder recorder;  // bad definitions are reported and ignored
    SoMarkerSet::addMarker(kCustom, SbVec2s(0, 3), cases[0].bytes.data());
    SoMarkerSet::addMarker(kCustom + 1, SbVec2s(4, 4), nullptr);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 2u) << recorder.dump();
    EXPECT_TRUE(picture(kCustom).empty() && picture(kCustom + 1).empty());
}

TEST_F(MarkerAndPointSetTest, PointsCarryTheirIndicesUnderEachBinding) {
    auto* materialBinding = add(new SoMaterialBinding);
    SoNormal* given = normals({SbVec3f(1, 0, 0), SbVec3f(0, 1, 0), SbVec3f(0, 0, -1)});
    auto* normalBinding = add(new SoNormalBinding);
    add(new SoPointSet);
    // Every binding but OVERALL gives each point its own value.
    for (int binding : {SoMaterialBinding::OVERALL, SoMaterialBinding::PER_PART,
                        SoMaterialBinding::PER_FACE, SoMaterialBinding::PER_VERTEX_INDEXED}) {
        materialBinding->value.setValue(binding);
        normalBinding->value.setValue(binding);
        DebugErrorRecorder recorder;  // three normals for four points, when bound per point
        const std::vector<shapetest::Primitive> result = points();
        ASSERT_EQ(result.size(), 4u);
        EXPECT_EQ(recorder.size(), binding == SoMaterialBinding::OVERALL ? 0u : 1u);
        for (int i = 0; i < 4; ++i) {
            const int expected = binding == SoMaterialBinding::OVERALL ? 0 : i;
            const shapetest::Vertex& v = result[i].v[0];
            const shapetest::PointIndices& detail = result[i].points.at(0);
            EXPECT_EQ(v.point, coords->point[i]);
            EXPECT_EQ(detail.coord, i);
            EXPECT_EQ(v.material, expected) << binding;
            EXPECT_EQ(detail.material, expected);
            EXPECT_EQ(detail.normal, expected);
            EXPECT_EQ(v.normal, expected < 3 ? given->vector[expected] : SbVec3f(0, 0, 1));
        }
    }
}

TEST_F(MarkerAndPointSetTest, NumPointsTakesTheFirstCoordinatesAndBoundsThem) {
    auto* set = add(new SoMarkerSet);  // to the callbacks, a marker set is a point set
    const struct {
        int numPoints;
        size_t drawn;
        size_t warnings;
    } cases[] = {{2, 2, 0}, {-1, 4, 0}, {9, 4, 1}, {-7, 0, 1}};
    for (const auto& c : cases) {
        set->numPoints = c.numPoints;
        DebugErrorRecorder recorder;
        EXPECT_EQ(points().size(), c.drawn) << c.numPoints;
        EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), c.warnings) << recorder.dump();
    }
    auto* move = new SoTranslation;
    move->translation.setValue(SbVec3f(10, 0, 0));
    root->insertChild(move, 0);
    set->numPoints = 3;
    EXPECT_EQ(box(), SbBox3f(9, -5, 0, 14, 2, 6));

    coords->point.setNum(0);
    set->numPoints = -1;
    DebugErrorRecorder recorder;
    EXPECT_TRUE(points().empty());
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
}

}  // namespace
