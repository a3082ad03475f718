#include <Tessara/base/SoDB.h>
#include <Tessara/base/SoNodeList.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoAnnoText3.h>
#include <Tessara/nodes/SoImage.h>
#include <Tessara/nodes/SoMarkerSet.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "IoTestSupport.h"
#include "support/DebugErrorRecorder.h"

namespace {

struct Example {
    const char* file;
    std::map<std::string, int> typeCounts;  // nodes of each type met in a full traversal
};

const std::vector<Example>& examples() {
    static const std::vector<Example> list = {
        {"lit_shapes.tsc",
         {{"SoPerspectiveCamera", 1},
          {"SoDirectionalLight", 2},
          {"SoCube", 1},
          {"SoSphere", 1},
          {"SoCone", 1},
          {"SoCylinder", 1},
          {"SoIndexedFaceSet", 1},
          {"SoMaterialBinding", 1},
          {"SoSeparator", 7}}},
        {"lines_and_markers.tsc",
         {{"SoLineSet", 1},
          {"SoIndexedLineSet", 2},
          {"SoPointSet", 1},
          {"SoMarkerSet", 1},
          {"SoDrawStyle", 4}}},
        {"text.tsc", {{"SoText2", 2}, {"SoText3", 2}, {"SoAnnoText3", 1}, {"SoFont", 5}}},
        {"image.tsc", {{"SoImage", 3}, {"SoOrthographicCamera", 1}}},
    };
    return list;
}

std::string pathOf(const char* file) {
    return std::string(TESSARA_EXAMPLES_DIR) + "/" + file;
}

// Node types per name, counting a shared node at each place it is met.
std::map<std::string, int> countTypes(SoNode* root) {
    std::map<std::string, int> counts;
    std::vector<SoNode*> stack{root};
    while (!stack.empty()) {
        SoNode* node = stack.back();
        stack.pop_back();
        ++counts[node->getTypeId().getName().getString()];
        if (const SoNodeList* children = node->getChildren())
            for (int i = 0; i < children->getLength(); ++i) stack.push_back((*children)[i]);
    }
    return counts;
}

iotest::Held<SoSeparator> readExample(const Example& example, std::string& errors) {
    DebugErrorRecorder recorder;
    SoInput in;
    if (!in.openFile(pathOf(example.file).c_str())) return nullptr;
    auto root = iotest::hold(SoDB::readAll(&in));
    errors = recorder.dump();
    return root;
}

// Nodes that other parts of the core add: until they exist, a scene using them cannot load.
std::string missingTypes(const Example& example) {
    std::string missing;
    for (const auto& entry : example.typeCounts)
        if (SoType::fromName(entry.first.c_str()).isBad()) missing += entry.first + " ";
    return missing;
}

}  // namespace

class ExampleScenes : public ::testing::TestWithParam<Example> {};

TEST_P(ExampleScenes, LoadWithTheExpectedNodes) {
    const Example& example = GetParam();
    const std::string missing = missingTypes(example);
    if (!missing.empty()) GTEST_SKIP() << "node types not in the core yet: " << missing;
    std::string errors;
    const auto root = readExample(example, errors);
    ASSERT_NE(root, nullptr) << errors;
    EXPECT_EQ(errors, "");
    const auto counts = countTypes(root.get());
    for (const auto& [type, count] : example.typeCounts) {
        const auto found = counts.find(type);
        EXPECT_EQ(found == counts.end() ? 0 : found->second, count) << type;
    }
}

TEST_P(ExampleScenes, RoundTrip) {
    const Example& example = GetParam();
    const std::string missing = missingTypes(example);
    if (!missing.empty()) GTEST_SKIP() << "node types not in the core yet: " << missing;
    std::string errors;
    const auto root = readExample(example, errors);
    ASSERT_NE(root, nullptr) << errors;
    const std::string text = iotest::writeText(root.get());
    DebugErrorRecorder recorder;
    const auto back = iotest::readText(text);
    ASSERT_NE(back, nullptr) << recorder.dump() << text;
    ASSERT_EQ(back->getNumChildren(), 1);
    EXPECT_TRUE(iotest::sameGraph(root.get(), back->getChild(0)));
    EXPECT_EQ(iotest::writeText(back->getChild(0)), text);
}

INSTANTIATE_TEST_SUITE_P(Io, ExampleScenes, ::testing::ValuesIn(examples()),
                         [](const ::testing::TestParamInfo<Example>& info) {
                             std::string name = info.param.file;
                             name = name.substr(0, name.find('.'));
                             name.erase(std::remove(name.begin(), name.end(), '_'), name.end());
                             return name;
                         });

TEST(ExampleScenesContent, ImagePixelsAndSharing) {
    std::string errors;
    const auto root = readExample(examples()[3], errors);
    ASSERT_NE(root, nullptr) << errors;
    SoNode* scene = root->getChild(0);
    const SoNodeList& children = *scene->getChildren();
    ASSERT_EQ(children.getLength(), 6);
    auto* picture = static_cast<SoImage*>(children[1]);
    EXPECT_EQ(children[5], picture);
    EXPECT_EQ(picture->getName(), SbName("picture"));
    SbVec2s size;
    int nc = 0;
    const unsigned char* bytes = picture->image.getValue(size, nc);
    ASSERT_EQ(size, SbVec2s(8, 6));
    ASSERT_EQ(nc, 3);
    // Row 1 (second from the bottom), column 1: 0xFF2800.
    const unsigned char* pixel = bytes + (1 * 8 + 1) * 3;
    EXPECT_EQ(pixel[0], 0xFF);
    EXPECT_EQ(pixel[1], 0x28);
    EXPECT_EQ(pixel[2], 0x00);
    EXPECT_EQ(picture->horAlignment.getValue(), SoImage::CENTER);
    auto* stretched = static_cast<SoImage*>(children[3]);
    EXPECT_EQ(stretched->width.getValue(), 32);
    EXPECT_EQ(stretched->vertAlignment.getValue(), SoImage::BOTTOM);
}

TEST(ExampleScenesContent, TextKeepsUtf8) {
    const Example& example = examples()[2];
    const std::string missing = missingTypes(example);
    if (!missing.empty()) GTEST_SKIP() << "node types not in the core yet: " << missing;
    std::string errors;
    const auto root = readExample(example, errors);
    ASSERT_NE(root, nullptr) << errors;
    const SoNodeList& parts = *root->getChild(0)->getChildren();
    const SoNodeList& annotation = *parts[parts.getLength() - 1]->getChildren();
    auto* anno = static_cast<SoAnnoText3*>(annotation[annotation.getLength() - 1]);
    ASSERT_EQ(anno->string.getNum(), 2);
    EXPECT_EQ(anno->string[1],
              "Gr\xC3\xBC\xC3\x9F"
              "e, 5 \xE2\x82\xAC");
    EXPECT_EQ(anno->justification.getValue(), SoAnnoText3::RIGHT);
}

TEST(ExampleScenesContent, MarkerIndices) {
    const Example& example = examples()[1];
    const std::string missing = missingTypes(example);
    if (!missing.empty()) GTEST_SKIP() << "node types not in the core yet: " << missing;
    std::string errors;
    const auto root = readExample(example, errors);
    ASSERT_NE(root, nullptr) << errors;
    const SoNodeList& parts = *root->getChild(0)->getChildren();
    const SoNodeList& last = *parts[parts.getLength() - 1]->getChildren();
    auto* markers = static_cast<SoMarkerSet*>(last[last.getLength() - 1]);
    ASSERT_EQ(markers->markerIndex.getNum(), 5);
    EXPECT_EQ(markers->markerIndex[1], SoMarkerSet::STAR_5_5);
    EXPECT_EQ(markers->markerIndex[4], SoMarkerSet::TRIANGLE_FILLED_7_7);
}
