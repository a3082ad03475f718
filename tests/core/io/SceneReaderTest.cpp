#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IoTestSupport.h"
#include "support/DebugErrorRecorder.h"

using iotest::readScene;

namespace {

std::string repeat(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) result += text;
    return result;
}

}  // namespace

TEST(SceneReader, GraphsAsWritten) {
    const struct {
        const char* name;
        std::string body;
        std::string outline;
    } cases[] = {
        {"nothing but a comment", "# nothing here\n", "Separator"},
        {"a file's own separator is wrapped too", "Separator { Group { } }",
         "Separator(Separator(Group))"},
        {"types by short and full name", "Separator { } SoSeparator { } SoTranslation { }",
         "Separator(Separator, Separator, Translation)"},
        {"group fields before children", "Switch { whichChild 1 Group { } Translation { } }",
         "Separator(Switch(Group, Translation))"},
        {"DEF and USE share one node",
         "Separator {\n  DEF ball Translation { translation 1 0 0 }\n  Group { USE ball }\n"
         "  USE ball\n}\nUSE ball\n",
         "Separator(Separator(Translation, Group(@2), @2), @2)"},
        {"a later DEF rebinds the name", "DEF x Translation { } USE x DEF x Material { } USE x",
         "Separator(Translation, @1, Material, @2)"},
        {"comments anywhere",
         "# leading\nDEF # between DEF and its name\n a # and after it\nMaterial # before the "
         "brace\n{ # after it\n  diffuseColor # before a list\n  [ 1 0 0, # inside a list\n 0 1 "
         "# inside a value\n 0 ] # after\n} # after the node\nUSE # before a name\n a\n"
         "# trailing comment without newline",
         "Separator(Material, @1)"},
        {"deep nesting", repeat("Group {\n", 10000) + "Translation { }" + repeat("}\n", 10000),
         "Separator(" + repeat("Group(", 10000) + "Translation" + std::string(10001, ')')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DebugErrorRecorder recorder;
        const auto root = readScene(c.body);
        ASSERT_NE(root, nullptr) << recorder.dump();
        EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
        EXPECT_EQ(iotest::outline(root.get()), c.outline);
    }
}

TEST(SceneReader, ValuesInEverySpelling) {
    // Each body sets one field of an IoAllFields node, which must then write `text`.
    const struct {
        std::string body;
        const char* text;
    } cases[] = {
        {"boolValue 1", "TRUE"},
        {"boolValue 0", "FALSE"},
        {"floatValue -1.25e-3", "-0.00125"},
        {"int32Value -0x7FFFFFFF", "-2147483647"},
        {"uint32Value 0xDEADBEEF", "3735928559"},
        {"ushortValue 0xF0F0", "61680"},
        {"vec3fValue 0.5 1e2 -3", "0.5 100 -3"},
        {"rotationValue 0 2 0 0.5", "0 1 0 0.5"},
        {"stringValue \"say \\\"hi\\\" \\\\ \xE2\x9C\x93\"",
         "\"say \\\"hi\\\" \\\\ \xE2\x9C\x93\""},
        {"stringValue bare_word", "\"bare_word\""},
        // Unknown escapes stay as written; a line break may stand as it is.
        {"stringValue \"a\\nb\\tc\\qd\"", "\"a\\nb\tc\\\\qd\""},
        {"stringValue \"multi\nline\"", "\"multi\\nline\""},
        {"stringValue \"\"", "\"\""},
        {"nameValue some-name", "some-name"},
        {"nameValue \"with space\"", "\"with space\""},
        {"mode 1", "ON"},
        {"mode 5", "5"},
        {"parts ( TOP | BOTTOM )", "( TOP | BOTTOM )"},
        {"parts (SIDES|TOP|SIDES)", "( TOP | SIDES )"},
        {"parts 9", "( TOP | 8 )"},
        {"image 2 1 3 0xFF0000 0x00ff80", "2 1 3\n0xFF0000 0x00FF80"},
        {"image 1 2 2 0x1234 4660", "1 2 2\n0x1234 0x1234"},
        {"image 0 0 0", "0 0 0"},
        {"floats [ 1, 2.5, -3, ]", "[ 1, 2.5, -3 ]"},
        {"floats # a\n [ 1, # b\n 2 # c\n ]\n", "[ 1, 2 ]"},
        {"int32s 7", "7"},  // a bare value is a list of one
        {"int32s [ ]", "[ ]"},
        {"vec3fs [ 1 2 3, ]", "1 2 3"},
        {"vec3fs [ 0 0 0, 1 2 3 4 5 6 ]", "[ 0 0 0, 1 2 3, 4 5 6 ]"},
        {"rotations [ 0 0 1 0, 1 0 0 3.1415927, 0 0 0 0 ]",
         "[ 0 0 1 0, 1 0 0 3.1415927, 0 0 1 0 ]"},
        {"names [ one \"t w o\" ]", "[ one, \"t w o\" ]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        DebugErrorRecorder recorder;
        const auto root = readScene(std::string("IoAllFields { ") + c.body + " }");
        ASSERT_NE(root, nullptr) << recorder.dump();
        ASSERT_EQ(root->getNumChildren(), 1);
        const SoNode* node = root->getChild(0);
        const SoField* field = node->getField(c.body.substr(0, c.body.find_first_of(" #")).c_str());
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(iotest::fieldText(field), c.text);
        // A field read holds no default value any more, even one equal to it.
        int read = 0;
        for (int i = 0; i < node->getNumFields(); ++i)
            read += node->getFieldAt(i)->isDefault() ? 0 : 1;
        EXPECT_FALSE(field->isDefault());
        EXPECT_EQ(read, 1);
    }
}

// What the values mean: matrices row by row, pixels bottom row first, components in
// order; and a list read replaces the values there were.
TEST(SceneReader, ValuesMeanWhatTheFileSays) {
    const auto root = readScene(
        "IoAllFields { matrixValue 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 "
        "image 2 2 3 0xFF0000 0x00ff80 0x010203 0x0A0B0C } Material { diffuseColor [ ] }");
    ASSERT_NE(root, nullptr);
    const auto* node = static_cast<SoIoAllFields*>(root->getChild(0));
    const SbMatrix& m = node->matrixValue.getValue();
    EXPECT_EQ(m[0][1], 2.0f);
    EXPECT_EQ(m[1][0], 5.0f);
    SbVec2s size;
    int components = 0;
    const unsigned char* pixels = node->image.getValue(size, components);
    ASSERT_EQ(size, SbVec2s(2, 2));
    ASSERT_EQ(components, 3);
    EXPECT_EQ(std::vector<unsigned char>(pixels, pixels + 12),
              (std::vector<unsigned char>{0xFF, 0, 0, 0, 0xFF, 0x80, 1, 2, 3, 10, 11, 12}));
    EXPECT_EQ(iotest::fieldText(root->getChild(1)->getField("diffuseColor")), "[ ]");
    const auto empty = readScene("IoAllFields { image 0 0 0 }");
    ASSERT_NE(empty, nullptr);
    const auto* none = static_cast<SoIoAllFields*>(empty->getChild(0));
    EXPECT_EQ(none->image.getValue(size, components), nullptr);
}

TEST(SceneReader, ReadNodesBelongToTheCaller) {
    const std::string text =
        std::string(iotest::kHeader) + "DEF t Translation { }\nGroup { USE t USE t }\n";
    SoInput in;
    in.setBuffer(text.data(), text.size());
    SoSeparator* all = SoDB::readAll(&in);
    ASSERT_NE(all, nullptr);
    EXPECT_EQ(all->getRefCount(), 0);
    // Once the input is closed, only the graph holds the shared node: once per place.
    in.closeFile();
    EXPECT_EQ(all->getChild(0)->getRefCount(), 3);
    all->ref();
    all->unref();

    // Node by node, with DEF names carried from one read to the next.
    in.setBuffer(text.data(), text.size());
    SoNode* first = nullptr;
    ASSERT_TRUE(SoDB::read(&in, first));
    const auto holdFirst = iotest::hold(first);
    SoNode* second = nullptr;
    ASSERT_TRUE(SoDB::read(&in, second));
    const auto holdSecond = iotest::hold(second);
    EXPECT_EQ(iotest::outline(second), "Group(Translation, @1)");
    EXPECT_EQ((*second->getChildren())[0], first);
    SoNode* end = first;
    EXPECT_TRUE(SoDB::read(&in, end));
    EXPECT_EQ(end, nullptr);

    DebugErrorRecorder recorder;
    in.setBuffer(text.data() + 1, text.size() - 1);  // no header
    end = first;
    EXPECT_FALSE(SoDB::read(&in, end));
    EXPECT_EQ(end, nullptr);
    EXPECT_EQ(recorder.size(), 1u);
}
