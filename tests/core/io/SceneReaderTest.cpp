#include <Tessara/base/SoDB.h>
#include <Tessara/base/SoSceneLimits.h>
#include <Tessara/io/SoInput.h>
#include <gtest/gtest.h>

#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "IoTestSupport.h"
#include "support/DebugErrorRecorder.h"

using iotest::scene;

namespace {

std::string repeat(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) result += text;
    return result;
}

// The most groups a file can nest around one node: readAll's root is a level too.
constexpr int kDeepest = SoSceneLimits::maxNestingDepth - 2;

// One line per level, each group using the one above ten times: a graph of 11 nodes on the
// first line that grows tenfold with every line.
std::string tenfoldUses(int levels) {
    std::string text = "DEF n0 Group { " + repeat("Cube { } ", 10) + "}\n";
    for (int level = 1; level < levels; ++level)
        text += "DEF n" + std::to_string(level) + " Group { " +
                repeat("USE n" + std::to_string(level - 1) + " ", 10) + "}\n";
    return text;
}

}  // namespace

// Each graph read has the nodes and sharing of the file, and comes back the same through the
// writer, without the indentation of deep graphs growing the file quadratically.
TEST(SceneReader, GraphsAsWritten) {
    const std::string& header = iotest::kHeader;
    const struct {
        const char* name;
        std::string text;
        std::string outline;
    } cases[] = {
        {"the header alone", header, "Separator"},
        {"blanks after the header", header + "  \t\r\nSeparator {}", "Separator(Separator)"},
        {"a file's own separator is wrapped too", scene("Separator { Group { } }"),
         "Separator(Separator(Group))"},
        {"types by short and full name", scene("Separator { } SoSeparator { } SoTranslation { }"),
         "Separator(Separator, Separator, Translation)"},
        {"group fields before children", scene("Switch { whichChild 1 Group { } Translation { } }"),
         "Separator(Switch(Group, Translation))"},
        {"DEF and USE share one node",
         scene("Separator {\n  DEF ball Translation { translation 1 0 0 }\n  Group { USE ball }\n"
               "  USE ball\n}\nUSE ball\n"),
         "Separator(Separator(Translation, Group(@2), @2), @2)"},
        {"names end where the syntax goes on", scene("Separator{DEF a Group{}USE a}USE a"),
         "Separator(Separator(Group, @2), @2)"},
        {"a later DEF rebinds the name",
         scene("DEF x Translation { } USE x DEF x Material { } USE x"),
         "Separator(Translation, @1, Material, @2)"},
        {"comments anywhere",
         scene("# leading\nDEF # between DEF and its name\n a # and after it\nMaterial # before "
               "the brace\n{ # after it\n  diffuseColor # before a list\n  [ 1 0 0, # inside a "
               "list\n 0 1 # inside a value\n 0 ] # after\n} # after the node\nUSE # before a "
               "name\n a\n# trailing comment without newline"),
         "Separator(Material, @1)"},
        // One level short of the limit, as the root that reading adds is written back too.
        {"deep nesting",
         scene(repeat("Group {\n", kDeepest - 1) + "Translation { }" + repeat("}\n", kDeepest - 1)),
         "Separator(" + repeat("Group(", kDeepest - 1) + "Translation" +
             std::string(kDeepest, ')')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DebugErrorRecorder recorder;
        const auto root = iotest::readText(c.text);
        ASSERT_NE(root, nullptr) << recorder.dump();
        EXPECT_EQ(recorder.size(), 0u) << recorder.dump();
        EXPECT_EQ(iotest::outline(root.get()), c.outline);
        const std::string text = iotest::writeText(root.get());
        EXPECT_LT(text.size(), 2000000u);  // 200 MB if every level were indented
        const auto back = iotest::readText(text);
        ASSERT_NE(back, nullptr) << recorder.dump() << text;
        EXPECT_EQ(iotest::outline(back->getChild(0), true), iotest::outline(root.get(), true));
    }
}

TEST(SceneReader, ValuesInEverySpelling) {
    // Each body sets one field of an IoAllFields node, which must then write `text`.
    const struct {
        std::string body;
        const char* text;
    } cases[] = {
        {"boolValue 1", "TRUE"},
        // Numbers as C writes them: signs, octal, hexadecimal bit patterns, the edges.
        {"int32Value +7", "7"},
        {"int32Value -0x1F", "-31"},
        {"int32Value 0777", "511"},
        {"int32Value 0xFFFFFFFF", "-1"},
        {"int32Value -2147483648", "-2147483648"},
        {"uint32Value 0xDEADBEEF", "3735928559"},
        {"uint32Value 4294967295", "4294967295"},
        {"vec2sValue 0xFFFF -32768", "-1 -32768"},
        {"ushortValue 65535", "65535"},
        // Floats in the shortest text that reads back to the same float.
        {"floatValue 0.1", "0.1"},
        {"floatValue 1.0", "1"},
        {"floatValue 1e10", "1e+10"},
        {"floatValue 123456792", "123456792"},
        {"floatValue -2.5E-2", "-0.025"},
        {"floatValue -1e-50", "-0"},  // underflow is zero, not an error
        {"floatValue 3.4028235e38", "3.4028235e+38"},
        {"floatValue 1e-45", "1e-45"},
        {"floatValue -inf", "-inf"},
        {"doubleValue .5", "0.5"},
        {"doubleValue 0.1", "0.1"},
        {"doubleValue nan", "nan"},
        {"rotationValue 0 2 0 0.5", "0 1 0 0.5"},
        {"rotationValue 0 0 0 0", "0 0 1 0"},
        {"stringValue \"say \\\"hi\\\" \\\\ \xE2\x9C\x93\"",
         "\"say \\\"hi\\\" \\\\ \xE2\x9C\x93\""},
        {"stringValue bare_word", "\"bare_word\""},
        // Unknown escapes stay as written; a line break may stand as it is.
        {"stringValue \"a\\nb\\tc\\qd\"", "\"a\\nb\tc\\\\qd\""},
        {"stringValue \"multi\nline\"", "\"multi\\nline\""},
        {"nameValue some-name", "some-name"},
        {"nameValue \"with space\"", "\"with space\""},
        {"mode 1", "ON"},
        {"mode 5", "5"},
        {"parts (SIDES|TOP|SIDES)", "( TOP | SIDES )"},
        {"parts 9", "( TOP | 8 )"},
        {"image 2 1 3 0xFF0000 0x00ff80", "2 1 3\n0xFF0000 0x00FF80"},
        {"image 1 2 2 0x1234 4660", "1 2 2\n0x1234 0x1234"},
        {"floats [ 1, 2.5, -3, ]", "[ 1, 2.5, -3 ]"},
        {"floats 7", "7"},  // a bare value is a list of one
        {"floats [ ]", "[ ]"},
        {"vec3fs [ 1 2 3, ]", "1 2 3"},
        {"vec3fs [ 0 0 0, 1 2 3 4 5 6 ]", "[ 0 0 0, 1 2 3, 4 5 6 ]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        DebugErrorRecorder recorder;
        const auto root = iotest::readText(scene("IoAllFields { " + c.body + " }"));
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
    const auto root = iotest::readText(
        scene("IoAllFields { matrixValue 1 2 3 4 5 6 7 8 9 10 11 12 13 14 15 16 "
              "image 2 2 3 0xFF0000 0x00ff80 0x010203 0x0A0B0C } Material { diffuseColor [ ] }"));
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
    const auto empty = iotest::readText(scene("IoAllFields { image 0 0 0 }"));
    ASSERT_NE(empty, nullptr);
    const auto* none = static_cast<SoIoAllFields*>(empty->getChild(0));
    EXPECT_EQ(none->image.getValue(size, components), nullptr);
}

TEST(SceneReader, ReadNodesBelongToTheCaller) {
    const std::string text = scene("DEF t Translation { }\nGroup { USE t USE t }\n");
    SoInput in;
    in.setBuffer(text.data(), text.size());
    SoSeparator* all = SoDB::readAll(&in);
    ASSERT_NE(all, nullptr);
    EXPECT_EQ(all->getRefCount(), 0);
    // Once the input is closed, only the graph holds the shared node: once per place.
    in.closeFile();
    EXPECT_EQ(all->getChild(0)->getRefCount(), 3);
    iotest::hold(all);  // taken and let go at once, which frees the graph

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

// The stream's own number reads, each type at its edges; a number that does not fit is left
// for the next read.
TEST(SoInput, NumbersOfEachTypeAndWhatIsLeft) {
    const std::string text =
        "# a comment\n-2147483648 4294967295 -32768 65535 -2.5E-2 .5 65536 next";
    SoInput in;
    in.setBuffer(text.data(), text.size());
    int32_t i = 0;
    uint32_t u = 0;
    short s = 0;
    unsigned short us = 0;
    float f = 0;
    double d = 0;
    ASSERT_TRUE(in.read(i) && in.read(u) && in.read(s) && in.read(us) && in.read(f) && in.read(d));
    EXPECT_EQ(i, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(u, std::numeric_limits<uint32_t>::max());
    EXPECT_EQ(s, std::numeric_limits<short>::min());
    EXPECT_EQ(us, std::numeric_limits<unsigned short>::max());
    EXPECT_EQ(f, -0.025f);
    EXPECT_EQ(d, 0.5);
    EXPECT_FALSE(in.read(us));
    SbString word;
    EXPECT_TRUE(in.read(word));
    EXPECT_EQ(word, "65536");
}

// Each kind of broken file once: nothing is read, the first error says where ("line:column"
// of the file "<buffer>"), and the errors name what is wrong there: the words of `what`.
TEST(MalformedInput, IsRejectedWithWhereAndWhat) {
    const std::string& header = iotest::kHeader;
    const struct {
        const char* name;
        std::string text;
        std::string where;
        std::string what;
    } cases[] = {
        {"wrong header", "#Inventor V2.1 ascii\nSeparator { }\n", "1:1", header},
        {"more words on the header line", header + " extra\n", "1:1", header},
        {"a blank before the header", " " + header + "\n", "1:1", header},
        {"no header at all", "", "1:1", header},
        {"junk after the header", scene(std::string("Group { }\n\x01\x02\x00", 13)), "3:1",
         "byte 0x01"},
        {"unterminated brace", scene("Separator {\n  Group {\n    Group { }\n"), "5:1", "Group 3"},
        {"stray closing brace", scene("Group { }\n}\n"), "3:1", "'}'"},
        {"no opening brace", scene("Separator Group { }"), "2:11", "Separator"},
        {"unknown node", scene("Separator {\n  Frobnicator { }\n}"), "3:3", "\"Frobnicator\""},
        {"abstract node", scene("Shape { }"), "2:1", "\"Shape\""},
        {"not a node type", scene("SearchAction { }"), "2:1", "\"SearchAction\""},
        {"unknown field", scene("Translation {\n  translation 1 0 0\n  radius 2\n}"), "4:3",
         "\"radius\" Translation"},
        {"value without field", scene("Translation { translation 1 0 0 4 }"), "2:33",
         "'4' Translation"},
        {"use before def", scene("Separator {\n  USE ball\n  DEF ball Group { }\n}"), "3:7",
         "\"ball\""},
        {"use of itself", scene("DEF loop Separator { USE loop }"), "2:26", "\"loop\""},
        {"def without name", scene("DEF 9lives Group { }"), "2:5", "'9'"},
        {"def without type", scene("DEF x { }"), "2:7", "DEF x"},
        {"missing ]", scene("Coordinate3 { point [ 0 0 0, 1 0 0 }\n"), "2:36", "']'"},
        {"missing component", scene("Translation { translation 1 0 }"), "2:31", "'}'"},
        {"bad number, and the field it was for", scene("Translation { translation 1.2.3 0 0 }"),
         "2:27", "\"1.2.3\" \"translation\" Translation"},
        {"columns count characters",
         scene("IoAllFields { stringValue \"\xC3\xA9t\xC3\xA9\" int32Value x }"), "2:44", "\"x\""},
        {"int32 too large", scene("IoAllFields { int32Value 2147483648 }"), "2:26",
         "\"2147483648\" range"},
        {"negative unsigned", scene("IoAllFields { uint32Value -1 }"), "2:27", "\"-1\" range"},
        {"unsigned short too large", scene("IoAllFields { ushortValue 65536 }"), "2:27",
         "\"65536\" range"},
        {"8 is no octal digit", scene("IoAllFields { int32Value 08 }"), "2:26", "\"08\""},
        {"beyond the largest float", scene("IoAllFields { floatValue 1e39 }"), "2:26",
         "\"1e39\" range"},
        {"bad boolean", scene("IoAllFields { boolValue maybe }"), "2:25", "\"maybe\""},
        {"bad enum", scene("DrawStyle { style WAVY }"), "2:19", "\"WAVY\""},
        {"bad mask", scene("IoAllFields { parts ( TOP , SIDES ) }"), "2:27", "','"},
        {"string cut off", scene("IoAllFields { stringValue \"never ends }\n"), "2:27", ""},
        {"image too large", scene("IoAllFields { image 40000 2 1 }"), "2:29", "40000 2"},
        {"huge image cut short", scene("IoAllFields { image 32767 32767 4 0x1 0x2 }"), "2:43",
         "'}'"},
        {"infinite rotation", scene("IoAllFields { rotationValue 0 1 0 inf }"), "2:35", ""},
        // Under the leak checker these show that the half-read graph is released.
        {"error deep inside",
         scene("DEF top Separator {\n" + repeat("Group { DEF t Translation { } USE t\n", 5000) +
               "Frobnicator { }"),
         "5003:1", "\"Frobnicator\""},
        // The limits: a graph beyond them is refused at the node that crosses them.
        {"nested too deep", scene(repeat("Group {\n", kDeepest + 2)),
         std::to_string(kDeepest + 3) + ":7", std::to_string(kDeepest + 2)},
        {"nested too deep through a USE",
         scene("DEF a " + repeat("Group { ", kDeepest / 2) + repeat("} ", kDeepest / 2) + "\n" +
               repeat("Group { ", kDeepest / 2 + 2) + "USE a"),
         "3:" + std::to_string(8 * (kDeepest / 2 + 2) + 5), std::to_string(kDeepest + 2)},
        {"too many nodes through USEs", scene(tenfoldUses(7)), "8:76",
         std::to_string(static_cast<long long>(SoSceneLimits::maxTraversedNodes))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DebugErrorRecorder recorder;
        EXPECT_EQ(iotest::readText(c.text), nullptr);
        const auto posts = recorder.messages();
        ASSERT_GE(posts.size(), 1u);
        EXPECT_EQ(posts[0].message.rfind(std::string("<buffer>:") + c.where + ": ", 0), 0u)
            << recorder.dump();
        std::istringstream words(c.what);
        for (std::string word; words >> word;)
            EXPECT_TRUE(recorder.contains("", word)) << word << "\n" << recorder.dump();
        EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), posts.size());
    }
}
