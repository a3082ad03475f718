#include "reading/StandardInputFile.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <vector>

#include "CommandError.h"
#include "reading/DescriptorWrite.h"

namespace {

constexpr char kDescriptors[] = "/proc/self/fd/";

std::string nameOf(int descriptor) {
    return kDescriptors + std::to_string(descriptor);
}

/// The names the user gave the pipes that copies were made of, by the copies' names.
std::map<std::string, std::string>& pipeNames() {
    static std::map<std::string, std::string> names;
    return names;
}

[[noreturn]] void fail(const char* what) {
    throw CommandError(std::string("cannot ") + what + ": " + std::strerror(errno));
}

// Kept open for the rest of the run: its name is the only way to it.
int copyOfInput(int input, const std::string& name) {
    std::string pattern = (std::filesystem::temp_directory_path() / "plotwerk-input-XXXXXX");
    const int copy = mkstemp(&pattern[0]);
    if (copy < 0) fail(("keep " + name).c_str());
    unlink(pattern.c_str());
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t read = ::read(input, buffer.data(), buffer.size());
        if (read < 0 && errno == EINTR) continue;
        if (read == 0) return copy;
        if (read < 0 || !DescriptorWrite::all(copy, buffer.data(), static_cast<size_t>(read))) {
            const int failure = errno;
            close(copy);
            errno = failure;
            fail(((read < 0 ? "read " : "keep ") + name).c_str());
        }
    }
}

}  // namespace

// A file given as standard input goes by its own name, so that the files a model names are
// found beside it.
std::string StandardInputFile::path() {
    struct stat info;
    if (fstat(STDIN_FILENO, &info) != 0) fail("read standard input");
    if (!S_ISREG(info.st_mode)) return nameOf(copyOfInput(STDIN_FILENO, "standard input"));
    std::error_code error;
    const std::filesystem::path own = std::filesystem::read_symlink(nameOf(STDIN_FILENO), error);
    return !error && std::filesystem::is_regular_file(own, error) ? own.string()
                                                                  : nameOf(STDIN_FILENO);
}

bool StandardInputFile::isPipe(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISFIFO(info.st_mode);
}

std::string StandardInputFile::copyOfPipe(const std::string& path) {
    const int pipe = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (pipe < 0) fail(("read '" + path + "'").c_str());
    const int copy = copyOfInput(pipe, "'" + path + "'");
    close(pipe);
    pipeNames()[nameOf(copy)] = "'" + path + "'";
    return nameOf(copy);
}

bool StandardInputFile::isCopy(const std::string& path) {
    return path.rfind(kDescriptors, 0) == 0;
}

// The command quotes names in single quotes, the importer in double ones.
std::string StandardInputFile::described(std::string message, const std::string& path) {
    const auto pipe = pipeNames().find(path);
    const std::string words = pipe != pipeNames().end() ? pipe->second : "standard input";
    for (const std::string& name : {"'" + path + "'", "\"" + path + "\"", path})
        for (size_t at = message.find(name); at != std::string::npos;
             at = message.find(name, at + words.size()))
            message.replace(at, name.size(), words);
    return message;
}
