#include <Tessara/base/SoBase.h>
#include <Tessara/base/SoClassRegistry.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/base/SoTypedObject.h>

namespace {
int initCount = 0;
}

void SoDB::init() {
    if (initCount++ > 0) return;
    SoTypedObject::initClass();
    SoBase::initClass();
    SoPath::initClass();
    SoClassRegistry::initAll();
}

void SoDB::finish() {
    if (initCount == 0) return;
    if (--initCount > 0) return;
    SoClassRegistry::exitAll();
    SoPath::exitClass();
    SoBase::exitClass();
    SoTypedObject::exitClass();
}

bool SoDB::isInitialized() {
    return initCount > 0;
}

const char* SoDB::getVersion() {
    return "Tessara 1.0";
}
