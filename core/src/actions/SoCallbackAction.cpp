#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/elements/SoComplexityElement.h>
#include <Tessara/elements/SoCoordinateElement.h>
#include <Tessara/elements/SoCreaseAngleElement.h>
#include <Tessara/elements/SoFontNameElement.h>
#include <Tessara/elements/SoFontRenderStyleElement.h>
#include <Tessara/elements/SoFontSizeElement.h>
#include <Tessara/elements/SoLinePatternElement.h>
#include <Tessara/elements/SoLineWidthElement.h>
#include <Tessara/elements/SoMaterialElement.h>
#include <Tessara/elements/SoModelMatrixElement.h>
#include <Tessara/elements/SoNormalElement.h>
#include <Tessara/elements/SoPointSizeElement.h>
#include <Tessara/elements/SoProjectionMatrixElement.h>
#include <Tessara/elements/SoViewVolumeElement.h>
#include <Tessara/elements/SoViewingMatrixElement.h>
#include <Tessara/elements/SoViewportRegionElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoNode.h>
#include <Tessara/nodes/SoShape.h>

#include <atomic>

SO_ACTION_SOURCE(SoCallbackAction, SoAction)

namespace {
std::atomic<long long> defaultPrimitiveLimit{0};
}  // namespace

void SoCallbackAction::setDefaultPrimitiveLimit(long long limit) {
    defaultPrimitiveLimit = limit > 0 ? limit : 0;
}

long long SoCallbackAction::getDefaultPrimitiveLimit() {
    return defaultPrimitiveLimit;
}

void SoCallbackAction::initClass() {
    SO_ACTION_INIT_CLASS(SoCallbackAction, SoAction);
    if (SoNode::getClassTypeId().isBad()) SoNode::initClass();
    addMethod(SoNode::getClassTypeId(), &SoNode::callCallback);
    // Every element a callback may query is created with the state.
    SO_ENABLE(SoCallbackAction, SoModelMatrixElement);
    SO_ENABLE(SoCallbackAction, SoViewingMatrixElement);
    SO_ENABLE(SoCallbackAction, SoProjectionMatrixElement);
    SO_ENABLE(SoCallbackAction, SoViewVolumeElement);
    SO_ENABLE(SoCallbackAction, SoViewportRegionElement);
    SO_ENABLE(SoCallbackAction, SoMaterialElement);
    SO_ENABLE(SoCallbackAction, SoCoordinateElement);
    SO_ENABLE(SoCallbackAction, SoNormalElement);
    SO_ENABLE(SoCallbackAction, SoDrawStyleElement);
    SO_ENABLE(SoCallbackAction, SoLightModelElement);
    SO_ENABLE(SoCallbackAction, SoLineWidthElement);
    SO_ENABLE(SoCallbackAction, SoLinePatternElement);
    SO_ENABLE(SoCallbackAction, SoPointSizeElement);
    SO_ENABLE(SoCallbackAction, SoFontNameElement);
    SO_ENABLE(SoCallbackAction, SoFontSizeElement);
    SO_ENABLE(SoCallbackAction, SoShapeHintsElement);
}

SoCallbackAction::SoCallbackAction() : primitiveLimit_(defaultPrimitiveLimit) {
    SO_ACTION_CONSTRUCTOR(SoCallbackAction);
}

SoCallbackAction::SoCallbackAction(const SbViewportRegion& region)
    : viewportRegion_(region), primitiveLimit_(defaultPrimitiveLimit) {
    SO_ACTION_CONSTRUCTOR(SoCallbackAction);
}

SoCallbackAction::~SoCallbackAction() = default;

void SoCallbackAction::addPreCallback(SoType type, SoCallbackActionCB* cb, void* userData) {
    preCallbacks_.push_back({type, cb, userData});
}

void SoCallbackAction::addPostCallback(SoType type, SoCallbackActionCB* cb, void* userData) {
    postCallbacks_.push_back({type, cb, userData});
}

void SoCallbackAction::addTriangleCallback(SoType type, SoTriangleCB* cb, void* userData) {
    triangleCallbacks_.push_back({type, cb, userData});
}

void SoCallbackAction::addLineSegmentCallback(SoType type, SoLineSegmentCB* cb, void* userData) {
    lineCallbacks_.push_back({type, cb, userData});
}

void SoCallbackAction::addPointCallback(SoType type, SoPointCB* cb, void* userData) {
    pointCallbacks_.push_back({type, cb, userData});
}

void SoCallbackAction::beginTraversal(SoNode* node) {
    response_ = CONTINUE;
    primitivesTaken_ = 0;
    SoViewportRegionElement::set(getState(), nullptr, viewportRegion_);
    traverse(node);
}

void SoCallbackAction::invokeNodeCallbacks(const std::vector<Entry<SoCallbackActionCB>>& list,
                                           const SoNode* node) {
    response_ = CONTINUE;
    for (const auto& entry : list) {
        if (!node->isOfType(entry.type)) continue;
        const Response r = entry.callback(entry.userData, this, node);
        if (r == ABORT) {
            response_ = ABORT;
            setTerminated(true);
            return;
        }
        if (r == PRUNE) response_ = PRUNE;
    }
}

void SoCallbackAction::invokePreCallbacks(const SoNode* node) {
    invokeNodeCallbacks(preCallbacks_, node);
}

void SoCallbackAction::invokePostCallbacks(const SoNode* node) {
    invokeNodeCallbacks(postCallbacks_, node);
}

void SoCallbackAction::invokeTriangleCallbacks(const SoShape* shape, const SoPrimitiveVertex* v1,
                                               const SoPrimitiveVertex* v2,
                                               const SoPrimitiveVertex* v3) {
    for (const auto& entry : triangleCallbacks_)
        if (shape->isOfType(entry.type)) entry.callback(entry.userData, this, v1, v2, v3);
}

void SoCallbackAction::invokeLineSegmentCallbacks(const SoShape* shape, const SoPrimitiveVertex* v1,
                                                  const SoPrimitiveVertex* v2) {
    for (const auto& entry : lineCallbacks_)
        if (shape->isOfType(entry.type)) entry.callback(entry.userData, this, v1, v2);
}

void SoCallbackAction::invokePointCallbacks(const SoShape* shape, const SoPrimitiveVertex* v) {
    for (const auto& entry : pointCallbacks_)
        if (shape->isOfType(entry.type)) entry.callback(entry.userData, this, v);
}

bool SoCallbackAction::takePrimitive() {
    if (hasTerminated()) return false;
    if (primitiveLimit_ == 0 || ++primitivesTaken_ <= primitiveLimit_) return true;
    SoDebugError::postWarning("SoCallbackAction::apply",
                              "The scene makes more than %lld primitives: the traversal stops "
                              "there, and the rest of the scene is left out",
                              primitiveLimit_);
    setTerminated(true);
    return false;
}

bool SoCallbackAction::shouldGeneratePrimitives(const SoShape* shape) const {
    for (const auto& e : triangleCallbacks_)
        if (shape->isOfType(e.type)) return true;
    for (const auto& e : lineCallbacks_)
        if (shape->isOfType(e.type)) return true;
    for (const auto& e : pointCallbacks_)
        if (shape->isOfType(e.type)) return true;
    return false;
}

const SbMatrix& SoCallbackAction::getModelMatrix() {
    return SoModelMatrixElement::get(getState());
}

const SbMatrix& SoCallbackAction::getViewingMatrix() {
    return SoViewingMatrixElement::get(getState());
}

const SbMatrix& SoCallbackAction::getProjectionMatrix() {
    return SoProjectionMatrixElement::get(getState());
}

const SbViewVolume& SoCallbackAction::getViewVolume() {
    return SoViewVolumeElement::get(getState());
}

const SbViewportRegion& SoCallbackAction::getViewportRegionElement() {
    return SoViewportRegionElement::get(getState());
}

void SoCallbackAction::getMaterial(SbColor& ambient, SbColor& diffuse, SbColor& specular,
                                   SbColor& emission, float& shininess, float& transparency,
                                   int materialIndex) {
    const SoMaterialElement* m = SoMaterialElement::getInstance(getState());
    ambient = m->getAmbient(materialIndex);
    diffuse = m->getDiffuse(materialIndex);
    specular = m->getSpecular(materialIndex);
    emission = m->getEmissive(materialIndex);
    shininess = m->getShininess(materialIndex);
    transparency = m->getTransparency(materialIndex);
}

SoLightModelElement::Model SoCallbackAction::getLightModel() {
    return SoLightModelElement::get(getState());
}

SoDrawStyleElement::Style SoCallbackAction::getDrawStyle() {
    return SoDrawStyleElement::get(getState());
}

float SoCallbackAction::getLineWidth() {
    return SoLineWidthElement::get(getState());
}

unsigned short SoCallbackAction::getLinePattern() {
    return SoLinePatternElement::get(getState());
}

int SoCallbackAction::getLinePatternScaleFactor() {
    return SoLinePatternElement::getScaleFactor(getState());
}

float SoCallbackAction::getPointSize() {
    return SoPointSizeElement::get(getState());
}

const SbName& SoCallbackAction::getFontName() {
    return SoFontNameElement::get(getState());
}

float SoCallbackAction::getFontSize() {
    return SoFontSizeElement::get(getState());
}

int SoCallbackAction::getFontRenderStyle() {
    return SoFontRenderStyleElement::get(getState());
}

SoShapeHintsElement::ShapeType SoCallbackAction::getShapeType() {
    return SoShapeHintsElement::getShapeType(getState());
}

SoShapeHintsElement::VertexOrdering SoCallbackAction::getVertexOrdering() {
    return SoShapeHintsElement::getVertexOrdering(getState());
}

SoShapeHintsElement::FaceType SoCallbackAction::getFaceType() {
    return SoShapeHintsElement::getFaceType(getState());
}

float SoCallbackAction::getCreaseAngle() {
    return SoCreaseAngleElement::get(getState());
}

float SoCallbackAction::getComplexity() {
    return SoComplexityElement::get(getState());
}

SoComplexityTypeElement::Type SoCallbackAction::getComplexityType() {
    return SoComplexityTypeElement::get(getState());
}

SoMaterialBindingElement::Binding SoCallbackAction::getMaterialBinding() {
    return SoMaterialBindingElement::get(getState());
}

SoNormalBindingElement::Binding SoCallbackAction::getNormalBinding() {
    return SoNormalBindingElement::get(getState());
}

int SoCallbackAction::getNumCoordinates() {
    return SoCoordinateElement::getInstance(getState())->getNum();
}

const SbVec3f& SoCallbackAction::getCoordinate3(int index) {
    return SoCoordinateElement::getInstance(getState())->get3(index);
}

int SoCallbackAction::getNumNormals() {
    return SoNormalElement::getInstance(getState())->getNum();
}

const SbVec3f& SoCallbackAction::getNormal(int index) {
    return SoNormalElement::getInstance(getState())->get(index);
}
