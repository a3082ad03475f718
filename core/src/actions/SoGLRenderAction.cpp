// The OpenGL picture of a scene. The action does not walk the graph with methods of its
// own: a callback traversal delivers every primitive with the state it was made in, which
// is what the vectorizer prints from too, so both see the same triangles, segments and
// points. SoGLSceneDrawer turns them into GL calls; annotations are drawn in a second
// traversal, over the rest.

#include <GL/osmesa.h>
#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/actions/SoGLRenderAction.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/base/SoPathList.h>

#include "rendering/SoGLFunctions.h"
#include "rendering/SoGLSceneDrawer.h"

SO_ACTION_SOURCE(SoGLRenderAction, SoAction)

void SoGLRenderAction::initClass() {
    SO_ACTION_INIT_CLASS(SoGLRenderAction, SoAction);
}

SoGLRenderAction::SoGLRenderAction(const SbViewportRegion& region) : viewportRegion_(region) {
    SO_ACTION_CONSTRUCTOR(SoGLRenderAction);
}

SoGLRenderAction::~SoGLRenderAction() = default;

void SoGLRenderAction::apply(SoNode* node) {
    if (node == nullptr) {
        SoDebugError::post("SoGLRenderAction::apply", "No node to draw");
        return;
    }
    draw(node, nullptr, nullptr, 0);
}

void SoGLRenderAction::apply(SoPath* path) {
    if (path == nullptr) {
        SoDebugError::post("SoGLRenderAction::apply", "No path to draw");
        return;
    }
    draw(nullptr, path, nullptr, 0);
}

void SoGLRenderAction::apply(const SoPathList& pathList, int obeysRules) {
    draw(nullptr, nullptr, &pathList, obeysRules);
}

void SoGLRenderAction::draw(SoNode* node, SoPath* path, const SoPathList* pathList,
                            int obeysRules) {
    if (OSMesaGetCurrentContext() == nullptr) {
        SoDebugError::post("SoGLRenderAction::apply",
                           "No OpenGL context is current on this thread: nothing drawn (make "
                           "one current with SoOffscreenRenderer::makeCurrent())");
        return;
    }
    const SoGLFunctions& gl = SoGLFunctions::get();
    if (!gl.isComplete()) {
        SoDebugError::post("SoGLRenderAction::apply", "The OpenGL library lacks %s: nothing drawn",
                           gl.getMissing());
        return;
    }
    SoGLSceneDrawer drawer(gl, smoothShading_);
    drawer.begin();
    {
        SoCallbackAction cba(viewportRegion_);
        drawer.registerOn(cba, true);
        if (node != nullptr)
            cba.apply(node);
        else if (path != nullptr)
            cba.apply(path);
        else
            cba.apply(*pathList, obeysRules);
        drawer.flush();
    }
    drawer.drawAnnotations(viewportRegion_);
    drawer.end();
}
