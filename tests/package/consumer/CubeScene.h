#pragma once

#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoSeparator.h>

#include <cstring>

/// A red cube seen from the front, referenced; null when the text does not read.
inline SoSeparator* readCubeScene() {
    const char scene[] =
        "#Tessara V1.0 ascii\n"
        "Separator { OrthographicCamera { position 0 0 5 } LightModel { model BASE_COLOR }\n"
        "            BaseColor { rgb 1 0 0 } Cube { } }\n";
    SoInput in;
    in.setBuffer(scene, std::strlen(scene));
    SoSeparator* root = SoDB::readAll(&in);
    if (root) root->ref();
    return root;
}
