#include <gtest/gtest.h>

#include <string>

#include "IoTestSupport.h"
#include "support/DebugErrorRecorder.h"

namespace {

std::string scene(const std::string& body) {
    return std::string(iotest::kHeader) + body;
}

std::string repeat(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) result += text;
    return result;
}

}  // namespace

// Each kind of broken file once: nothing is read, and the first error says where ("line:column"
// of the file "<buffer>") and names what is wrong there.
TEST(MalformedInput, IsRejectedWithWhereAndWhat) {
    const std::string header =
        std::string(iotest::kHeader, std::string(iotest::kHeader).size() - 1);
    const struct {
        const char* name;
        std::string text;
        const char* where;
        std::string what;
    } cases[] = {
        {"wrong header", "#Inventor V2.1 ascii\nSeparator { }\n", "1:1", header},
        {"junk after the header", scene(std::string("Group { }\n\x01\x02\x00", 13)), "3:1",
         "byte 0x01"},
        {"unterminated brace", scene("Separator {\n  Group {\n    Group { }\n"), "5:1",
         "Group opened at line 3, column 3"},
        {"stray closing brace", scene("Group { }\n}\n"), "3:1", "'}'"},
        {"no opening brace", scene("Separator Group { }"), "2:11", "'{' after Separator"},
        {"unknown node", scene("Separator {\n  Frobnicator { }\n}"), "3:3", "\"Frobnicator\""},
        {"abstract node", scene("Shape { }"), "2:1", "abstract type \"Shape\""},
        {"not a node type", scene("SearchAction { }"), "2:1", "\"SearchAction\" is not a node"},
        {"unknown field", scene("Translation {\n  translation 1 0 0\n  radius 2\n}"), "4:3",
         "\"radius\" in Translation"},
        {"value without field", scene("Translation { translation 1 0 0 4 }"), "2:33", "'4'"},
        {"use before def", scene("Separator {\n  USE ball\n  DEF ball Group { }\n}"), "3:7",
         "\"ball\""},
        {"use of itself", scene("DEF loop Separator { USE loop }"), "2:26", "\"loop\""},
        {"def without name", scene("DEF 9lives Group { }"), "2:5", "'9'"},
        {"def without type", scene("DEF x { }"), "2:7", "DEF x"},
        {"use at the end", scene("Group { USE"), "2:12", "after USE"},
        {"missing ]", scene("Coordinate3 { point [ 0 0 0, 1 0 0 }\n"), "2:36", "']'"},
        {"list cut off", scene("IoAllFields { floats [ 1, 2"), "2:28", "']'"},
        {"file ends in a value", scene("Translation { translation 1 "), "2:29", "end of input"},
        {"missing component", scene("Translation { translation 1 0 }"), "2:31", "'}'"},
        {"bad number", scene("Translation { translation 1.2.3 0 0 }"), "2:27", "\"1.2.3\""},
        {"and the field it was for", scene("Translation { translation 1 x 0 }"), "2:29",
         "\"translation\" of Translation"},
        {"huge float", scene("Translation { translation 1e999 0 0 }"), "2:27", "\"1e999\""},
        {"huge integer", scene("IoAllFields { int32Value 99999999999 }"), "2:26",
         "\"99999999999\""},
        {"negative unsigned", scene("IoAllFields { ushortValue -1 }"), "2:27", "\"-1\""},
        {"float for an integer", scene("IoAllFields { int32Value 1.5 }"), "2:26", "\"1.5\""},
        {"columns count characters",
         scene("IoAllFields { stringValue \"\xC3\xA9t\xC3\xA9\" int32Value x }"), "2:44", "\"x\""},
        {"bad boolean", scene("IoAllFields { boolValue maybe }"), "2:25", "\"maybe\""},
        {"bad enum", scene("DrawStyle { style WAVY }"), "2:19", "\"WAVY\""},
        {"bad mask", scene("IoAllFields { parts ( TOP , SIDES ) }"), "2:27", "','"},
        {"string cut off", scene("IoAllFields { stringValue \"never ends }\n"), "2:27",
         "inside a string"},
        {"image too large", scene("IoAllFields { image 40000 2 1 }"), "2:29", "40000 x 2"},
        {"huge image cut short", scene("IoAllFields { image 32767 32767 4 0x1 0x2 }"), "2:43",
         "'}'"},
        {"infinite rotation", scene("IoAllFields { rotationValue 0 1 0 inf }"), "2:35", "finite"},
        // Under the leak checker these show that the half-read graph is released.
        {"error deep inside",
         scene("DEF top Separator {\n" + repeat("Group { DEF t Translation { } USE t\n", 10000) +
               "Frobnicator { }"),
         "10003:1", "\"Frobnicator\""},
        {"deep file cut off", scene(repeat("Group {\n", 10000)), "10002:1", "line 10001, column 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DebugErrorRecorder recorder;
        EXPECT_EQ(iotest::readText(c.text), nullptr);
        const auto posts = recorder.messages();
        ASSERT_GE(posts.size(), 1u);
        EXPECT_EQ(posts[0].message.rfind(std::string("<buffer>:") + c.where + ": ", 0), 0u)
            << recorder.dump();
        EXPECT_TRUE(recorder.contains("", c.what)) << recorder.dump();
        EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), posts.size());
    }
}
