#pragma once

// A fresh temporary directory per test, removed with everything in it afterwards.

#include <dirent.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

/// A temporary directory with small file helpers.
class ScratchDir {
  public:
    ScratchDir() {
        const char* base = std::getenv("TMPDIR");
        std::string pattern = std::string(base && *base ? base : "/tmp") + "/plotwerk_cmd_XXXXXX";
        if (mkdtemp(pattern.data())) root = pattern;
    }
    ~ScratchDir() {
        if (!root.empty()) nftw(root.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::string& path() const { return root; }
    std::string file(const std::string& name) const { return root + "/" + name; }

    std::string write(const std::string& name, const std::string& content) const {
        std::ofstream out(file(name), std::ios::binary);
        out << content;
        return file(name);
    }
    std::string read(const std::string& name) const {
        std::ifstream in(file(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    bool exists(const std::string& name) const {
        struct stat info;
        return stat(file(name).c_str(), &info) == 0;
    }
    /// Every entry but "." and "..", hidden ones included, sorted.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        DIR* dir = opendir(root.c_str());
        if (!dir) return names;
        while (dirent* entry = readdir(dir)) {
            const std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        closedir(dir);
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    static int removeEntry(const char* path, const struct stat*, int, FTW*) {
        return std::remove(path);
    }

    std::string root;
};
