// A scene read from arbitrary bytes, exported in 3D as the command exports it: through the
// export action, the engine module and its U3D writer into a file of this process's own, and,
// for every other input, into a 3D PDF around it, encrypted for every other of those. The
// input's size chooses, so that the bytes stay a scene file.

#include <Tessara/nodes/SoSeparator.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "CommandError.h"
#include "FuzzScene.h"
#include "ModelExport.h"

namespace {

void exportModel(SoSeparator* scene, std::size_t choice) {
    PrintOptions options;
    const bool pdf = choice % 2 == 1;
    options.output = "/tmp/plotwerk-fuzz-" + std::to_string(getpid()) + (pdf ? ".pdf" : ".u3d");
    if (choice / 2 % 2 == 1) options.userPassword = options.ownerPassword = "fuzz";
    try {
        (pdf ? ModelExport::writePdf3D : ModelExport::writeU3D)(options, scene);
    } catch (const CommandError&) {
        // The engine refused the scene and said why: what a user of the command would see.
    }
    std::remove(options.output.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SoSeparator* scene = readFuzzScene(data, size);
    if (!scene) return 0;
    exportModel(scene, size);
    scene->unref();
    return 0;
}
