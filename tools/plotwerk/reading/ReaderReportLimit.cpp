#include "reading/ReaderReportLimit.h"

#include <assimp/DefaultLogger.hpp>
#include <assimp/Logger.hpp>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace {

// The importer's logger is one for the process; this one counts instead of writing.
class CountingLogger : public Assimp::Logger {
  public:
    explicit CountingLogger(std::uintmax_t limit) : limit_(limit) {}

    bool attachStream(Assimp::LogStream*, unsigned int) override { return false; }
    bool detachStream(Assimp::LogStream*, unsigned int) override { return false; }

  private:
    void OnDebug(const char*) override { count(); }
    void OnVerboseDebug(const char*) override { count(); }
    void OnInfo(const char*) override { count(); }
    void OnWarn(const char*) override { count(); }
    void OnError(const char*) override { count(); }

    // Thrown once: the importer logs the error it catches, which must not throw again.
    void count() {
        if (++reports_ <= limit_ || stopped_) return;
        stopped_ = true;
        throw std::runtime_error("the reader lost its way in it, reporting over " +
                                 std::to_string(limit_) + " problems");
    }

    const std::uintmax_t limit_;
    std::uintmax_t reports_ = 0;
    bool stopped_ = false;
};

}  // namespace

ReaderReportLimit::ReaderReportLimit(const std::string& path) {
    constexpr std::uintmax_t kAlways = 10000;
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(path, error);
    Assimp::DefaultLogger::set(new CountingLogger(kAlways + (error ? 0 : bytes)));
}

ReaderReportLimit::~ReaderReportLimit() {
    Assimp::DefaultLogger::kill();
}
