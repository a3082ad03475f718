#include <Tessara/actions/SoActionMethodList.h>

namespace {
// Any change to any list invalidates every cache: parents' lists feed children's lookups.
int methodGeneration = 0;
}  // namespace

SoActionMethodList::SoActionMethodList(SoActionMethodList* parentList) : parent_(parentList) {}

void SoActionMethodList::addMethod(SoType nodeType, SoActionMethod method) {
    for (auto& m : methods_) {
        if (m.first == nodeType) {
            m.second = method;
            ++methodGeneration;
            return;
        }
    }
    methods_.emplace_back(nodeType, method);
    ++methodGeneration;
}

SoActionMethod SoActionMethodList::findOwnOrParent(SoType type) const {
    for (const auto& m : methods_)
        if (m.first == type) return m.second;
    return parent_ ? parent_->findOwnOrParent(type) : nullptr;
}

SoActionMethod SoActionMethodList::getMethod(SoType nodeType) {
    const int key = nodeType.getKey();
    if (key < 0) return &nullAction;
    const int generation = methodGeneration * 65536 + SoType::getNumTypes();
    if (cacheGeneration_ != generation) {
        cache_.assign(SoType::getNumTypes(), nullptr);
        cacheGeneration_ = generation;
    }
    if (key >= static_cast<int>(cache_.size())) cache_.resize(key + 1, nullptr);
    if (!cache_[key]) {
        SoActionMethod found = nullptr;
        for (SoType t = nodeType; !t.isBad() && !found; t = t.getParent())
            found = findOwnOrParent(t);
        cache_[key] = found ? found : &nullAction;
    }
    return cache_[key];
}

void SoActionMethodList::nullAction(SoAction*, SoNode*) {}
