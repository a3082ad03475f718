#pragma once

#include <assimp/DefaultIOSystem.h>

#include <atomic>
#include <set>
#include <string>

/// The importer's files, as usual, with a count of the bytes of every file it opened: a mesh
/// format may keep its data beside the file named (a glTF's buffers, a model's textures),
/// and what a drawing may take from an input is measured by all of it. The files it looked
/// for and did not find are noted too: an importer that cannot find a model's materials goes
/// on without them and says nothing.
class CountingFileSystem : public Assimp::DefaultIOSystem {
  public:
    Assimp::IOStream* Open(const char* file, const char* mode = "rb") override;
    bool Exists(const char* file) const override;
    /// The files that `model`, a copy of piped input, names beside it are looked for in the
    /// current directory: the copy has no folder of its own.
    void lookInCurrentDirectoryFor(const std::string& model) { pipedModel_ = model; }

    /// Bytes of the distinct files opened so far.
    unsigned long long getBytes() const { return bytes_.load(std::memory_order_relaxed); }
    /// The names, without their folders, of the files looked for that were not there.
    const std::set<std::string>& getMissing() const { return missing_; }
    /// Takes the counts of a reading through another file system (in another process) for
    /// its own: the bytes it opened and the names it missed.
    void adoptCounts(unsigned long long bytes, const std::set<std::string>& missing);

  private:
    /// Where the file is looked for: a name beside the piped model in the current directory.
    std::string placed(const char* file) const;

    std::string pipedModel_;
    std::set<std::string> opened_;
    std::atomic<unsigned long long> bytes_{0};  ///< read by any thread that allocates
    mutable std::set<std::string> missing_;
};
