#pragma once

#include <Tessara/elements/SoSubElement.h>
#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec3f.h>

class SoNode;

/// Ambient light and light attenuation. The attenuation (a0, a1, a2) divides a point or
/// spot light's contribution at distance d by a0 + a1·d + a2·d².
class SoEnvironmentElement : public SoElement {
    SO_ELEMENT_HEADER(SoEnvironmentElement);

  public:
    void init(SoState* state) override;
    static void set(SoState* state, SoNode* node, float ambientIntensity,
                    const SbColor& ambientColor, const SbVec3f& attenuation);
    static void get(SoState* state, float& ambientIntensity, SbColor& ambientColor,
                    SbVec3f& attenuation);
    static float getAmbientIntensity(SoState* state);
    static SbColor getAmbientColor(SoState* state);
    static SbVec3f getLightAttenuation(SoState* state);

  private:
    static const SoEnvironmentElement* instance(SoState* state);
    float ambientIntensity_ = 0.2f;
    SbColor ambientColor_;
    SbVec3f attenuation_;
};
