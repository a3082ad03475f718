#pragma once

#include <Tessara/nodes/SoSeparator.h>

/// An interactive handle's geometry. Printing and export treat it as a plain separator,
/// which applications may choose to skip.
class SoDragger : public SoSeparator {
    SO_NODE_HEADER(SoDragger);

  public:
    SoDragger();

  protected:
    ~SoDragger() override;
};
