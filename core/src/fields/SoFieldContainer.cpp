#include <Tessara/fields/SoField.h>
#include <Tessara/fields/SoFieldContainer.h>

#include <cstring>

SoFieldContainer::~SoFieldContainer() = default;

void SoFieldContainer::addField(const char* name, SoField& field) {
    field.setContainer(this);
    fields_.emplace_back(name, &field);
}

SoField* SoFieldContainer::getFieldAt(int i) const {
    return i >= 0 && i < getNumFields() ? fields_[i].second : nullptr;
}

const char* SoFieldContainer::getFieldNameAt(int i) const {
    return i >= 0 && i < getNumFields() ? fields_[i].first : nullptr;
}

SoField* SoFieldContainer::getField(const SbName& name) const {
    const char* wanted = name.getString();
    if (!wanted) return nullptr;
    for (const auto& f : fields_)
        if (std::strcmp(f.first, wanted) == 0) return f.second;
    return nullptr;
}

const char* SoFieldContainer::getFieldName(const SoField* field) const {
    for (const auto& f : fields_)
        if (f.second == field) return f.first;
    return nullptr;
}

void SoFieldContainer::fieldChanged(SoField*) {
    ++changeCount_;
}
