#pragma once

#include <Tessara/nodes/SoNode.h>

/// Base of the nodes that change the model matrix.
class SoTransformation : public SoNode {
    SO_NODE_ABSTRACT_HEADER(SoTransformation);

  public:
    /// The matrix this node multiplies into the model matrix.
    virtual SbMatrix getMatrix() const = 0;
    void doAction(SoAction* action) override;

  protected:
    SoTransformation();
    ~SoTransformation() override;
};
