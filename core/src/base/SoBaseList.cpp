#include <Tessara/base/SoBase.h>
#include <Tessara/base/SoBaseList.h>
#include <Tessara/base/SoDebugError.h>

SoBaseList::SoBaseList(const SoBaseList& other) : items_(other.items_) {
    for (SoBase* item : items_)
        if (item) item->ref();
}

SoBaseList& SoBaseList::operator=(const SoBaseList& other) {
    if (this == &other) return *this;
    for (SoBase* item : other.items_)
        if (item) item->ref();
    truncate(0);
    items_ = other.items_;
    return *this;
}

SoBaseList::~SoBaseList() {
    truncate(0);
}

void SoBaseList::append(SoBase* item) {
    if (item) item->ref();
    items_.push_back(item);
}

void SoBaseList::insert(SoBase* item, int index) {
    if (index < 0 || index > getLength()) index = getLength();
    if (item) item->ref();
    items_.insert(items_.begin() + index, item);
}

void SoBaseList::remove(int index) {
    if (index < 0 || index >= getLength()) {
        SoDebugError::post("SoBaseList::remove", "Index %d out of range 0..%d", index,
                           getLength() - 1);
        return;
    }
    SoBase* item = items_[index];
    items_.erase(items_.begin() + index);
    if (item) item->unref();
}

void SoBaseList::truncate(int length) {
    if (length < 0) length = 0;
    while (getLength() > length) {
        SoBase* item = items_.back();
        items_.pop_back();
        if (item) item->unref();
    }
}

void SoBaseList::set(int index, SoBase* item) {
    if (index < 0 || index >= getLength()) {
        SoDebugError::post("SoBaseList::set", "Index %d out of range 0..%d", index,
                           getLength() - 1);
        return;
    }
    if (item) item->ref();
    SoBase* old = items_[index];
    items_[index] = item;
    if (old) old->unref();
}

int SoBaseList::find(const SoBase* item) const {
    for (int i = 0; i < getLength(); ++i)
        if (items_[i] == item) return i;
    return -1;
}

SoBase* SoBaseList::get(int index) const {
    if (index < 0 || index >= getLength()) {
        SoDebugError::post("SoBaseList::get", "Index %d out of range 0..%d", index,
                           getLength() - 1);
        return nullptr;
    }
    return items_[index];
}
