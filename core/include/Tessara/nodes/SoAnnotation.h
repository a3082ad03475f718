#pragma once

#include <Tessara/nodes/SoSeparator.h>

/// A separator whose contents are drawn on top of the rest of the scene: renderers and
/// printers delay it to the end of the traversal.
class SoAnnotation : public SoSeparator {
    SO_NODE_HEADER(SoAnnotation);

  public:
    SoAnnotation();

  protected:
    ~SoAnnotation() override;
};
