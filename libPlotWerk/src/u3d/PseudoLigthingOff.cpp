#include "PseudoLigthingOff.h"

float SoToU3DActionPrivate::PseudoLigthingOff::intensity(const SbVec3f& /*normal*/) {
    return 1.0f;
}
