#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoCoordinateElement.h>
#include <Tessara/nodes/SoCoordinate3.h>

SO_NODE_SOURCE(SoCoordinate3, SoNode)

SoCoordinate3::SoCoordinate3() {
    SO_NODE_CONSTRUCTOR(SoCoordinate3);
    addField("point", point);
}

SoCoordinate3::~SoCoordinate3() = default;

void SoCoordinate3::doAction(SoAction* action) {
    SoCoordinateElement::set3(action->getState(), this, point.getNum(),
                              point.getNum() ? point.getValues(0) : nullptr);
}
