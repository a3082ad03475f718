#include "SoSharedString.h"

struct SoSharedString::Shared {
    explicit Shared(const SbString& value) : text(value) {}
    SbString text;
    int holders = 1;
};

SoSharedString::SoSharedString(const SbString& text) {
    if (!text.isEmpty()) shared_ = new Shared(text);
}

SoSharedString::SoSharedString(const SoSharedString& other) : shared_(other.shared_) {
    if (shared_) ++shared_->holders;
}

SoSharedString& SoSharedString::operator=(const SoSharedString& other) {
    // Taken before letting go, so that assigning a string to itself keeps it alive.
    if (other.shared_) ++other.shared_->holders;
    release();
    shared_ = other.shared_;
    return *this;
}

SoSharedString& SoSharedString::operator=(const SbString& text) {
    return *this = SoSharedString(text);
}

SoSharedString::~SoSharedString() {
    release();
}

const SbString& SoSharedString::get() const {
    static const SbString empty;
    return shared_ ? shared_->text : empty;
}

void SoSharedString::release() {
    if (shared_ && --shared_->holders == 0) delete shared_;
    shared_ = nullptr;
}
