#include "PseudoLigthingOld.h"

#include <algorithm>

#include "SoU3DPseudoLight.h"

float SoToU3DActionPrivate::PseudoLigthingOld::intensity(const SbVec3f& normal) {
    return 0.5f + 0.5f * std::max(0.0f, normal.dot(pseudoLightDirection()));
}
