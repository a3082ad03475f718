// plotwerk: reads a scene file (or the built-in demo scene) and reports what a traversal
// of it delivers. The printing backends build on the same traversal.

#include "DemoScene.h"
#include "SceneSummary.h"

#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoSeparator.h>

#include <cstdio>
#include <cstring>

namespace {

int usage() {
    std::fprintf(stderr, "usage: plotwerk [scene.tsc]\n"
                         "  With no scene file, the built-in demo scene is used.\n");
    return 2;
}

SoSeparator* readScene(int argc, char** argv, const char*& label) {
    SoInput in;
    if (argc > 1) {
        label = argv[1];
        if (!in.openFile(argv[1])) return nullptr;
        return SoDB::readAll(&in);
    }
    label = "built-in demo scene";
    const char* text = demoSceneText();
    in.setBuffer(text, std::strlen(text));
    return SoDB::readAll(&in);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && (!std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "--help"))))
        return usage();
    SoDB::init();
    const char* label = "";
    SoSeparator* root = readScene(argc, argv, label);
    if (!root) {
        std::fprintf(stderr, "plotwerk: cannot read %s\n", label);
        SoDB::finish();
        return 1;
    }
    root->ref();
    const SceneSummary summary = SceneSummary::of(root);
    root->unref();
    std::printf("%s: %ld shapes, %ld triangles, %ld line segments, %ld points\n", label,
                summary.shapes, summary.triangles, summary.segments, summary.points);
    if (!summary.box.isEmpty()) {
        const SbVec3f& lo = summary.box.getMin();
        const SbVec3f& hi = summary.box.getMax();
        std::printf("bounds: (%g %g %g) - (%g %g %g)\n", lo[0], lo[1], lo[2], hi[0], hi[1], hi[2]);
    }
    SoDB::finish();
    return 0;
}
