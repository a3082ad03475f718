#pragma once

#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec2f.h>

#include <string>
#include <vector>

#include "options/PrintOptions.h"

/// Reads the values of command-line options. Every reader takes the option's name so that a
/// bad value is reported as "bad value 'x' for --option: why" (a CommandError).
class OptionValue {
  public:
    /// Throws the CommandError "bad value 'text' for option: why".
    [[noreturn]] static void fail(const std::string& option, const std::string& text,
                                  const std::string& why);
    /// The text itself, which must not be empty.
    static std::string nonEmpty(const std::string& option, const std::string& text);
    /// A finite decimal number, the whole text (never locale dependent: "1.5", not "1,5").
    static float number(const std::string& option, const std::string& text);
    /// The length in millimetres of a unit named mm, m or in.
    static float unitLength(const std::string& option, const std::string& text);
    /// "A:B", A over B, or a number alone: from a millionth to a million.
    static float ratio(const std::string& option, const std::string& text);
    /// A number of at least `low`.
    static float atLeast(const std::string& option, const std::string& text, float low);
    /// One of 1, 2, 3...: a whole number within [low, high].
    static unsigned int wholeNumber(const std::string& option, const std::string& text,
                                    unsigned int low, unsigned int high);
    /// A length with an optional unit (in, mm, m; mm when absent), in millimetres, > 0 and no
    /// longer than a sheet can be.
    static float length(const std::string& option, const std::string& text);
    /// "WxH[unit]" in millimetres; both values must be > 0 when `positive`, else >= 0, and
    /// neither longer than a sheet can be.
    static SbVec2f pair(const std::string& option, const std::string& text, bool positive);
    /// A colour name, "#rrggbb", or "r:g:b" with fractions in [0, 1].
    static SbColor color(const std::string& option, const std::string& text);
    /// Pens "COLOR[@WIDTH],...": at most 256, widths as length() reads them.
    static std::vector<PenChoice> pens(const std::string& option, const std::string& text);
    /// The name of a named colour equal to `color`, else "r:g:b" with three decimals.
    static std::string colorText(const SbColor& color);
    /// The colour names color() knows, separated by spaces.
    static std::string colorNames();
};
