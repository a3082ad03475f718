#pragma once

#include <Tessara/base/SbName.h>
#include <Tessara/base/SbString.h>
#include <Tessara/elements/SoSubElement.h>

class SoNode;

/// The name of the current font; "defaultFont" stands for the system's default face.
class SoFontNameElement : public SoElement {
    SO_ELEMENT_HEADER(SoFontNameElement);

  public:
    void init(SoState* state) override;
    static void set(SoState* state, SoNode* node, const SbName& value);
    static const SbName& get(SoState* state);
    /// The family name of the face that "defaultFont" resolves to on this system.
    static SbString getFontServerFontName();

  private:
    SbName value_;
};
