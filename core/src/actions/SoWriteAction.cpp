#include <Tessara/actions/SoWriteAction.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/io/SoOutput.h>
#include <Tessara/nodes/SoNode.h>

#include "io/SoSceneWriter.h"

SO_ACTION_SOURCE(SoWriteAction, SoAction)

void SoWriteAction::initClass() {
    SO_ACTION_INIT_CLASS(SoWriteAction, SoAction);
}

SoWriteAction::SoWriteAction() : ownOutput_(std::make_unique<SoOutput>()), out_(ownOutput_.get()) {
    SO_ACTION_CONSTRUCTOR(SoWriteAction);
}

SoWriteAction::SoWriteAction(SoOutput* out) : out_(out) {
    SO_ACTION_CONSTRUCTOR(SoWriteAction);
    if (!out_) {
        SoDebugError::post("SoWriteAction::SoWriteAction", "No output given: writing to stdout");
        ownOutput_ = std::make_unique<SoOutput>();
        out_ = ownOutput_.get();
    }
}

SoWriteAction::~SoWriteAction() = default;

void SoWriteAction::clearApplyResult() {
    headerWritten_ = false;
}

void SoWriteAction::beginTraversal(SoNode* node) {
    // The nodes are written by a walk of their own: writing needs no state and no
    // per-node method, and a walk with an explicit stack copes with any depth.
    if (!headerWritten_) {
        out_->write("#Tessara V1.0 ascii\n");
        headerWritten_ = true;
    }
    SoSceneWriter writer(out_);
    if (getWhatAppliedTo() == NODE)
        writer.writeGraph(node, nullptr);
    else
        writer.writeGraph(node, getPathAppliedTo());
    out_->write('\n');
    out_->flush();
}
