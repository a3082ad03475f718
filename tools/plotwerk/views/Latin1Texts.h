#pragma once

#include <Tessara/base/SbString.h>

class SoNode;

/// A scene's texts where only Latin-1 reaches the page. PostScript prints a text that holds a
/// character beyond it as the bytes of its UTF-8 form in fonts that read them as Latin-1, its
/// Latin-1 letters mangled too: the command gives PostScript such texts in Latin-1, those
/// characters as "?". The hidden-surface modes print a model's texts in Latin-1 in every format.
class Latin1Texts {
  public:
    /// `text` in Latin-1, its characters beyond it as "?".
    static SbString of(const SbString& text);
    /// Whether a 2D or annotation text under `scene` holds a character beyond Latin-1; with
    /// `convert`, each such text is made Latin-1 (shared nodes once).
    static bool beyond(SoNode* scene, bool convert);
};
