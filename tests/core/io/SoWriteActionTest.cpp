#include <Tessara/actions/SoWriteAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/base/SoNodeList.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/base/SoPathList.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/io/SoOutput.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoGroup.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoTranslation.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "IoTestSupport.h"
#include "support/DebugErrorRecorder.h"

using iotest::hold;
using iotest::outline;
using iotest::writeText;

namespace {

SoGroup* named(SoGroup* group, const char* name) {
    group->setName(name);
    return group;
}

}  // namespace

// Every place where a careless choice of DEF names would make a USE read back as another node.
TEST(SoWriteAction, SharedNodesReadBackAsTheSameNode) {
    auto root = hold(new SoSeparator);
    auto* shared = new SoGroup;
    shared->addChild(new SoTranslation);  // shared inside a shared node
    auto* red = new SoMaterial;
    red->setName("red");
    shared->addChild(red);
    auto* clash = named(new SoGroup, "dup");  // shared, but its name is carried by another too
    auto* unwritable = named(new SoGroup, "9lives");
    root->addChild(shared);
    root->addChild(named(new SoGroup, "_0"));  // would be the first generated name
    root->addChild(clash);
    root->addChild(named(new SoGroup, "dup"));
    root->addChild(named(new SoGroup, "two words"));
    root->addChild(unwritable);
    for (SoNode* again : std::vector<SoNode*>{shared, shared->getChild(0), clash, red, unwritable})
        root->addChild(again);

    DebugErrorRecorder recorder;
    const std::string text = writeText(root.get());
    const auto back = iotest::readText(text);
    ASSERT_NE(back, nullptr) << recorder.dump() << text;
    EXPECT_EQ(iotest::outline(root.get(), true), iotest::outline(back->getChild(0), true)) << text;
    // Names that read back as they are survive; the others are reported.
    const SoNodeList& children = *back->getChild(0)->getChildren();
    EXPECT_EQ(children[9]->getName(), SbName("red"));
    EXPECT_EQ(children[3]->getName(), SbName("dup"));
    EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), 2u) << recorder.dump();
    EXPECT_TRUE(recorder.contains("SoWriteAction::apply", "\"two words\""));
    EXPECT_TRUE(recorder.contains("SoWriteAction::apply", "\"9lives\""));
}

TEST(SoWriteAction, APathKeepsWhatItsTraversalSees) {
    // Before the path's nodes, a separator leaves the state alone and is not needed, a group
    // changes it and is written whole; nodes after the path are not needed.
    const auto read = iotest::readText(iotest::scene(
        "Separator { Translation { } Separator { Material { } } Group { DrawStyle { } "
        "Separator { } Group { Translation { } } Coordinate3 { } Material { } } Translation { } "
        "}"));
    ASSERT_NE(read, nullptr);
    SoNode* root = read->getChild(0);
    auto path = hold(new SoPath(root));
    path->append(2);
    path->append(3);
    auto second = hold(new SoPath(root));
    second->append(0);
    SoPathList list;
    list.append(path.get());
    list.append(second.get());

    SoOutput out;
    out.setBuffer();
    SoWriteAction writer(&out);
    writer.apply(path.get());
    const std::string first =
        "Separator(Translation, Group(DrawStyle, Group(Translation), Coordinate3))";
    EXPECT_EQ(outline(iotest::readText(out.getString()).get()), "Separator(" + first + ")");
    out.setBuffer();
    writer.apply(list);
    std::string text = out.getString();
    EXPECT_EQ(text.find(iotest::kHeader, 1), std::string::npos);  // one header for the list
    const auto back = iotest::readText(text);
    ASSERT_NE(back, nullptr) << text;
    EXPECT_EQ(outline(back.get()), "Separator(" + first + ", Separator(Translation))");
    writer.apply(root);  // a new apply writes a new header
    text = out.getString();
    EXPECT_NE(text.find(iotest::kHeader, 1), std::string::npos);
}

// Files on disk: what is written reads back, the reader's errors name the file, and a file
// that cannot be opened or stored is reported.
TEST(SoWriteAction, FilesReadBackAndAreNamedInErrors) {
    const std::string path = ::testing::TempDir() + "io_write_test.tsc";
    auto node = hold(new SoTranslation);
    node->translation = SbVec3f(0, 0, 2);
    {
        SoOutput out;
        ASSERT_TRUE(out.openFile(path.c_str()));
        SoWriteAction(&out).apply(node.get());
    }
    SoInput in;
    ASSERT_TRUE(in.openFile(path.c_str()));
    const auto back = hold(SoDB::readAll(&in));
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(iotest::outline(node.get(), true), iotest::outline(back->getChild(0), true));

    FILE* file = std::fopen(path.c_str(), "ab");
    ASSERT_NE(file, nullptr);
    std::fputs("Separator {\n  Sphere { radius }\n}\n", file);
    std::fclose(file);
    DebugErrorRecorder recorder;
    ASSERT_TRUE(in.openFile(path.c_str()));
    EXPECT_EQ(SoDB::readAll(&in), nullptr);
    in.closeFile();
    std::remove(path.c_str());
    ASSERT_GE(recorder.size(), 1u);
    EXPECT_EQ(recorder.messages()[0].message.rfind(path + ":", 0), 0u) << recorder.dump();

    recorder.clear();
    EXPECT_FALSE(in.openFile("/nonexistent/dir/scene.tsc", true));
    EXPECT_EQ(recorder.size(), 0u);
    EXPECT_FALSE(in.openFile("/nonexistent/dir/scene.tsc"));
    EXPECT_TRUE(recorder.contains("SoInput::openFile", "/nonexistent/dir/scene.tsc"));
    EXPECT_TRUE(in.eof());
    EXPECT_EQ(in.getLineNumber(), 0);  // no position
    char c = 0;
    EXPECT_FALSE(in.read(c));
    SoOutput out;
    EXPECT_FALSE(out.openFile("/nonexistent/dir/out.tsc"));
    EXPECT_TRUE(recorder.contains("SoOutput::openFile", "/nonexistent/dir/out.tsc"));
    ASSERT_TRUE(out.openFile("/dev/full"));
    for (int i = 0; i < 100000; ++i) out.write("data that cannot be stored ");
    out.closeFile();
    EXPECT_TRUE(recorder.contains("SoOutput::closeFile")) << recorder.dump();

    SoWriteAction writer;  // to stdout
    ::testing::internal::CaptureStdout();
    writer.apply(node.get());
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), writeText(node.get()));
}

// Wrapped lists read back: the round trip writes lists of every length.
TEST(SoWriteAction, LongListsWrap) {
    auto coords = hold(new SoCoordinate3);
    for (int i = 0; i < 40; ++i) coords->point.set1Value(i, SbVec3f(i * 0.25f, -i, i * 1000.5f));
    const std::string text = writeText(coords.get());
    size_t longest = 0, start = 0;
    for (size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n', start)) {
        longest = std::max(longest, end - start);
        start = end + 1;
    }
    EXPECT_LE(longest, 110u) << text;
    // The field sits one level in, its continuation lines one more.
    EXPECT_NE(text.find("\n  point [ 0 0 0, "), std::string::npos) << text;
    EXPECT_NE(text.find(",\n    "), std::string::npos) << text;
}

// Indentation never goes below zero, and columns count characters.
TEST(SoOutput, IndentationAndColumns) {
    SoOutput out;
    out.setBuffer();
    out.decrementIndent();
    out.incrementIndent();
    out.newLine();
    out.writeQuoted(SbString("\xC3\xA9t\xC3\xA9"));
    EXPECT_EQ(out.getString(), "\n  \"\xC3\xA9t\xC3\xA9\"");
    EXPECT_EQ(out.getColumn(), 7);
}
