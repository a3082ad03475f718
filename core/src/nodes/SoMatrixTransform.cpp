#include <Tessara/nodes/SoMatrixTransform.h>

SO_NODE_SOURCE(SoMatrixTransform, SoTransformation)

SoMatrixTransform::SoMatrixTransform() {
    SO_NODE_CONSTRUCTOR(SoMatrixTransform);
    addField("matrix", matrix);
}

SoMatrixTransform::~SoMatrixTransform() = default;

SbMatrix SoMatrixTransform::getMatrix() const {
    return matrix.getValue();
}
