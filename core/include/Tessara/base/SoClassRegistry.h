#pragma once

/// The list of every core class, filled at library load by one registrar per class,
/// so that SoDB::init can register them all without a hand-kept table.
class SoClassRegistry {
  public:
    /// Initialisation order between roles: elements before the nodes that set them.
    enum Role { ELEMENT = 0, NODE = 1, DETAIL = 2, ACTION = 3 };
    using ClassFunc = void (*)();

    static void add(const char* className, ClassFunc initClass, ClassFunc exitClass, Role role);
    /// Calls every initClass, role by role.
    static void initAll();
    /// Calls every exitClass, most derived types first so that parents can be removed.
    static void exitAll();
};

/// A static object of this type adds its class to the registry when the library loads.
struct SoClassRegistrar {
    SoClassRegistrar(const char* className, SoClassRegistry::ClassFunc initClass,
                     SoClassRegistry::ClassFunc exitClass, SoClassRegistry::Role role) {
        SoClassRegistry::add(className, initClass, exitClass, role);
    }
};
