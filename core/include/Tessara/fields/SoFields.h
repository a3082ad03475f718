#pragma once

// Every field type of the core, by the names scene-file users know.

#include <Tessara/fields/SoMField.h>
#include <Tessara/fields/SoSFBitMask.h>
#include <Tessara/fields/SoSFEnum.h>
#include <Tessara/fields/SoSFImage.h>
#include <Tessara/fields/SoSField.h>

using SoSFBool = SoSField<bool>;
using SoSFFloat = SoSField<float>;
using SoSFDouble = SoSField<double>;
using SoSFInt32 = SoSField<int32_t>;
using SoSFUInt32 = SoSField<uint32_t>;
using SoSFShort = SoSField<short>;
using SoSFUShort = SoSField<unsigned short>;
using SoSFVec2f = SoSField<SbVec2f>;
using SoSFVec3f = SoSField<SbVec3f>;
using SoSFVec4f = SoSField<SbVec4f>;
using SoSFVec2s = SoSField<SbVec2s>;
using SoSFColor = SoSField<SbColor>;
using SoSFRotation = SoSField<SbRotation>;
using SoSFMatrix = SoSField<SbMatrix>;
using SoSFString = SoSField<SbString>;
using SoSFName = SoSField<SbName>;

using SoMFFloat = SoMField<float>;
using SoMFInt32 = SoMField<int32_t>;
using SoMFUInt32 = SoMField<uint32_t>;
using SoMFShort = SoMField<short>;
using SoMFUShort = SoMField<unsigned short>;
using SoMFVec2f = SoMField<SbVec2f>;
using SoMFVec3f = SoMField<SbVec3f>;
using SoMFVec4f = SoMField<SbVec4f>;
using SoMFColor = SoMField<SbColor>;
using SoMFRotation = SoMField<SbRotation>;
using SoMFString = SoMField<SbString>;
using SoMFName = SoMField<SbName>;
