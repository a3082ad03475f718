#include <Tessara/base/SoBase.h>
#include <Tessara/base/SoDebugError.h>

SoType SoBase::classTypeId;

SoBase::~SoBase() = default;

void SoBase::ref() const {
    ++refCount_;
}

void SoBase::unref() const {
    if (refCount_ <= 0) {
        SoDebugError::post("SoBase::unref", "Reference count of %p is already 0",
                           static_cast<const void*>(this));
        return;
    }
    if (--refCount_ == 0) delete this;
}

void SoBase::unrefNoDelete() const {
    if (refCount_ > 0) --refCount_;
}

void SoBase::initClass() {
    if (!classTypeId.isBad()) return;
    if (SoTypedObject::getClassTypeId().isBad()) SoTypedObject::initClass();
    classTypeId = SoType::createType(SoTypedObject::getClassTypeId(), "SoBase");
}

void SoBase::exitClass() {
    if (SoType::removeType(classTypeId.getName())) classTypeId = SoType::badType();
}
