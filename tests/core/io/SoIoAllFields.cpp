#include "SoIoAllFields.h"

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
    addField("uint32s", uint32s);
    addField("shorts", shorts);
    addField("ushorts", ushorts);
    addField("vec2fs", vec2fs);
    addField("vec3fs", vec3fs);
    addField("vec4fs", vec4fs);
    addField("colors", colors);
    addField("rotations", rotations);
    addField("strings", strings);
    addField("names", names);
}

SoIoAllFields::~SoIoAllFields() = default;
