#include "StandardInputFile.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "CommandError.h"

namespace {

constexpr char kDescriptors[] = "/proc/self/fd/";

std::string nameOf(int descriptor) {
    return kDescriptors + std::to_string(descriptor);
}

[[noreturn]] void fail(const char* what) {
    throw CommandError(std::string("cannot ") + what + ": " + std::strerror(errno));
}

bool writeAll(int descriptor, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = write(descriptor, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Kept open for the rest of the run: its name is the only way to it.
int copyOfInput() {
    std::string pattern = (std::filesystem::temp_directory_path() / "plotwerk-input-XXXXXX");
    const int copy = mkstemp(&pattern[0]);
    if (copy < 0) fail("keep standard input");
    unlink(pattern.c_str());
    std::vector<char> buffer(1 << 16);
    for (;;) {
        const ssize_t read = ::read(STDIN_FILENO, buffer.data(), buffer.size());
        if (read < 0 && errno == EINTR) continue;
        if (read == 0) return copy;
        if (read < 0 || !writeAll(copy, buffer.data(), static_cast<size_t>(read))) {
            const int failure = errno;
            close(copy);
            errno = failure;
            fail(read < 0 ? "read standard input" : "keep standard input");
        }
    }
}

}  // namespace

// A file given as standard input goes by its own name, so that the files a model names are
// found beside it.
std::string StandardInputFile::path() {
    struct stat info;
    if (fstat(STDIN_FILENO, &info) != 0) fail("read standard input");
    if (!S_ISREG(info.st_mode)) return nameOf(copyOfInput());
    std::error_code error;
    const std::filesystem::path own = std::filesystem::read_symlink(nameOf(STDIN_FILENO), error);
    return !error && std::filesystem::is_regular_file(own, error) ? own.string()
                                                                  : nameOf(STDIN_FILENO);
}

bool StandardInputFile::isCopy(const std::string& path) {
    return path.rfind(kDescriptors, 0) == 0;
}

// The command quotes names in single quotes, the importer in double ones.
std::string StandardInputFile::described(std::string message, const std::string& path) {
    for (const std::string& name : {"'" + path + "'", "\"" + path + "\"", path})
        for (size_t at = message.find(name); at != std::string::npos; at = message.find(name))
            message.replace(at, name.size(), "standard input");
    return message;
}
