// The 3D export's traversal. Each apply registers callbacks on the action itself that hand
// the engine every separator, environment, light, camera and shape, and each shape's
// primitives through the renderer its draw style asks for. An engine failure (an
// SoU3DException) ends the export at once: the engine is released, and the open, apply or
// close it happened in gives up. The failure is logged and posted as an SoDebugError, so
// that an application's handler learns why (a full disk, a missing directory) without
// reading the log.

#include <PlotWerk/SoPdfLog.h>
#include <PlotWerk/SoToU3DAction.h>
#include <PlotWerk/SoToU3DActionPrivate.h>
#include <PlotWerk/SoU3DException.h>
#include <PlotWerk/SoU3DShapeDispatcher.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/base/SoPathList.h>
#include <Tessara/elements/SoFontRenderStyleElement.h>
#include <Tessara/elements/SoOverrideElement.h>
#include <Tessara/nodes/SoCamera.h>
#include <Tessara/nodes/SoDragger.h>
#include <Tessara/nodes/SoEnvironment.h>
#include <Tessara/nodes/SoGradientBackground.h>
#include <Tessara/nodes/SoLight.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoShape.h>

#include "frame/SoBackendActionSource.h"

namespace {

using Response = SoCallbackAction::Response;

void report(const SoU3DException& failure) {
    if (SoPdfLog::getLogLevel() >= 1)
        SoPdfLog::post("U3D error [%x] in %s", failure.getCode(), failure.getWhere().toLatin1());
    SoDebugError::post("SoToU3DAction", "%s", failure.getWhere().getString());
}

SoToU3DAction* exporter(void* data) {
    return static_cast<SoToU3DAction*>(data);
}

SoToU3DActionPrivate& engineOf(void* data) {
    return *exporter(data)->getImpl();
}

Response separatorPre(void* data, SoCallbackAction* action, const SoNode* node) {
    return engineOf(data).separatorPre(action, node);
}

Response separatorPost(void* data, SoCallbackAction* action, const SoNode* node) {
    return engineOf(data).separatorPost(action, node);
}

Response environmentPre(void* data, SoCallbackAction* action, const SoNode* node) {
    return engineOf(data).environmentPre(action, node);
}

Response lightPre(void* data, SoCallbackAction* action, const SoNode* node) {
    return engineOf(data).lightPre(action, node);
}

Response cameraPre(void* data, SoCallbackAction* action, const SoNode* node) {
    return engineOf(data).cameraPre(action, node);
}

// The engine has one background colour: a gradient gives it the mean of its two.
Response gradientPre(void* data, SoCallbackAction*, const SoNode* node) {
    const auto* gradient = static_cast<const SoGradientBackground*>(node);
    engineOf(data).backgroundColor =
        (gradient->color0.getValue() + gradient->color1.getValue()) / 2.0f;
    return SoCallbackAction::CONTINUE;
}

Response shapePre(void* data, SoCallbackAction* action, const SoNode* node) {
    SoToU3DActionPrivate& engine = engineOf(data);
    if (engine.abortMarker) return SoCallbackAction::PRUNE;
    if (engine.defaultEnvironment) {
        auto* environment = new SoEnvironment;
        environment->ref();
        engine.environmentPre(action, environment);
        environment->unref();
    }
    if (engine.firstShape) engine.firstShape = false;
    if (SoPdfLog::getLogLevel() >= 3)
        SoPdfLog::post("parsing shape %s...", node->getTypeId().getName().getString());
    engine.shapeDispatcher->beginShape(action);
    engine.shapeDispatcher->getRenderer()->begin(action);
    return engine.shapePre(action, node);
}

Response shapePost(void* data, SoCallbackAction* action, const SoNode* node) {
    SoToU3DActionPrivate& engine = engineOf(data);
    if (engine.abortMarker) return SoCallbackAction::PRUNE;
    if (SoPdfLog::getLogLevel() >= 3)
        SoPdfLog::post("parsing shape %s done.", node->getTypeId().getName().getString());
    engine.shapeDispatcher->getRenderer()->end();
    engine.shapeDispatcher->endShape();
    if (engine.isShapeDoneA() && engine.isShapeDoneB() && engine.isShapeDoneC())
        return SoCallbackAction::CONTINUE;
    return engine.shapePost(action, node);
}

// A traversal forwarded from outside any shape (by an application's callback) yields
// primitives without a shape, hence without a renderer: they have nowhere to go.
void triangle(void* data, SoCallbackAction*, const SoPrimitiveVertex* a, const SoPrimitiveVertex* b,
              const SoPrimitiveVertex* c) {
    if (auto* renderer = engineOf(data).shapeDispatcher->getRenderer()) renderer->triangle(a, b, c);
}

void lineSegment(void* data, SoCallbackAction*, const SoPrimitiveVertex* a,
                 const SoPrimitiveVertex* b) {
    if (auto* renderer = engineOf(data).shapeDispatcher->getRenderer()) renderer->line(a, b);
}

void point(void* data, SoCallbackAction* action, const SoPrimitiveVertex* a) {
    engineOf(data).addPoint(action, a);
}

Response prune(void*, SoCallbackAction*, const SoNode*) {
    return SoCallbackAction::PRUNE;
}

}  // namespace

PW_ACTION_SOURCE(SoToU3DAction, SoCallbackAction)

SoToU3DAction::SoToU3DAction() {
    checkRegistration();
    useAlternateRep(true);
}

SoToU3DAction::~SoToU3DAction() {
    if (impl_) SoToU3DActionPrivate::finish(impl_);
}

bool SoToU3DAction::openFile(const char* fileName) {
    return openFile(SbString(fileName ? fileName : ""));
}

bool SoToU3DAction::openFile(const SbString& fileName) {
    if (impl_) return false;
    impl_ = SoToU3DActionPrivate::init(this);
    if (!impl_) return false;
    try {
        impl_->openU3D(fileName);
    } catch (const SoU3DException& failure) {
        failed(failure);
    }
    return impl_ != nullptr;
}

bool SoToU3DAction::closeFile() {
    if (!impl_) return false;
    bool written = true;
    try {
        impl_->closeU3D();
    } catch (const SoU3DException& failure) {
        report(failure);
        written = false;
    }
    SoToU3DActionPrivate::finish(impl_);
    impl_ = nullptr;
    return written;
}

void SoToU3DAction::failed(const SoU3DException& failure) {
    report(failure);
    SoToU3DActionPrivate::finish(impl_);
    impl_ = nullptr;
}

void SoToU3DAction::apply(SoNode* node) {
    SoPathList list;
    list.append(new SoPath(node));
    apply(list, false);
}

void SoToU3DAction::apply(SoPath* path) {
    SoPathList list;
    list.append(path);
    apply(list, false);
}

void SoToU3DAction::apply(const SoPathList& pathList, int obeysRules) {
    if (!impl_) return;
    try {
        if (SoPdfLog::getLogLevel() >= 2) SoPdfLog::post("parsing scenegraph...");
        registerCallbacks();
        SoAction::apply(pathList, obeysRules);
        if (SoPdfLog::getLogLevel() >= 2) SoPdfLog::post("parsing scenegraph done.");
    } catch (const SoU3DException& failure) {
        failed(failure);
    }
}

void SoToU3DAction::registerCallbacks() {
    addPreCallback(SoSeparator::getClassTypeId(), separatorPre, this);
    addPostCallback(SoSeparator::getClassTypeId(), separatorPost, this);
    addPreCallback(SoEnvironment::getClassTypeId(), environmentPre, this);
    addPreCallback(SoLight::getClassTypeId(), lightPre, this);
    addPreCallback(SoCamera::getClassTypeId(), cameraPre, this);
    addPreCallback(SoGradientBackground::getClassTypeId(), gradientPre, this);
    addPreCallback(SoShape::getClassTypeId(), shapePre, this);
    addPostCallback(SoShape::getClassTypeId(), shapePost, this);
    addTriangleCallback(SoShape::getClassTypeId(), triangle, this);
    addLineSegmentCallback(SoShape::getClassTypeId(), lineSegment, this);
    addPointCallback(SoShape::getClassTypeId(), point, this);
    if (!draggersExported_) addPreCallback(SoDragger::getClassTypeId(), prune, this);
}

// 3D text is generated as polygons: its render style is fixed to the first one, and no
// font node below may change it.
void SoToU3DAction::beginTraversal(SoNode* node) {
    if (polygonalText3Forced_) {
        SoState* state = getState();
        SoFontRenderStyleElement::set(state, SoFontRenderStyleElement::Style(0));
        SoOverrideElement::setFontRenderStyleOverride(state, node, true);
    }
    SoCallbackAction::beginTraversal(node);
}

// A node's alternate representation is traversed as the node itself; anything else that a
// node forwards to is traversed without the callbacks seeing it.
void SoToU3DAction::forwardTraversal(SoNode* node) {
    const SoPath* light = getCurLightPath();
    if (light && light->getTail() && light->getTail()->getAlternateRep() == node) {
        SoAction::forwardTraversal(node);
        return;
    }
    const bool previous = forwarding_;
    forwarding_ = true;
    SoAction::forwardTraversal(node);
    forwarding_ = previous;
}

void SoToU3DAction::forwardTraversal(SoPath* path) {
    const bool previous = forwarding_;
    forwarding_ = true;
    SoAction::forwardTraversal(path);
    forwarding_ = previous;
}

void SoToU3DAction::invokePreCallbacks(const SoNode* node) {
    if (!forwarding_) SoCallbackAction::invokePreCallbacks(node);
}

void SoToU3DAction::invokePostCallbacks(const SoNode* node) {
    if (!forwarding_) SoCallbackAction::invokePostCallbacks(node);
}
