#pragma once

#include <cstdarg>
#include <cstdio>

/// Formatted writes under the C locale: output formats read decimal points only, whatever
/// locale the application runs in.
class SoCLocalePrint {
  public:
    static void write(FILE* file, const char* format, ...) __attribute__((format(printf, 2, 3)));
    static void vwrite(FILE* file, const char* format, va_list args)
        __attribute__((format(printf, 2, 0)));
    /// snprintf under the C locale; the result as snprintf returns it.
    static int format(char* buffer, std::size_t size, const char* format, ...)
        __attribute__((format(printf, 3, 4)));
};
