#pragma once

#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoSeparator.h>

#include <string>

/// The scene of `body` inside one separator, referenced; null when it does not read.
inline SoSeparator* readScene(const std::string& body) {
    const std::string text = "#Tessara V1.0 ascii\nSeparator { " + body + " }\n";
    SoInput in;
    in.setBuffer(text.data(), text.size());
    SoSeparator* root = SoDB::readAll(&in);
    if (root != nullptr) root->ref();
    return root;
}
