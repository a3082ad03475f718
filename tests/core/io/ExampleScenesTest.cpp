#include <Tessara/base/SoDB.h>
#include <Tessara/base/SoNodeList.h>
#include <Tessara/io/SoInput.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "IoTestSupport.h"
#include "support/DebugErrorRecorder.h"

namespace {

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

}  // namespace

// The shipped scenes read without a complaint, with the nodes they were written with, and
// come back the same through the writer.
TEST(ExampleScenes, LoadAndRoundTrip) {
    const struct {
        const char* file;
        std::map<std::string, int> typeCounts;  // nodes of each type met in a full traversal
    } examples[] = {
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
    for (const auto& example : examples) {
        SCOPED_TRACE(example.file);
        DebugErrorRecorder recorder;
        SoInput in;
        ASSERT_TRUE(in.openFile((std::string(TESSARA_EXAMPLES_DIR) + "/" + example.file).c_str()));
        const auto root = iotest::hold(SoDB::readAll(&in));
        ASSERT_NE(root, nullptr) << recorder.dump();
        EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
        const auto counts = countTypes(root.get());
        for (const auto& [type, count] : example.typeCounts) {
            const auto found = counts.find(type);
            EXPECT_EQ(found == counts.end() ? 0 : found->second, count) << type;
        }

        const std::string text = iotest::writeText(root.get());
        const auto back = iotest::readText(text);
        ASSERT_NE(back, nullptr) << recorder.dump() << text;
        ASSERT_EQ(back->getNumChildren(), 1);
        EXPECT_TRUE(iotest::sameGraph(root.get(), back->getChild(0)));
        EXPECT_EQ(iotest::writeText(back->getChild(0)), text);
    }
}
