#include "OffFaceColors.h"

#include <algorithm>
#include <charconv>
#include <sstream>

namespace {

// The next line's words, comments and blank lines left out; false at the end.
bool nextWords(std::istream& in, std::vector<std::string>& words) {
    for (std::string line; std::getline(in, line);) {
        std::istringstream stream(line.substr(0, line.find('#')));
        words.clear();
        for (std::string word; stream >> word;) words.push_back(word);
        if (!words.empty()) return true;
    }
    return false;
}

bool numberOf(const std::string& word, double& value) {
    const char* end = word.data() + word.size();
    return std::from_chars(word.data(), end, value).ptr == end;
}

bool wholeNumber(const std::string& word) {
    return word.find_first_of(".eE") == std::string::npos;
}

// The colour of the words after a face's corners, if they make one.
std::optional<SbColor> colorOf(const std::vector<std::string>& words, std::size_t first) {
    const std::size_t count = words.size() - first;
    if (count != 3 && count != 4) return std::nullopt;
    const bool bytes = std::all_of(words.begin() + first, words.end(), wholeNumber);
    float rgb[3];
    for (int k = 0; k < 3; ++k) {
        double value = 0;
        if (!numberOf(words[first + k], value)) return std::nullopt;
        // NaN compares false and gives 0.
        rgb[k] = value > 0 ? static_cast<float>(std::min(1.0, bytes ? value / 255 : value)) : 0;
    }
    return SbColor(rgb);
}

// The counts of vertices and faces, after the keyword on its line or on the next.
bool countsOf(std::istream& in, std::vector<std::string>& words, std::uint64_t& vertices,
              std::uint64_t& faces) {
    words.erase(words.begin());
    if (words.empty() && !nextWords(in, words)) return false;
    double v = 0, f = 0;
    if (words.size() < 2 || !numberOf(words[0], v) || !numberOf(words[1], f) || !(v >= 0) ||
        !(f >= 0))
        return false;
    vertices = static_cast<std::uint64_t>(std::min(v, 1e18));
    faces = static_cast<std::uint64_t>(std::min(f, 1e18));
    return true;
}

}  // namespace

FaceColors OffFaceColors::read(std::istream& in) {
    FaceColors result;
    std::vector<std::string> words;
    std::uint64_t vertices = 0, faces = 0;
    if (!nextWords(in, words)) return result;
    // Four or n dimensions, and the binary form, place no colours where this reads them.
    const std::string& keyword = words[0];
    if (keyword.find_first_of("4n") != std::string::npos ||
        (words.size() > 1 && words[1] == "BINARY"))
        return result;
    if (!countsOf(in, words, vertices, faces)) {
        result.problem = "its counts of vertices and faces are missing";
        return result;
    }
    for (std::uint64_t v = 0; v < vertices; ++v)
        if (!nextWords(in, words)) return result;
    bool anyColor = false;
    for (std::uint64_t f = 0; f < faces && nextWords(in, words); ++f) {
        double corners = 0;
        if (!numberOf(words[0], corners) || !(corners >= 0) || corners >= double(words.size())) {
            result.problem = "face " + std::to_string(f + 1) + " lists fewer corners than it says";
            result.colors.clear();
            return result;
        }
        result.corners += static_cast<std::uint64_t>(corners);
        result.colors.push_back(colorOf(words, static_cast<std::size_t>(corners) + 1));
        anyColor = anyColor || result.colors.back().has_value();
    }
    if (!anyColor) result = FaceColors();
    return result;
}
