#pragma once

#include <Tessara/base/SbName.h>
#include <Tessara/base/SbString.h>
#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbMatrix.h>
#include <Tessara/math/SbRotation.h>
#include <Tessara/math/SbVec2f.h>
#include <Tessara/math/SbVec2s.h>
#include <Tessara/math/SbVec3f.h>
#include <Tessara/math/SbVec3s.h>
#include <Tessara/math/SbVec4f.h>

#include <cstdint>
#include <functional>

class SoInput;
class SoOutput;

/// The scene-file text of every field value type: one read and one write per type.
/// Reads return false, leaving a message posted by the input, on malformed text.
namespace SoFieldCodec {

bool read(SoInput* in, float& value);
bool read(SoInput* in, double& value);
bool read(SoInput* in, int32_t& value);
bool read(SoInput* in, uint32_t& value);
bool read(SoInput* in, short& value);
bool read(SoInput* in, unsigned short& value);
/// TRUE, FALSE, 1 or 0.
bool read(SoInput* in, bool& value);
bool read(SoInput* in, SbVec2f& value);
bool read(SoInput* in, SbVec3f& value);
bool read(SoInput* in, SbVec4f& value);
bool read(SoInput* in, SbVec2s& value);
bool read(SoInput* in, SbVec3s& value);
bool read(SoInput* in, SbColor& value);
/// Axis and angle in radians: "x y z angle".
bool read(SoInput* in, SbRotation& value);
bool read(SoInput* in, SbMatrix& value);
/// A quoted string (or a single bare word).
bool read(SoInput* in, SbString& value);
bool read(SoInput* in, SbName& value);

void write(SoOutput* out, float value);
void write(SoOutput* out, double value);
void write(SoOutput* out, int32_t value);
void write(SoOutput* out, uint32_t value);
void write(SoOutput* out, short value);
void write(SoOutput* out, unsigned short value);
void write(SoOutput* out, bool value);
void write(SoOutput* out, const SbVec2f& value);
void write(SoOutput* out, const SbVec3f& value);
void write(SoOutput* out, const SbVec4f& value);
void write(SoOutput* out, const SbVec2s& value);
void write(SoOutput* out, const SbVec3s& value);
void write(SoOutput* out, const SbColor& value);
void write(SoOutput* out, const SbRotation& value);
void write(SoOutput* out, const SbMatrix& value);
void write(SoOutput* out, const SbString& value);
void write(SoOutput* out, const SbName& value);

/// Reads "[ v, v, ... ]" (commas optional, a trailing one allowed) or one bare value,
/// calling `readOne` for each value; `clear` is called first.
bool readList(SoInput* in, const std::function<void()>& clear,
              const std::function<bool(SoInput*)>& readOne);
/// Writes `num` values: a single one bare, several in brackets, wrapped on long lines.
void writeList(SoOutput* out, int num, const std::function<void(SoOutput*, int)>& writeOne);

}  // namespace SoFieldCodec
