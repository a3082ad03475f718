#pragma once

#include <cstdarg>
#include <string>

/// printf-style formatting under the C locale: documents always get decimal points, whatever
/// locale the application has set.
class SoPSFormat {
  public:
    static std::string print(const char* format, va_list args)
        __attribute__((format(printf, 1, 0)));
    static std::string format(const char* format, ...) __attribute__((format(printf, 1, 2)));
};
