#pragma once

#include <Tessara/nodes/SoNode.h>

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
    SoSFShort shortValue{static_cast<short>(0)};
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
    SoMFInt32 int32s;
    SoMFUInt32 uint32s;
    SoMFShort shorts;
    SoMFUShort ushorts;
    SoMFVec2f vec2fs;
    SoMFVec3f vec3fs;
    SoMFVec4f vec4fs;
    SoMFColor colors;
    SoMFRotation rotations;
    SoMFString strings;
    SoMFName names;

  protected:
    ~SoIoAllFields() override;
};
