#include "nodes/shapes/SoSolidEmitter.h"

#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoMaterialBindingElement.h>
#include <Tessara/math/SbMathHelper.h>

#include <cmath>

#include "nodes/SoPrimitiveAssembler.h"

SoSolidEmitter::SoSolidEmitter(SoShape* shape, SoAction* action)
    : shape_(shape),
      action_(action),
      perPart_(SoMaterialBindingElement::get(action->getState()) !=
               SoMaterialBindingElement::OVERALL) {
    for (SoPrimitiveVertex& v : vertices_) v.setDetail(&detail_);
}

int SoSolidEmitter::slicesFor(float complexity) {
    const float c = SbMathHelper::clamp(complexity, 0.0f, 1.0f);
    return 6 + static_cast<int>(std::lround(30.0f * c));
}

void SoSolidEmitter::beginFace(int part, int face, int n) {
    numVertices_ = n < 3 ? 3 : (n > 4 ? 4 : n);
    material_ = perPart_ ? part : 0;
    detail_.setNumPoints(numVertices_);
    detail_.setFaceIndex(face);
    detail_.setPartIndex(part);
}

void SoSolidEmitter::setVertex(int i, const SbVec3f& point, const SbVec3f& normal, int coordIndex,
                               int normalIndex) {
    if (i < 0 || i >= numVertices_) return;
    vertices_[i].setPoint(point);
    vertices_[i].setNormal(normal);
    vertices_[i].setMaterialIndex(material_);
    SoPointDetail p;
    p.setCoordinateIndex(coordIndex);
    p.setMaterialIndex(material_);
    p.setNormalIndex(normalIndex);
    p.setTextureCoordIndex(coordIndex);
    detail_.setPoint(i, &p);
}

void SoSolidEmitter::endFace() {
    SoPrimitiveAssembler::polygon(shape_, action_, vertices_, numVertices_);
}
