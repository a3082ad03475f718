#pragma once

// Runs the built plotwerk command as a child process and collects what it did: the exit
// status and everything written to standard output and standard error.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
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
        for (size_t start = 0, end; start < err.size(); start = end + 1) {
            end = std::min(err.find('\n', start), err.size());
            lines.push_back(err.substr(start, end - start));
        }
        return lines;
    }
};

/// Starts the command with arguments in a working directory, standard input from /dev/null,
/// standard output and error into temporary files. A file size limit (bytes, 0 for none)
/// makes writes beyond it fail as on a full disk.
class CommandRunner {
  public:
    static CommandResult run(const std::vector<std::string>& arguments,
                             const std::string& workingDirectory = std::string(),
                             long fileSizeLimit = 0) {
        CommandResult result;
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        const pid_t child = out && err ? fork() : -1;
        if (child == 0) {
            // Ignored, the signal lets the write fail with EFBIG instead of killing the writer.
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{static_cast<rlim_t>(fileSizeLimit),
                               static_cast<rlim_t>(fileSizeLimit)};
            if (fileSizeLimit > 0) setrlimit(RLIMIT_FSIZE, &limit);
            // The user's black-and-white preference would change every colour the tests expect.
            unsetenv("VXN_PW_BLACK_AND_WHITE");
            if (!workingDirectory.empty() && chdir(workingDirectory.c_str()) != 0) _exit(126);
            if (!std::freopen("/dev/null", "r", stdin)) _exit(126);
            dup2(fileno(out), 1);
            dup2(fileno(err), 2);
            std::vector<char*> list = argv(arguments);
            execv(list[0], list.data());
            _exit(127);
        }
        int status = 0;
        if (child > 0 && waitpid(child, &status, 0) == child) {
            result.exited = WIFEXITED(status);
            result.status = result.exited ? WEXITSTATUS(status) : -1;
            result.out = contents(out);
            result.err = contents(err);
        }
        for (std::FILE* file : {out, err})
            if (file) std::fclose(file);
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
    static std::string contents(std::FILE* file) {
        std::string text;
        char chunk[65536];
        std::rewind(file);
        for (size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
        return text;
    }
};
