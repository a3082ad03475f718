#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoSeparator.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "IoTestSupport.h"
#include "SoIoAllFields.h"
#include "support/DebugErrorRecorder.h"

namespace {

struct Case {
    const char* name;
    std::string text;     // the whole file
    std::string message;  // the first error, "file:line:column: text" as posted
};

std::string scene(const std::string& body) {
    return std::string(iotest::kHeader) + body;
}

// Reads `text` and checks that nothing came out and that the first error is `message`.
void expectRejected(const Case& c) {
    SCOPED_TRACE(c.name);
    DebugErrorRecorder recorder;
    const auto root = iotest::readText(c.text);
    EXPECT_EQ(root, nullptr);
    ASSERT_GE(recorder.size(), 1u);
    const auto posts = recorder.messages();
    EXPECT_EQ(posts[0].message, c.message) << recorder.dump();
    for (const auto& post : posts) {
        EXPECT_EQ(post.severity, SoDebugError::ERROR);
        EXPECT_EQ(post.message.rfind("<buffer>:", 0), 0u) << post.message;
    }
}

}  // namespace

TEST(MalformedInput, StructureErrors) {
    const Case cases[] = {
        {"empty file", "",
         "<buffer>:1:1: Not a valid Tessara file: \"<buffer>\" does not start "
         "with \"#Tessara V1.0 ascii\""},
        {"wrong header", "#Inventor V2.1 ascii\nSeparator { }\n",
         "<buffer>:1:1: Not a valid Tessara file: \"<buffer>\" does not start with "
         "\"#Tessara V1.0 ascii\""},
        {"binary junk",
         std::string("\x7F"
                     "ELF\x02\x01\x01\x00\x00\xFF\xFE",
                     11),
         "<buffer>:1:1: Not a valid Tessara file: \"<buffer>\" does not start with "
         "\"#Tessara V1.0 ascii\""},
        {"junk after the header", scene(std::string("Group { }\n\x01\x02\x00", 13)),
         "<buffer>:3:1: Expected a node type name, got byte 0x01"},
        {"unterminated brace", scene("Separator {\n  Group {\n    Group { }\n"),
         "<buffer>:5:1: Premature end of input: missing '}' of the Group opened at line 3, "
         "column 3"},
        {"stray closing brace", scene("Group { }\n}\n"),
         "<buffer>:3:1: Expected a node type name, got '}'"},
        {"no opening brace", scene("Separator Group { }"),
         "<buffer>:2:11: Expected '{' after Separator"},
        {"unknown node", scene("Separator {\n  Frobnicator { }\n}"),
         "<buffer>:3:3: Unknown node type \"Frobnicator\""},
        {"abstract node", scene("Shape { }"),
         "<buffer>:2:1: Cannot create a node of abstract type \"Shape\""},
        {"not a node type", scene("SearchAction { }"),
         "<buffer>:2:1: \"SearchAction\" is not a node type"},
        {"unknown field", scene("Translation {\n  translation 1 0 0\n  radius 2\n}"),
         "<buffer>:4:3: Unknown field \"radius\" in Translation"},
        {"value without field", scene("Translation { translation 1 0 0 4 }"),
         "<buffer>:2:33: Expected a field name, a child node or '}' in Translation, got '4'"},
        {"use before def", scene("Separator {\n  USE ball\n  DEF ball Group { }\n}"),
         "<buffer>:3:7: USE of undefined name \"ball\""},
        {"use of itself", scene("DEF loop Separator { USE loop }"),
         "<buffer>:2:26: USE of undefined name \"loop\""},
        {"def without name", scene("DEF { }"), "<buffer>:2:5: Expected a name after DEF, got '{'"},
        {"use at the end", scene("Group { USE"),
         "<buffer>:2:12: Premature end of input: expected a name after USE"},
    };
    for (const Case& c : cases) expectRejected(c);
}

TEST(MalformedInput, ValueErrors) {
    const Case cases[] = {
        {"missing ]", scene("Coordinate3 { point [ 0 0 0, 1 0 0 }\n"),
         "<buffer>:2:36: Missing ']' at the end of a list of values"},
        {"list cut off", scene("IoAllFields { floats [ 1, 2"),
         "<buffer>:2:28: Missing ']' at the end of a list of values"},
        {"two dots", scene("Translation { translation 1.2.3 0 0 }"),
         "<buffer>:2:27: Expected a number, got \"1.2.3\""},
        {"word for a float", scene("DrawStyle { lineWidth abc }"),
         "<buffer>:2:23: Expected a number, got \"abc\""},
        {"missing component", scene("Translation { translation 1 0 }"),
         "<buffer>:2:31: Expected a number, got '}'"},
        {"huge float", scene("Translation { translation 1e999 0 0 }"),
         "<buffer>:2:27: Value \"1e999\" is out of range for a number"},
        {"huge integer", scene("IoAllFields { int32Value 99999999999 }"),
         "<buffer>:2:26: Value \"99999999999\" is out of range for a 32-bit integer"},
        {"negative unsigned", scene("IoAllFields { ushortValue -1 }"),
         "<buffer>:2:27: Value \"-1\" is out of range for an unsigned 16-bit integer"},
        {"float for an integer", scene("IoAllFields { int32Value 1.5 }"),
         "<buffer>:2:26: Expected a 32-bit integer, got \"1.5\""},
        {"bad boolean", scene("IoAllFields { boolValue maybe }"),
         "<buffer>:2:25: Expected TRUE, FALSE, 1 or 0, got \"maybe\""},
        {"bad enum", scene("DrawStyle { style WAVY }"),
         "<buffer>:2:19: Unknown enumeration value \"WAVY\""},
        {"bad mask", scene("IoAllFields { parts ( TOP , SIDES ) }"),
         "<buffer>:2:27: Expected '|' or ')' in a bit mask, got ','"},
        {"string cut off", scene("IoAllFields { stringValue \"never ends }\n"),
         "<buffer>:2:27: Premature end of input inside a string (no closing '\"')"},
        {"short image", scene("IoAllFields { image 2 2 1 0x10 0x20 0x30 }"),
         "<buffer>:2:42: Expected an unsigned 32-bit integer, got '}'"},
        {"image too large", scene("IoAllFields { image 40000 2 1 }"),
         "<buffer>:2:29: Invalid image size 40000 x 2 with 1 components"},
        {"huge image cut short", scene("IoAllFields { image 32767 32767 4 0x1 0x2 }"),
         "<buffer>:2:43: Expected an unsigned 32-bit integer, got '}'"},
        {"infinite rotation", scene("IoAllFields { rotationValue 0 1 0 inf }"),
         "<buffer>:2:35: A rotation needs a finite axis and angle"},
        {"file ends in a value", scene("Translation { translation 1 "),
         "<buffer>:2:29: Premature end of input: expected a number"},
    };
    for (const Case& c : cases) expectRejected(c);
}

TEST(MalformedInput, AValueErrorNamesTheFieldToo) {
    DebugErrorRecorder recorder;
    EXPECT_EQ(iotest::readText(scene("Translation { translation 1 x 0 }")), nullptr);
    EXPECT_TRUE(recorder.contains("SoDB::read",
                                  "<buffer>:2:29: Cannot read the value of field \"translation\" "
                                  "of Translation"))
        << recorder.dump();
}

TEST(MalformedInput, ErrorsNameTheFile) {
    const std::string path = ::testing::TempDir() + "io_malformed_test.tsc";
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("#Tessara V1.0 ascii\nSeparator {\n  Sphere { radius }\n}\n", file);
    std::fclose(file);
    DebugErrorRecorder recorder;
    SoInput in;
    ASSERT_TRUE(in.openFile(path.c_str()));
    EXPECT_EQ(SoDB::readAll(&in), nullptr);
    in.closeFile();
    std::remove(path.c_str());
    ASSERT_GE(recorder.size(), 1u);
    EXPECT_EQ(recorder.messages()[0].message.rfind(path + ":3:", 0), 0u) << recorder.dump();
}

TEST(MalformedInput, InvalidHeaderIsReportedByReadToo) {
    DebugErrorRecorder recorder;
    const std::string text = "Separator { }";
    SoInput in;
    in.setBuffer(text.data(), text.size());
    SoNode* node = reinterpret_cast<SoNode*>(&in);  // must be reset
    EXPECT_FALSE(SoDB::read(&in, node));
    EXPECT_EQ(node, nullptr);
    EXPECT_TRUE(recorder.contains("SoInput::checkHeader", "Not a valid Tessara file"));
}

TEST(MalformedInput, ErrorDeepInsideANestedFileReleasesEverything) {
    // Run under the leak checker, this shows that the half-read graph is released.
    std::string body = "DEF top Separator {\n";
    for (int i = 0; i < 10000; ++i) body += "Group { DEF t Translation { } USE t\n";
    body += "Frobnicator { }";
    DebugErrorRecorder recorder;
    EXPECT_EQ(iotest::readText(scene(body)), nullptr);
    ASSERT_GE(recorder.size(), 1u);
    EXPECT_EQ(recorder.messages()[0].message,
              "<buffer>:10003:1: Unknown node type \"Frobnicator\"");
}

TEST(MalformedInput, DeepFileCutOff) {
    std::string body;
    for (int i = 0; i < 10000; ++i) body += "Group {\n";
    DebugErrorRecorder recorder;
    EXPECT_EQ(iotest::readText(scene(body)), nullptr);
    ASSERT_GE(recorder.size(), 1u);
    EXPECT_EQ(recorder.messages()[0].message,
              "<buffer>:10002:1: Premature end of input: missing '}' of the Group opened at "
              "line 10001, column 1");
}
