#pragma once

#include <string>

/// Stops the importer's reader when it reports far more problems than a file of its size can
/// hold: a reader that keeps reporting has lost its way in the file and goes round in a loop
/// (the SMD reader, on a stray byte, reports the same problem on ever new line numbers, for
/// ever). While one of these lives, the importer's messages are counted; past the limit the
/// reader is stopped with an exception, which the importer turns into its error text.
class ReaderReportLimit {
  public:
    /// Allows a few thousand reports and one more for each byte of the file at `path`.
    explicit ReaderReportLimit(const std::string& path);
    ~ReaderReportLimit();
    ReaderReportLimit(const ReaderReportLimit&) = delete;
    ReaderReportLimit& operator=(const ReaderReportLimit&) = delete;
};
