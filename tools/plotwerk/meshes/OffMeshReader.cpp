#include "meshes/OffMeshReader.h"

#include <assimp/scene.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

#include "CommandError.h"

namespace {

using Words = std::vector<std::string_view>;

/// The lines of a file as words, comments ('#' to the line's end) and blank lines left out.
class Lines {
  public:
    explicit Lines(std::string text) : text_(std::move(text)) {}

    /// The next line's words; false at the end of the file.
    bool next(Words& words) {
        while (at_ < text_.size()) {
            const std::size_t end = std::min(text_.find('\n', at_), text_.size());
            std::string_view line(text_.data() + at_, end - at_);
            at_ = end + 1;
            ++number_;
            split(line.substr(0, line.find('#')), words);
            if (!words.empty()) return true;
        }
        return false;
    }
    /// The number of the line `next` read last, from 1.
    std::size_t number() const { return number_; }
    std::size_t size() const { return text_.size(); }

  private:
    static void split(std::string_view line, Words& words) {
        static const char* const kSpace = " \t\r\v\f";
        words.clear();
        for (std::size_t start = line.find_first_not_of(kSpace); start != std::string_view::npos;
             start = line.find_first_not_of(kSpace, start)) {
            const std::size_t end = std::min(line.find_first_of(kSpace, start), line.size());
            words.push_back(line.substr(start, end - start));
            start = end;
        }
    }

    std::string text_;
    std::size_t at_ = 0;
    std::size_t number_ = 0;
};

bool numberOf(std::string_view word, double& value) {
    const char* end = word.data() + word.size();
    return std::from_chars(word.data(), end, value).ptr == end;
}

// What each vertex line holds after its coordinates, from the keyword's letters.
struct Layout {
    bool texture = false, colors = false, normals = false;
};

// What is wrong with a line, and which.
struct LineError {
    std::string what;
};

class Reader {
  public:
    explicit Reader(std::string text) : lines_(std::move(text)) {}

    std::unique_ptr<aiScene> read(FaceColors& faceColors, std::string& leftOut) {
        readKeyword();
        readCounts();
        auto mesh = std::make_unique<aiMesh>();
        readVertices(*mesh);
        readFaces(*mesh, faceColors, leftOut);
        return sceneOf(std::move(mesh));
    }

  private:
    [[noreturn]] void fail(const std::string& what) const {
        throw LineError{"line " + std::to_string(lines_.number()) + ": " + what};
    }

    void nextLine(const char* what) {
        if (!lines_.next(words_)) fail("the file ends before " + std::string(what));
    }

    double number(std::size_t word) {
        double value = 0;
        if (word >= words_.size() || !numberOf(words_[word], value))
            fail("\"" + std::string(word < words_.size() ? words_[word] : "") +
                 "\" is not a number");
        return value;
    }

    ai_real real(std::size_t word) { return static_cast<ai_real>(number(word)); }

    // A whole number from 0 up to `most`, which is below 0 where no number fits.
    std::uint64_t count(std::size_t word, double most, const char* what) {
        const double value = number(word);
        if (!(value >= 0 && value <= most) || value != static_cast<double>(std::uint64_t(value)))
            fail(std::string(what) + ", " + std::string(words_[word]) +
                 ", is not a whole number from 0 to " +
                 std::to_string(static_cast<long long>(most)));
        return static_cast<std::uint64_t>(value);
    }

    void readKeyword() {
        nextLine("its keyword");
        const std::string keyword(words_[0].substr(0, 20));
        if (keyword.size() < 3 || keyword.compare(keyword.size() - 3, 3, "OFF") != 0)
            fail("\"" + keyword + "\" is no OFF keyword (\"OFF\", \"COFF\", \"NOFF\", ...)");
        const std::string prefix = keyword.substr(0, keyword.size() - 3);
        if (prefix.find_first_of("4n") != std::string::npos ||
            (words_.size() > 1 && words_[1] == "BINARY"))
            fail("only text files of three coordinates a vertex are read");
        layout_.texture = prefix.find("ST") != std::string::npos;
        layout_.colors = prefix.find('C') != std::string::npos;
        layout_.normals = prefix.find('N') != std::string::npos;
        words_.erase(words_.begin());
        if (words_.empty()) nextLine("its counts");
    }

    // A vertex takes a line of at least six bytes ("0 0 0" and its end), a face one of two,
    // so larger counts are refused before anything is made for them.
    void readCounts() {
        const double most = 4294967295.0;
        vertices_ = count(0, std::min<double>(lines_.size() / 6, most), "the count of vertices");
        faces_ = count(1, std::min<double>(lines_.size() / 2, most), "the count of faces");
    }

    void readVertices(aiMesh& mesh) {
        mesh.mNumVertices = static_cast<unsigned int>(vertices_);
        mesh.mVertices = new aiVector3D[vertices_];
        if (layout_.normals) mesh.mNormals = new aiVector3D[vertices_];
        if (layout_.colors) mesh.mColors[0] = new aiColor4D[vertices_];
        for (std::uint64_t v = 0; v < vertices_; ++v) {
            nextLine("its vertices");
            std::size_t word = 0;
            // One after the other: the order in which a call's arguments are evaluated is open.
            const auto triple = [&] {
                const ai_real x = real(word), y = real(word + 1), z = real(word + 2);
                word += 3;
                return aiVector3D(x, y, z);
            };
            mesh.mVertices[v] = triple();
            if (layout_.normals) mesh.mNormals[v] = triple();
            if (!layout_.colors) continue;
            const aiVector3D rgb = triple();
            // A fourth component is alpha unless it is the first texture coordinate.
            const bool alpha = words_.size() > word + (layout_.texture ? 2 : 0);
            mesh.mColors[0][v] = aiColor4D(rgb.x, rgb.y, rgb.z, alpha ? real(word) : 1.0f);
        }
    }

    // A face line that cannot be read leaves out that face alone, and a file that ends early
    // the faces it does not hold: the others still make a drawing.
    void readFaces(aiMesh& mesh, FaceColors& faceColors, std::string& leftOut) {
        std::vector<aiFace> faces;
        std::vector<std::optional<SbColor>> colors;
        std::vector<unsigned int> corners;
        std::uint64_t unread = 0;
        for (std::uint64_t f = 0; f < faces_; ++f) {
            if (!lines_.next(words_)) {
                leftOut = "the file ends after " + std::to_string(f) + " of its " +
                          std::to_string(faces_) + " faces";
                break;
            }
            try {
                readCorners(corners);
                if (corners.empty()) continue;
                colors.push_back(colorAfter(corners.size() + 1));
            } catch (const LineError& error) {
                if (unread++ == 0) leftOut = error.what;
                continue;
            }
            faces.emplace_back();
            faces.back().mNumIndices = static_cast<unsigned int>(corners.size());
            faces.back().mIndices = new unsigned int[corners.size()];
            std::copy(corners.begin(), corners.end(), faces.back().mIndices);
            faceColors.corners += corners.size();
        }
        if (unread > 0)
            leftOut =
                std::to_string(unread) + " faces cannot be read and are left out (" + leftOut + ")";
        if (std::any_of(colors.begin(), colors.end(), [](auto& c) { return c.has_value(); }))
            faceColors.colors = std::move(colors);
        mesh.mNumFaces = static_cast<unsigned int>(faces.size());
        mesh.mFaces = new aiFace[faces.size()];
        for (std::size_t f = 0; f < faces.size(); ++f) std::swap(mesh.mFaces[f], faces[f]);
    }

    void readCorners(std::vector<unsigned int>& corners) {
        const std::uint64_t count =
            this->count(0, double(words_.size() - 1), "a face's count of corners");
        corners.clear();
        for (std::uint64_t k = 0; k < count; ++k)
            corners.push_back(
                static_cast<unsigned int>(this->count(k + 1, double(vertices_) - 1, "a corner")));
    }

    // Three or four numbers after a face's corners are its colour.
    std::optional<SbColor> colorAfter(std::size_t first) {
        const std::size_t components = words_.size() - first;
        if (components != 3 && components != 4) return std::nullopt;
        float rgb[3];
        for (int k = 0; k < 3; ++k) rgb[k] = static_cast<float>(number(first + k));
        return SbColor(rgb);
    }

    static std::unique_ptr<aiScene> sceneOf(std::unique_ptr<aiMesh> mesh) {
        auto scene = std::make_unique<aiScene>();
        scene->mNumMeshes = 1;
        scene->mMeshes = new aiMesh* [1] { mesh.release() };
        scene->mNumMaterials = 1;
        scene->mMaterials = new aiMaterial* [1] { new aiMaterial };
        scene->mRootNode = new aiNode;
        scene->mRootNode->mNumMeshes = 1;
        scene->mRootNode->mMeshes = new unsigned int[1]{0};
        return scene;
    }

    Lines lines_;
    Words words_;
    Layout layout_;
    std::uint64_t vertices_ = 0, faces_ = 0;
};

std::string keywordOf(std::istream& in) {
    char start[16];
    in.read(start, sizeof start);
    const std::string head(start, static_cast<std::size_t>(in.gcount()));
    return head.substr(0, head.find_first_of(" \t\r\n#"));
}

}  // namespace

// The importer picks its OFF reader by the extension, or by a first word like "OFF" in any
// case, and some words so picked bring it down: all of these come here.
bool OffMeshReader::isOff(const std::string& path) {
    std::string extension = std::filesystem::path(path).extension().string();
    std::string keyword;
    {
        std::ifstream in(path, std::ios::binary);
        keyword = keywordOf(in);
    }
    for (std::string* text : {&extension, &keyword})
        std::transform(text->begin(), text->end(), text->begin(),
                       [](unsigned char c) { return std::toupper(c); });
    const bool word = std::all_of(keyword.begin(), keyword.end(),
                                  [](unsigned char c) { return std::isalnum(c); });
    return extension == ".OFF" || (word && keyword.find("OFF") != std::string::npos);
}

std::unique_ptr<aiScene> OffMeshReader::read(const std::string& path, FaceColors& faceColors,
                                             std::string& leftOut) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (!(in && text << in.rdbuf()))
        throw CommandError("cannot import '" + path + "': it cannot be read");
    try {
        return Reader(text.str()).read(faceColors, leftOut);
    } catch (const LineError& error) {
        throw CommandError("cannot import '" + path + "': " + error.what);
    }
}
