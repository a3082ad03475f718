#pragma once

#include <Tessara/base/SoBaseList.h>
#include <Tessara/base/SoPath.h>

/// A list of paths holding a reference on each.
class SoPathList : public SoBaseList {
  public:
    void append(SoPath* path) { SoBaseList::append(path); }
    void insert(SoPath* path, int index) { SoBaseList::insert(path, index); }
    void set(int index, SoPath* path) { SoBaseList::set(index, path); }
    SoPath* operator[](int index) const { return static_cast<SoPath*>(get(index)); }
    /// Index of a path equal to `path`, or -1.
    int findPath(const SoPath& path) const;
};
