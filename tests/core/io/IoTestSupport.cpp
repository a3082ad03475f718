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
    addField("shortValue", shortValue);
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
    addField("int32s", int32s);
    addField("vec3fs", vec3fs);
    addField("rotations", rotations);
    addField("strings", strings);
    addField("names", names);
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

::testing::AssertionResult compareNodes(SoNode* a, SoNode* b) {
    if (a->getTypeId() != b->getTypeId())
        return ::testing::AssertionFailure() << typeName(a) << " vs " << typeName(b);
    for (int i = 0; i < a->getNumFields(); ++i) {
        const SoField* fa = a->getFieldAt(i);
        const SoField* fb = b->getFieldAt(i);
        const std::string ta = iotest::fieldText(fa), tb = iotest::fieldText(fb);
        if (fa->isDefault() != fb->isDefault() || ta != tb)
            return ::testing::AssertionFailure()
                   << "field " << a->getFieldNameAt(i) << " of " << typeName(a) << ": \"" << ta
                   << "\" vs \"" << tb << "\"";
    }
    const SoNodeList* ca = a->getChildren();
    const SoNodeList* cb = b->getChildren();
    if (!ca != !cb || (ca && ca->getLength() != cb->getLength()))
        return ::testing::AssertionFailure() << "children of " << typeName(a) << " differ";
    return ::testing::AssertionSuccess();
}

}  // namespace

const char* const iotest::kHeader = "#Tessara V1.0 ascii\n";

iotest::Held<SoSeparator> iotest::readText(const std::string& text) {
    SoInput in;
    in.setBuffer(text.data(), text.size());
    return hold(SoDB::readAll(&in));
}

iotest::Held<SoSeparator> iotest::readScene(const std::string& body) {
    return readText(std::string(kHeader) + body);
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

std::string iotest::outline(SoNode* root) {
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
        const SoNodeList* children = node->getChildren();
        if (!children || children->getLength() == 0) continue;
        text += '(';
        stack.emplace_back(nullptr, false);
        for (int i = children->getLength() - 1; i >= 0; --i)
            stack.emplace_back((*children)[i], i > 0);
    }
    return text;
}

::testing::AssertionResult iotest::sameGraph(SoNode* a, SoNode* b) {
    std::map<SoNode*, SoNode*> forward, backward;
    std::vector<std::pair<SoNode*, SoNode*>> stack{{a, b}};
    while (!stack.empty()) {
        const auto [na, nb] = stack.back();
        stack.pop_back();
        const auto fa = forward.find(na);
        const auto fb = backward.find(nb);
        if (fa != forward.end() || fb != backward.end()) {
            if (fa == forward.end() || fb == backward.end() || fa->second != nb)
                return ::testing::AssertionFailure() << "the graphs share different nodes";
            continue;
        }
        forward[na] = nb;
        backward[nb] = na;
        const ::testing::AssertionResult same = compareNodes(na, nb);
        if (!same) return same;
        if (const SoNodeList* ca = na->getChildren())
            for (int i = ca->getLength() - 1; i >= 0; --i)
                stack.emplace_back((*ca)[i], (*nb->getChildren())[i]);
    }
    return ::testing::AssertionSuccess();
}
