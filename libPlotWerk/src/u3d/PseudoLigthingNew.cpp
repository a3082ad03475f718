#include "PseudoLigthingNew.h"

#include <cmath>

#include "SoU3DPseudoLight.h"

float SoToU3DActionPrivate::PseudoLigthingNew::intensity(const SbVec3f& normal) {
    return 0.5f + 0.5f * std::fabs(normal.dot(pseudoLightDirection()));
}
