#include "reading/ChildProcessRun.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <exception>

#include "reading/DescriptorWrite.h"

// The child writes the length of what the work made, then the bytes, so that a child that ends
// early (a crash in the middle of writing) cannot pass for one that finished: the parent takes
// the bytes only from a child that exited normally and wrote them all. Knowing the length, the
// parent makes room for an answer of hundreds of megabytes at once.

// A sanitizer's runtime, where one is linked, calls back once it has reported a fault, and a
// fuzzer's callback saves the input as a crash it found.
extern "C" void __sanitizer_set_death_callback(void (*callback)()) __attribute__((weak));

namespace {

constexpr int kDone = 0, kWorkThrew = 3;
using Length = std::uint64_t;

/// Reads until the writer closes its end or `bytes` holds `most`; false when `deadline`
/// passed first.
bool readUpTo(int fd, std::chrono::steady_clock::time_point deadline, std::string& bytes,
              std::size_t most) {
    char buffer[1 << 16];
    while (bytes.size() < most) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd ready{fd, POLLIN, 0};
        const int polled =
            ::poll(&ready, 1, static_cast<int>(std::min<long long>(left.count(), 1000)));
        if (polled == 0 || (polled < 0 && errno == EINTR)) continue;
        const std::size_t wanted = std::min(sizeof buffer, most - bytes.size());
        const ssize_t got = polled < 0 ? -1 : ::read(fd, buffer, wanted);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return true;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
}

/// The answer of a child whose length came first; false when `deadline` passed first.
bool readAnswer(int fd, std::chrono::steady_clock::time_point deadline, std::string& bytes,
                bool& whole) {
    std::string header;
    whole = false;
    if (!readUpTo(fd, deadline, header, sizeof(Length))) return false;
    if (header.size() < sizeof(Length)) return true;
    Length length = 0;
    std::memcpy(&length, header.data(), sizeof length);
    try {
        bytes.reserve(length);
    } catch (const std::exception&) {
        // Room is made as the bytes come, then, should they come.
    }
    if (!readUpTo(fd, deadline, bytes, std::string::npos)) return false;
    whole = bytes.size() == length;
    return true;
}

// Sanitizers and some readers print on standard error; what the child did, the parent says.
void silenceStandardError() {
    const int nowhere = ::open("/dev/null", O_WRONLY);
    if (nowhere >= 0) ::dup2(nowhere, STDERR_FILENO);
}

// In the child a fault is the answer, not something to report or save: it ends the child at
// once, whatever handlers the parent (a sanitizer's, a fuzzer's) installed.
void forgetFaultHandlers() {
    for (int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) ::signal(signal, SIG_DFL);
    if (__sanitizer_set_death_callback) __sanitizer_set_death_callback(nullptr);
}

void limitProcessorTime(unsigned long seconds) {
    struct rlimit limit;
    limit.rlim_cur = seconds;
    limit.rlim_max = seconds + 1;
    ::setrlimit(RLIMIT_CPU, &limit);
}

[[noreturn]] void runInChild(const std::function<std::string()>& work, unsigned long cpuSeconds,
                             int fd) {
    silenceStandardError();
    forgetFaultHandlers();
    limitProcessorTime(cpuSeconds);
    int status = kDone;
    try {
        const std::string bytes = work();
        const Length length = bytes.size();
        if (!DescriptorWrite::all(fd, reinterpret_cast<const char*>(&length), sizeof length) ||
            !DescriptorWrite::all(fd, bytes.data(), bytes.size()))
            status = 1;
    } catch (...) {
        status = kWorkThrew;
    }
    // No destructors, no handlers registered at exit: they belong to the parent's state.
    ::_exit(status);
}

int waitFor(pid_t child) {
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

std::string overtime(unsigned long seconds) {
    return "ran for over " + std::to_string(seconds) + " s";
}

std::string describe(int status, unsigned long seconds) {
    if (WIFSIGNALED(status)) {
        const int signal = WTERMSIG(status);
        if (signal == SIGXCPU) return overtime(seconds);
        return std::string("crashed (") + ::strsignal(signal) + ")";
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == kWorkThrew) return "gave up (an exception)";
    return "ended without an answer (exit status " +
           std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1) + ")";
}

}  // namespace

std::optional<std::string> ChildProcessRun::run(const std::function<std::string()>& work,
                                                unsigned long seconds, std::string& ending) {
    int fds[2];
    if (::pipe(fds) != 0) return work();
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return work();
    }
    if (child == 0) {
        ::close(fds[0]);
        runInChild(work, seconds, fds[1]);
    }
    ::close(fds[1]);
    std::string bytes;
    bool whole = false;
    const bool answered = readAnswer(
        fds[0], std::chrono::steady_clock::now() + std::chrono::seconds(seconds), bytes, whole);
    ::close(fds[0]);
    if (!answered) ::kill(child, SIGKILL);
    const int status = waitFor(child);
    if (!answered) {
        ending = overtime(seconds);
        return std::nullopt;
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == kDone && whole) return bytes;
    ending = describe(status, seconds);
    return std::nullopt;
}
