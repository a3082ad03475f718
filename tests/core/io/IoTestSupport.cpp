#include "IoTestSupport.h"

#include <Tessara/actions/SoWriteAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/base/SoNodeList.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/io/SoOutput.h>

#include <map>
#include <utility>
#include <vector>

SO_NODE_SOURCE(SoIoAllFields, SoNode)

const SoEnumEntry SoIoAllFields::modeEnums[3] = {{"OFF", OFF}, {"ON", ON}, {"AUTO", AUTO}};
const SoEnumEntry SoIoAllFields::partEnums[4] = {
    {"TOP", TOP}, {"SIDES", SIDES}, {"BOTTOM", BOTTOM}, {"ALL", ALL}};

SoIoAllFields::SoIoAllFields() {
    SO_NODE_CONSTRUCTOR(SoIoAllFields);
    addField("boolValue", boolValue);
    addField("floatValue", floatValue);
    addField("doubleValue", doubleValue);
    addField("int32Value", int32Value);
    addField("uint32Value", uint32Value);
    addField("ushortValue", ushortValue);
    addField("vec2fValue", vec2fValue);
    addField("vec3fValue", vec3fValue);
    addField("vec4fValue", vec4fValue);
    addField("vec2sValue", vec2sValue);
    addField("vec3sValue", vec3sValue);
    addField("colorValue", colorValue);
    addField("rotationValue", rotationValue);
    addField("matrixValue", matrixValue);
    addField("stringValue", stringValue);
    addField("nameValue", nameValue);
    addField("mode", mode);
    addField("parts", parts);
    addField("image", image);
    addField("floats", floats);
    addField("vec3fs", vec3fs);
    addField("strings", strings);
}

SoIoAllFields::~SoIoAllFields() = default;

namespace {

// The type system must know every class before a file names them.
class DatabaseEnvironment : public ::testing::Environment {
  public:
    void SetUp() override { SoDB::init(); }
    void TearDown() override { SoDB::finish(); }
};

const auto* const environment = ::testing::AddGlobalTestEnvironment(new DatabaseEnvironment);

std::string typeName(const SoNode* node) {
    const std::string name = node->getTypeId().getName().getString();
    return name.rfind("So", 0) == 0 ? name.substr(2) : name;
}

}  // namespace

const std::string iotest::kHeader = "#Tessara V1.0 ascii";

iotest::Held<SoSeparator> iotest::readText(const std::string& text) {
    SoInput in;
    in.setBuffer(text.data(), text.size());
    return hold(SoDB::readAll(&in));
}

std::string iotest::scene(const std::string& body) {
    return kHeader + "\n" + body;
}

std::string iotest::writeText(SoNode* node) {
    SoOutput out;
    out.setBuffer();
    SoWriteAction writer(&out);
    writer.apply(node);
    return out.getString();
}

std::string iotest::fieldText(const SoField* field) {
    SoOutput out;
    out.setBuffer();
    field->write(&out);
    return out.getString();
}

std::string iotest::outline(SoNode* root, bool withFields) {
    if (!root) return "<nothing>";
    std::map<SoNode*, size_t> seen;
    std::string text;
    // Null entries close the parenthesis of the node opened before them.
    std::vector<std::pair<SoNode*, bool>> stack{{root, false}};  // and whether a comma leads
    while (!stack.empty()) {
        const auto [node, comma] = stack.back();
        stack.pop_back();
        if (comma) text += ", ";
        if (!node) {
            text += ')';
            continue;
        }
        const auto found = seen.find(node);
        if (found != seen.end()) {
            text += "@" + std::to_string(found->second);
            continue;
        }
        seen.emplace(node, seen.size());
        text += typeName(node);
        for (int i = 0; withFields && i < node->getNumFields(); ++i)
            if (!node->getFieldAt(i)->isDefault())
                text += std::string(" ") + node->getFieldNameAt(i) + " " +
                        fieldText(node->getFieldAt(i)) + ";";
        const SoNodeList* children = node->getChildren();
        if (!children || children->getLength() == 0) continue;
        text += '(';
        stack.emplace_back(nullptr, false);
        for (int i = children->getLength() - 1; i >= 0; --i)
            stack.emplace_back((*children)[i], i > 0);
    }
    return text;
}
