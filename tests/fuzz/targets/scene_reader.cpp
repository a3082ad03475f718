// The scene reader on arbitrary bytes: it must refuse what it cannot read with a message and
// never crash, hang or leak, and what it accepts must be a graph that can be released.

#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoSeparator.h>

#include "FuzzTarget.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = (SoDB::init(), silenceDebugMessages(), true);
    (void)ready;
    SoInput input;
    input.setBuffer(data, size);
    if (SoSeparator* scene = SoDB::readAll(&input)) {
        scene->ref();
        scene->unref();
    }
    return 0;
}
