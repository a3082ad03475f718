#pragma once

#include <Tessara/base/SbString.h>

class SoNode;

/// PostScript prints a text that holds a character beyond Latin-1 as the bytes of its UTF-8
/// form in fonts that read them as Latin-1, its Latin-1 letters mangled too. The command gives
/// such texts to PostScript in Latin-1 instead, those characters as "?", and says so; the
/// other formats print them.
class PostScriptTexts {
  public:
    /// `text` in Latin-1, its characters beyond it as "?", with a warning when there are any.
    static SbString inLatin1(const SbString& text);
    /// Every 2D and annotation text under `scene` in Latin-1, shared nodes once.
    static void keepToLatin1(SoNode* scene);
};
