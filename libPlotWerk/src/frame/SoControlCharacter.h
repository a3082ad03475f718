#pragma once

/// Characters that a device acts on rather than prints (line feeds, a label's terminator, an
/// escape into another language): a text's own such characters print as spaces in every
/// format, as a screen shows them.
class SoControlCharacter {
  public:
    /// True for the C0 controls and DEL, whatever the width of the character type.
    static bool is(unsigned long c) { return c < 0x20 || c == 0x7F; }
};
