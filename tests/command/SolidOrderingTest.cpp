// Imported meshes that close around a volume and agree on their outside are solids, no others.

#include <Tessara/actions/SoSearchAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoShapeHints.h>
#include <gtest/gtest.h>

#include "CommandRun.h"
#include "NodeRef.h"
#include "meshes/MeshImporter.h"

TEST(SolidOrdering, OnlyMeshesThatCloseAroundAVolumeAndAgreeOnTheirOutsideAreSolids) {
    SoDB::init();
    const std::string corners = "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\n";
    const std::tuple<const char*, std::string, int> files[] = {
        {"outward.obj", corners + "f 1 3 2\nf 1 2 4\nf 1 4 3\nf 2 3 4\n",
         SoShapeHints::COUNTERCLOCKWISE},
        {"inward.obj", corners + "f 1 2 3\nf 1 4 2\nf 1 3 4\nf 2 4 3\n", SoShapeHints::CLOCKWISE},
        {"open.obj", corners + "f 1 3 2\nf 1 2 4\nf 1 4 3\n", -1},
        {"one_turned.obj", corners + "f 1 2 3\nf 1 2 4\nf 1 4 3\nf 2 3 4\n", -1},
        {"one_inside_out.obj",
         corners + "v 5 0 0\nv 7 0 0\nv 5 2 0\nv 5 0 2\nf 1 3 2\nf 1 2 4\nf 1 4 3\n"
                   "f 2 3 4\nf 5 6 7\nf 5 8 6\nf 5 7 8\nf 6 8 7\n",
         -1},
        {"two_colours.obj",
         "mtllib two.mtl\n" + corners + "usemtl a\nf 1 3 2\nf 1 2 4\nusemtl b\nf 1 4 3\nf 2 3 4\n",
         SoShapeHints::COUNTERCLOCKWISE},
        {"sheet.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\nf 1 4 3 2\n", -1},
        // Normals of its own that point in: lit one side only, it would print dark.
        {"normals_in.obj",
         corners + "vn 1 1 1\nvn -3 1 1\nvn 1 -3 1\nvn 1 1 -3\n" +
             "f 1//1 3//3 2//2\nf 1//1 2//2 4//4\nf 1//1 4//4 3//3\nf 2//2 3//3 4//4\n",
         -1},
    };
    ScratchDir dir;
    dir.write("two.mtl", "newmtl a\nKd 1 0 0\nnewmtl b\nKd 0 1 0\n");
    for (const auto& [name, content, ordering] : files) {
        dir.write(name, content);
        NodeRef<SoSeparator> scene(MeshImporter::import(dir.file(name)));
        SoSearchAction search;
        search.setType(SoShapeHints::getClassTypeId());
        search.apply(scene.get());
        const SoPath* path = search.getPath();
        EXPECT_EQ(
            path ? static_cast<SoShapeHints*>(path->getTail())->vertexOrdering.getValue() : -1,
            ordering)
            << name;
    }
}
