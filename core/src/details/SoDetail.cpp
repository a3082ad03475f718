#include <Tessara/details/SoDetail.h>

SoType SoDetail::classTypeId;

void SoDetail::initClass() {
    if (!classTypeId.isBad()) return;
    if (SoTypedObject::getClassTypeId().isBad()) SoTypedObject::initClass();
    classTypeId = SoType::createType(SoTypedObject::getClassTypeId(), "SoDetail");
}

void SoDetail::exitClass() {
    if (!classTypeId.isBad() && SoType::removeType(classTypeId.getName()))
        classTypeId = SoType::badType();
}
