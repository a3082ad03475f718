#pragma once

// Runs the built plotwerk command as a child process and collects what it did: the exit
// status and everything written to standard output and standard error.

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

/// What one run of the command gave.
struct CommandResult {
    bool exited = false;  ///< false when the child died by a signal
    int status = -1;      ///< the exit status when it exited
    std::string out;
    std::string err;

    /// The lines of standard error (a final line without newline counts too).
    std::vector<std::string> errLines() const {
        std::vector<std::string> lines;
        size_t start = 0;
        while (start < err.size()) {
            size_t end = err.find('\n', start);
            if (end == std::string::npos) end = err.size();
            lines.push_back(err.substr(start, end - start));
            start = end + 1;
        }
        return lines;
    }
};

/// Starts the command with arguments in a working directory, standard input from /dev/null.
/// A file size limit (bytes, 0 for none) makes writes beyond it fail as on a full disk.
class CommandRunner {
  public:
    static CommandResult run(const std::vector<std::string>& arguments,
                             const std::string& workingDirectory = std::string(),
                             long fileSizeLimit = 0) {
        int outPipe[2], errPipe[2];
        CommandResult result;
        if (pipe(outPipe) != 0) return result;
        if (pipe(errPipe) != 0) {
            closeBoth(outPipe);
            return result;
        }
        const pid_t child = fork();
        if (child == 0) {
            if (fileSizeLimit > 0) limitFileSize(fileSizeLimit);
            startChild(arguments, workingDirectory, outPipe, errPipe);
        }
        close(outPipe[1]);
        close(errPipe[1]);
        if (child > 0) drain(outPipe[0], errPipe[0], result);
        close(outPipe[0]);
        close(errPipe[0]);
        if (child < 0) return result;
        int status = 0;
        while (waitpid(child, &status, 0) < 0) {
        }
        result.exited = WIFEXITED(status);
        result.status = result.exited ? WEXITSTATUS(status) : -1;
        return result;
    }

    /// The full argument list: the command itself first.
    static std::vector<char*> argv(const std::vector<std::string>& arguments) {
        static std::string command = PLOTWERK_COMMAND;
        std::vector<char*> list{command.data()};
        for (const std::string& argument : arguments)
            list.push_back(const_cast<char*>(argument.c_str()));
        list.push_back(nullptr);
        return list;
    }

  private:
    // Ignored, the signal lets the write fail with EFBIG instead of killing the writer.
    static void limitFileSize(long bytes) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
        setrlimit(RLIMIT_FSIZE, &limit);
    }

    static void closeBoth(int fds[2]) {
        close(fds[0]);
        close(fds[1]);
    }

    [[noreturn]] static void startChild(const std::vector<std::string>& arguments,
                                        const std::string& workingDirectory, int outPipe[2],
                                        int errPipe[2]) {
        // The user's black-and-white preference would change every colour the tests expect.
        unsetenv("VXN_PW_BLACK_AND_WHITE");
        if (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0) _exit(126);
        const int input = open("/dev/null", O_RDONLY);
        dup2(input, 0);
        dup2(outPipe[1], 1);
        dup2(errPipe[1], 2);
        closeBoth(outPipe);
        closeBoth(errPipe);
        std::vector<char*> list = argv(arguments);
        execv(list[0], list.data());
        _exit(127);
    }

    // Reads both pipes until both are closed, so a child filling one never blocks.
    static void drain(int out, int err, CommandResult& result) {
        pollfd fds[2] = {{out, POLLIN, 0}, {err, POLLIN, 0}};
        std::string* sinks[2] = {&result.out, &result.err};
        int open = 2;
        char buffer[65536];
        while (open > 0) {
            if (poll(fds, 2, -1) < 0) continue;
            for (int i = 0; i < 2; ++i) {
                if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
                const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
                if (n > 0) {
                    sinks[i]->append(buffer, static_cast<size_t>(n));
                } else {
                    fds[i].fd = -1;
                    --open;
                }
            }
        }
    }
};
