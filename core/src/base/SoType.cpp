#include <Tessara/base/SoDebugError.h>
#include <Tessara/base/SoType.h>

#include <string>
#include <unordered_map>

namespace {

struct TypeEntry {
    SbName name;
    int parent;
    SoType::InstantiationMethod factory;
    short data;
    bool alive;
};

// Function-local statics: types are created from static initialisers of other libraries too.
std::vector<TypeEntry>& entries() {
    static std::vector<TypeEntry> table;
    return table;
}

std::unordered_map<std::string, int>& byName() {
    static std::unordered_map<std::string, int> index;
    return index;
}

const TypeEntry* entryOf(int key) {
    if (key < 0 || key >= static_cast<int>(entries().size())) return nullptr;
    return &entries()[key];
}

}  // namespace

SoType SoType::createType(SoType parent, const SbName& name, InstantiationMethod factory,
                          short data) {
    if (!name.getString() || !*name.getString()) {
        SoDebugError::post("SoType::createType", "A type needs a name");
        return badType();
    }
    if (byName().count(name.getString())) {
        SoDebugError::post("SoType::createType", "A type named %s is already registered",
                           name.getString());
        return badType();
    }
    const int key = static_cast<int>(entries().size());
    entries().push_back(TypeEntry{name, parent.key_, factory, data, true});
    byName()[name.getString()] = key;
    return SoType(key);
}

bool SoType::removeType(const SbName& name) {
    auto found = byName().find(name.getString() ? name.getString() : "");
    if (found == byName().end()) return false;
    const int key = found->second;
    for (const TypeEntry& e : entries()) {
        if (e.alive && e.parent == key) return false;
    }
    entries()[key].alive = false;
    byName().erase(found);
    return true;
}

SoType SoType::fromName(const SbName& name) {
    if (!name.getString()) return badType();
    auto found = byName().find(name.getString());
    return found == byName().end() ? badType() : SoType(found->second);
}

SbName SoType::getName() const {
    const TypeEntry* e = entryOf(key_);
    return e ? e->name : SbName();
}

SoType SoType::getParent() const {
    const TypeEntry* e = entryOf(key_);
    return e ? SoType(e->parent) : badType();
}

bool SoType::isDerivedFrom(SoType parent) const {
    if (parent.isBad()) return false;
    for (int k = key_; k >= 0;) {
        if (k == parent.key_) return true;
        const TypeEntry* e = entryOf(k);
        k = e ? e->parent : -1;
    }
    return false;
}

bool SoType::canCreateInstance() const {
    const TypeEntry* e = entryOf(key_);
    return e && e->alive && e->factory;
}

void* SoType::createInstance() const {
    return canCreateInstance() ? entryOf(key_)->factory() : nullptr;
}

short SoType::getData() const {
    const TypeEntry* e = entryOf(key_);
    return e ? e->data : 0;
}

int SoType::getNumTypes() {
    return static_cast<int>(entries().size());
}

int SoType::getAllDerivedFrom(SoType parent, std::vector<SoType>& list) {
    int count = 0;
    for (int k = 0; k < getNumTypes(); ++k) {
        if (entries()[k].alive && SoType(k).isDerivedFrom(parent)) {
            list.push_back(SoType(k));
            ++count;
        }
    }
    return count;
}
