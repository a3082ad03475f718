#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoDrawStyle.h>
#include <Tessara/nodes/SoGroup.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoSwitch.h>
#include <Tessara/nodes/SoTranslation.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "IoTestSupport.h"
#include "SoIoAllFields.h"
#include "support/DebugErrorRecorder.h"

using iotest::readScene;

namespace {

// Reads one IoAllFields node from `body` (the text inside its braces).
iotest::Held<SoSeparator> readAllFields(const std::string& body, SoIoAllFields*& node) {
    auto root = readScene("IoAllFields { " + body + " }");
    node = nullptr;
    if (root && root->getNumChildren() == 1 &&
        root->getChild(0)->isOfType(SoIoAllFields::getClassTypeId()))
        node = static_cast<SoIoAllFields*>(root->getChild(0));
    return root;
}

}  // namespace

TEST(SceneReader, SingleValuesOfEveryType) {
    DebugErrorRecorder recorder;
    SoIoAllFields* n = nullptr;
    const auto root = readAllFields(
        "boolValue TRUE floatValue -1.25e-3 doubleValue 0.1 int32Value -0x7FFFFFFF "
        "uint32Value 0xDEADBEEF shortValue -300 ushortValue 0xF0F0 "
        "vec2fValue 1 -2 vec3fValue 0.5 1e2 -3 vec4fValue 1 2 3 4 vec2sValue -1 2 "
        "vec3sValue 3 -4 5 colorValue 1 0.5 0 rotationValue 0 1 0 3.14159265 "
        "matrixValue 1 2 3 4  5 6 7 8  9 10 11 12  13 14 15 16 "
        "stringValue \"say \\\"hi\\\" \\\\ \xE2\x9C\x93\" nameValue some-name mode AUTO",
        n);
    ASSERT_NE(n, nullptr) << recorder.dump();
    EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
    EXPECT_TRUE(n->boolValue.getValue());
    EXPECT_EQ(n->floatValue.getValue(), -1.25e-3f);
    EXPECT_EQ(n->doubleValue.getValue(), 0.1);
    EXPECT_EQ(n->int32Value.getValue(), -0x7FFFFFFF);
    EXPECT_EQ(n->uint32Value.getValue(), 0xDEADBEEFu);
    EXPECT_EQ(n->shortValue.getValue(), -300);
    EXPECT_EQ(n->ushortValue.getValue(), 0xF0F0);
    EXPECT_EQ(n->vec2fValue.getValue(), SbVec2f(1, -2));
    EXPECT_EQ(n->vec3fValue.getValue(), SbVec3f(0.5f, 100, -3));
    EXPECT_EQ(n->vec4fValue.getValue(), SbVec4f(1, 2, 3, 4));
    EXPECT_EQ(n->vec2sValue.getValue(), SbVec2s(-1, 2));
    EXPECT_EQ(n->vec3sValue.getValue(), SbVec3s(3, -4, 5));
    EXPECT_EQ(n->colorValue.getValue(), SbColor(1, 0.5f, 0));
    EXPECT_TRUE(
        n->rotationValue.getValue().equals(SbRotation(SbVec3f(0, 1, 0), 3.14159265f), 1e-6f));
    const SbMatrix& m = n->matrixValue.getValue();
    EXPECT_EQ(m[0][1], 2.0f);  // row by row
    EXPECT_EQ(m[1][0], 5.0f);
    EXPECT_EQ(m[3][3], 16.0f);
    EXPECT_EQ(n->stringValue.getValue(), "say \"hi\" \\ \xE2\x9C\x93");
    EXPECT_EQ(n->nameValue.getValue(), SbName("some-name"));
    EXPECT_EQ(n->mode.getValue(), SoIoAllFields::AUTO);
    // Read fields no longer hold their default; the others still do.
    EXPECT_FALSE(n->boolValue.isDefault());
    EXPECT_TRUE(n->parts.isDefault());
    EXPECT_TRUE(n->floats.isDefault());
}

TEST(SceneReader, BooleansAndNamesInTheirOtherSpellings) {
    SoIoAllFields* n = nullptr;
    auto root = readAllFields("boolValue 1 nameValue \"with space\" stringValue bare_word", n);
    ASSERT_NE(n, nullptr);
    EXPECT_TRUE(n->boolValue.getValue());
    EXPECT_EQ(n->nameValue.getValue(), SbName("with space"));
    EXPECT_EQ(n->stringValue.getValue(), "bare_word");
    root = readAllFields("boolValue FALSE mode 1", n);
    ASSERT_NE(n, nullptr);
    EXPECT_FALSE(n->boolValue.getValue());
    EXPECT_FALSE(n->boolValue.isDefault());
    EXPECT_EQ(n->mode.getValue(), SoIoAllFields::ON);  // enums by number too
}

TEST(SceneReader, ListForms) {
    SoIoAllFields* n = nullptr;
    const auto root = readAllFields(
        "floats [ 1, 2.5, -3, ] int32s [1 2 -3 0x10] uint32s 7 shorts [ ] "
        "vec3fs [ 0 0 0, 1 2 3 4 5 6 ] strings [ \"a\", \"b c\" ] names [ one \"t w o\" ] "
        "colors [1 0 0,0 1 0] rotations [ 0 0 1 0, 1 0 0 1.5 ] ushorts [ 0xFFFF, 1 ] "
        "vec2fs [ 1 2 ] vec4fs [ 1 2 3 4, ]",
        n);
    ASSERT_NE(n, nullptr);
    ASSERT_EQ(n->floats.getNum(), 3);
    EXPECT_EQ(n->floats[1], 2.5f);
    EXPECT_EQ(n->floats[2], -3.0f);
    ASSERT_EQ(n->int32s.getNum(), 4);
    EXPECT_EQ(n->int32s[2], -3);
    EXPECT_EQ(n->int32s[3], 16);
    ASSERT_EQ(n->uint32s.getNum(), 1);  // a bare value is a list of one
    EXPECT_EQ(n->uint32s[0], 7u);
    EXPECT_EQ(n->shorts.getNum(), 0);
    EXPECT_FALSE(n->shorts.isDefault());
    ASSERT_EQ(n->vec3fs.getNum(), 3);  // commas are optional between values
    EXPECT_EQ(n->vec3fs[2], SbVec3f(4, 5, 6));
    ASSERT_EQ(n->strings.getNum(), 2);
    EXPECT_EQ(n->strings[1], "b c");
    ASSERT_EQ(n->names.getNum(), 2);
    EXPECT_EQ(n->names[1], SbName("t w o"));
    ASSERT_EQ(n->colors.getNum(), 2);
    EXPECT_EQ(n->colors[1], SbColor(0, 1, 0));
    ASSERT_EQ(n->rotations.getNum(), 2);
    EXPECT_EQ(n->rotations[0], SbRotation());
    EXPECT_TRUE(n->rotations[1].equals(SbRotation(SbVec3f(1, 0, 0), 1.5f), 1e-6f));
    ASSERT_EQ(n->ushorts.getNum(), 2);
    EXPECT_EQ(n->ushorts[0], 0xFFFF);
    ASSERT_EQ(n->vec2fs.getNum(), 1);
    ASSERT_EQ(n->vec4fs.getNum(), 1);
    EXPECT_EQ(n->vec4fs[0], SbVec4f(1, 2, 3, 4));
}

TEST(SceneReader, ReadingAListReplacesTheDefaultValues) {
    DebugErrorRecorder recorder;
    const auto root = readScene("Material { diffuseColor [ 1 0 0, 0 0 1 ] }  Material { }");
    ASSERT_NE(root, nullptr) << recorder.dump();
    auto* set = static_cast<SoMaterial*>(root->getChild(0));
    ASSERT_EQ(set->diffuseColor.getNum(), 2);
    EXPECT_EQ(set->diffuseColor[1], SbColor(0, 0, 1));
    auto* untouched = static_cast<SoMaterial*>(root->getChild(1));
    EXPECT_TRUE(untouched->diffuseColor.isDefault());
    ASSERT_EQ(untouched->diffuseColor.getNum(), 1);
    EXPECT_EQ(untouched->diffuseColor[0], SbColor(0.8f, 0.8f, 0.8f));
}

TEST(SceneReader, BitMasks) {
    SoIoAllFields* n = nullptr;
    auto root = readAllFields("parts ( TOP | BOTTOM )", n);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->parts.getValue(), SoIoAllFields::TOP | SoIoAllFields::BOTTOM);
    root = readAllFields("parts SIDES", n);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->parts.getValue(), SoIoAllFields::SIDES);
    root = readAllFields("parts (SIDES|TOP|SIDES)", n);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->parts.getValue(), SoIoAllFields::SIDES | SoIoAllFields::TOP);
}

TEST(SceneReader, Images) {
    SoIoAllFields* n = nullptr;
    auto root = readAllFields("image 2 1 3 0xFF0000 0x00ff80", n);
    ASSERT_NE(n, nullptr);
    SbVec2s size;
    int nc = 0;
    const unsigned char* bytes = n->image.getValue(size, nc);
    ASSERT_EQ(size, SbVec2s(2, 1));
    ASSERT_EQ(nc, 3);
    const unsigned char expected[] = {0xFF, 0, 0, 0, 0xFF, 0x80};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(bytes[i], expected[i]) << i;
    root = readAllFields("image 1 2 2 0x1234 4660", n);  // decimal works too
    ASSERT_NE(n, nullptr);
    bytes = n->image.getValue(size, nc);
    ASSERT_EQ(nc, 2);
    EXPECT_EQ(bytes[0], 0x12);
    EXPECT_EQ(bytes[1], 0x34);
    EXPECT_EQ(bytes[2], 0x12);
    EXPECT_EQ(bytes[3], 0x34);
    root = readAllFields("image 0 0 0", n);
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(n->image.getValue(size, nc), nullptr);
    EXPECT_FALSE(n->image.isDefault());
}

TEST(SceneReader, NanAndInfinityAreValuesTheFileStates) {
    DebugErrorRecorder recorder;
    const auto root = readScene("Coordinate3 { point [ nan 0 0, 1 inf -inf ] }");
    ASSERT_NE(root, nullptr) << recorder.dump();
    auto* coords = static_cast<SoCoordinate3*>(root->getChild(0));
    ASSERT_EQ(coords->point.getNum(), 2);
    EXPECT_TRUE(std::isnan(coords->point[0][0]));
    EXPECT_TRUE(std::isinf(coords->point[1][1]));
    EXPECT_LT(coords->point[1][2], 0.0f);
}

TEST(SceneReader, DefAndUseShareOneNode) {
    DebugErrorRecorder recorder;
    const auto root = readScene(
        "Separator {\n"
        "  DEF ball Translation { translation 1 0 0 }\n"
        "  Group { USE ball }\n"
        "  USE ball\n"
        "}\n"
        "USE ball\n");
    ASSERT_NE(root, nullptr) << recorder.dump();
    ASSERT_EQ(root->getNumChildren(), 2);
    auto* sep = static_cast<SoSeparator*>(root->getChild(0));
    ASSERT_EQ(sep->getNumChildren(), 3);
    SoNode* ball = sep->getChild(0);
    EXPECT_EQ(ball->getName(), SbName("ball"));
    EXPECT_EQ(static_cast<SoGroup*>(sep->getChild(1))->getChild(0), ball);
    EXPECT_EQ(sep->getChild(2), ball);
    EXPECT_EQ(root->getChild(1), ball);
    EXPECT_EQ(ball->getRefCount(), 4);  // the input that read it is gone
}

TEST(SceneReader, ALaterDefRebindsTheName) {
    const auto root =
        readScene("DEF x Translation { translation 1 0 0 } USE x DEF x Material { } USE x");
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->getNumChildren(), 4);
    EXPECT_EQ(root->getChild(1), root->getChild(0));
    EXPECT_EQ(root->getChild(3), root->getChild(2));
    EXPECT_NE(root->getChild(2), root->getChild(0));
}

TEST(SceneReader, CommentsAnywhere) {
    DebugErrorRecorder recorder;
    const auto root = readScene(
        "# leading comment\n"
        "DEF # between DEF and its name\n a # and after it\n"
        "Material # before the brace\n"
        "{ # after it\n"
        "  diffuseColor # before a list\n"
        "  [ 1 0 0, # inside a list\n 0 1 # inside a value\n 0 ] # after\n"
        "} # after the node\n"
        "USE # before a name\n a\n"
        "# trailing comment without newline");
    ASSERT_NE(root, nullptr) << recorder.dump();
    ASSERT_EQ(root->getNumChildren(), 2);
    auto* material = static_cast<SoMaterial*>(root->getChild(0));
    ASSERT_EQ(material->diffuseColor.getNum(), 2);
    EXPECT_EQ(material->diffuseColor[1], SbColor(0, 1, 0));
    EXPECT_EQ(root->getChild(1), material);
}

TEST(SceneReader, TypesByShortAndFullName) {
    const auto root =
        readScene("Separator { } SoSeparator { } SoTranslation { translation 1 2 3 }");
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->getNumChildren(), 3);
    EXPECT_EQ(root->getChild(0)->getTypeId(), SoSeparator::getClassTypeId());
    EXPECT_EQ(root->getChild(1)->getTypeId(), SoSeparator::getClassTypeId());
    EXPECT_EQ(static_cast<SoTranslation*>(root->getChild(2))->translation.getValue(),
              SbVec3f(1, 2, 3));
}

TEST(SceneReader, GroupFieldsComeBeforeChildren) {
    // whichChild is a field of Switch; every other word starts a child.
    const auto root = readScene("Switch { whichChild 1 Group { } Translation { } }");
    ASSERT_NE(root, nullptr);
    auto* sw = static_cast<SoSwitch*>(root->getChild(0));
    EXPECT_EQ(sw->whichChild.getValue(), 1);
    ASSERT_EQ(sw->getNumChildren(), 2);
    EXPECT_EQ(sw->getChild(1)->getTypeId(), SoTranslation::getClassTypeId());
}

TEST(SceneReader, ReadAllAlwaysWrapsInANewSeparator) {
    SoInput in;
    const std::string text = std::string(iotest::kHeader) + "Separator { Group { } }";
    in.setBuffer(text.data(), text.size());
    SoSeparator* root = SoDB::readAll(&in);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getRefCount(), 0);  // the caller owns it
    ASSERT_EQ(root->getNumChildren(), 1);
    EXPECT_EQ(root->getChild(0)->getTypeId(), SoSeparator::getClassTypeId());
    root->ref();
    root->unref();
}

TEST(SceneReader, EmptySceneGivesAnEmptySeparator) {
    DebugErrorRecorder recorder;
    const auto root = iotest::readText("#Tessara V1.0 ascii\n# nothing here\n");
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getNumChildren(), 0);
    EXPECT_EQ(recorder.size(), 0u);
}

TEST(SceneReader, ReadOneNodeAtATime) {
    const std::string text = std::string(iotest::kHeader) +
                             "DEF t Translation { translation 0 0 1 }\nGroup { USE t }\n# end\n";
    SoInput in;
    in.setBuffer(text.data(), text.size());
    SoNode* first = nullptr;
    ASSERT_TRUE(SoDB::read(&in, first));
    ASSERT_NE(first, nullptr);
    auto holdFirst = iotest::hold(first);
    EXPECT_EQ(first->getTypeId(), SoTranslation::getClassTypeId());
    SoNode* second = nullptr;
    ASSERT_TRUE(SoDB::read(&in, second));
    ASSERT_NE(second, nullptr);
    auto holdSecond = iotest::hold(second);
    EXPECT_EQ(static_cast<SoGroup*>(second)->getChild(0), first);  // DEF names carry over
    SoNode* end = nullptr;
    EXPECT_TRUE(SoDB::read(&in, end));
    EXPECT_EQ(end, nullptr);
}

TEST(SceneReader, ReadsAFileByName) {
    const std::string path = ::testing::TempDir() + "io_reader_test.tsc";
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("#Tessara V1.0 ascii\nDrawStyle { style LINES  lineWidth 2  linePattern 0xF0F0 }\n",
               file);
    std::fclose(file);
    SoInput in;
    ASSERT_TRUE(in.openFile(path.c_str()));
    const auto root = iotest::hold(SoDB::readAll(&in));
    std::remove(path.c_str());
    ASSERT_NE(root, nullptr);
    auto* style = static_cast<SoDrawStyle*>(root->getChild(0));
    EXPECT_EQ(style->style.getValue(), SoDrawStyle::LINES);
    EXPECT_EQ(style->lineWidth.getValue(), 2.0f);
    EXPECT_EQ(style->linePattern.getValue(), 0xF0F0);
}

namespace {

int depthOf(SoNode* node) {
    int depth = 0;
    while (node->getChildren() && node->getChildren()->getLength() > 0) {
        node = (*node->getChildren())[0];
        ++depth;
    }
    return depth;
}

}  // namespace

TEST(SceneReader, DeeplyNestedGroups) {
    const int levels = 10000;
    std::string body;
    for (int i = 0; i < levels; ++i) body += "Group {\n";
    body += "Translation { translation 1 2 3 }\n";
    for (int i = 0; i < levels; ++i) body += "}\n";
    DebugErrorRecorder recorder;
    auto root = readScene(body);
    ASSERT_NE(root, nullptr) << recorder.dump();
    EXPECT_EQ(depthOf(root.get()), levels + 1);
}
