// What the command leaves when its output cannot be written, in every format: /dev/full, a
// place where no file can be created, and a disk that fills part-way (a file size limit on
// the command). Each ends with status 2 and one line on standard error that names the output
// and gives the system's reason; the directory holds nothing new, temporaries included, and
// an earlier file of the output's name stays as it was.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>

#include "CommandRun.h"

namespace {

struct Format {
    const char* name;
    std::vector<std::string> options;
    const char* extension;
};

const Format kFormats[] = {
    {"ps", {"-f", "ps"}, "ps"},        {"hpgl", {"-f", "hpgl"}, "plt"},
    {"cgmText", {"-f", "cgm"}, "cgm"}, {"cgmBinary", {"-f", "cgm", "--cgm-binary"}, "cgm"},
    {"emf", {"-f", "emf"}, "emf"},     {"png", {"-f", "png"}, "png"},
    {"u3d", {"-f", "u3d"}, "u3d"},     {"pdf3d", {"-f", "pdf3d"}, "pdf"},
    {"pdf", {"-f", "pdf"}, "pdf"},     {"svg", {"-f", "svg"}, "svg"},
};

// Names the case in test names and traces.
void PrintTo(const Format& format, std::ostream* stream) {
    *stream << format.name;
}

// A few KB: the file has begun when writing fails. That every drawing is larger is checked.
constexpr long kLimit = 4096;

/// TMPDIR, where the command keeps a metafile's and the 3D export's temporaries, set to
/// `path` while the object lives.
class TemporariesIn {
  public:
    explicit TemporariesIn(const std::string& path) {
        if (const char* value = std::getenv("TMPDIR")) previous_ = value;
        setenv("TMPDIR", path.c_str(), 1);
    }
    ~TemporariesIn() {
        if (previous_)
            setenv("TMPDIR", previous_->c_str(), 1);
        else
            unsetenv("TMPDIR");
    }

  private:
    std::optional<std::string> previous_;
};

class OutputSafety : public ::testing::TestWithParam<Format> {};

TEST_P(OutputSafety, FailuresLeaveNothingAndSayWhy) {
    const Format& format = GetParam();
    ScratchDir dir;
    std::filesystem::create_directory(dir.file("tmp"));
    const TemporariesIn temporaries(dir.file("tmp"));
    dir.write("afile", "");
    const std::string name = std::string("drawing.") + format.extension;
    const auto run = [&](const std::string& output, long limit) {
        std::vector<std::string> arguments = format.options;
        arguments.insert(arguments.end(), {"-o", output});
        return runCommand(arguments, dir.path(), limit);
    };
    const CommandResult whole = run(name, 0);
    ASSERT_EQ(whole.status, 0) << whole.err;
    const auto size = static_cast<long>(std::filesystem::file_size(dir.file(name)));
    ASSERT_GT(size, kLimit);
    std::filesystem::remove(dir.file(name));
    const std::vector<std::string> before = dir.entries();

    const struct {
        std::string output;
        long limit;
        int reason;
    } failures[] = {
        {"/dev/full", 0, ENOSPC},
        {"missing/" + name, 0, ENOENT},
        {"afile/" + name, 0, ENOTDIR},
        {name, kLimit, EFBIG},
    };
    for (const auto& failure : failures) {
        SCOPED_TRACE(failure.output);
        const CommandResult result = run(failure.output, failure.limit);
        EXPECT_TRUE(result.exited);
        EXPECT_EQ(result.status, 2);
        const std::vector<std::string> lines = result.errLines();
        ASSERT_EQ(lines.size(), 1u) << result.err;
        EXPECT_NE(lines[0].find(failure.output), std::string::npos) << lines[0];
        EXPECT_NE(lines[0].find(std::strerror(failure.reason)), std::string::npos) << lines[0];
        EXPECT_EQ(dir.entries(), before);
        EXPECT_TRUE(std::filesystem::is_empty(dir.file("tmp")));
    }

    // Late in the file: a 3D PDF then fails in the document itself, not in the temporary
    // model it embeds.
    dir.write(name, "earlier");
    EXPECT_EQ(run(name, size / 4 * 3).status, 2);
    EXPECT_EQ(dir.read(name), "earlier");
    EXPECT_EQ(dir.entries().size(), before.size() + 1);
}

INSTANTIATE_TEST_SUITE_P(EveryFormat, OutputSafety, ::testing::ValuesIn(kFormats),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
