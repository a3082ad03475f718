#include "DrawingStyle.h"

#include <Tessara/math/SbMathHelper.h>
#include <Tessara/nodes/SoLightModel.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoMaterialBinding.h>
#include <Tessara/nodes/SoNormal.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoShapeHints.h>

#include <initializer_list>
#include <unordered_set>
#include <vector>

#include "SceneLoader.h"
#include "options/PrintOptions.h"
#include "output/OutputFormat.h"

namespace {

bool isMeshFile(const PrintOptions& options) {
    return !options.input.empty() && !SceneLoader::isSceneFile(options.input);
}

// The picture of the screen shows faces whatever the hidden-line mode.
bool isLineDrawing(const PrintOptions& options, const OutputFormat& format) {
    return options.hidden == SoVectorizeAction::HIDDEN_LINES_REMOVAL && format.create;
}

// Removes the normal nodes under `root`, looking into each group once however often it is
// used.
void dropNormals(SoGroup* root) {
    std::vector<SoGroup*> open{root};
    std::unordered_set<SoGroup*> seen{root};
    while (!open.empty()) {
        SoGroup* group = open.back();
        open.pop_back();
        for (int i = group->getNumChildren() - 1; i >= 0; --i) {
            SoNode* child = group->getChild(i);
            if (child->isOfType(SoNormal::getClassTypeId())) {
                group->removeChild(i);
            } else if (child->isOfType(SoGroup::getClassTypeId())) {
                auto* inner = static_cast<SoGroup*>(child);
                if (seen.insert(inner).second) open.push_back(inner);
            }
        }
    }
}

// A mesh file cannot be trusted on which side of a face is its front: many turn inwards, some
// both ways, and an open surface shows its back. Mesh viewers light both sides, and so do
// the screen and the drawing here (no face is culled either way). Faces without normals of
// their own get them from the core, which smooths them across gentle edges at the hint's
// crease angle wherever the surface is shown smooth: shaded so, in a line drawing (no lines
// across it) and in 3D. Shaded one colour per face, each facet takes the colour of its own
// plane: the file's normals, one per corner and smoothed for a viewer, would give each
// triangle the colour of one of its corners, a sawtooth of light and dark along every curved
// surface. A scene file says all this for itself.
void hintMeshes(const PrintOptions& options, const OutputFormat& format, SoSeparator* scene) {
    if (!isMeshFile(options)) return;
    auto* hints = new SoShapeHints;
    hints->vertexOrdering = SoShapeHints::COUNTERCLOCKWISE;
    if (options.smooth || isLineDrawing(options, format) || format.writeScene) {
        hints->creaseAngle = SbMathHelper::deg2rad(options.creaseAngle);
    } else {
        hints->creaseAngle.setIgnored(true);
        dropNormals(scene);
    }
    scene->insertChild(hints, 0);
}

// Black on paper: white in the screen's colours, which a drawing swaps or inverts unless
// told to keep them. The screen's picture stands as it is drawn, on white unless told
// otherwise: its ink is what stands out from the background. Only the diffuse colour is set.
SoMaterial* inkFor(const PrintOptions& options, const OutputFormat& format) {
    auto* ink = new SoMaterial;
    const SbColor& ground = options.background ? *options.background : SbColor(1, 1, 1);
    const bool light = format.create ? options.colors != SoVectorizeAction::KEEP_COLORS
                                     : ground[0] + ground[1] + ground[2] < 1.5f;
    ink->diffuseColor = light ? SbColor(1, 1, 1) : SbColor(0, 0, 0);
    for (SoField* other :
         std::initializer_list<SoField*>{&ink->ambientColor, &ink->specularColor,
                                         &ink->emissiveColor, &ink->shininess, &ink->transparency})
        other->setIgnored(true);
    return ink;
}

// A line drawing shows shapes, not light: each line in its shape's own colour rather than
// in the tones light gives the faces beside it, whatever light model the scene asks for,
// and a shape without a colour in ink. A scene's own materials still have the last word. A
// mesh file's colours are its surfaces' (often light, or a texture's, which lines on paper
// would hardly show): all its lines are inked, as a drafter draws them.
void drawLinesUnlit(const PrintOptions& options, const OutputFormat& format, SoSeparator* scene) {
    if (!isLineDrawing(options, format)) return;
    SoMaterial* ink = inkFor(options, format);
    auto* unlit = new SoLightModel;
    unlit->model = SoLightModel::BASE_COLOR;
    unlit->setOverride(true);
    if (isMeshFile(options)) {
        auto* overall = new SoMaterialBinding;
        overall->value = SoMaterialBinding::OVERALL;
        overall->setOverride(true);
        ink->setOverride(true);
        scene->insertChild(overall, 0);
    }
    scene->insertChild(ink, 0);
    scene->insertChild(unlit, 0);
}

// The lines and points of a mesh file that gives them no colour take the one around them
// (the importer's grey is meant for faces and would be faint on paper): ink.
void inkBareStrokes(const PrintOptions& options, const OutputFormat& format, SoSeparator* scene) {
    if (isMeshFile(options) && !format.writeScene && !isLineDrawing(options, format))
        scene->insertChild(inkFor(options, format), 0);
}

}  // namespace

void DrawingStyle::apply(const PrintOptions& options, const OutputFormat& format,
                         SoSeparator* scene) {
    hintMeshes(options, format, scene);
    drawLinesUnlit(options, format, scene);
    inkBareStrokes(options, format, scene);
}
