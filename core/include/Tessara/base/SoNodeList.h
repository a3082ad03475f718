#pragma once

#include <Tessara/base/SoBaseList.h>
#include <Tessara/nodes/SoNode.h>

/// A list of nodes holding a reference on each.
class SoNodeList : public SoBaseList {
  public:
    void append(SoNode* node) { SoBaseList::append(node); }
    void insert(SoNode* node, int index) { SoBaseList::insert(node, index); }
    void set(int index, SoNode* node) { SoBaseList::set(index, node); }
    SoNode* operator[](int index) const { return static_cast<SoNode*>(get(index)); }
};
