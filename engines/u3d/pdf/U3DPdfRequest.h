#pragma once

// What a one-page 3D PDF document shows: a title and a few lines of text above a 3D annotation
// that holds a U3D file, the view it opens with, and the picture shown where 3D is not played.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace u3d {

/// The view the 3D annotation opens with.
struct U3DPdfView {
    std::string name = "Default";  ///< the name a reader lists the view under
    /// Camera to world: the camera's x, y and z axes in world coordinates, then its position.
    std::array<float, 12> cameraToWorld = {1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0};
    float centerOfOrbit = 1.0f;  ///< distance from the camera to the point it orbits around
    bool orthographic = false;
    float fieldOfView = 45.0f;  ///< perspective: degrees, greater than 0 and less than 180
    float orthoScale = 1.0f;    ///< orthographic: greater than 0
    std::array<float, 3> background = {1, 1, 1};  ///< RGB, each from 0 to 1
    /// The lighting scheme's name, letters and digits; "Artwork" uses the lights of the U3D
    /// file, "" leaves the choice to the reader.
    std::string lighting = "Artwork";
};

/// The picture shown in place of the 3D content: 8-bit RGB, top row first. Empty pixels show a
/// plain light grey box instead.
struct U3DPdfPoster {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;  ///< width x height x 3 bytes, or none
};

/// A whole document: where it goes, what it embeds and shows, and how it is protected.
struct U3DPdfRequest {
    std::string pdfFile;
    std::string u3dFile;  ///< embedded byte for byte
    /// Either password encrypts the document (AES-256); an empty owner password takes the
    /// user password.
    std::string userPassword;
    std::string ownerPassword;
    std::string title;       ///< UTF-8, also the document's title
    std::string text;        ///< UTF-8 lines separated by '\n'
    bool landscape = false;  ///< A4 portrait unless set
    /// How wide a line of UTF-8 text is in a standard font (named as PostScript names it) at a
    /// size, in the size's units: the title and text are wrapped to the page with it. Null:
    /// lines break only where the text does.
    std::function<double(const std::string& utf8, const char* font, double size)> lineWidth;
    U3DPdfView view;
    U3DPdfPoster poster;
};

}  // namespace u3d
