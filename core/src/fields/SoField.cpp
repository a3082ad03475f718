#include <Tessara/fields/SoField.h>
#include <Tessara/fields/SoFieldContainer.h>

SoField::~SoField() = default;

void SoField::setIgnored(bool flag) {
    isIgnored_ = flag;
    if (container_) container_->fieldChanged(this);
}

void SoField::valueChanged() {
    isDefault_ = false;
    if (container_) container_->fieldChanged(this);
}
