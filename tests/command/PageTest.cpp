// What lands where on the printed page: the options that change the page (layout, frame and
// background, colours, line width, lighting and shading), mesh files through the importer,
// and the camera and headlight the command adds to scenes that lack them. Each probe counts
// the pixels of one kind in one rectangle of the page, in millimetres.

#include <Tessara/rendering/SoPNGImage.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "CommandRun.h"

namespace {

using namespace default_page;

// A scene seen by an orthographic camera 10 units wide (portrait) on the z axis.
std::string orthographic(const std::string& body) {
    return "#Tessara V1.0 ascii\nSeparator {\n"
           "  OrthographicCamera { position 0 0 5  height 10 }\n" +
           body + "}\n";
}

// A camera on +x looking down -x at a red square facing it (counter-clockwise seen from
// the camera, so its generated normal points there); the light, if any, is spliced in.
std::string cameraOnX(const std::string& light) {
    return "#Tessara V1.0 ascii\nSeparator {\n"
           "  PerspectiveCamera { position 6 0 0  orientation 0 1 0 1.5708 }\n" +
           light +
           "  Material { diffuseColor 0.9 0.1 0.1 }\n"
           "  Coordinate3 { point [ 0 -1 -1, 0 1 -1, 0 1 1, 0 -1 1 ] }\n"
           "  FaceSet { numVertices 4 }\n}\n";
}

// Two nodes place one square mesh at x = -3 and x = +3; the material has a base colour only.
const char* const kTwoPlacedSquares =
    "{\"asset\": {\"version\": \"2.0\"},\n"
    " \"buffers\": [{\"byteLength\": 60, \"uri\": \"data:application/octet-stream;base64,"
    "AACAvwAAgL8AAAAAAACAPwAAgL8AAAAAAACAPwAAgD8AAAAAAACAvwAAgD8AAAAAAAABAAIAAAACAAMA\"}],\n"
    " \"bufferViews\": [{\"buffer\": 0, \"byteOffset\": 0, \"byteLength\": 48},\n"
    "                 {\"buffer\": 0, \"byteOffset\": 48, \"byteLength\": 12}],\n"
    " \"accessors\": [\n"
    "   {\"bufferView\": 0, \"componentType\": 5126, \"count\": 4, \"type\": \"VEC3\",\n"
    "    \"min\": [-1, -1, 0], \"max\": [1, 1, 0]},\n"
    "   {\"bufferView\": 1, \"componentType\": 5123, \"count\": 6, \"type\": \"SCALAR\"}],\n"
    " \"materials\": [{\"pbrMetallicRoughness\": {\"baseColorFactor\": [0.9, 0.5, 0.1, 1]}}],\n"
    " \"meshes\": [{\"primitives\": [{\"attributes\": {\"POSITION\": 0}, \"indices\": 1,"
    " \"material\": 0}]}],\n"
    " \"nodes\": [{\"mesh\": 0, \"translation\": [-3, 0, 0]},"
    " {\"mesh\": 0, \"translation\": [3, 0, 0]}],\n"
    " \"scenes\": [{\"nodes\": [0, 1]}],\n"
    " \"scene\": 0}\n";

// A square like the others whose base colour texture is a JPEG in the file: 32 texels a side,
// quadrants of red (bottom left), green, blue and yellow (top right); Ghostscript's encoder.
const std::string kTexturedSquare =
    std::string(
        "{\"asset\": {\"version\": \"2.0\"},\n"
        " \"buffers\": [{\"byteLength\": 92, \"uri\": "
        "\"data:application/octet-stream;base64,"
        "AACAvwAAgL8AAAAAAACAPwAAgL8AAAAAAACAPwAAgD8AAAAAAACAvwAAgD8AAAAAAAAAAAAAgD8AAIA/"
        "AACAPwAAgD8AAAAAAAAAAAAAAAAAAAEAAgAAAAIAAwA=\"}],\n"
        " \"bufferViews\": [{\"buffer\": 0, \"byteOffset\": 0, \"byteLength\": 48},\n"
        "   {\"buffer\": 0, \"byteOffset\": 48, \"byteLength\": 32},\n"
        "   {\"buffer\": 0, \"byteOffset\": 80, \"byteLength\": 12}],\n"
        " \"accessors\": [\n"
        "   {\"bufferView\": 0, \"componentType\": 5126, \"count\": 4, \"type\": "
        "\"VEC3\", \"min\": [-1, -1, 0], \"max\": [1, 1, 0]},\n"
        "   {\"bufferView\": 1, \"componentType\": 5126, \"count\": 4, \"type\": "
        "\"VEC2\"},\n"
        "   {\"bufferView\": 2, \"componentType\": 5123, \"count\": 6, \"type\": "
        "\"SCALAR\"}],\n"
        " \"materials\": [{\"pbrMetallicRoughness\": {\"baseColorTexture\": "
        "{\"index\": 0}}}],\n"
        " \"textures\": [{\"source\": 0}],\n"
        " \"images\": [{\"uri\": \"data:image/jpeg;base64,") +
    "/9j/4AAQSkZJRgABAQEASABIAAD/2wBDAA0JCgsKCA0LCgsODg0PEyAVExISEyccHhcgLikxMC4pLSwzOko+MzZG"
    "NywtQFdBRkxOUlNSMj5aYVpQYEpRUk//2wBDAQ4ODhMREyYVFSZPNS01T09PT09PT09PT09PT09PT09PT09PT09P"
    "T09PT09PT09PT09PT09PT09PT09PT09PT0//wAARCAAgACADASIAAhEBAxEB/8QAHwAAAQUBAQEBAQEAAAAAAAAA"
    "AAECAwQFBgcICQoL/8QAtRAAAgEDAwIEAwUFBAQAAAF9AQIDAAQRBRIhMUEGE1FhByJxFDKBkaEII0KxwRVS0fAk"
    "M2JyggkKFhcYGRolJicoKSo0NTY3ODk6Q0RFRkdISUpTVFVWV1hZWmNkZWZnaGlqc3R1dnd4eXqDhIWGh4iJipKT"
    "lJWWl5iZmqKjpKWmp6ipqrKztLW2t7i5usLDxMXGx8jJytLT1NXW19jZ2uHi4+Tl5ufo6erx8vP09fb3+Pn6/8QA"
    "HwEAAwEBAQEBAQEBAQAAAAAAAAECAwQFBgcICQoL/8QAtREAAgECBAQDBAcFBAQAAQJ3AAECAxEEBSExBhJBUQdh"
    "cRMiMoEIFEKRobHBCSMzUvAVYnLRChYkNOEl8RcYGRomJygpKjU2Nzg5OkNERUZHSElKU1RVVldYWVpjZGVmZ2hp"
    "anN0dXZ3eHl6goOEhYaHiImKkpOUlZaXmJmaoqOkpaanqKmqsrO0tba3uLm6wsPExcbHyMnK0tPU1dbX2Nna4uPk"
    "5ebn6Onq8vP09fb3+Pn6/9oADAMBAAIRAxEAPwDgqKKK/STjPeaKKK/m09g8jooor7A+9OuoooryD+eT/9k="
    "\"}],\n"
    " \"meshes\": [{\"primitives\": [{\"attributes\": {\"POSITION\": 0, \"TEXCOORD_0\": 1},"
    " \"indices\": 2, \"material\": 0}]}],\n"
    " \"nodes\": [{\"mesh\": 0}], \"scenes\": [{\"nodes\": [0]}], \"scene\": 0}\n";

template <typename Real>
std::uint64_t bitsOf(Real value) {
    std::conditional_t<sizeof(Real) == 4, std::uint32_t, std::uint64_t> bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// The unit square's lower right triangle in red and its upper left one in blue, as colours
// per face of a binary PLY file, most significant byte first, with values of two sizes per
// vertex to read past.
std::string facesPly() {
    std::string file =
        "ply\nformat binary_big_endian 1.0\nelement vertex 4\nproperty float x\n"
        "property float y\nproperty float z\nproperty double quality\nproperty char flag\n"
        "element face 2\n"
        "property list uchar int vertex_indices\nproperty ushort red\nproperty ushort green\n"
        "property ushort blue\nend_header\n";
    const auto put = [&](std::uint64_t bits, int bytes) {
        while (bytes-- > 0) file += static_cast<char>(bits >> 8 * bytes);
    };
    const float corners[][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const auto& corner : corners) {
        for (float v : {corner[0], corner[1], 0.0f}) put(bitsOf(v), 4);
        put(bitsOf(0.5), 8);
        put(1, 1);
    }
    const unsigned faces[][6] = {{0, 1, 2, 230, 30, 20}, {0, 2, 3, 20, 40, 230}};
    for (const auto& face : faces) {
        put(3, 1);
        for (int k = 0; k < 6; ++k) put(k < 3 ? face[k] : face[k] << 8, k < 3 ? 4 : 2);
    }
    return file;
}

// Every input file of the probes. The meshes are a unit square in the z = 0 plane facing
// +z, so the camera the command adds looks straight at it and its headlight lights it fully.
const std::vector<std::pair<std::string, std::string>> kFiles = {
    // A red square near the view's upper-left corner, at x -5..-4 and y 4..5, and nothing else.
    {"mark.tsc", orthographic("  LightModel { model BASE_COLOR }  BaseColor { rgb 0.9 0.1 0.1 }\n"
                              "  Coordinate3 { point [ -5 4 0, -4 4 0, -4 5 0, -5 5 0 ] }\n"
                              "  FaceSet { numVertices 4 }\n")},
    // A large "ü" from the centre up and to the right.
    {"umlaut.tsc", orthographic("  Font { size 60 }  Text2 { string \"\xc3\xbc\" }\n")},
    // A thick black line at drawing y = -3 (page y 85 to 100) and a red square above the centre.
    {"black_and_red.tsc",
     orthographic(
         "  LightModel { model BASE_COLOR }\n"
         "  Separator { BaseColor { rgb 0 0 0 }  DrawStyle { lineWidth 8 }\n"
         "    Coordinate3 { point [ -4 -3 0, 4 -3 0 ] }  LineSet { } }\n"
         "  BaseColor { rgb 0.9 0.1 0.1 }\n"
         "  Coordinate3 { point [ -2 0 0, 2 0 0, 2 3 0, -2 3 0 ] }  FaceSet { numVertices 4 }\n")},
    // One horizontal line of the nominal width through the centre.
    {"line.tsc", orthographic("  BaseColor { rgb 0.1 0.1 0.1 }\n"
                              "  Coordinate3 { point [ -4 0 0, 4 0 0 ] }  LineSet { }\n")},
    // A red square lit from 60 degrees off its normal; the light model asks for per-pixel
    // lighting, which the printer only evaluates with --lighting.
    {"lit.tsc",
     orthographic("  DirectionalLight { direction 0 -0.866 -0.5 }\n"
                  "  LightModel { model PER_PIXEL_PHONG }  Material { diffuseColor 0.9 0.1 0.1 }\n"
                  "  Coordinate3 { point [ -2 -2 0, 2 -2 0, 2 2 0, -2 2 0 ] }\n"
                  "  FaceSet { numVertices 4 }\n")},
    {"sphere.tsc",
     "#Tessara V1.0 ascii\nSeparator { DirectionalLight { direction -1 -1 -1 }"
     " Material { diffuseColor 0.2 0.4 0.9 } Sphere { } }\n"},
    {"square.obj",
     "mtllib square.mtl\nv -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\nvn -0.87 0 0.5\nvn 0.87 0 0.5\n"
     "usemtl leaf\nf 1//1 2//2 3//2 4//1\n"},
    {"square.mtl", "newmtl leaf\nKd 0.1 0.7 0.2\n"},
    {"square.stl",
     "solid square\n"
     "facet normal 0 0 1\n outer loop\n  vertex -1 -1 0\n  vertex 1 -1 0\n  vertex 1 1 0\n"
     " endloop\nendfacet\n"
     "facet normal 0 0 1\n outer loop\n  vertex -1 -1 0\n  vertex 1 1 0\n  vertex -1 1 0\n"
     " endloop\nendfacet\nendsolid square\n"},
    {"square.ply",
     "ply\nformat ascii 1.0\nelement vertex 4\n"
     "property float x\nproperty float y\nproperty float z\n"
     "property uchar red\nproperty uchar green\nproperty uchar blue\n"
     "element face 1\nproperty list uchar int vertex_indices\nend_header\n"
     "-1 -1 0 20 40 230\n1 -1 0 20 40 230\n1 1 0 20 40 230\n-1 1 0 20 40 230\n4 0 1 2 3\n"},
    // Colours in bytes: taken as fractions they would saturate to white.
    {"coloured.off",
     "COFF\n4 1 0\n-1 -1 0 230 30 20 255\n1 -1 0 230 30 20 255\n1 1 0 230 30 20 255\n"
     "-1 1 0 230 30 20 255\n4 0 1 2 3\n"},
    {"faces.ply", facesPly()},
    {"faces_ascii.ply",  // the same in ASCII
     "ply\nformat ascii 1.0\nelement vertex 4\nproperty float x\nproperty float y\n"
     "property float z\nelement face 2\nproperty list uchar int vertex_indices\n"
     "property uchar red\nproperty uchar green\nproperty uchar blue\nend_header\n"
     "-1 -1 0\n1 -1 0\n1 1 0\n-1 1 0\n3 0 1 2 230 30 20\n3 0 2 3 20 40 230\n"},
    // The same in OFF, the first triangle as a polygon of ten corners, its bottom edge cut
    // into eight; then with the second face's line cut short.
    {"faces.off",
     "OFF\n11 2 0\n-1 -1 0\n1 -1 0\n1 1 0\n-1 1 0\n-0.75 -1 0\n-0.5 -1 0\n-0.25 -1 0\n"
     "0 -1 0\n0.25 -1 0\n0.5 -1 0\n0.75 -1 0\n10 0 4 5 6 7 8 9 10 1 2 230 30 20\n"
     "3 0 2 3 20 40 230\n"},
    {"part.off", "OFF\n4 2 0\n-1 -1 0\n1 -1 0\n1 1 0\n-1 1 0\n3 0 1 2 230 30 20\n3 0 2\n"},
    {"points.ply",  // a point cloud: vertices and no faces; the bounds, and three red ones
     "ply\nformat ascii 1.0\nelement vertex 5\nproperty float x\nproperty float y\n"
     "property float z\nproperty uchar red\nproperty uchar green\nproperty uchar blue\n"
     "end_header\n-1 -1 0 0 0 255\n1 1 0 0 0 255\n0 0 0 230 30 20\n0.02 0 0 230 30 20\n"
     "0 0.02 0 230 30 20\n"},
    {"line.obj", "v -1 0 0\nv 1 0 0\nl 1 2\n"},
    {"two.gltf", kTwoPlacedSquares},
    {"textured.gltf", kTexturedSquare},
    {"textured.obj",
     "mtllib textured.mtl\nv -1 -1 0\nv 1 -1 0\nv 1 1 0\nv -1 1 0\n"
     "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nusemtl quadrants\nf 1/1 2/2 3/3 4/4\n"},
    {"textured.mtl", "newmtl quadrants\nKd 1 1 1\nmap_Kd textures\\quadrants.png\n"},
    // The header, not the extension, makes a scene file.
    {"scene.txt",
     "#Tessara V1.0 ascii\nSeparator { BaseColor { rgb 0.9 0.1 0.1 }"
     " LightModel { model BASE_COLOR } Cube { } }\n"},
    {"unlit.tsc", cameraOnX("")},
    // The camera a switch chooses, a second child of its group.
    {"switched.tsc",
     "#Tessara V1.0 ascii\nSeparator { Material { diffuseColor 0.9 0.1 0.1 }\n"
     "  Switch { whichChild 0  PerspectiveCamera { position 6 0 0  orientation 0 1 0 1.5708 } }\n"
     "  Coordinate3 { point [ 0 -1 -1, 0 1 -1, 0 1 1, 0 -1 1 ] }  FaceSet { numVertices 4 } }\n"},
    // Shining along +x: onto the back of the square, away from the camera.
    {"backlit.tsc", cameraOnX("  DirectionalLight { direction 1 0 0 }\n")},
    // A box twice as wide as high, far from the origin, whose near face looks larger than its
    // far one in perspective.
    // A cube turned on the world's axes, whose world box is half as wide again.
    {"turned_cube.tsc",
     "#Tessara V1.0 ascii\nSeparator { Rotation { rotation 1 2 0.5 0.9 }  Cube { } }\n"},
    // A tetrahedron fills a small and lopsided part of its box, seen from most sides.
    {"tetra.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 0 0 1\nf 1 3 2\nf 1 2 4\nf 1 4 3\nf 2 3 4\n"},
    {"box.obj",
     "v 998 499 -300.5\nv 1002 499 -300.5\nv 1002 501 -300.5\nv 998 501 -300.5\n"
     "v 998 499 -299.5\nv 1002 499 -299.5\nv 1002 501 -299.5\nv 998 501 -299.5\n"
     "f 5 6 7 8\nf 1 4 3 2\nf 1 2 6 5\nf 3 4 8 7\nf 2 3 7 6\n"},
    // A cube whose six faces have six colours: +x red, -x cyan, +y green, -y magenta, +z blue
    // and -z yellow.
    {"faces.obj",
     "mtllib faces.mtl\nv -1 -1 -1\nv 1 -1 -1\nv 1 1 -1\nv -1 1 -1\n"
     "v -1 -1 1\nv 1 -1 1\nv 1 1 1\nv -1 1 1\n"
     "usemtl px\nf 2 3 7 6\nusemtl nx\nf 1 5 8 4\nusemtl py\nf 4 8 7 3\n"
     "usemtl ny\nf 1 2 6 5\nusemtl pz\nf 5 6 7 8\nusemtl nz\nf 1 4 3 2\n"},
    // The same faces on a brick 4 wide, 1 high and 2 deep.
    {"brick.obj",
     "mtllib faces.mtl\nv -2 -0.5 -1\nv 2 -0.5 -1\nv 2 0.5 -1\nv -2 0.5 -1\n"
     "v -2 -0.5 1\nv 2 -0.5 1\nv 2 0.5 1\nv -2 0.5 1\n"
     "usemtl px\nf 2 3 7 6\nusemtl nx\nf 1 5 8 4\nusemtl py\nf 4 8 7 3\n"
     "usemtl ny\nf 1 2 6 5\nusemtl pz\nf 5 6 7 8\nusemtl nz\nf 1 4 3 2\n"},
    {"faces.mtl",
     "newmtl px\nKd 1 0 0\nnewmtl nx\nKd 0 1 1\nnewmtl py\nKd 0 1 0\n"
     "newmtl ny\nKd 1 0 1\nnewmtl pz\nKd 0 0 1\nnewmtl nz\nKd 1 1 0\n"},
    // The scene's camera looks at x = 0 while the square sits to the left of the view.
    {"offset.tsc",
     "#Tessara V1.0 ascii\nSeparator {\n"
     "  OrthographicCamera { position 0 0 5  height 20 }\n"
     "  LightModel { model BASE_COLOR }  BaseColor { rgb 0.1 0.1 0.8 }\n"
     "  Coordinate3 { point [ -8 -1 0, -6 -1 0, -6 1 0, -8 1 0 ] }\n"
     "  FaceSet { numVertices 4 }\n}\n"},
};

// The side of a 16-sided prism, as STL stores it: each facet's corners apart, its normal 0.
std::string prismStl() {
    std::string text = "solid prism\n";
    auto corner = [](int i, int y) {
        return "vertex " + std::to_string(std::cos(i * M_PI / 8)) + " " + std::to_string(y) + " " +
               std::to_string(std::sin(i * M_PI / 8)) + "\n";
    };
    for (int i = 0; i < 32; ++i)  // two triangles a facet
        text += "facet normal 0 0 0\nouter loop\n" + corner(i / 2, i % 2) + corner(i / 2 + 1, 1) +
                corner(i / 2 + 1 - i % 2, 0) + "endloop\nendfacet\n";
    return text + "endsolid prism\n";
}

// The saddle z = xy over 12 x 12 squares, their outlines drawn on them in black.
std::string saddleTsc() {
    std::string points, squares;
    for (int k = 0; k < 169; ++k) {
        const double x = k % 13 / 6.0 - 1, y = k / 13 / 6.0 - 1;
        points += std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(x * y) + ",";
        for (int corner : {k, k + 1, k + 14, k + 13, -1})
            if (k % 13 < 12 && k < 156) squares += std::to_string(corner) + ",";
    }
    const std::string faces = "IndexedFaceSet { coordIndex [" + squares + "] }\n";
    return "#Tessara V1.0 ascii\nSeparator { Coordinate3 { point [" + points + "] }\n" +
           "PolygonOffset { }\n" + faces +
           "BaseColor { rgb 0 0 0 } LightModel { model BASE_COLOR }"
           " DrawStyle { style LINES }\n" +
           faces + "}\n";
}

/// The scratch directory holding every input.
struct Inputs : ScratchDir {
    Inputs() {
        for (const auto& file : kFiles) write(file.first, file.second);
        write("prism.stl", prismStl());
        write("saddle.tsc", saddleTsc());
        // The same quadrants as the JPEG, rows from the bottom up.
        std::vector<unsigned char> texels;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x) {
                const bool right = x >= 16, top = y >= 16;
                texels.insert(texels.end(), {static_cast<unsigned char>(top == right ? 255 : 0),
                                             static_cast<unsigned char>(right ? 255 : 0),
                                             static_cast<unsigned char>(top && !right ? 255 : 0)});
            }
        mkdir((path() + "/textures").c_str(), 0755);
        SoPNGImage(SbVec2s(32, 32), 3, texels.data())
            .write((path() + "/textures/quadrants.png").c_str());
    }
};

/// The print of `arguments` in the inputs' directory, made once; rendered unless `dpi` is 0.
const PrintRun& print(const std::vector<std::string>& arguments, int dpi = 72) {
    static const Inputs inputs;
    static std::map<std::pair<std::vector<std::string>, int>, PrintRun> runs;
    const auto key = std::make_pair(arguments, dpi);
    auto found = runs.find(key);
    if (found == runs.end())
        found = runs.emplace(key, PrintRun::of(inputs, arguments, "page.ps", dpi)).first;
    return found->second;
}

bool ink(const Rgb& p) {
    return !p.isWhite();
}
bool coloured(const Rgb& p) {
    return !p.isWhite() && p.isColoured(24);
}
bool red(const Rgb& p) {
    return p.r > 180 && p.g < 80 && p.b < 80;
}
bool blue(const Rgb& p) {
    return p.b > p.r + 80 && p.b > p.g + 80;
}

constexpr int MANY = INT_MAX;
/// How many pixels of one kind a rectangle of the print of `arguments` holds.
struct Probe {
    const char* what;
    std::vector<std::string> arguments;
    double x0, y0, x1, y1;
    bool (*pixel)(const Rgb&);
    int least, most;
};

Probe probe(const char* what, const std::vector<std::string>& arguments, double x0, double y0,
            double x1, double y1, bool (*pixel)(const Rgb&), int least, int most) {
    return Probe{what, arguments, x0, y0, x1, y1, pixel, least, most};
}

void expectProbes(const std::vector<Probe>& probes) {
    for (const Probe& probe : probes) {
        const PrintRun& run = print(probe.arguments);
        ASSERT_TRUE(run.succeeded()) << probe.what;
        const int n = run.count(probe.x0, probe.y0, probe.x1, probe.y1, probe.pixel);
        EXPECT_GE(n, probe.least) << probe.what;
        EXPECT_LE(n, probe.most) << probe.what;
    }
}

// The faces' colours as bits: red 4, green 2, blue 1.
enum Colour { BLUE = 1, GREEN = 2, CYAN = 3, RED = 4, MAGENTA = 5, YELLOW = 6 };
std::function<bool(const Rgb&)> is(Colour colour) {
    return [=](const Rgb& p) {
        const int channels[] = {p.b, p.g, p.r};
        for (int i = 0; i < 3; ++i)
            if (colour >> i & 1 ? channels[i] < 100 : channels[i] > 60) return false;
        return true;
    };
}

// Where a colour's pixels begin and end along x (axis 0) or y in a rectangle, in mm.
std::pair<double, double> extentOf(const PrintRun& run, Colour colour, double x0, double y0,
                                   double x1, double y1, int axis) {
    double low = HUGE_VAL, high = -HUGE_VAL;
    for (double t = axis ? y0 : x0; t < (axis ? y1 : x1); t += 0.5)
        if ((axis ? run.count(x0, t, x1, t + 0.5, is(colour))
                  : run.count(t, y0, t + 0.5, y1, is(colour))) > 0)
            low = std::min(low, t), high = t + 0.5;
    return std::make_pair(low, high);
}

}  // namespace

// One option of each family, seen where it puts its ink.
TEST(Page, EachOptionFamilyChangesThePrintAsItSays) {
    const std::string kLongTitle(60, 'W');
    const std::vector<std::string> sized = {"--size", "3.937x1.9685in", "--position", "20x30"};
    const std::vector<std::string> yellowed = {"mark.tsc", "--background", "yellow"};
    const double x0 = kCentreX - 10, x1 = kCentreX + 10, y0 = kCentreY - 10, y1 = kCentreY + 10;
    expectProbes({
        // The drawing, 277 wide and 190 high, a quarter turned: its top-left corner at the
        // bottom-left of the page, the frame along the usual drawing area.
        probe("portrait: the corner mark", {"mark.tsc"}, 12, 226, 27, 241, red, 50, MANY),
        probe("landscape: the corner mark", {"mark.tsc", "--landscape"}, 12, 55, 27, 71, red, 50,
              MANY),
        // 100 x 50 mm at 20, 30: the frame's right edge, and nothing above the drawing.
        probe("size and position: an edge", sized, 119, 40, 121, 70, ink, 10, MANY),
        probe("size and position: above", sized, 0, 83, kSheetWidth, kSheetHeight, ink, 0, 0),
        // The frame is centred on the drawing's edge and half clipped away: 12 nominal
        // widths show 2.1 mm of it, the default 2 only 0.35 mm.
        probe("default frame", {"mark.tsc"}, kLeft - 1, 50, kLeft + 1, 200, ink, 100, MANY),
        probe("thick red frame", {"mark.tsc", "--border=12,#ff0000"}, kLeft + 1, 50, kLeft + 1.8,
              200, red, 100, MANY),
        probe(
            "background inside the drawing", yellowed, x0, y0, x1, y1,
            [](const Rgb& p) { return p.r > 200 && p.g > 200 && p.b < 60; }, 500, MANY),
        probe("background not outside", yellowed, 0, 0, kLeft - 2, kSheetHeight, ink, 0, 0),
        // Black swaps to white by default (the screen's black background).
        probe("black swapped", {"black_and_red.tsc"}, 40, 85, 170, 100, ink, 0, 0),
        probe("black kept", {"black_and_red.tsc", "--colors", "keep"}, 40, 85, 170, 100, ink, 200,
              MANY),
        // The colour key at the right is an image and keeps its pixels.
        probe(
            "black and white", {"--bw"}, 0, 0, 172, kSheetHeight,
            [](const Rgb& p) { return !p.isWhite() && (p.r > 40 || p.g > 40 || p.b > 40); }, 0, 0),
        probe("black and white: the solids", {"--bw"}, kLeft, 195, kRight, 245, ink, 1000, MANY),
        probe("grey levels only", {"--gray"}, 0, 0, kSheetWidth, kSheetHeight, coloured, 0, 0),
        probe("the nominal line is thin", {"line.tsc"}, x0, kCentreY + 0.8, x1, kCentreY + 1.4, ink,
              0, 0),
        probe("a wide line", {"line.tsc", "--line-width", "3.175mm"}, x0, kCentreY + 0.8, x1,
              kCentreY + 1.4, ink, 20, MANY),
        probe(
            "per-pixel model unlit: its diffuse colour", {"lit.tsc"}, x0, y0, x1, y1,
            [](const Rgb& p) { return red(p) && p.r > 210; }, 1000, MANY),
        // Half the light at 60 degrees, plus ambient.
        probe(
            "per-pixel model lit", {"lit.tsc", "--lighting"}, x0, y0, x1, y1,
            [](const Rgb& p) { return p.r > 90 && p.r < 160 && p.g < 60; }, 1000, MANY),
        // The strip under the drawing: the title at its left, the scale at its right.
        probe("a Latin-1 letter", {"umlaut.tsc"}, kCentreX, kCentreY, kCentreX + 15, kCentreY + 15,
              ink, 30, MANY),
        probe("a title", {"mark.tsc", "--title", "Mark"}, kLeft + 2, kBottom + 2, kLeft + 30,
              kBottom + 12, ink, 30, MANY),
        probe("the scale", {"faces.obj", "--title", "Cube", "--scale", "1:10"}, kRight - 30,
              kBottom + 2, kRight - 2, kBottom + 12, ink, 20, MANY),
        probe("a title in points", {"mark.tsc", "--title", "Mark", "--line-width", "1mm"},
              kLeft + 2, kBottom + 10, kLeft + 30, kBottom + 12, ink, 0, 0),
        probe("a long title", {"mark.tsc", "--title", kLongTitle}, kLeft + 2, kBottom + 2,
              kLeft + 30, kBottom + 12, ink, 30, MANY),
        probe("a long title's end", {"mark.tsc", "--title", kLongTitle}, kRight - 3.5, kBottom + 1,
              kRight - 1, kBottom + 13, ink, 0, 0),
        probe("coarse accuracy", {"--accuracy", "1", "--ps-level", "3"}, kLeft, 195, kRight, 245,
              coloured, 500, MANY),
    });
}

TEST(Page, MeshesCamerasAndLights) {
    const double x0 = kCentreX - 10, x1 = kCentreX + 10, y0 = kCentreY - 10, y1 = kCentreY + 10;
    auto inCentre = [&](const char* what, const char* input, bool (*pixel)(const Rgb&)) {
        return probe(what, {input}, x0, y0, x1, y1, pixel, 1000, MANY);
    };
    expectProbes({
        inCentre("OBJ in its material's colour, flat whatever its corner normals", "square.obj",
                 [](const Rgb& p) { return p.g > p.r + 80 && p.g > p.b + 80; }),
        inCentre("STL without colour: light grey, lit by the headlight", "square.stl",
                 [](const Rgb& p) { return !p.isWhite() && !p.isColoured(10) && p.r > 150; }),
        probe(
            "STL seen from behind: lit alike", {"--view", "back", "square.stl"}, x0, y0, x1, y1,
            [](const Rgb& p) { return !p.isWhite() && !p.isColoured(10) && p.r > 150; }, 1000,
            MANY),
        inCentre("PLY colours per vertex", "square.ply", blue),
        probe("PLY colours per face: the first", {"faces.ply"}, x0 + 30, y0 - 30, x1 + 30, y1 - 30,
              red, 1000, MANY),
        probe("PLY colours per face: the second", {"faces.ply"}, x0 - 30, y0 + 30, x1 - 30, y1 + 30,
              blue, 1000, MANY),
        probe("PLY colours per face, ASCII", {"faces_ascii.ply"}, x0 + 30, y0 - 30, x1 + 30,
              y1 - 30, red, 1000, MANY),
        probe("OFF colours per face: ten corners", {"faces.off"}, x0 + 30, y0 - 30, x1 + 30,
              y1 - 30, red, 1000, MANY),
        probe("OFF colours per face: three", {"faces.off"}, x0 - 30, y0 + 30, x1 - 30, y1 + 30,
              blue, 1000, MANY),
        inCentre("OFF colours in bytes", "coloured.off", red),
        probe("PLY points without faces, in their colours", {"points.ply"}, x0, y0, x1, y1, red, 1,
              MANY),
        probe(
            "OBJ line without a colour: inked", {"line.obj"}, x0, y0, x1, y1,
            [](const Rgb& p) {
                return std::max({p.r, p.g, p.b}) < 60;
            },
            20, MANY),
        inCentre("a header makes a scene file", "scene.txt", red),
        probe(
            "glTF: the instance at the left", {"two.gltf"}, kLeft + 5, kCentreY - 5, kCentreX - 15,
            kCentreY + 5, [](const Rgb& p) { return p.r > p.g + 40 && p.g > p.b + 40; }, 30, MANY),
        probe("glTF: the gap between the instances", {"two.gltf"}, kCentreX - 5, kCentreY - 5,
              kCentreX + 5, kCentreY + 5, ink, 0, 0),
        // Ambient light alone would leave it nearly black; a light along -z would graze it.
        inCentre("the headlight shines along the scene's own camera", "unlit.tsc", red),
        inCentre("the headlight beside a camera in a switch", "switched.tsc", red),
        inCentre("the scene's own light kept, no headlight", "backlit.tsc",
                 [](const Rgb& p) { return !p.isWhite() && p.r < 100; }),
        probe("the scene's own camera kept", {"offset.tsc"}, kLeft, y0, kLeft + 40, y1, coloured,
              50, MANY),
        probe("the scene's own camera not refitted", {"offset.tsc"}, x0, y0, x1, y1, ink, 0, 0),
    });
    const PrintRun& part = print({"part.off"});  // the face it cannot read left out, and why
    EXPECT_GT(part.count(x0 + 30, y0 - 30, x1 + 30, y1 - 30, red), 1000);
    EXPECT_EQ(part.count(x0 - 30, y0 + 30, x1 - 30, y1 + 30, ink), 0);
    EXPECT_EQ(part.command.errLines().size(), 1u);
    EXPECT_NE(part.command.err.find("part.off"), std::string::npos);
    const std::string said =  // the camera options left unused, said once
        print({"offset.tsc", "--scale", "1:2", "--projection", "orthographic"}).command.err;
    EXPECT_TRUE(std::count(said.begin(), said.end(), '\n') == 1 &&
                said.find("projection") != said.npos && said.find("scale") != said.npos)
        << said;
}

// Texture coordinates run up from the bottom left in every format; a texture named with a
// Windows path is found beside the model file. The one square shows its four quadrants in
// flat colours too, one colour a face: its faces are cut.
TEST(Page, TexturedMeshesPrintTheirTextureColours) {
    auto is = [](int r, int g, int b) {
        return [=](const Rgb& p) {
            return std::abs(p.r - r) < 70 && std::abs(p.g - g) < 70 && std::abs(p.b - b) < 70;
        };
    };
    const struct {
        double x, y;
        std::function<bool(const Rgb&)> colour;
    } corners[] = {{-80, -80, is(255, 0, 0)},
                   {72, -80, is(0, 255, 0)},
                   {-80, 72, is(0, 0, 255)},
                   {72, 72, is(255, 255, 0)}};
    for (const char* input : {"textured.gltf", "textured.obj"})
        for (const auto& arguments :
             {std::vector<std::string>{input, "--smooth", "--ps-level", "3"},
              std::vector<std::string>{input}})
            for (const auto& corner : corners) {
                const PrintRun& run = print(arguments);
                ASSERT_TRUE(run.succeeded()) << input << run.command.err;
                EXPECT_GT(
                    run.count(kCentreX + corner.x, kCentreY + corner.y, kCentreX + corner.x + 8,
                              kCentreY + corner.y + 8, corner.colour),
                    300)
                    << testing::PrintToString(arguments) << " at " << corner.x << ", " << corner.y;
            }
}

// Named sides turn with the model's up axis; a direction in numbers is the model's own. In
// the three-quarter view the top face lies above the front (left) and right faces.
TEST(Page, AddedCameraLooksFromTheChosenSide) {
    struct Spot {
        double x, y;  ///< from the drawing's centre, in millimetres
        Colour colour;
    };
    const struct {
        std::vector<std::string> arguments;
        std::vector<Spot> spots;
    } views[] = {
        {{}, {{0, 0, BLUE}}},
        {{"--view", "back"}, {{0, 0, YELLOW}}},
        {{"--view", "bottom"}, {{0, 0, MAGENTA}}},
        {{"--up", "z"}, {{0, 0, MAGENTA}}},
        {{"--up", "z", "--view", "top"}, {{0, 0, BLUE}}},
        {{"--up", "z", "--view", "-1e38,0,2e37"}, {{0, 0, CYAN}}},  // squared, beyond floats
        {{"--view", "iso"}, {{0, 40, GREEN}, {-40, -15, BLUE}, {40, -15, RED}}},
        {{"--view", "iso", "--up", "z"}, {{0, 40, BLUE}, {-40, -15, MAGENTA}, {40, -15, RED}}},
    };
    for (const auto& view : views) {
        std::vector<std::string> arguments = view.arguments;
        arguments.push_back("faces.obj");
        const PrintRun& run = print(arguments);
        ASSERT_TRUE(run.succeeded()) << run.command.err;
        for (const Spot& spot : view.spots)
            EXPECT_GT(run.count(kCentreX + spot.x - 4, kCentreY + spot.y - 4, kCentreX + spot.x + 4,
                                kCentreY + spot.y + 4, is(spot.colour)),
                      200)
                << testing::PrintToString(arguments) << " at " << spot.x << ", " << spot.y;
    }
}

// A mesh's line drawing inks black; a scene's keeps its colours, unlit whatever it asks.
TEST(Page, LineDrawingsInkMeshesBlackAndScenesUnlit) {
    const auto dark = [](const Rgb& p) { return std::max({p.r, p.g, p.b}) < 60; };
    const PrintRun& mesh = print({"prism.stl", "--hidden", "lines"});
    EXPECT_GT(mesh.ink(kLeft, kBottom, kRight, kTop), 300);
    EXPECT_EQ(mesh.count(kLeft, kBottom, kRight, kTop, dark),
              mesh.ink(kLeft, kBottom, kRight, kTop));
    const PrintRun& scene = print({TESSARA_EXAMPLES_DIR "/lit_shapes.tsc", "--hidden", "lines"});
    EXPECT_EQ(scene.count(kLeft + 2, kBottom + 2, kRight - 2, kTop - 2, dark), 0);
}

// Lines on faces print over them in depth order, where a curved surface's neighbouring faces
// may lie a rounding step nearer: as many as without hidden-surface removal, but the few hidden.
TEST(Page, LinesOnFacesPrintOverThem) {
    const auto lines = [](const char* mode) {
        return print({"saddle.tsc", "--colors", "keep", "--view", "1,-1,1.2", "--hidden", mode})
            .count(kLeft, kBottom, kRight, kTop, [](const Rgb& p) {
                return std::max({p.r, p.g, p.b}) < 60;
            });
    };
    EXPECT_GT(lines("painter"), 0.85 * lines("off"));
}

// A drafter's sheet: the top view above the front view and the right view beside it, at one
// scale and lined up.
TEST(Page, ViewsShareASheetLinedUpAtOneScale) {
    const PrintRun& run = print({"brick.obj", "--views", "top,iso,front,right"});
    ASSERT_TRUE(run.succeeded()) << run.command.err;
    const auto front = extentOf(run, BLUE, kLeft, kBottom, kCentreX, kCentreY, 0);
    const auto top = extentOf(run, GREEN, kLeft, kCentreY, kCentreX, kTop, 0);
    EXPECT_NEAR(top.first, front.first, 1.0);
    EXPECT_NEAR(top.second, front.second, 1.0);
    const auto frontHeight = extentOf(run, BLUE, kLeft, kBottom, kCentreX, kCentreY, 1);
    const auto right = extentOf(run, RED, kCentreX, kBottom, kRight, kCentreY, 1);
    EXPECT_NEAR(4 * (frontHeight.second - frontHeight.first), front.second - front.first, 2.0);
    EXPECT_NEAR(right.first, frontHeight.first, 1.0);
    EXPECT_NEAR(right.second, frontHeight.second, 1.0);
    EXPECT_GT(run.count(kCentreX, kCentreY, kRight, kTop, is(GREEN)), 500) << "the iso view";
}

// The brick is 4 units wide and 1 high; a scale that asks for more than the drawing holds
// still prints, showing part of the model.
TEST(Page, AtAScaleTheModelPrintsAtItsSize) {
    const struct {
        std::vector<std::string> arguments;
        double width;
    } scales[] = {{{"--scale", "1:1", "--model-unit", "in"}, 101.6},
                  {{"--scale=5", "--views", "front,right"}, 20},
                  {{"--scale", "100:1"}, kRight - kLeft}};
    for (const auto& scale : scales) {
        std::vector<std::string> arguments = scale.arguments;
        arguments.push_back("brick.obj");
        const PrintRun& run = print(arguments);
        const bool fits = scale.width < kRight - kLeft;
        ASSERT_EQ(run.command.status, 0) << run.command.err;
        EXPECT_EQ(run.command.err.empty(), fits) << "a warning when the model does not fit";
        const auto x = extentOf(run, BLUE, kLeft, kBottom, kRight, kTop, 0);
        const auto y = extentOf(run, BLUE, kLeft, kBottom, kRight, kTop, 1);
        EXPECT_NEAR(x.second - x.first, scale.width, 1.5) << testing::PrintToString(arguments);
        if (fits) {
            EXPECT_NEAR(y.second - y.first, scale.width / 4, 1.5);
        }
    }
}

TEST(Page, AddedCameraFillsTheDrawingUpToAMarginInEveryLayout) {
    for (std::vector<std::string> arguments :
         {std::vector<std::string>{"box.obj"},
          {"box.obj", "--landscape"},
          {"box.obj", "--projection", "orthographic"},
          {"turned_cube.tsc", "--view", "iso"},
          {"turned_cube.tsc", "--view", "iso", "--projection", "orthographic"},
          {"tetra.obj", "--view", "iso"},
          // Its front face square on: the corners' depths differ by rounding alone.
          {"tetra.obj", "--view", "iso", "--hidden", "raster"},
          {"tetra.obj", "--view", "1,0.3,0.2", "--projection", "orthographic"}}) {
        const std::string layout = testing::PrintToString(arguments);
        arguments.insert(arguments.end(), {"--border", "0"});
        const PrintRun& run = print(arguments, 36);
        ASSERT_TRUE(run.succeeded()) << layout;
        // The inked extent, in pixels; portrait or landscape, the drawing covers one area.
        const GhostscriptResult::Image& page = run.page.image;
        int x0 = page.width, y0 = page.height, x1 = 0, y1 = 0;
        for (int y = 0; y < page.height; ++y)
            for (int x = 0; x < page.width; ++x)
                if (!page.pixel(x, y).isWhite())
                    x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y),
                    y1 = std::max(y1, y);
        const double mm = 25.4 / page.dpi;
        EXPECT_NEAR(
            std::max((x1 - x0 + 1) * mm / (kRight - kLeft), (y1 - y0 + 1) * mm / (kTop - kBottom)),
            0.9, 0.02)
            << layout;
        EXPECT_NEAR((x0 + x1 + 1) * mm / 2, kCentreX, 2.0) << layout;
    }
}

// Options seen in the document alone: spellings of one value write the same document,
// values that change the drawing another one.
TEST(Page, EquivalentSpellingsWriteOneDocument) {
    const struct {
        std::vector<std::string> a, b;
        bool same;
    } pairs[] = {
        {{"--size", "100x50"}, {"--size", "100x50mm"}, true},
        {{"--size", "100x50"}, {"--size=0.1x0.05m"}, true},
        {{"mark.tsc", "--background", "yellow"}, {"mark.tsc", "--background", "#FFff00"}, true},
        {{"mark.tsc", "--background", "yellow"}, {"mark.tsc", "--background", "1:1:0"}, true},
        {{"line.tsc", "--line-width", "3.175mm"}, {"line.tsc", "--line-width=0.125in"}, true},
        {{"--hidden", "painter"}, {}, true},
        {{"--hidden", "off"}, {}, false},
        {{"--hidden", "sort"}, {"--hidden", "off"}, false},
        {{"--hidden", "visible"}, {"--hidden", "off"}, false},
        {{"--hidden", "raster"}, {"--hidden", "painter"}, false},
        {{"--hidden", "raster", "--raster-quality", "0"}, {"--hidden", "raster"}, false},
        {{"--hidden", "lines", "--dashed"}, {"--hidden", "lines"}, false},
        {{"sphere.tsc", "--smooth"}, {"sphere.tsc"}, false},
        {{"sphere.tsc", "--smooth"}, {"sphere.tsc", "--smooth", "--ps-level", "3"}, true},
        {{"sphere.tsc", "--smooth", "--ps-level", "2"}, {"sphere.tsc", "--ps-level", "2"}, true},
        {{"prism.stl", "--hidden=lines"},
         {"prism.stl", "--hidden=lines", "--edges=feature=30"},
         true},
    };
    for (const auto& pair : pairs) {
        const PrintRun &a = print(pair.a, 0), &b = print(pair.b, 0);
        SCOPED_TRACE(testing::PrintToString(pair.a) + " and " + testing::PrintToString(pair.b));
        EXPECT_EQ(a.command.status, 0) << a.command.err;
        EXPECT_EQ(b.command.status, 0) << b.command.err;
        EXPECT_FALSE(a.document.empty());
        EXPECT_EQ(a.document == b.document, pair.same);
    }
    EXPECT_LT(print({"--accuracy", "1"}, 0).document.size(), print({}, 0).document.size())
        << "coarser units are shorter numbers";
    for (const char* level : {"1", "3"})
        EXPECT_EQ(
            print({"--ps-level", level}, 0).document.rfind(std::string("%!PS-Adobe-") + level, 0),
            0u);
}
