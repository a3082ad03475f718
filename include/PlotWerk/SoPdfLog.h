#pragma once

/// The 3D export's log on the standard error stream, each line after the prefix
/// "[VXN_DEBUG_PDF_EXPORT] ". Its level comes from the setting "VXN_DEBUG_PDF_EXPORT"
/// (default 1), read once: 1 and above logs failures, 2 and above progress, 3 and above one
/// line per shape, 0 nothing. Callers test the level before posting.
class SoPdfLog {
  public:
    static int getLogLevel();
    /// Writes one line, printf style; returns 0.
    static int post(const char* format, ...) __attribute__((format(printf, 1, 2)));

  private:
    static int logLevel;
};
