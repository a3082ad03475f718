#include <Tessara/actions/SoWriteAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/base/SoPathList.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/io/SoOutput.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoDrawStyle.h>
#include <Tessara/nodes/SoGroup.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoText2.h>
#include <Tessara/nodes/SoTranslation.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "IoTestSupport.h"
#include "SoIoAllFields.h"
#include "support/DebugErrorRecorder.h"

using iotest::hold;
using iotest::writeText;

TEST(SoWriteAction, ExactTextOfASmallGraph) {
    auto root = hold(new SoSeparator);
    auto* move = new SoTranslation;
    move->translation = SbVec3f(1, 2.5f, -3);
    root->addChild(move);
    auto* material = new SoMaterial;
    material->diffuseColor.setValues({SbColor(1, 0, 0), SbColor(0, 0, 1)});
    root->addChild(material);
    root->addChild(new SoGroup);
    auto* style = new SoDrawStyle;
    style->style = SoDrawStyle::LINES;
    style->linePattern = static_cast<unsigned short>(0xF0F0);
    root->addChild(style);
    root->addChild(material);
    auto* points = new SoCoordinate3;
    points->setName("pts");
    points->point.setValues({SbVec3f(0, 0, 0), SbVec3f(0.1f, 1e-7f, 3e10f)});
    root->addChild(points);
    auto* text = new SoText2;
    text->string.setValues({SbString("say \"hi\""), SbString("back\\slash")});
    text->justification = SoText2::CENTER;
    root->addChild(text);

    EXPECT_EQ(writeText(root.get()),
              "#Tessara V1.0 ascii\n"
              "\n"
              "Separator {\n"
              "  Translation {\n"
              "    translation 1 2.5 -3\n"
              "  }\n"
              "  DEF _0 Material {\n"
              "    diffuseColor [ 1 0 0, 0 0 1 ]\n"
              "  }\n"
              "  Group { }\n"
              "  DrawStyle {\n"
              "    style LINES\n"
              "    linePattern 61680\n"
              "  }\n"
              "  USE _0\n"
              "  DEF pts Coordinate3 {\n"
              "    point [ 0 0 0, 0.1 1e-07 3e+10 ]\n"
              "  }\n"
              "  Text2 {\n"
              "    string [ \"say \\\"hi\\\"\", \"back\\\\slash\" ]\n"
              "    justification CENTER\n"
              "  }\n"
              "}\n");
}

TEST(SoWriteAction, LongListsWrapAndReadBack) {
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
    const auto back = iotest::readText(text);
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(iotest::sameGraph(coords.get(), back->getChild(0)));
}

TEST(SoWriteAction, SharedNodesGetNamesThatReadBackAsTheSameNode) {
    auto root = hold(new SoSeparator);
    auto* unnamed = new SoTranslation;
    auto* named = new SoMaterial;
    named->setName("red");
    auto* clash = new SoDrawStyle;  // shared, but its name is carried by another node too
    clash->setName("dup");
    auto* other = new SoGroup;
    other->setName("dup");
    auto* taken = new SoGroup;  // owns the first generated name already
    taken->setName("_0");
    auto* group = new SoGroup;
    group->addChild(unnamed);
    group->addChild(named);
    root->addChild(taken);
    root->addChild(group);
    root->addChild(clash);
    root->addChild(other);
    root->addChild(group);
    root->addChild(unnamed);
    root->addChild(clash);
    root->addChild(named);

    const std::string text = writeText(root.get());
    EXPECT_EQ(text,
              "#Tessara V1.0 ascii\n"
              "\n"
              "Separator {\n"
              "  DEF _0 Group { }\n"
              "  DEF _1 Group {\n"
              "    DEF _2 Translation { }\n"
              "    DEF red Material { }\n"
              "  }\n"
              "  DEF _3 DrawStyle { }\n"
              "  DEF dup Group { }\n"
              "  USE _1\n"
              "  USE _2\n"
              "  USE _3\n"
              "  USE red\n"
              "}\n");
    const auto back = iotest::readText(text);
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(iotest::sameGraph(root.get(), back->getChild(0)));
    SoNode* readRoot = back->getChild(0);
    EXPECT_EQ((*readRoot->getChildren())[2]->getName(), SbName("_3"));
    EXPECT_EQ((*readRoot->getChildren())[7]->getName(), SbName("red"));
}

TEST(SoWriteAction, NamesThatCannotBeWrittenAreDropped) {
    auto root = hold(new SoSeparator);
    auto* spaced = new SoGroup;
    spaced->setName("two words");
    auto* digit = new SoGroup;
    digit->setName("9lives");
    root->addChild(spaced);
    root->addChild(digit);
    root->addChild(digit);
    DebugErrorRecorder recorder;
    const std::string text = writeText(root.get());
    EXPECT_EQ(text,
              "#Tessara V1.0 ascii\n\nSeparator {\n  Group { }\n  DEF _0 Group { }\n  USE _0\n}\n");
    EXPECT_TRUE(recorder.contains("SoWriteAction::apply", "\"two words\""));
    EXPECT_TRUE(recorder.contains("SoWriteAction::apply", "\"9lives\""));
}

TEST(SoWriteAction, WritingAPathKeepsWhatItsTraversalSees) {
    auto root = hold(new SoSeparator);
    auto* before = new SoTranslation;
    before->translation = SbVec3f(1, 0, 0);
    auto* isolated = new SoSeparator;  // leaves the state alone: not needed
    isolated->addChild(new SoMaterial);
    auto* group = new SoGroup;
    auto* style = new SoDrawStyle;
    style->lineWidth = 3;
    auto* inner = new SoGroup;  // changes the state: written whole
    inner->addChild(new SoTranslation);
    auto* target = new SoCoordinate3;
    group->addChild(style);
    group->addChild(new SoSeparator);
    group->addChild(inner);
    group->addChild(target);
    group->addChild(new SoMaterial);  // after the path: not needed
    root->addChild(before);
    root->addChild(isolated);
    root->addChild(group);
    root->addChild(new SoTranslation);

    auto path = hold(new SoPath(root.get()));
    path->append(2);
    path->append(3);
    SoOutput out;
    out.setBuffer();
    SoWriteAction writer(&out);
    writer.apply(path.get());
    EXPECT_EQ(out.getString(),
              "#Tessara V1.0 ascii\n"
              "\n"
              "Separator {\n"
              "  Translation {\n"
              "    translation 1 0 0\n"
              "  }\n"
              "  Group {\n"
              "    DrawStyle {\n"
              "      lineWidth 3\n"
              "    }\n"
              "    Group {\n"
              "      Translation { }\n"
              "    }\n"
              "    Coordinate3 { }\n"
              "  }\n"
              "}\n");
}

TEST(SoWriteAction, PathListsShareOneHeader) {
    auto root = hold(new SoSeparator);
    auto* a = new SoTranslation;
    auto* b = new SoMaterial;
    root->addChild(a);
    root->addChild(b);
    auto p1 = hold(new SoPath(root.get()));
    p1->append(0);
    auto p2 = hold(new SoPath(root.get()));
    p2->append(1);
    SoPathList list;
    list.append(p1.get());
    list.append(p2.get());
    SoOutput out;
    out.setBuffer();
    SoWriteAction writer(&out);
    writer.apply(list);
    EXPECT_EQ(out.getString(),
              "#Tessara V1.0 ascii\n"
              "\nSeparator {\n  Translation { }\n}\n"
              "\nSeparator {\n  Translation { }\n  Material { }\n}\n");
    writer.apply(root.get());  // a new apply writes a new header
    EXPECT_EQ(out.getString().find("#Tessara", 1), out.getString().rfind("#Tessara"));
    EXPECT_NE(out.getString().rfind("#Tessara"), 0u);
}

TEST(SoWriteAction, WritesToAFile) {
    const std::string path = ::testing::TempDir() + "io_write_test.tsc";
    auto node = hold(new SoTranslation);
    node->translation = SbVec3f(0, 0, 2);
    {
        SoOutput out;
        ASSERT_TRUE(out.openFile(path.c_str()));
        SoWriteAction writer(&out);
        EXPECT_EQ(writer.getOutput(), &out);
        writer.apply(node.get());
    }
    SoInput in;
    ASSERT_TRUE(in.openFile(path.c_str()));
    const auto back = iotest::hold(SoDB::readAll(&in));
    std::remove(path.c_str());
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(iotest::sameGraph(node.get(), back->getChild(0)));
}

TEST(SoWriteAction, DefaultOutputIsStdout) {
    SoWriteAction writer;
    ASSERT_NE(writer.getOutput(), nullptr);
    auto node = hold(new SoGroup);
    ::testing::internal::CaptureStdout();
    writer.apply(node.get());
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "#Tessara V1.0 ascii\n\nGroup { }\n");
}

TEST(SoWriteAction, DeepGraphsAreWrittenWithoutRecursion) {
    auto root = hold(new SoGroup);
    SoGroup* tail = root.get();
    for (int i = 0; i < 10000; ++i) {
        auto* next = new SoGroup;
        tail->addChild(next);
        tail = next;
    }
    tail->addChild(new SoTranslation);
    const std::string text = writeText(root.get());
    // Indentation stops growing at 40 levels: deep files stay linear in size.
    EXPECT_NE(text.find("\n" + std::string(80, ' ') + "Translation { }"), std::string::npos);
    EXPECT_LT(text.size(), 2000000u);  // 200 MB if every level indented
    const auto back = iotest::readText(text);
    ASSERT_NE(back, nullptr);
    EXPECT_TRUE(iotest::sameGraph(root.get(), back->getChild(0)));
}
