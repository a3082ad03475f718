// Vertex lighting for the printed page.
//
// A printer has no lighting hardware, so the colour of each vertex of a lit triangle is
// computed here once, the way a fixed-function pipeline would: emission, plus the ambient
// environment, plus a diffuse and a specular term per light. Everything happens in viewing
// coordinates, where the eye sits at the origin and looks along -z; that is why the specular
// term only needs the z component of the reflected light direction.
//
// The light records are cached per traversal: building them means transforming every
// light's fields, while the state's light list changes rarely compared with the number of
// vertices. The cache key is the list of light nodes together with their matrices, so that
// a light reused under another camera is rebuilt rather than lit from a stale place.
//
// Results are clamped to 1 but not below 0: a negative emission or ambient term is the
// scene's choice and the colour translation decides what happens to it. A lit surface that
// ends up exactly white would be turned black by the default black/white swap meant for
// screen backgrounds; its blue component is nudged just below 1 so that it stays white.

#include "SoVectorLighting.h"

#include <PlotWerk/SoVectorizeAction.h>
#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/elements/SoEnvironmentElement.h>
#include <Tessara/elements/SoLightElement.h>
#include <Tessara/misc/SoPrimitiveVertex.h>
#include <Tessara/nodes/SoDirectionalLight.h>
#include <Tessara/nodes/SoLight.h>
#include <Tessara/nodes/SoPointLight.h>
#include <Tessara/nodes/SoSpotLight.h>

#include <cmath>

namespace {

SbColor componentProduct(const SbColor& a, const SbColor& b) {
    return SbColor(a[0] * b[0], a[1] * b[1], a[2] * b[2]);
}

bool isFinite(const SbVec3f& v) {
    return std::isfinite(v[0]) && std::isfinite(v[1]) && std::isfinite(v[2]);
}

/// A point times the matrix with w = 1; the light's matrix is affine for any sane scene, and
/// the location is used as it comes out, without a perspective division.
SbVec3f transformLocation(const SbVec3f& p, const SbMatrix& m) {
    SbVec3f result;
    for (int i = 0; i < 3; ++i)
        result[i] = p[0] * m[0][i] + p[1] * m[1][i] + p[2] * m[2][i] + m[3][i];
    return result;
}

SbVec3f transformDirection(const SbVec3f& d, const SbMatrix& m) {
    SbVec3f result;
    m.multDirMatrix(d, result);
    result.normalize();
    return result;
}

SbVec3f unitVector(const SbVec3f& from, const SbVec3f& to) {
    SbVec3f v = to - from;
    v.normalize();
    return v;
}

}  // namespace

SoVectorLighting::SoVectorLighting(SoVectorizeAction* owner) : action_(owner) {}

void SoVectorLighting::deleteLightsList() {
    lightList_.clear();
    lightMatrices_.clear();
    lightNodes_.truncate(0);
}

bool SoVectorLighting::sameLightsAsBefore(SoState* state, const SoNodeList& lights) const {
    if (lights != lightNodes_) return false;
    for (int i = 0; i < lights.getLength(); ++i) {
        if (SoLightElement::getMatrix(state, i) != lightMatrices_[static_cast<size_t>(i)])
            return false;
    }
    return true;
}

void SoVectorLighting::computeLightList(SoState* state) {
    if (state == nullptr) {
        SoDebugError::post("SoVectorizeAction::computeLightList", "No traversal state");
        return;
    }
    const SoNodeList& lights = SoLightElement::getLights(state);
    if (sameLightsAsBefore(state, lights)) return;

    lightNodes_ = lights;
    lightList_.clear();
    lightMatrices_.clear();
    for (int i = 0; i < lights.getLength(); ++i) {
        const SbMatrix& matrix = SoLightElement::getMatrix(state, i);
        lightMatrices_.push_back(matrix);
        lightList_.push_back(makeRecord(lights[i], matrix));
    }
}

SoVectorLighting::LightRecord SoVectorLighting::makeRecord(SoNode* node, const SbMatrix& matrix) {
    LightRecord record;
    if (node == nullptr || !node->isOfType(SoLight::getClassTypeId())) {
        // Something other than a light in the light list: keep the slot (the records stay
        // parallel to the nodes) but let it shine with no intensity.
        SoDebugError::postWarning("SoVectorizeAction::computeLightList",
                                  "A node in the light list is not a light; it is ignored");
        return record;
    }
    const auto* light = static_cast<const SoLight*>(node);
    record.intensity = light->intensity.getValue();
    record.color = light->color.getValue();
    if (node->isOfType(SoDirectionalLight::getClassTypeId())) {
        const auto* directional = static_cast<const SoDirectionalLight*>(node);
        record.type = DIRECTIONAL;
        record.direction = transformDirection(directional->direction.getValue(), matrix);
    } else if (node->isOfType(SoPointLight::getClassTypeId())) {
        const auto* point = static_cast<const SoPointLight*>(node);
        record.type = POINT;
        record.location = transformLocation(point->location.getValue(), matrix);
    } else {
        record.type = SPOT;
        if (node->isOfType(SoSpotLight::getClassTypeId())) {
            const auto* spot = static_cast<const SoSpotLight*>(node);
            record.location = transformLocation(spot->location.getValue(), matrix);
            record.direction = transformDirection(spot->direction.getValue(), matrix);
            record.dropOffRate = spot->dropOffRate.getValue();
            record.cutOffAngle = spot->cutOffAngle.getValue();
        }
        // A light class of its own making has no cone we know of: its zero axis lies outside
        // every cone, so it adds nothing rather than something arbitrary.
    }
    return record;
}

float SoVectorLighting::getAttenuationFactor(SoCallbackAction* cba, const SbVec3f& lightLocation,
                                             const SbVec3f& point) const {
    if (cba == nullptr) {
        SoDebugError::post("SoVectorizeAction::getAttenuationFactor", "No action: no attenuation");
        return 1.0f;
    }
    const SbVec3f a = SoEnvironmentElement::getLightAttenuation(cba->getState());
    const float d = (lightLocation - point).length();
    const float s = a[0] + a[1] * d + a[2] * d * d;
    return s > 0.0f ? 1.0f / s : 1.0f;
}

SbColor SoVectorLighting::lightContribution(SoCallbackAction* cba, const LightRecord& light,
                                            const Surface& surface) const {
    const SbVec3f& n = surface.normal;
    const SbVec3f direction =
        light.type == POINT ? unitVector(light.location, surface.position) : light.direction;

    const float d = n.dot(direction);
    float facing;
    if (surface.twoSided) {
        facing = std::fabs(d);
    } else {
        if (d >= 0.0f) return SbColor(0, 0, 0);  // the light is behind the surface
        facing = -d;
    }

    const SbColor lc = light.color * light.intensity;
    SbColor diffuse = componentProduct(lc, surface.diffuse) * facing;

    float spot = 1.0f;
    if (light.type == SPOT) {
        const float s = unitVector(light.location, surface.position).dot(light.direction);
        if (!(s > 0.0f && s >= std::cos(light.cutOffAngle))) return SbColor(0, 0, 0);
        spot = std::pow(s, 128.0f * light.dropOffRate);
        diffuse *= spot;
    }
    float attenuation = 1.0f;
    if (light.type != DIRECTIONAL) {
        attenuation = getAttenuationFactor(cba, light.location, surface.position);
        diffuse *= attenuation;
    }

    // z of the light direction mirrored about the normal: how much of it heads to the eye.
    const float r = direction[2] - 2.0f * d * n[2];
    SbColor specular(0, 0, 0);
    if (r > 0.0f) {
        specular = componentProduct(lc, surface.specular) *
                   (std::pow(r, 128.0f * surface.shininess) * spot * attenuation);
    }
    return diffuse + specular;
}

SbColor SoVectorLighting::getLightingColor(SoCallbackAction* cba, const SoPrimitiveVertex* vertex,
                                           const SbVec4f& point, int& fullyTransparent) {
    fullyTransparent = 0;
    if (cba == nullptr || vertex == nullptr) {
        SoDebugError::post("SoVectorizeAction::getLightingColor", "No action or no vertex");
        return SbColor(0, 0, 0);
    }
    SbColor ambient, diffuse, specular, emission;
    float shininess = 0.0f, transparency = 0.0f;
    cba->getMaterial(ambient, diffuse, specular, emission, shininess, transparency,
                     vertex->getMaterialIndex());
    if (transparency == 1.0f) {
        // The vertex is only drawn as part of a triangle with a visible vertex; it gets the
        // colour the unlit path would give it, which is neutral and cheap.
        fullyTransparent = 1;
        return action_->translateColor(diffuse);
    }

    SoState* state = cba->getState();
    SbColor result =
        emission + componentProduct(SoEnvironmentElement::getAmbientColor(state) *
                                        SoEnvironmentElement::getAmbientIntensity(state),
                                    ambient);
    computeLightList(state);

    Surface surface;
    surface.diffuse = diffuse;
    surface.specular = specular;
    surface.shininess = shininess;
    surface.twoSided = cba->getVertexOrdering() != SoShapeHintsElement::UNKNOWN_ORDERING &&
                       cba->getShapeType() != SoShapeHintsElement::SOLID;
    const SbMatrix modelView = cba->getModelMatrix() * cba->getViewingMatrix();
    modelView.multDirMatrix(vertex->getNormal(), surface.normal);
    surface.normal.normalize();
    surface.position.setValue(point[0], point[1], point[2]);

    if (!isFinite(surface.normal) || !isFinite(surface.position)) {
        SoDebugError::postWarning("SoVectorizeAction::getLightingColor",
                                  "Vertex normal or position contains a NaN or an infinity: "
                                  "the vertex gets emission and ambient light only");
    } else {
        for (const LightRecord& light : lightList_)
            result += lightContribution(cba, light, surface);
    }

    for (int i = 0; i < 3; ++i) {
        if (result[i] > 1.0f) result[i] = 1.0f;
    }
    if (action_->colorTranslationMethod_ == SoVectorizeAction::SWAP_BLACK_AND_WHITE &&
        result == SbColor(1, 1, 1)) {
        result[2] = 0.9999f;
    }
    return action_->translateColor(result);
}
