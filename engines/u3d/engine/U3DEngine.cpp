#include "U3DEngine.h"

#include <PlotWerk/SoToPDFAction.h>
#include <PlotWerk/SoU3DException.h>
#include <PlotWerk/SoU3DShapeDispatcher.h>
#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/misc/SoPreferences.h>
#include <Tessara/misc/SoPrimitiveVertex.h>
#include <Tessara/nodes/SoCamera.h>
#include <Tessara/nodes/SoDirectionalLight.h>
#include <Tessara/nodes/SoEnvironment.h>
#include <Tessara/nodes/SoPointLight.h>
#include <Tessara/nodes/SoSpotLight.h>

#include <algorithm>
#include <cmath>
#include <fstream>

#include "U3DDocumentViews.h"
#include "U3DPosterRenderer.h"
#include "format/U3DFileWriter.h"

namespace {

constexpr char kMainView[] = "DefaultView";
constexpr char kUncompressedSetting[] = "PLOTWERK_U3D_UNCOMPRESSED";
// A shape larger than this reserves no more room up front; its tables still grow as needed.
constexpr std::uint32_t kLargestReservation = 1u << 24;

u3d::Vec3 vec(const SbVec3f& v) {
    return {v[0], v[1], v[2]};
}

// A colour, material or light value that is no number would make the whole file invalid. As
// in the printed drawings, it is taken as 0 (1 when it is +infinity), with a note.
float finiteValue(float value) {
    if (std::isfinite(value)) return value;
    SoDebugError::postInfoOnce("U3DEngine",
                               "A colour, material or light value is not a finite number: it is "
                               "exported as %s",
                               value > 0.0f ? "1" : "0");
    return value > 0.0f ? 1.0f : 0.0f;
}

u3d::Vec3 vec(const SbColor& c) {
    return {finiteValue(c[0]), finiteValue(c[1]), finiteValue(c[2])};
}

u3d::Rgba rgba(const SbColor& c, float transparency) {
    const u3d::Vec3 rgb = vec(c);
    return {rgb[0], rgb[1], rgb[2], 1.0f - finiteValue(transparency)};
}

// A transform that is not a number would make the whole file invalid: what stands under it is
// left out instead.
bool finite(const SbMatrix& m) {
    return std::all_of(m.getValue(), m.getValue() + 16, [](float x) { return std::isfinite(x); });
}

u3d::Matrix matrixOf(const SbMatrix& m) {
    u3d::Matrix matrix;
    std::copy(m.getValue(), m.getValue() + 16, matrix.begin());
    return matrix;
}

// The light's frame in world coordinates: U3D lights shine along their node's -Z axis.
SbMatrix lightFrame(const SoLight& light, const SbMatrix& modelMatrix) {
    SbVec3f location(0, 0, 0), direction(0, 0, -1);
    if (light.isOfType(SoSpotLight::getClassTypeId())) {
        location = static_cast<const SoSpotLight&>(light).location.getValue();
        direction = static_cast<const SoSpotLight&>(light).direction.getValue();
    } else if (light.isOfType(SoPointLight::getClassTypeId())) {
        location = static_cast<const SoPointLight&>(light).location.getValue();
    } else if (light.isOfType(SoDirectionalLight::getClassTypeId())) {
        direction = static_cast<const SoDirectionalLight&>(light).direction.getValue();
    }
    SbMatrix local;
    local.setTransform(location, SbRotation(SbVec3f(0, 0, -1), direction), SbVec3f(1, 1, 1));
    return local * modelMatrix;
}

u3d::Light lightResource(const SoLight& light, const std::string& name) {
    u3d::Light resource;
    resource.name = name;
    resource.color = rgba(light.color.getValue(), 0.0f);
    resource.intensity = finiteValue(light.intensity.getValue());
    if (light.isOfType(SoSpotLight::getClassTypeId())) {
        const auto& spot = static_cast<const SoSpotLight&>(light);
        resource.type = u3d::Light::Type::Spot;
        resource.spotAngle = finiteValue(spot.cutOffAngle.getValue()) * 57.29577951f;
        resource.spotDecay = spot.dropOffRate.getValue() > 0.0f;
    } else if (light.isOfType(SoPointLight::getClassTypeId())) {
        resource.type = u3d::Light::Type::Point;
    }
    return resource;
}

}  // namespace

U3DEngine::~U3DEngine() {
    if (root_) root_->unref();
}

std::string U3DEngine::nextName(const char* kind) {
    return kind + std::to_string(++names_);
}

std::string U3DEngine::currentGroup() const {
    return groups_.empty() ? std::string() : groups_.back();
}

// The scene is rendered again for the poster when the file closes, when a PDF will show it:
// the actions drive the engine as themselves.
void U3DEngine::captureRoot(SoCallbackAction* action) {
    if (root_) return;
    forPdf_ = action->isOfType(SoToPDFAction::getClassTypeId());
    const SoPath* path = action->getCurPath();
    root_ = path ? path->getHead() : nullptr;
    if (root_) root_->ref();
}

void U3DEngine::openU3D(const SbString& fileName) {
    // Fail now rather than after the whole traversal.
    if (!std::ofstream(fileName.getString(), std::ios::binary))
        throw SoU3DException(1, SbString(("cannot open " + fileName.getStdString()).c_str()));
    fileName_ = fileName.getStdString();
}

void U3DEngine::closeU3D() {
    finishShape();
    buildStrokes();
    addDefaultView();
    writeFile();
    if (!forPdf_) return;
    u3d::U3DPdfPoster poster =
        u3d::U3DPosterRenderer::render(root_, *viewpoint_, hasLights_, backgroundColor);
    u3d::U3DDocumentViews::put(fileName_, {*viewpoint_, std::move(poster)});
}

SbString U3DEngine::getMainViewName() {
    return SbString(kMainView);
}

bool U3DEngine::getFlagA() {
    return viewpoint_ && viewpoint_->orthographic;
}

float U3DEngine::getValueB() {
    return viewpoint_ ? viewpoint_->projection : u3d::U3DViewpoint().projection;
}

float U3DEngine::getValueC() {
    return viewpoint_ ? viewpoint_->focalDistance : u3d::U3DViewpoint().focalDistance;
}

bool U3DEngine::getFlagD() {
    return hasLights_;
}

SbColor U3DEngine::getBackgroundColor() {
    return backgroundColor;
}

SoCallbackAction::Response U3DEngine::separatorPre(SoCallbackAction* action, const SoNode*) {
    captureRoot(action);
    u3d::Node group;
    group.name = nextName("Group");
    group.parents = {u3d::Parent{currentGroup()}};
    groups_.push_back(group.name);
    scene_.nodes.push_back(std::move(group));
    return SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response U3DEngine::separatorPost(SoCallbackAction*, const SoNode*) {
    if (!groups_.empty()) groups_.pop_back();
    return SoCallbackAction::CONTINUE;
}

// The ambient light of the environment: one for the scene, the last environment's.
SoCallbackAction::Response U3DEngine::environmentPre(SoCallbackAction*, const SoNode* node) {
    const auto& environment = static_cast<const SoEnvironment&>(*node);
    u3d::Light ambient;
    ambient.name = "Ambient";
    ambient.type = u3d::Light::Type::Ambient;
    ambient.color = rgba(environment.ambientColor.getValue(), 0.0f);
    ambient.intensity = finiteValue(environment.ambientIntensity.getValue());
    auto& lights = scene_.lights;
    const auto old = std::find_if(lights.begin(), lights.end(),
                                  [](const u3d::Light& l) { return l.name == "Ambient"; });
    if (old != lights.end()) {
        *old = ambient;
        return SoCallbackAction::CONTINUE;
    }
    lights.push_back(ambient);
    u3d::Node node3d;
    node3d.kind = u3d::Node::Kind::Light;
    node3d.name = node3d.resource = ambient.name;
    node3d.parents = {u3d::Parent{}};
    scene_.nodes.push_back(std::move(node3d));
    return SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response U3DEngine::lightPre(SoCallbackAction* action, const SoNode* node) {
    const auto& light = static_cast<const SoLight&>(*node);
    const SbMatrix frame = lightFrame(light, action->getModelMatrix());
    if (!light.on.getValue() || !finite(frame)) return SoCallbackAction::CONTINUE;
    u3d::Node lightNode;
    lightNode.kind = u3d::Node::Kind::Light;
    lightNode.name = lightNode.resource = nextName("Light");
    lightNode.parents = {u3d::Parent{currentGroup(), matrixOf(frame)}};
    scene_.lights.push_back(lightResource(light, lightNode.name));
    scene_.nodes.push_back(std::move(lightNode));
    hasLights_ = true;
    return SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response U3DEngine::cameraPre(SoCallbackAction* action, const SoNode* node) {
    captureRoot(action);
    const u3d::U3DViewpoint view = u3d::U3DViewpoint::fromCamera(
        static_cast<const SoCamera&>(*node), action->getModelMatrix());
    if (!viewpoint_ && view.finite()) viewpoint_ = view;
    return SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response U3DEngine::shapePre(SoCallbackAction* action, const SoNode*) {
    captureRoot(action);
    finishShape();
    beginShape(action);
    return SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response U3DEngine::shapePost(SoCallbackAction*, const SoNode*) {
    finishShape();
    return SoCallbackAction::CONTINUE;
}

U3DEngine::Shape::Shape() = default;

void U3DEngine::beginShape(SoCallbackAction* action) {
    Shape& shape = shape_.emplace();
    shape.name = nextName("Shape");
    shape.parent = currentGroup();
    shape.modelMatrix = action->getModelMatrix();
    shape.lit = action->getLightModel() != SoLightModelElement::BASE_COLOR;
    SbColor ambient, diffuse, specular, emission;
    float shininess, transparency;
    action->getMaterial(ambient, diffuse, specular, emission, shininess, transparency, 0);
    u3d::Material& material = shape.material;
    material.ambient = vec(ambient);
    material.diffuse = vec(diffuse);
    material.specular = vec(specular);
    material.emissive = vec(emission);
    material.reflectivity = finiteValue(shininess);
    material.opacity = 1.0f - finiteValue(transparency);
    reserveFor(action);
}

// The renderer tells how many triangles it will send for the primitives the shape delivers;
// a vertex shape delivers about two triangles per coordinate.
void U3DEngine::reserveFor(SoCallbackAction* action) {
    SoU3DShapeDispatcher::Renderer* renderer =
        shapeDispatcher ? shapeDispatcher->getRenderer() : nullptr;
    if (!renderer) return;
    std::uint32_t triangles = std::min<std::uint32_t>(
        2u * static_cast<std::uint32_t>(std::max(action->getNumCoordinates(), 0)),
        kLargestReservation);
    std::uint32_t quads = renderer->usesQuads() ? triangles / 2 : 0, lines = 0, points = 0;
    renderer->adjustCounts(&quads, &triangles, &lines, &points);
    shape_->mesh.reserve(std::min(triangles, kLargestReservation));
}

const u3d::Rgba& U3DEngine::colorOf(SoCallbackAction* action, const SoPrimitiveVertex* vertex) {
    Shape& shape = *shape_;
    if (vertex->getMaterialIndex() != shape.materialIndex) {
        SbColor ambient, diffuse, specular, emission;
        float shininess, transparency;
        action->getMaterial(ambient, diffuse, specular, emission, shininess, transparency,
                            vertex->getMaterialIndex());
        shape.color = rgba(diffuse, transparency);
        shape.materialIndex = vertex->getMaterialIndex();
    }
    return shape.color;
}

u3d::U3DMeshBuilder::Vertex U3DEngine::vertexOf(SoCallbackAction* action,
                                                const SoPrimitiveVertex* v) {
    u3d::U3DMeshBuilder::Vertex vertex{vec(v->getPoint()), vec(v->getNormal()), colorOf(action, v)};
    if (!shape_->lit && shapeDispatcher && shapeDispatcher->getPseudoLighting()) {
        // Unlit shapes are shaded by the normal's angle to a fixed light, in world space.
        SbVec3f normal;
        shape_->modelMatrix.multDirMatrix(v->getNormal(), normal);
        normal.normalize();
        // A normal that is no number leaves the colour unshaded rather than no number.
        const float brightness = shapeDispatcher->getPseudoLighting()->intensity(normal);
        for (int i = 0; i < 3 && std::isfinite(brightness); ++i)
            vertex.color[i] = std::min(vertex.color[i] * brightness, 1.0f);
    }
    return vertex;
}

void U3DEngine::addTriangle(SoCallbackAction* action, const SoPrimitiveVertex* a,
                            const SoPrimitiveVertex* b, const SoPrimitiveVertex* c) {
    if (!shape_ || !a || !b || !c) return;
    if (!shape_->mesh.addTriangle(vertexOf(action, a), vertexOf(action, b), vertexOf(action, c)))
        SoDebugError::postInfoOnce("U3DEngine",
                                   "A triangle with a corner that is not a finite number is left "
                                   "out");
    ++shape_->triangles;
}

void U3DEngine::addStroke(SoCallbackAction* action, const SoPrimitiveVertex* a,
                          const SoPrimitiveVertex* b, float offset) {
    if (!shape_ || !a) return;
    SbVec3f ends[2];
    const SoPrimitiveVertex* vertices[2] = {a, b ? b : a};
    for (int i = 0; i < 2; ++i) {
        SbVec3f normal = vertices[i]->getNormal();
        normal.normalize();
        shape_->modelMatrix.multVecMatrix(vertices[i]->getPoint() + normal * offset, ends[i]);
    }
    const u3d::Rgba color = colorOf(action, a);
    if (b) {
        shape_->strokes.addLine(ends[0], ends[1], color, action->getLineWidth());
        ++shape_->lines;
    } else {
        shape_->strokes.addPoint(ends[0], color, action->getPointSize());
        ++shape_->points;
    }
}

void U3DEngine::addLine(SoCallbackAction* action, const SoPrimitiveVertex* a,
                        const SoPrimitiveVertex* b) {
    if (b) addStroke(action, a, b, 0.0f);
}

void U3DEngine::addOffsetLine(SoCallbackAction* action, const SoPrimitiveVertex* a,
                              const SoPrimitiveVertex* b) {
    SoU3DShapeDispatcher::Renderer* renderer =
        shapeDispatcher ? shapeDispatcher->getRenderer() : nullptr;
    if (b) addStroke(action, a, b, renderer ? renderer->getNormalOffset() : 0.0f);
}

void U3DEngine::addPoint(SoCallbackAction* action, const SoPrimitiveVertex* a) {
    addStroke(action, a, nullptr, 0.0f);
}

bool U3DEngine::isShapeDoneA() {
    return !shape_ || shape_->triangles == 0;
}

bool U3DEngine::isShapeDoneB() {
    return !shape_ || shape_->lines == 0;
}

bool U3DEngine::isShapeDoneC() {
    return !shape_ || shape_->points == 0;
}

void U3DEngine::finishShape() {
    if (!shape_) return;
    Shape& shape = *shape_;
    if (!shape.mesh.empty() && finite(shape.modelMatrix)) {
        const bool vertexColors = !shape.lit || shape.mesh.colorsVary();
        if (!vertexColors) {
            const u3d::Rgba color = shape.mesh.firstColor();
            shape.material.diffuse = {color[0], color[1], color[2]};
            shape.material.opacity = color[3];
        }
        u3d::Mesh mesh = shape.mesh.take(shape.name, vertexColors);
        extendBounds(mesh, shape.modelMatrix);
        addModel(shape.name, shape.parent, matrixOf(shape.modelMatrix), std::move(mesh),
                 shape.material, shape.lit);
    }
    if (!shape.strokes.empty()) {
        shape.strokes.extendBounds(low_, high_);
        strokes_.push_back({shape.name + "Strokes", shape.parent, std::move(shape.strokes)});
    }
    shape_.reset();
}

void U3DEngine::addModel(const std::string& name, const std::string& parent,
                         const u3d::Matrix& transform, u3d::Mesh mesh,
                         const u3d::Material& material, bool lit) {
    const bool vertexColors = mesh.shadings.front().vertexColors;
    const bool translucent =
        material.opacity < 1.0f || std::any_of(mesh.diffuseColors.begin(), mesh.diffuseColors.end(),
                                               [](const u3d::Rgba& c) { return c[3] < 1.0f; });
    u3d::Material named = material;
    named.name = name;
    scene_.materials.push_back(named);
    scene_.shaders.push_back({name, name, lit, vertexColors, translucent});
    u3d::Node model;
    model.kind = u3d::Node::Kind::Model;
    model.name = model.resource = name;
    model.parents = {u3d::Parent{parent, transform}};
    model.shaders = {name};
    scene_.nodes.push_back(std::move(model));
    scene_.meshes.push_back(std::move(mesh));
}

// The box of the mesh's positions, carried into the world by its eight corners.
void U3DEngine::extendBounds(const u3d::Mesh& mesh, const SbMatrix& modelMatrix) {
    SbVec3f low(1e30f, 1e30f, 1e30f), high(-1e30f, -1e30f, -1e30f);
    for (const u3d::Vec3& p : mesh.positions)
        for (int i = 0; i < 3; ++i) {
            low[i] = std::min(low[i], p[i]);
            high[i] = std::max(high[i], p[i]);
        }
    for (int corner = 0; corner < 8; ++corner) {
        SbVec3f world;
        modelMatrix.multVecMatrix(
            SbVec3f(corner & 1 ? high[0] : low[0], corner & 2 ? high[1] : low[1],
                    corner & 4 ? high[2] : low[2]),
            world);
        for (int i = 0; i < 3; ++i) {
            if (!std::isfinite(world[i])) continue;
            low_[i] = std::min(low_[i], world[i]);
            high_[i] = std::max(high_[i], world[i]);
        }
    }
}

// Lines are a thousandth of the scene's size thick, so that they show at any zoom a viewer
// starts with.
void U3DEngine::buildStrokes() {
    const float size = high_[0] >= low_[0] ? (high_ - low_).length() : 0.0f;
    const float unit = size > 0.0f && std::isfinite(size) ? size * 0.001f : 0.001f;
    for (Strokes& strokes : strokes_) {
        u3d::U3DMeshBuilder mesh;
        strokes.strokes.build(unit, mesh);
        if (mesh.empty()) continue;
        u3d::Material material;
        const u3d::Rgba color = mesh.firstColor();
        material.diffuse = material.emissive = {color[0], color[1], color[2]};
        addModel(strokes.name, strokes.parent, u3d::identity(), mesh.take(strokes.name, true),
                 material, false);
    }
    strokes_.clear();
}

void U3DEngine::addDefaultView() {
    if (!viewpoint_) {
        const bool empty = !(high_[0] >= low_[0]);
        viewpoint_ = u3d::U3DViewpoint::facing(empty ? SbVec3f(-1, -1, -1) : low_,
                                               empty ? SbVec3f(1, 1, 1) : high_);
    }
    u3d::Node view;
    view.kind = u3d::Node::Kind::View;
    view.name = view.resource = kMainView;
    view.parents = {u3d::Parent{std::string(), viewpoint_->nodeTransform()}};
    view.orthographic = viewpoint_->orthographic;
    view.projection = viewpoint_->projection;
    view.nearClip = viewpoint_->nearClip;
    view.farClip = viewpoint_->farClip;
    scene_.nodes.push_back(std::move(view));
    scene_.views.push_back({kMainView, std::string()});
}

// Uncompressed files are for reading by eye when something looks wrong; viewers may not take
// them.
void U3DEngine::writeFile() {
    const bool compress = !SoPreferences::getBool(kUncompressedSetting, false);
    std::string error;
    if (!u3d::U3DFileWriter::write(scene_, fileName_, compress, &error))
        throw SoU3DException(2, SbString(error.c_str()));
}
