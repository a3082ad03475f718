#include "format/U3DScene.h"

namespace u3d {

Matrix identity() {
    return {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
}

}  // namespace u3d
