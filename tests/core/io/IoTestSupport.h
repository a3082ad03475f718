#pragma once

#include <Tessara/nodes/SoNode.h>
#include <Tessara/nodes/SoSeparator.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

/// A node of the io tests with a field of every value type, so that reading and writing
/// can be checked type by type.
class SoIoAllFields : public SoNode {
    SO_NODE_HEADER(SoIoAllFields);

  public:
    enum Mode { OFF = 0, ON = 1, AUTO = 2 };
    enum Part { TOP = 1, SIDES = 2, BOTTOM = 4, ALL = 7 };
    static const SoEnumEntry modeEnums[3];
    static const SoEnumEntry partEnums[4];

    SoIoAllFields();

    SoSFBool boolValue{false};
    SoSFFloat floatValue{0.0f};
    SoSFDouble doubleValue{0.0};
    SoSFInt32 int32Value{0};
    SoSFUInt32 uint32Value{0u};
    SoSFUShort ushortValue{static_cast<unsigned short>(0)};
    SoSFVec2f vec2fValue;
    SoSFVec3f vec3fValue;
    SoSFVec4f vec4fValue;
    SoSFVec2s vec2sValue;
    SoSField<SbVec3s> vec3sValue;
    SoSFColor colorValue;
    SoSFRotation rotationValue;
    SoSFMatrix matrixValue;
    SoSFString stringValue;
    SoSFName nameValue;
    SoSFEnum mode{modeEnums, 3, OFF};
    SoSFBitMask parts{partEnums, 4, ALL};
    SoSFImage image;

    SoMFFloat floats;
    SoMFVec3f vec3fs;
    SoMFString strings;

  protected:
    ~SoIoAllFields() override;
};

// Shared helpers of the scene-file tests.
namespace iotest {

/// The first line of every scene file, without its line break.
extern const std::string kHeader;

/// Releases a node held by a test.
struct Unref {
    void operator()(const SoBase* base) const {
        if (base) base->unref();
    }
};
template <class T>
using Held = std::unique_ptr<T, Unref>;

/// Takes a reference on `node` (which may be null) for the scope of the holder.
template <class T>
Held<T> hold(T* node) {
    if (node) node->ref();
    return Held<T>(node);
}

/// Reads text held in memory with SoDB::readAll, as the file "<buffer>".
Held<SoSeparator> readText(const std::string& text);
/// `body` behind the header line.
std::string scene(const std::string& body);
/// What SoWriteAction writes for `node`.
std::string writeText(SoNode* node);
/// The text a field writes.
std::string fieldText(const SoField* field);

/// The graph in one line: type names without "So", children in parentheses, and "@n" for a
/// node met before, n counting the nodes in the order they were first met. With the fields,
/// each node's type is followed by its fields that hold no default value, as they write.
/// Two graphs with the same outline with fields have the same nodes, values and sharing.
std::string outline(SoNode* root, bool withFields = false);

}  // namespace iotest
