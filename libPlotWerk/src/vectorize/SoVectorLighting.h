#pragma once

#include <Tessara/base/SoNodeList.h>
#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbMatrix.h>
#include <Tessara/math/SbVec3f.h>
#include <Tessara/math/SbVec4f.h>

#include <vector>

class SoCallbackAction;
class SoNode;
class SoPrimitiveVertex;
class SoState;
class SoVectorizeAction;

/// Per-vertex lighting of lit triangles, evaluated in viewing coordinates (eye at the origin,
/// looking along -z); owned by one SoVectorizeAction.
class SoVectorLighting {
  public:
    enum LightType { DIRECTIONAL = 0, POINT = 1, SPOT = 2 };

    /// One light of the traversal state, its fields already taken to viewing coordinates.
    struct LightRecord {
        int type = DIRECTIONAL;
        float intensity = 0.0f;
        SbColor color;
        /// Directional and spot lights: unit direction. Unused for point lights, whose
        /// direction depends on the vertex.
        SbVec3f direction;
        /// Point and spot lights: the location times the light's matrix (no w division).
        SbVec3f location;
        float dropOffRate = 0.0f;
        /// Half angle of the cone, radians.
        float cutOffAngle = 0.0f;
    };

    explicit SoVectorLighting(SoVectorizeAction* action);
    SoVectorLighting(const SoVectorLighting&) = delete;
    SoVectorLighting& operator=(const SoVectorLighting&) = delete;

    /// The lit, clamped and translated colour of one vertex; `point` is the vertex in viewing
    /// coordinates. A fully transparent vertex sets the flag and gets its translated diffuse
    /// colour, unlit.
    SbColor getLightingColor(SoCallbackAction* cba, const SoPrimitiveVertex* vertex,
                             const SbVec4f& point, int& fullyTransparent);
    /// Rebuilds the light records when the state's lights differ from the last ones seen.
    void computeLightList(SoState* state);
    /// Forgets the records and the lights they were built from (end of every apply).
    void deleteLightsList();
    /// 1 / (a0 + a1·d + a2·d²) for the environment's attenuation, or 1 when that sum is <= 0.
    float getAttenuationFactor(SoCallbackAction* cba, const SbVec3f& lightLocation,
                               const SbVec3f& point) const;

  private:
    /// The material terms of one vertex and where it is, shared by every light.
    struct Surface {
        SbColor diffuse;
        SbColor specular;
        float shininess = 0.0f;
        SbVec3f normal;
        SbVec3f position;
        bool twoSided = false;
    };

    static LightRecord makeRecord(SoNode* light, const SbMatrix& matrix);
    SbColor lightContribution(SoCallbackAction* cba, const LightRecord& light,
                              const Surface& surface) const;
    bool sameLightsAsBefore(SoState* state, const SoNodeList& lights) const;

    SoVectorizeAction* action_;
    SoNodeList lightNodes_;
    /// The matrices the records were built with: the same light node seen under another
    /// camera or transform must not reuse a stale record.
    std::vector<SbMatrix> lightMatrices_;
    std::vector<LightRecord> lightList_;
};
