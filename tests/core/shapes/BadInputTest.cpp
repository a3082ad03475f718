// Bad input: out-of-range indices, short faces, bad counts and NaN coordinates are reported
// once per traversal and skipped, and everything else still comes out.

#include <limits>
#include <sstream>
#include <string>

#include "ShapeTestSupport.h"
#include "support/DebugErrorRecorder.h"

using namespace shapetest;

using BadInputTest = ShapeTest;

TEST_F(BadInputTest, BadPartsAreSkippedWithOneWarning) {
    const struct {
        Kind kind;
        int numCoords;
        std::vector<int32_t> values;
        std::vector<int32_t> materialIndex;  // bound per face when given
        std::vector<int32_t> normalIndex;    // bound per vertex when given
        const char* primitives;              // what still comes out
        const char* warning;                 // words of the one warning; none when empty
    } cases[] = {
        // clang-format off
        {Kind::INDEXED_FACES, 4, {0, 1, 2, -1, 0, 1, 9, -1, 0, 2, 3, -1}, {}, {},
         "0/0:0 1 2, 2/2:0 2 3", "SoIndexedFaceSet 1 9"},
        {Kind::INDEXED_FACES, 4, {0, 1, 2, -1, 0, -7, 2, -1, 0, 2, 3}, {}, {},
         "0/0:0 1 2, 2/2:0 2 3", "1 -7"},
        {Kind::INDEXED_FACES, 4, {0, 1, -1, 0, 2, 3}, {}, {}, "1/1:0 2 3", "0 2"},
        {Kind::INDEXED_FACES, 4, {0, 1, 2, -1, 0, 2, 3}, {5, 1}, {},
         "1/1:0 2 3", "0 material"},
        {Kind::INDEXED_FACES, 4, {0, 1, 2, -1, 0, 2, 3}, {1}, {},
         "0/0:0 1 2", "1 material"},
        {Kind::INDEXED_FACES, 4, {0, 1, 2, -1, 0, 2, 3}, {}, {0, 1, 0, -1, 0, 4, 0},
         "0/0:0 1 2", "1 normal"},
        {Kind::INDEXED_FACES, 4, {0, 1, 9, -1, 0, 1, 2, -1, 8, 2, 3, -1, 0, 1}, {}, {},
         "1/1:0 1 2", "3"},
        // Segment numbers stay tied to the fields: the skipped line had one segment.
        {Kind::INDEXED_LINES, 4, {0, 9, -1, 1, 2, 3, -1, 3, -1}, {}, {},
         "1/1:1 2, 1/2:2 3", "SoIndexedLineSet 0 9 2"},
        {Kind::LINES, 4, {-4, 2, 5}, {}, {},
         "1/0:0 1, 2/1:2 3", "SoLineSet 0 -4"},
        {Kind::FACES, 2, {-1}, {}, {}, "", "SoFaceSet 0 2"},
        {Kind::FACES, 7, {3, 10}, {}, {},
         "0/0:0 1 2, 1/1:3 4 5 (3 4 5 6), 1/1:3 5 6 (3 4 5 6)", "SoFaceSet 1 10"},
        // The skipped strip still used up coordinates 0 and 1.
        {Kind::STRIPS, 6, {2, 4}, {}, {}, "0/1:2 3 4, 1/1:4 3 5", "SoTriangleStripSet 0"},
        // Empty lists give nothing and say nothing.
        {Kind::FACES, 4, {}, {}, {}, "", ""},
        {Kind::STRIPS, 4, {}, {}, {}, "", ""},
        {Kind::LINES, 4, {}, {}, {}, "", ""},
        {Kind::INDEXED_FACES, 4, {}, {}, {}, "", ""},
        {Kind::INDEXED_LINES, 4, {}, {}, {}, "", ""},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.values));
        root->removeAllChildren();
        const std::vector<SbVec3f> points = arc(c.numCoords);
        coordinates(points);
        materials(2);
        normals({SbVec3f(0, 0, 1), SbVec3f(0, 0, 1)});
        if (!c.materialIndex.empty()) materialBinding(SoMaterialBinding::PER_FACE_INDEXED);
        if (!c.normalIndex.empty()) normalBinding(SoNormalBinding::PER_VERTEX_INDEXED);
        SoShape* node = shape(c.kind, c.values);
        const auto setList = [node](const char* name, const std::vector<int32_t>& list) {
            if (!list.empty())
                static_cast<SoMFInt32*>(node->getField(name))
                    ->setValues(0, static_cast<int>(list.size()), list.data());
        };
        setList("materialIndex", c.materialIndex);
        setList("normalIndex", c.normalIndex);
        DebugErrorRecorder recorder;
        EXPECT_EQ(primitives(points), c.primitives);
        generate();
        const size_t warnings = std::string(c.warning).empty() ? 0u : 2u;  // one per traversal
        EXPECT_EQ(recorder.size(), warnings) << recorder.dump();
        EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), warnings);
        std::istringstream words(c.warning);
        for (std::string word; words >> word;)
            EXPECT_TRUE(recorder.contains("", word)) << word << "\n" << recorder.dump();
    }
}

TEST_F(BadInputTest, NaNCoordinatesPassThroughWithoutHarm) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    coordinates({SbVec3f(0, 0, 0), SbVec3f(1, 0, 0), SbVec3f(nan, 1, 0), SbVec3f(0, 1, 0),
                 SbVec3f(2, 2, nan)});
    auto* shapeHints = hints(SoShapeHints::COUNTERCLOCKWISE, 0.0f);
    shape(Kind::INDEXED_FACES, {0, 1, 2, 3, -1, 0, 1, 3, -1, 1, 4, 3});
    shape(Kind::FACES, {-1});
    shape(Kind::STRIPS, {-1});
    for (float crease : {0.0f, 0.7f, 4.0f}) {
        shapeHints->creaseAngle.setValue(crease);
        DebugErrorRecorder recorder;
        const std::vector<Primitive> result = triangles();
        EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 0u) << recorder.dump();
        // The face without NaN still has its plain normal.
        ASSERT_GE(result.size(), 4u);
        EXPECT_EQ(result[2].face, 1);
        EXPECT_TRUE(crease > 0.0f || result[2].v[0].normal == SbVec3f(0, 0, 1));
        EXPECT_TRUE(std::isnan(result[0].v[2].point[0]));
    }
}
