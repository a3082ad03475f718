#include "output/SafeOutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>

#include "CommandError.h"

namespace {

// The temporary in progress, for the signal handler: a fixed buffer, since the handler may
// only call async-signal-safe functions.
char pendingTemporary[4096];

constexpr int kWatchedSignals[] = {SIGINT, SIGTERM, SIGHUP};
struct sigaction previousActions[3];
bool watching = false;

extern "C" void removePendingAndDie(int signal) {
    if (pendingTemporary[0]) unlink(pendingTemporary);
    // Dies of the same signal, so that the caller sees why.
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigaction(signal, &fallback, nullptr);
    raise(signal);
}

// Signals the caller chose to ignore (nohup) stay ignored.
void watchSignals(const std::string& temporary) {
    std::strncpy(pendingTemporary, temporary.c_str(), sizeof pendingTemporary - 1);
    struct sigaction action {};
    action.sa_handler = removePendingAndDie;
    sigemptyset(&action.sa_mask);
    for (int i = 0; i < 3; ++i) {
        sigaction(kWatchedSignals[i], nullptr, &previousActions[i]);
        if (previousActions[i].sa_handler != SIG_IGN)
            sigaction(kWatchedSignals[i], &action, nullptr);
    }
    watching = true;
}

void unwatchSignals() {
    if (!watching) return;
    for (int i = 0; i < 3; ++i) sigaction(kWatchedSignals[i], &previousActions[i], nullptr);
    pendingTemporary[0] = '\0';
    watching = false;
}

std::string directoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A replaced file keeps its permissions; a new one gets what the umask allows.
mode_t modeFor(const std::string& path) {
    struct stat existing;
    if (stat(path.c_str(), &existing) == 0) return existing.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

std::string systemError(int error) {
    return std::strerror(error);
}

}  // namespace

SafeOutputFile::SafeOutputFile(const std::string& path) : path_(path) {
    if (path == "-") {
        file_ = stdout;
        return;
    }
    struct stat target;
    if (stat(path.c_str(), &target) != 0) {
        createTemporary(path);
    } else if (S_ISDIR(target.st_mode)) {
        throw CommandError("cannot write output '" + path + "': it is a directory");
    } else if (S_ISREG(target.st_mode)) {
        // Through a symbolic link the file it points to is replaced, not the link.
        char* resolved = realpath(path.c_str(), nullptr);
        const std::string real = resolved ? resolved : path;
        std::free(resolved);
        createTemporary(real);
    } else {
        openDirectly();
    }
}

// A device or a pipe cannot be replaced by renaming (and must not be: think of /dev/null),
// and nothing half-written stays behind in one: it is written to as it is.
void SafeOutputFile::openDirectly() {
    file_ = std::fopen(path_.c_str(), "wb");
    if (!file_) throw CommandError("cannot write output '" + path_ + "': " + systemError(errno));
}

SafeOutputFile::~SafeOutputFile() {
    if (file_ && file_ != stdout && !handedOver_) std::fclose(file_);
    if (!committed_) removeTemporary();
}

FILE* SafeOutputFile::handOver() {
    handedOver_ = true;
    return file_;
}

std::string SafeOutputFile::handOverName() {
    if (file_ && file_ != stdout && !handedOver_) std::fclose(file_);
    file_ = nullptr;
    return temporary_.empty() ? path_ : temporary_;
}

void SafeOutputFile::createTemporary(const std::string& destination) {
    std::string name = directoryOf(destination) + "/." + baseNameOf(destination) + ".XXXXXX";
    // A signal between creating the temporary and knowing its name would leave it behind:
    // the watched signals wait until the handler knows what to remove.
    sigset_t watched, previous;
    sigemptyset(&watched);
    for (int signal : kWatchedSignals) sigaddset(&watched, signal);
    sigprocmask(SIG_BLOCK, &watched, &previous);
    const int descriptor = mkstemp(name.data());
    const int error = errno;
    if (descriptor >= 0) {
        temporary_ = name;
        target_ = destination;
        watchSignals(temporary_);
    }
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    if (descriptor < 0)
        throw CommandError("cannot create output '" + path_ + "': " + systemError(error));
    fchmod(descriptor, modeFor(destination));
    file_ = fdopen(descriptor, "wb");
    if (!file_) {
        const int openError = errno;
        close(descriptor);
        throw CommandError("cannot create output '" + path_ + "': " + systemError(openError));
    }
}

void SafeOutputFile::removeTemporary() {
    if (temporary_.empty()) return;
    unlink(temporary_.c_str());
    temporary_.clear();
    unwatchSignals();
}

void SafeOutputFile::checkWritten() {
    errno = 0;
    const bool failed = std::fflush(file_) != 0 || std::ferror(file_);
    if (failed) check(errno ? errno : EIO);
}

// The reason of a failed fwrite is in errno only until the next call.
void SafeOutputFile::writeAll(std::string_view bytes) {
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size())
        check(errno ? errno : EIO);
    checkWritten();
}

void SafeOutputFile::check(int error) const {
    if (error != 0) fail(systemError(error));
}

void SafeOutputFile::fail(const std::string& reason) const {
    const std::string where = path_ == "-" ? "standard output" : "'" + path_ + "'";
    throw CommandError("cannot write output " + where + ": " + reason);
}

// Closing writes what is still buffered: a full disk may show only here.
void SafeOutputFile::closeOwnStream() {
    if (!file_ || file_ == stdout || handedOver_) return;
    errno = 0;
    const bool closed = std::fclose(file_) == 0;
    file_ = nullptr;
    if (!closed) check(errno ? errno : EIO);
}

void SafeOutputFile::commit() {
    closeOwnStream();
    committed_ = true;
    if (temporary_.empty()) return;
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        const int error = errno;
        removeTemporary();
        throw CommandError("cannot write output '" + path_ + "': " + systemError(error));
    }
    temporary_.clear();
    unwatchSignals();
}
