#pragma once

#include <Tessara/base/SoNodeList.h>
#include <Tessara/math/SbMatrix.h>
#include <Tessara/math/SbVec3f.h>

#include <vector>

class SoGLFunctions;
class SoNode;
class SoState;

/// Hands the lights of the traversal state to OpenGL's fixed-function lights, together with
/// the environment's ambient light and attenuation; owned by one drawing of a scene.
class SoGLLightLoader {
  public:
    explicit SoGLLightLoader(const SoGLFunctions& gl);
    SoGLLightLoader(const SoGLLightLoader&) = delete;
    SoGLLightLoader& operator=(const SoGLLightLoader&) = delete;

    /// Sets up the GL lights for the state in force, when they differ from the last ones
    /// set up. Changes the modelview matrix: the caller loads its own afterwards.
    void load(SoState* state);
    /// Switches every GL light off and forgets what was loaded.
    void reset();

  private:
    bool sameAsLoaded(SoState* state, const SoNodeList& lights, const SbVec3f& attenuation) const;
    void loadLight(int glIndex, SoNode* light, const SbMatrix& matrix);

    const SoGLFunctions& gl_;
    int maxLights_ = 8;
    bool loaded_ = false;
    bool warnedTooMany_ = false;
    SoNodeList nodes_;
    std::vector<SbMatrix> matrices_;
    SbVec3f attenuation_{1.0f, 0.0f, 0.0f};
    int enabled_ = 0;
};
