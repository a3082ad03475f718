#pragma once

#include <initializer_list>
#include <string>

/// Numbers as text, the same under every locale: printf's digits through std::to_chars,
/// appended to a string. Every number a writer puts into a file is made here.
class SbNumberFormat {
  public:
    SbNumberFormat() = delete;

    /// printf's "%.*f": `decimals` digits after the point.
    static void appendFixed(std::string& out, double value, int decimals);
    /// printf's "%.*g": `digits` significant digits, the shorter of the fixed and the
    /// exponent form, trailing zeros dropped.
    static void appendSignificant(std::string& out, double value, int digits);
    /// The fewest digits that read back to exactly `value`.
    static void appendShortest(std::string& out, float value);
    static void appendShortest(std::string& out, double value);
    /// printf's "%*lld": right-aligned in `width` characters with blanks in front.
    static void appendInteger(std::string& out, long long value, int width = 0);

    /// One argument of appendFormatted: a number or a text, converted as its conversion says.
    class Argument {
      public:
        Argument(int value) : kind_(INTEGER), integer(value) {}
        Argument(unsigned value) : kind_(INTEGER), integer(value) {}
        Argument(long value) : kind_(INTEGER), integer(value) {}
        Argument(unsigned long value) : kind_(INTEGER), integer(static_cast<long long>(value)) {}
        Argument(long long value) : kind_(INTEGER), integer(value) {}
        Argument(double value) : kind_(REAL), real(value) {}
        Argument(float value) : kind_(REAL), real(value) {}
        Argument(const char* value) : kind_(TEXT), text(value ? value : "") {}
        Argument(const std::string& value) : kind_(TEXT), text(value.c_str()) {}

        long long asInteger() const;
        double asReal() const;
        const char* asText() const;

      private:
        enum Kind { INTEGER, REAL, TEXT } kind_;
        union {
            long long integer;
            double real;
            const char* text;
        };
    };

    /// The printf conversions statements of our formats use, without printf's locale:
    /// %d %i %u (optionally with a width), %f %g (optionally with a precision), %s and %%.
    /// Arguments are converted to what the conversion asks for.
    static void appendFormatted(std::string& out, const char* format,
                                std::initializer_list<Argument> arguments);
    template <class... T>
    static std::string format(const char* format, const T&... arguments) {
        std::string out;
        appendFormatted(out, format, {Argument(arguments)...});
        return out;
    }
};
