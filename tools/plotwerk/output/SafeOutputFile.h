#pragma once

#include <cstdio>
#include <string>
#include <string_view>

/// Where the drawing goes: standard output, or a file that is written under a temporary name
/// in the same directory and renamed onto its real name only by commit(). Until then an
/// existing file of that name stays as it was; on failure, or on SIGINT, SIGTERM or SIGHUP,
/// the temporary is removed. Devices and pipes (/dev/null, a FIFO) are written directly.
class SafeOutputFile {
  public:
    /// "-" is standard output. A directory, or a place where no file can be created, is a
    /// CommandError.
    explicit SafeOutputFile(const std::string& path);
    ~SafeOutputFile();
    SafeOutputFile(const SafeOutputFile&) = delete;
    SafeOutputFile& operator=(const SafeOutputFile&) = delete;

    /// The stream to write to, still owned by this object.
    FILE* stream() const { return file_; }
    /// The stream, whose new owner (the backend's output object) will close it.
    FILE* handOver();
    /// For writers that open the file by name (not standard output): closes the stream and
    /// gives the name to write under, the temporary or the device itself.
    std::string handOverName();
    /// Writes `bytes` to the stream and checks them written (a CommandError with the reason).
    void writeAll(std::string_view bytes);
    /// Flushes the stream and checks it for write errors (a CommandError); call it while the
    /// stream is still open.
    void checkWritten();
    /// A CommandError naming the output when `error` (a system error number) is not 0.
    void check(int error) const;
    /// A CommandError naming the output, for a failure some writer gave `reason` for.
    [[noreturn]] void fail(const std::string& reason) const;
    /// Closes the stream if it is still this object's, then renames the temporary onto the
    /// real name.
    void commit();

  private:
    void createTemporary(const std::string& destination);
    void openDirectly();
    void removeTemporary();
    void closeOwnStream();

    std::string path_;
    std::string temporary_;
    /// What the temporary replaces: the path, or the file a symbolic link points to.
    std::string target_;
    FILE* file_ = nullptr;
    bool committed_ = false;
    bool handedOver_ = false;
};
