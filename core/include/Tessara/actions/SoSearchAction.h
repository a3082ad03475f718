#pragma once

#include <Tessara/actions/SoAction.h>
#include <Tessara/actions/SoSubAction.h>
#include <Tessara/base/SbName.h>
#include <Tessara/base/SoPathList.h>

/// Finds nodes by identity, type or name and gives the paths to them.
class SoSearchAction : public SoAction {
    SO_ACTION_HEADER(SoSearchAction);

  public:
    /// What to look for (a bit set: every set criterion must match).
    enum LookFor { NODE = 0x1, TYPE = 0x2, NAME = 0x4 };
    /// Which matches to keep.
    enum Interest { FIRST, LAST, ALL };

    SoSearchAction();
    ~SoSearchAction() override;

    void setNode(SoNode* node);
    SoNode* getNode() const { return node_; }
    void setType(SoType type, bool derivedIsOk = true);
    SoType getType(bool& derivedIsOk) const;
    void setName(const SbName& name);
    const SbName& getName() const { return name_; }
    void setFind(int what) { lookFor_ = what; }
    int getFind() const { return lookFor_; }
    void setInterest(Interest interest) { interest_ = interest; }
    Interest getInterest() const { return interest_; }
    /// Also search the children a switch does not select.
    void setSearchingAll(bool flag) { searchingAll_ = flag; }
    bool isSearchingAll() const { return searchingAll_; }
    /// Forgets the criteria and the result.
    void reset();

    /// The path found (FIRST or LAST), or null.
    SoPath* getPath() const { return path_; }
    /// Every path found (ALL).
    const SoPathList& getPaths() const { return paths_; }
    bool isFound() const { return found_; }
    void setFound() { found_ = true; }

    /// Records the current path when `node` matches the criteria.
    void testNode(SoNode* node);

    void clearApplyResult() override;

  private:
    void setPath(SoPath* path);

    SoNode* node_ = nullptr;
    SoType type_;
    bool derivedIsOk_ = true;
    SbName name_;
    int lookFor_ = 0;
    Interest interest_ = FIRST;
    bool searchingAll_ = false;
    bool found_ = false;
    SoPath* path_ = nullptr;
    SoPathList paths_;
};
