// Builds a scene with the installed headers, traverses it, and checks what it saw.
#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoCube.h>
#include <Tessara/nodes/SoSeparator.h>

#include <cstdio>
#include <cstring>

static void countTriangle(void* data, SoCallbackAction*, const SoPrimitiveVertex*,
                          const SoPrimitiveVertex*, const SoPrimitiveVertex*) {
    ++*static_cast<int*>(data);
}

int main() {
    SoDB::init();
    const char scene[] = "#Tessara V1.0 ascii\nSeparator { Cube { width 3 } }\n";
    SoInput in;
    in.setBuffer(scene, std::strlen(scene));
    SoSeparator* root = SoDB::readAll(&in);
    if (!root) return 1;
    root->ref();
    int triangles = 0;
    SoCallbackAction action;
    action.addTriangleCallback(SoShape::getClassTypeId(), countTriangle, &triangles);
    action.apply(root);
    root->unref();
    SoDB::finish();
    std::printf("triangles: %d\n", triangles);
    return triangles == 12 ? 0 : 2;
}
