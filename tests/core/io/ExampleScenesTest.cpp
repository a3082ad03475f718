#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "IoTestSupport.h"
#include "support/DebugErrorRecorder.h"

// The shipped scenes read without a complaint, with the nodes they were written with, and
// come back the same through the writer.
TEST(ExampleScenes, LoadAndRoundTrip) {
    const struct {
        const char* file;
        const char* types;  // some of the nodes it holds
    } examples[] = {
        {"lit_shapes.tsc", "PerspectiveCamera DirectionalLight Cube Sphere Cone Cylinder"},
        {"lines_and_markers.tsc", "IndexedLineSet PointSet MarkerSet DrawStyle"},
        {"text.tsc", "Text2 Text3 AnnoText3 Font"},
        {"image.tsc", "OrthographicCamera Image"},
    };
    for (const auto& example : examples) {
        SCOPED_TRACE(example.file);
        DebugErrorRecorder recorder;
        SoInput in;
        ASSERT_TRUE(in.openFile((std::string(TESSARA_EXAMPLES_DIR) + "/" + example.file).c_str()));
        const auto root = iotest::hold(SoDB::readAll(&in));
        in.closeFile();
        ASSERT_NE(root, nullptr) << recorder.dump();
        EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
        const std::string outline = iotest::outline(root.get());
        std::istringstream types(example.types);
        for (std::string type; types >> type;)
            EXPECT_NE(outline.find(type), std::string::npos) << type << " in " << outline;

        const std::string text = iotest::writeText(root.get());
        const auto back = iotest::readText(text);
        ASSERT_NE(back, nullptr) << recorder.dump() << text;
        ASSERT_EQ(back->getNumChildren(), 1);
        EXPECT_TRUE(iotest::sameGraph(root.get(), back->getChild(0)));
        EXPECT_EQ(iotest::writeText(back->getChild(0)), text);
    }
}
