// OpenGL lights from the traversal state.
//
// Each light node in the state's list comes with the model x viewing matrix that was in
// force where it was met. OpenGL transforms a light's position and spot direction by the
// modelview matrix current when they are given, so loading that matrix first puts every
// light where the scene placed it, in eye coordinates, exactly as the vectorizer's lighting
// does by hand. Lights shine through their colour times their intensity, both diffusely and
// specularly, and add no ambient light of their own: ambient light comes from the
// environment alone. A spot's drop-off rate of 0..1 becomes OpenGL's exponent of 0..128;
// attenuation applies to point and spot lights only.

#include "rendering/SoGLLightLoader.h"

#include <Tessara/base/SoDebugError.h>
#include <Tessara/elements/SoEnvironmentElement.h>
#include <Tessara/elements/SoLightElement.h>
#include <Tessara/nodes/SoDirectionalLight.h>
#include <Tessara/nodes/SoLight.h>
#include <Tessara/nodes/SoPointLight.h>
#include <Tessara/nodes/SoSpotLight.h>

#include <algorithm>
#include <cmath>

#include "rendering/SoGLFunctions.h"

namespace {

constexpr float kPi = 3.14159265358979f;

/// OpenGL refuses negative coefficients, and all-zero ones would divide by zero: those
/// cases fall back to no attenuation, as the vectorizer's 1 / sum does for a sum <= 0.
SbVec3f usableAttenuation(const SbVec3f& a) {
    SbVec3f result(std::max(a[0], 0.0f), std::max(a[1], 0.0f), std::max(a[2], 0.0f));
    if (!(result[0] + result[1] + result[2] > 0.0f) ||
        !std::isfinite(result[0] + result[1] + result[2]))
        result.setValue(1.0f, 0.0f, 0.0f);
    return result;
}

}  // namespace

SoGLLightLoader::SoGLLightLoader(const SoGLFunctions& gl) : gl_(gl) {
    GLint count = 8;
    gl_.GetIntegerv(GL_MAX_LIGHTS, &count);
    maxLights_ = std::max(0, static_cast<int>(count));
}

void SoGLLightLoader::reset() {
    for (int i = 0; i < maxLights_; ++i) gl_.Disable(static_cast<GLenum>(GL_LIGHT0 + i));
    nodes_.truncate(0);
    matrices_.clear();
    enabled_ = 0;
    loaded_ = false;
}

bool SoGLLightLoader::sameAsLoaded(SoState* state, const SoNodeList& lights,
                                   const SbVec3f& attenuation) const {
    if (!loaded_ || lights != nodes_ || !(attenuation == attenuation_)) return false;
    for (int i = 0; i < lights.getLength(); ++i) {
        if (SoLightElement::getMatrix(state, i) != matrices_[static_cast<size_t>(i)]) return false;
    }
    return true;
}

void SoGLLightLoader::load(SoState* state) {
    const SbColor ambient = SoEnvironmentElement::getAmbientColor(state) *
                            SoEnvironmentElement::getAmbientIntensity(state);
    const GLfloat ambientRGBA[4] = {ambient[0], ambient[1], ambient[2], 1.0f};
    gl_.LightModelfv(GL_LIGHT_MODEL_AMBIENT, ambientRGBA);

    const SoNodeList& lights = SoLightElement::getLights(state);
    const SbVec3f attenuation = usableAttenuation(SoEnvironmentElement::getLightAttenuation(state));
    if (sameAsLoaded(state, lights, attenuation)) return;

    nodes_ = lights;
    attenuation_ = attenuation;
    matrices_.clear();
    const int count = lights.getLength();
    if (count > maxLights_ && !warnedTooMany_) {
        warnedTooMany_ = true;
        SoDebugError::postWarning("SoGLRenderAction::apply",
                                  "%d lights are on but OpenGL has %d: the last %d are ignored",
                                  count, maxLights_, count - maxLights_);
    }
    gl_.MatrixMode(GL_MODELVIEW);
    for (int i = 0; i < count; ++i) {
        matrices_.push_back(SoLightElement::getMatrix(state, i));
        if (i < maxLights_) loadLight(i, lights[i], matrices_.back());
    }
    const int used = std::min(count, maxLights_);
    for (int i = used; i < enabled_; ++i) gl_.Disable(static_cast<GLenum>(GL_LIGHT0 + i));
    enabled_ = used;
    loaded_ = true;
}

void SoGLLightLoader::loadLight(int glIndex, SoNode* node, const SbMatrix& matrix) {
    const auto light = static_cast<GLenum>(GL_LIGHT0 + glIndex);
    if (node == nullptr || !node->isOfType(SoLight::getClassTypeId())) {
        gl_.Disable(light);
        return;
    }
    const auto* base = static_cast<const SoLight*>(node);
    const SbColor c = base->color.getValue() * base->intensity.getValue();
    const GLfloat black[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    const GLfloat colour[4] = {c[0], c[1], c[2], 1.0f};
    gl_.Lightfv(light, GL_AMBIENT, black);
    gl_.Lightfv(light, GL_DIFFUSE, colour);
    gl_.Lightfv(light, GL_SPECULAR, colour);
    gl_.LoadMatrixf(matrix.getValue());

    GLfloat position[4] = {0.0f, 0.0f, 1.0f, 0.0f};
    GLfloat spotDirection[3] = {0.0f, 0.0f, -1.0f};
    float cutOff = 180.0f, exponent = 0.0f;
    bool attenuated = true;
    if (node->isOfType(SoDirectionalLight::getClassTypeId())) {
        // OpenGL wants the direction towards the light.
        const SbVec3f d = static_cast<const SoDirectionalLight*>(node)->direction.getValue();
        position[0] = -d[0];
        position[1] = -d[1];
        position[2] = -d[2];
        attenuated = false;
    } else if (node->isOfType(SoPointLight::getClassTypeId())) {
        const SbVec3f p = static_cast<const SoPointLight*>(node)->location.getValue();
        position[0] = p[0];
        position[1] = p[1];
        position[2] = p[2];
        position[3] = 1.0f;
    } else if (node->isOfType(SoSpotLight::getClassTypeId())) {
        const auto* spot = static_cast<const SoSpotLight*>(node);
        const SbVec3f p = spot->location.getValue();
        const SbVec3f d = spot->direction.getValue();
        position[0] = p[0];
        position[1] = p[1];
        position[2] = p[2];
        position[3] = 1.0f;
        spotDirection[0] = d[0];
        spotDirection[1] = d[1];
        spotDirection[2] = d[2];
        // Past 90 degrees a cone lights the whole half space, which is OpenGL's widest cone.
        cutOff = std::clamp(spot->cutOffAngle.getValue() * 180.0f / kPi, 0.0f, 90.0f);
        exponent = std::clamp(spot->dropOffRate.getValue() * 128.0f, 0.0f, 128.0f);
    } else {
        // A light class of its own making: nothing here tells where it shines.
        gl_.Disable(light);
        return;
    }
    gl_.Lightfv(light, GL_POSITION, position);
    gl_.Lightfv(light, GL_SPOT_DIRECTION, spotDirection);
    gl_.Lightf(light, GL_SPOT_CUTOFF, cutOff);
    gl_.Lightf(light, GL_SPOT_EXPONENT, exponent);
    const SbVec3f a = attenuated ? attenuation_ : SbVec3f(1.0f, 0.0f, 0.0f);
    gl_.Lightf(light, GL_CONSTANT_ATTENUATION, a[0]);
    gl_.Lightf(light, GL_LINEAR_ATTENUATION, a[1]);
    gl_.Lightf(light, GL_QUADRATIC_ATTENUATION, a[2]);
    gl_.Enable(light);
}
