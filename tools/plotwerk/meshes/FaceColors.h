#pragma once

#include <Tessara/math/SbColor.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/// The colours that a mesh file gives its faces one by one, as PLY and OFF files may. The
/// importer reads past them; without them a model coloured by face (a part's regions, a
/// simulation's results) prints in one grey.
class FaceColors {
  public:
    /// The colours of the PLY file at `path`: none when it is no PLY file or colours no face.
    /// A file whose face colours cannot be made out gets none and a `problem`.
    static FaceColors read(const std::string& path);

    /// Whether the importer read the faces as the file lists them: as many faces, with as many
    /// corners in all. Otherwise the colours cannot be told to their faces.
    bool fit(std::uint64_t faces, std::uint64_t corners) const {
        return colors.size() == faces && corners == this->corners;
    }

    /// One entry a face, in the file's order; empty where the face has no colour. In 0 to 1,
    /// or in bytes where a file gives them so.
    std::vector<std::optional<SbColor>> colors;
    /// The faces' corners, all counted.
    std::uint64_t corners = 0;
    /// Why the colours the file gives could not be read; empty when they could.
    std::string problem;
};
