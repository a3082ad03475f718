#pragma once

// The registration members that every action of the library declares: the same in each
// but for the class name. An engine or an application deriving its own action uses it too.

#include <Tessara/actions/SoAction.h>
#include <Tessara/actions/SoActionClass.h>

/// In the class body. Leaves the access at private. The source file defines the members
/// with PW_ACTION_SOURCE, and the constructor calls checkRegistration() first.
#define PW_ACTION_HEADER(className)                                   \
  public:                                                             \
    static void initClass();                                          \
    static void exitClass();                                          \
    static SoType getClassTypeId();                                   \
    static void addMethod(SoType nodeType, SoActionMethod method);    \
    static void enableElement(SoType elementType, int stackIndex);    \
    SoType getTypeId() const override;                                \
    const SoEnabledElementsList& getEnabledElements() const override; \
    SoActionMethodList* getActionMethods() override;                  \
                                                                      \
  private:                                                            \
    template <class Action, class Parent>                             \
    friend class SoActionClass;                                       \
    static SoType classTypeId;                                        \
    static SoEnabledElementsList* enabledElements;                    \
    static SoActionMethodList* methods;                               \
    void checkRegistration()
