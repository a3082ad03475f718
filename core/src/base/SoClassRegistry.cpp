#include <Tessara/base/SoClassRegistry.h>
#include <Tessara/base/SoType.h>

#include <algorithm>
#include <vector>

namespace {

struct RegisteredClass {
    const char* name;
    SoClassRegistry::ClassFunc initClass;
    SoClassRegistry::ClassFunc exitClass;
    SoClassRegistry::Role role;
};

std::vector<RegisteredClass>& registered() {
    static std::vector<RegisteredClass> list;
    return list;
}

int depthOf(const char* name) {
    int depth = 0;
    for (SoType t = SoType::fromName(name); !t.isBad(); t = t.getParent()) ++depth;
    return depth;
}

}  // namespace

void SoClassRegistry::add(const char* className, ClassFunc initClass, ClassFunc exitClass,
                          Role role) {
    registered().push_back(RegisteredClass{className, initClass, exitClass, role});
}

void SoClassRegistry::initAll() {
    std::vector<RegisteredClass> ordered = registered();
    std::stable_sort(
        ordered.begin(), ordered.end(),
        [](const RegisteredClass& a, const RegisteredClass& b) { return a.role < b.role; });
    for (const RegisteredClass& c : ordered) c.initClass();
}

void SoClassRegistry::exitAll() {
    std::vector<std::pair<int, ClassFunc>> byDepth;
    for (const RegisteredClass& c : registered())
        byDepth.emplace_back(depthOf(c.name), c.exitClass);
    std::stable_sort(byDepth.begin(), byDepth.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (const auto& entry : byDepth) entry.second();
}
