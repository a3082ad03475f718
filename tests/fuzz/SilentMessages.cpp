#include <Tessara/base/SoDebugError.h>

#include "FuzzTarget.h"

void silenceDebugMessages() {
    SoDebugError::setHandlerCallback([](const SoDebugError*, void*) {}, nullptr);
}
