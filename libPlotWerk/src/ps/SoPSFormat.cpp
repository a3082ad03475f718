#include "SoPSFormat.h"

#include <Tessara/base/SbString.h>

#include <clocale>
#include <cstdio>

std::string SoPSFormat::print(const char* format, va_list args) {
    const locale_t cLocale = SbString::getLocaleObject();
    const locale_t previous = cLocale ? uselocale(cLocale) : static_cast<locale_t>(nullptr);
    va_list again;
    va_copy(again, args);
    char small[256];
    const int needed = std::vsnprintf(small, sizeof small, format, args);
    std::string text;
    if (needed < 0) {
        // Nothing sensible to write; an empty text keeps the document well formed.
    } else if (static_cast<std::size_t>(needed) < sizeof small) {
        text.assign(small, static_cast<std::size_t>(needed));
    } else {
        text.resize(static_cast<std::size_t>(needed));
        std::vsnprintf(&text[0], text.size() + 1, format, again);
    }
    va_end(again);
    if (cLocale) uselocale(previous);
    return text;
}

std::string SoPSFormat::format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = print(format, args);
    va_end(args);
    return text;
}
