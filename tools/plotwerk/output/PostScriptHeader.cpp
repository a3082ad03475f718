#include "output/PostScriptHeader.h"

#include <PlotWerk/SoVectorizeAction.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// The standard fonts come in the standard encoding, which has none of the Latin-1 letters
// above 0x7F, so "Grüße" printed as "Gr e". Every font found in that encoding is found again
// in Latin-1, except that 0xCA, where the drawing puts the degree sign for the standard
// encoding's ring, stays a degree sign (Latin-1's "Ê" there is lost). Interpreters without
// the Latin-1 encoding (some of level 1) keep the fonts as they are.
constexpr char kLatin1Fonts[] =
    "% the standard fonts in Latin-1, 0xCA the degree sign\n"
    "systemdict /ISOLatin1Encoding known {\n"
    "/pwLatin1 ISOLatin1Encoding dup length array copy dup 16#CA /degree put def\n"
    "/pwFindfont /findfont load def\n"
    "/findfont { pwFindfont dup /Encoding get StandardEncoding eq {\n"
    "  dup length dict begin { 1 index /FID ne { def } { pop pop } ifelse } forall\n"
    "  /Encoding pwLatin1 def currentdict end /pwLatin1Font exch definefont } if } bind def\n"
    "} if\n";

struct Passage {
    FILE* file;
    std::optional<PostScriptHeader::Box> figure;
    std::string title;
    std::string line;
    bool firstLine = true;
    bool inHeader = true;
};

bool put(FILE* file, const char* data, size_t size) {
    return std::fwrite(data, 1, size, file) == size;
}

bool put(FILE* file, const std::string& text) {
    return put(file, text.data(), text.size());
}

bool startsWith(const std::string& text, const char* start) {
    return text.compare(0, std::strlen(start), start) == 0;
}

// The document conventions allow lines of 255 characters: a longer comment goes on in "%%+"
// lines, broken after a space in the line's second half where there is one, never within a
// UTF-8 character.
std::string withinLineLimit(const std::string& comment) {
    constexpr size_t kLongestLine = 255;
    const std::string more = "\n%%+ ";
    std::string lines;
    size_t start = 0, room = kLongestLine;
    while (comment.size() - start > room) {
        size_t end = start + room;
        // A character takes at most four bytes; bytes that are no UTF-8 break anywhere.
        for (int back = 0; back < 3 && (static_cast<unsigned char>(comment[end]) & 0xC0) == 0x80;
             ++back)
            --end;
        const size_t space = comment.rfind(' ', end - 1);
        if (space != std::string::npos && space > start + room / 2) end = space + 1;
        lines += comment.substr(start, end - start) + more;
        start = end;
        room = kLongestLine - (more.size() - 1);
    }
    return lines + comment.substr(start);
}

// The figure convention versions as the language conventions do, 2.0 being its oldest.
std::string amended(Passage& passage) {
    std::string line = passage.line;
    if (passage.firstLine && passage.figure) {
        const size_t dash = line.rfind('-');
        std::string version = dash == std::string::npos ? std::string() : line.substr(dash + 1);
        if (version < "2.0") version = "2.0";
        line += " EPSF-" + version;
    } else if (startsWith(line, "%%BoundingBox:") && passage.figure) {
        const PostScriptHeader::Box& box = *passage.figure;
        line = "%%BoundingBox: " + std::to_string(box.left) + ' ' + std::to_string(box.bottom) +
               ' ' + std::to_string(box.right) + ' ' + std::to_string(box.top);
    } else if (startsWith(line, "%%Title:") && !passage.title.empty()) {
        // A comment ends at the line's end: a line break in the title would end it early and
        // make the rest of the title PostScript code.
        line = "%%Title: " + passage.title;
        std::replace_if(
            line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20; },
            ' ');
        line = withinLineLimit(line);
    }
    passage.inHeader = !startsWith(line, "%%EndComments");
    if (!passage.inHeader) line += '\n' + std::string(kLatin1Fonts, sizeof kLatin1Fonts - 2);
    passage.firstLine = false;
    passage.line.clear();
    return line;
}

ssize_t passOn(void* cookie, const char* data, size_t size) {
    auto& passage = *static_cast<Passage*>(cookie);
    size_t done = 0;
    while (passage.inHeader && done < size) {
        const auto* end = static_cast<const char*>(std::memchr(data + done, '\n', size - done));
        if (!end) {
            passage.line.append(data + done, size - done);
            return static_cast<ssize_t>(size);
        }
        passage.line.append(data + done, end);
        if (!put(passage.file, amended(passage) + '\n')) return -1;
        done = static_cast<size_t>(end - data) + 1;
    }
    return put(passage.file, data + done, size - done) ? static_cast<ssize_t>(size) : -1;
}

int closeFile(void* cookie) {
    auto* passage = static_cast<Passage*>(cookie);
    // What never reached the end of a line is still the file's.
    const bool kept = passage->line.empty() || put(passage->file, amended(*passage));
    // Standard output stays open for whatever else the process writes.
    const int closed = passage->file == stdout ? std::fflush(stdout) : std::fclose(passage->file);
    delete passage;
    return kept ? closed : EOF;
}

}  // namespace

FILE* PostScriptHeader::wrap(FILE* file, const std::optional<Box>& figure,
                             const std::string& title) {
    auto* passage = new Passage{file, figure, title, std::string()};
    FILE* stream = fopencookie(passage, "w", {nullptr, passOn, nullptr, closeFile});
    if (stream) return stream;
    delete passage;
    return file;
}

// The border is drawn inside the drawing's clip: the drawing is all there is.
PostScriptHeader::Box PostScriptHeader::inkBox(const SoVectorizeAction& action) {
    constexpr auto kInch = SoVectorizeAction::INCH;
    constexpr float kPointsPerInch = 72.0f;
    const SbVec2f low = action.getStartPosition(kInch) * kPointsPerInch;
    const SbVec2f high = low + action.getDrawingDimensions(kInch) * kPointsPerInch;
    const auto down = [](float points) { return static_cast<int>(std::floor(points)); };
    const auto up = [](float points) { return static_cast<int>(std::ceil(points)); };
    return {down(low[0]), down(low[1]), up(high[0]), up(high[1])};
}
