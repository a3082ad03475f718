#pragma once

#include <Tessara/base/SoType.h>

#include <vector>

class SoAction;
class SoNode;

/// What an action does on a node of a given type.
using SoActionMethod = void (*)(SoAction* action, SoNode* node);

/// Per action class, the method for each node type. A type without its own method uses
/// its nearest registered ancestor's; a class without one uses its parent class's list.
class SoActionMethodList {
  public:
    explicit SoActionMethodList(SoActionMethodList* parentList = nullptr);

    void addMethod(SoType nodeType, SoActionMethod method);
    /// The method for `nodeType`; never null (a method that does nothing at worst).
    SoActionMethod getMethod(SoType nodeType);

    /// The method that does nothing.
    static void nullAction(SoAction* action, SoNode* node);

  private:
    SoActionMethod findOwnOrParent(SoType type) const;

    SoActionMethodList* parent_;
    std::vector<std::pair<SoType, SoActionMethod>> methods_;
    std::vector<SoActionMethod> cache_;  // by type key; rebuilt when the type table grows
    int cacheGeneration_ = -1;
};
