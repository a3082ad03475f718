#pragma once

#include <Tessara/actions/SoAction.h>
#include <Tessara/actions/SoSubAction.h>

#include <memory>

class SoOutput;

/// Writes a scene graph as scene-file text: the header, then every node with its fields that
/// are not default and its children. A node met more than once is written once with DEF and
/// then referred to with USE.
///
/// Applied to a path, it writes what a traversal of that path visits: each node of the path
/// with, for groups, the children before the next path node that affect the state (whole),
/// then the next path node; the tail is written whole. Later siblings are left out. A path
/// list is written path after path below one header.
class SoWriteAction : public SoAction {
    SO_ACTION_HEADER(SoWriteAction);

  public:
    /// Writes to stdout.
    SoWriteAction();
    /// Writes to `out`, which the caller keeps and must keep alive while the action is used.
    explicit SoWriteAction(SoOutput* out);
    ~SoWriteAction() override;

    SoOutput* getOutput() const { return out_; }

  protected:
    void clearApplyResult() override;
    void beginTraversal(SoNode* node) override;

  private:
    std::unique_ptr<SoOutput> ownOutput_;
    SoOutput* out_ = nullptr;
    bool headerWritten_ = false;
};
