#pragma once

#include <Tessara/math/SbBox3f.h>

class SoNode;

/// What a callback traversal of a scene delivers: primitive counts and the world box.
struct SceneSummary {
    long triangles = 0;
    long segments = 0;
    long points = 0;
    long shapes = 0;
    long anchored = 0;  ///< texts and images: drawn at a point, they deliver no primitives
    SbBox3f box;

    /// Traverses `root` with a callback action and fills the summary.
    static SceneSummary of(SoNode* root);
};
