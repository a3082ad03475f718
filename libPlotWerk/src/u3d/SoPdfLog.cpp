#include <PlotWerk/SoPdfLog.h>
#include <Tessara/misc/SoPreferences.h>

#include <cstdarg>
#include <cstdio>

int SoPdfLog::logLevel = -1;

int SoPdfLog::getLogLevel() {
    if (logLevel < 0) logLevel = SoPreferences::getInt("VXN_DEBUG_PDF_EXPORT", 1);
    return logLevel;
}

int SoPdfLog::post(const char* format, ...) {
    std::fputs("[VXN_DEBUG_PDF_EXPORT] ", stderr);
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    std::fputs("\n", stderr);
    std::fflush(stderr);
    return 0;
}
