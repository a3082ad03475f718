// Scene file reading of SoDB, kept apart from class registration.

#include <Tessara/base/SoDB.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoSeparator.h>

#include "io/SoSceneReader.h"

SoSeparator* SoDB::readAll(SoInput* in) {
    if (!in) {
        SoDebugError::post("SoDB::readAll", "No input given");
        return nullptr;
    }
    if (!in->checkHeader()) return nullptr;
    auto* root = new SoSeparator;
    root->ref();
    SoSceneReader reader(in, 1);
    for (;;) {
        SoNode* node = nullptr;
        if (!reader.readNode(node)) {
            root->unref();
            return nullptr;
        }
        if (!node) break;
        root->addChild(node);
    }
    root->unrefNoDelete();
    return root;
}

bool SoDB::read(SoInput* in, SoNode*& node) {
    node = nullptr;
    if (!in) {
        SoDebugError::post("SoDB::read", "No input given");
        return false;
    }
    if (!in->checkHeader()) return false;
    SoSceneReader reader(in);
    return reader.readNode(node);
}
