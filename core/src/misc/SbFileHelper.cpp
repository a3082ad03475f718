#include <Tessara/base/SoDebugError.h>
#include <Tessara/misc/SbFileHelper.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

// Separators and dots are ASCII, which never occurs inside a UTF-8 multi-byte sequence, so the
// byte-wise searches below cannot split a character.

namespace {

bool isSeparator(char c) {
    return c == '/' || c == '\\';
}

std::size_t lastSeparator(const std::string& path) {
    return path.find_last_of("/\\");
}

bool isNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

bool isNameChar(char c) {
    return isNameStart(c) || (c >= '0' && c <= '9');
}

// The value of an environment variable as UTF-8 (Latin-1 values are converted).
std::string environmentValue(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    return value ? SbString(value).getStdString() : std::string();
}

// Expands the variable reference starting at text[pos] == '$'; returns the index after it.
std::size_t expandVariable(const std::string& text, std::size_t pos, std::string& out) {
    const std::size_t next = pos + 1;
    if (next < text.size() && text[next] == '{') {
        const std::size_t close = text.find('}', next + 1);
        if (close == std::string::npos) {
            SoDebugError::postWarning("SbFileHelper::expandString",
                                      "\"${\" without \"}\" in \"%s\"; kept as it is",
                                      text.c_str());
            out += text.substr(pos);
            return text.size();
        }
        out += environmentValue(text.substr(next + 1, close - next - 1));
        return close + 1;
    }
    if (next >= text.size() || !isNameStart(text[next])) {
        out += '$';
        return next;
    }
    std::size_t end = next;
    while (end < text.size() && isNameChar(text[end])) ++end;
    out += environmentValue(text.substr(next, end - next));
    return end;
}

// Replaces a leading "~" or "~/..." by $HOME; returns the index where the rest starts.
std::size_t expandHome(const std::string& text, std::string& out) {
    if (text.empty() || text[0] != '~' || (text.size() > 1 && !isSeparator(text[1]))) return 0;
    const std::string home = environmentValue("HOME");
    if (home.empty()) {
        SoDebugError::postWarning("SbFileHelper::expandString",
                                  "HOME is not set; \"~\" in \"%s\" is kept", text.c_str());
        return 0;
    }
    out += home;
    return 1;
}

}  // namespace

FILE* SbFileHelper::open(const SbString& fileName, const char* mode) {
    if (!mode || !*mode) {
        SoDebugError::post("SbFileHelper::open", "no mode given for \"%s\"", fileName.getString());
        return nullptr;
    }
    const SbString path = expandString(fileName);
    if (path.isEmpty()) return nullptr;
    return std::fopen(path.getString(), mode);
}

int SbFileHelper::close(FILE* file) {
    return file ? std::fclose(file) : EOF;
}

bool SbFileHelper::removeFile(const SbString& fileName) {
    const SbString path = expandString(fileName);
    return !path.isEmpty() && std::remove(path.getString()) == 0;
}

bool SbFileHelper::isAccessible(const SbString& fileName) {
    const SbString path = expandString(fileName);
    return !path.isEmpty() && ::access(path.getString(), R_OK) == 0;
}

SbString SbFileHelper::expandString(const SbString& text) {
    const std::string& in = text.getStdString();
    std::string out;
    std::size_t pos = expandHome(in, out);
    while (pos < in.size()) {
        if (in[pos] == '$') {
            pos = expandVariable(in, pos, out);
        } else {
            out += in[pos++];
        }
    }
    return SbString(out);
}

SbString SbFileHelper::cleanUpPath(const SbString& path) {
    std::string in = path.getStdString();
    if (in.empty()) return path;
    for (char& c : in) {
        if (c == '\\') c = '/';
    }
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= in.size()) {
        std::size_t end = in.find('/', start);
        if (end == std::string::npos) end = in.size();
        const std::string part = in.substr(start, end - start);
        if (!part.empty() && part != ".") parts.push_back(part);
        start = end + 1;
    }
    const bool absolute = in.front() == '/';
    const bool endsAsDirectory =
        in.back() == '/' || (in.size() > 1 && in.substr(in.size() - 2) == "/.");
    std::string out = absolute ? "/" : "";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) out += '/';
        out += parts[i];
    }
    if (out.empty()) return SbString(".");
    if (endsAsDirectory && out.back() != '/') out += '/';
    return SbString(out);
}

SbString SbFileHelper::getExtension(const SbString& fileName) {
    const SbString base = getBaseName(fileName);
    const std::string& name = base.getStdString();
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return SbString();
    return SbString(name.substr(dot + 1));
}

SbString SbFileHelper::getBaseName(const SbString& fileName) {
    const std::string& path = fileName.getStdString();
    const std::size_t slash = lastSeparator(path);
    return slash == std::string::npos ? fileName : SbString(path.substr(slash + 1));
}

SbString SbFileHelper::getDirName(const SbString& fileName) {
    const std::string& path = fileName.getStdString();
    const std::size_t slash = lastSeparator(path);
    return slash == std::string::npos ? SbString() : SbString(path.substr(0, slash + 1));
}
