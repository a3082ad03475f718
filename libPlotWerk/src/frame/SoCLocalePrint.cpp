#include "frame/SoCLocalePrint.h"

#include <Tessara/base/SbString.h>

#include <clocale>

namespace {

/// Switches this thread to the C locale for its lifetime.
class CLocaleScope {
  public:
    CLocaleScope() : cLocale(SbString::getLocaleObject()) {
        if (cLocale) previous = uselocale(cLocale);
    }
    ~CLocaleScope() {
        if (cLocale) uselocale(previous);
    }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

  private:
    locale_t cLocale;
    locale_t previous = static_cast<locale_t>(nullptr);
};

}  // namespace

void SoCLocalePrint::write(FILE* file, const char* format, ...) {
    va_list args;
    va_start(args, format);
    vwrite(file, format, args);
    va_end(args);
}

void SoCLocalePrint::vwrite(FILE* file, const char* format, va_list args) {
    const CLocaleScope scope;
    std::vfprintf(file, format, args);
}

int SoCLocalePrint::format(char* buffer, std::size_t size, const char* format, ...) {
    const CLocaleScope scope;
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer, size, format, args);
    va_end(args);
    return written;
}
