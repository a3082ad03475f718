#pragma once

#include <Tessara/actions/SoActionMethodList.h>
#include <Tessara/actions/SoEnabledElementsList.h>
#include <Tessara/base/SoType.h>

/// What registering an action class reports when classes are used out of order. The core
/// registers its own classes in order through the database and reports nothing; the
/// library's classes are registered by applications, in any order, and say so.
struct SoActionClassMessages {
    /// `className` was registered before `parentName`, which is registered on the spot.
    void (*initializedEarly)(const char* className, const char* parentName) = nullptr;
    /// An action was built before its class was registered, which is registered on the spot.
    void (*constructedEarly)(const char* className) = nullptr;
    /// An element was enabled before it was registered: nothing is enabled.
    void (*elementNotRegistered)(const char* className) = nullptr;
    /// The type could not be removed: nothing changes.
    void (*notRemoved)(const char* className, const char* typeName) = nullptr;
};

/// The registration of action class `Action` under `Parent`, one implementation for every
/// action class: Action's type, and the element and method lists it starts from copies of
/// Parent's, in Action's static members. Both classes befriend it.
template <class Action, class Parent>
class SoActionClass {
  public:
    /// Registers Action, and Parent first when it is not registered; false when Action was
    /// registered already (its lists are in use and stay as they are).
    static bool init(const char* className, const char* parentName,
                     const SoActionClassMessages& messages) {
        if (!Action::classTypeId.isBad()) return false;
        if (Parent::classTypeId.isBad()) {
            if (messages.initializedEarly) messages.initializedEarly(className, parentName);
            Parent::initClass();
        }
        Action::enabledElements = new SoEnabledElementsList(Parent::enabledElements);
        Action::methods = new SoActionMethodList(Parent::methods);
        Action::classTypeId = SoType::createType(Parent::classTypeId, className);
        return true;
    }

    /// Removes the type and frees the lists.
    static void exit(const char* className, const SoActionClassMessages& messages) {
        if (Action::classTypeId.isBad() || !SoType::removeType(Action::classTypeId.getName())) {
            if (messages.notRemoved)
                messages.notRemoved(className, Action::classTypeId.getName().getString());
            return;
        }
        Action::classTypeId = SoType::badType();
        delete Action::enabledElements;
        Action::enabledElements = nullptr;
        delete Action::methods;
        Action::methods = nullptr;
    }

    /// The type, registering the class on first use.
    static SoType type() {
        if (Action::classTypeId.isBad()) Action::initClass();
        return Action::classTypeId;
    }

    /// The first statement of every constructor.
    static void construct(const char* className, const SoActionClassMessages& messages) {
        if (!Action::classTypeId.isBad()) return;
        if (messages.constructedEarly) messages.constructedEarly(className);
        Action::initClass();
    }

    static void addMethod(SoType nodeType, SoActionMethod method) {
        if (!Action::methods) Action::initClass();
        Action::methods->addMethod(nodeType, method);
    }

    static void enableElement(const char* className, SoType elementType, int stackIndex,
                              const SoActionClassMessages& messages) {
        if (elementType.isBad() && messages.elementNotRegistered) {
            messages.elementNotRegistered(className);
            return;
        }
        if (!Action::enabledElements) Action::initClass();
        Action::enabledElements->enable(elementType, stackIndex);
    }

    static const SoEnabledElementsList& enabledElements() {
        if (!Action::enabledElements) Action::initClass();
        return *Action::enabledElements;
    }

    static SoActionMethodList* methods() {
        if (!Action::methods) Action::initClass();
        return Action::methods;
    }
};
