#include <Tessara/base/SoDB.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/base/SoTypedObject.h>

SoType SoTypedObject::classTypeId;

SoTypedObject::~SoTypedObject() = default;

SoType SoTypedObject::getClassTypeId() {
    return classTypeId;
}

void SoTypedObject::initClass() {
    if (classTypeId.isBad()) classTypeId = SoType::createType(SoType::badType(), "SoTypedObject");
}

void SoTypedObject::exitClass() {
    if (SoType::removeType(classTypeId.getName())) classTypeId = SoType::badType();
}

bool SoTypedObject::checkDatabase(const char* className, const void* object, SoType classType,
                                  SoType& classTypeId) {
    if (!SoDB::isInitialized()) {
        SoDebugError::post("SoTypedObject::checkDatabase",
                           "An object of type %s (%p) was created before SoDB::init()",
                           className ? className : "?", object);
        return false;
    }
    if (classType.isBad() || classType != classTypeId) {
        SoDebugError::post("SoTypedObject::checkDatabase",
                           "The class %s is not registered with the type system",
                           className ? className : "?");
        return false;
    }
    return true;
}
