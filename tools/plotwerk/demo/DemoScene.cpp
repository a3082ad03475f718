#include "demo/DemoScene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "demo/DemoGeometry.h"

// One orthographic camera whose units are the A4 drawing's millimetres, origin at the
// centre, so every part is placed where it prints there. On another drawing the page prints
// as large as it fits, centred; its 2D text, image, line widths and markers, whose sizes are
// on paper rather than in units of the scene, are sized with it: "@" marks such a size
// below, "^" one that must stay a whole number, and "~" the index of a 9 x 9 marker, which
// becomes the 7 x 7 or 5 x 5 one of the same shape on a smaller page.
// Text and lines are dark grey rather than black: the default colour translation turns pure
// black into white, as a screen's black background becomes white paper.

namespace {

constexpr float kHalfTurn = 3.14159265f;
constexpr float kPageWidth = 190.0f, kPageHeight = 277.0f;

SbRotation turn(float x, float y, float z, float radians) {
    return SbRotation(SbVec3f(x, y, z), radians);
}

// On a drawing taller than wide the camera's height spans the width, otherwise the height.
std::string camera(float width, float height, float scale) {
    char node[128];
    std::snprintf(node, sizeof node,
                  "  OrthographicCamera { position 0 0 400  height %g  nearDistance 1"
                  "  farDistance 800 }\n",
                  std::min(width, height) / scale);
    return node;
}

// The marker set's sizes come in 9, 7 and 5 pixels, each shape's three in a row of indices.
long markerFor(float index9, float scale) {
    const long smaller = scale >= 8.0f / 9.0f ? 0 : scale >= 6.0f / 9.0f ? 1 : 2;
    return std::lround(index9) - smaller;
}

// The page's text with every marked size scaled and the marks gone.
std::string withPaperSizes(const std::string& page, float scale) {
    std::string text;
    size_t from = 0;
    for (size_t at = page.find_first_of("@^~"); at != std::string::npos;
         at = page.find_first_of("@^~", from)) {
        char* end = nullptr;
        const float value = std::strtof(page.c_str() + at + 1, &end);
        char size[32];
        if (page[at] == '@')
            std::snprintf(size, sizeof size, "%g", value * scale);
        else if (page[at] == '^')
            std::snprintf(size, sizeof size, "%ld", std::max(1L, std::lround(value * scale)));
        else
            std::snprintf(size, sizeof size, "%ld", markerFor(value, scale));
        text.append(page, from, at - from).append(size);
        from = static_cast<size_t>(end - page.c_str());
    }
    return text.append(page, from, std::string::npos);
}

const char* const kHeader = R"(#Tessara V1.0 ascii
# The built-in demo scene of the plotwerk command.
Separator {
)";

const char* const kLights = R"(  DirectionalLight { direction -0.45 -0.55 -1 }
  DirectionalLight { direction 0.8 -0.1 -0.6  intensity 0.35 }

  Separator {
    BaseColor { rgb 0.12 0.12 0.14 }
    Translation { translation 0 116 0 }
    Font { name "Helvetica-Bold"  size @40 }
    Text2 { string "PlotWerk"  justification CENTER }
    Translation { translation 0 -12 0 }
    BaseColor { rgb 0.35 0.35 0.4 }
    Font { name "Helvetica"  size @13 }
    Text2 { string "3D scenes printed as vector drawings"  justification CENTER }
  }
)";

std::string placed(float x, float y, const std::string& body) {
    char translation[96];
    std::snprintf(translation, sizeof translation, "  Translation { translation %g %g 0 }\n", x, y);
    return "Separator {\n" + std::string(translation) + body + "}\n";
}

std::string caption(float x, float y, const char* text) {
    char node[256];
    std::snprintf(node, sizeof node,
                  "Separator { BaseColor { rgb 0.25 0.25 0.3 }  Translation { translation %g %g 0 }"
                  "  Font { name \"Helvetica\"  size @10 }"
                  "  Text2 { string \"%s\"  justification CENTER } }\n",
                  x, y, text);
    return node;
}

std::string solids() {
    std::string text;
    text += placed(-58, 68,
                   "Material { diffuseColor 0.2 0.45 0.9  specularColor 0.6 0.6 0.6"
                   "  shininess 0.5 }\n" +
                       DemoGeometry::sphere(23, 36, 18, turn(1, 0, 0, 0.35f)));
    text += placed(0, 68,
                   "Material { diffuseColor 0.85 0.2 0.15 }\n" +
                       DemoGeometry::box(30, 30, 30, turn(0, 1, 0, -0.62f) * turn(1, 0, 0, 0.5f)));
    text += placed(58, 68,
                   "Material { diffuseColor 0.95 0.7 0.15  specularColor 0.7 0.7 0.6"
                   "  shininess 0.6 }\n" +
                       DemoGeometry::torus(17, 7, 40, 20, turn(1, 0, 0, -1.0f)));
    text += caption(-58, 36, "sphere, specular highlight");
    text += caption(0, 36, "box, flat faces");
    text += caption(58, 36, "torus, two lights");
    return text;
}

// The colour key of the surface: a 1 x 16 image stretched into a bar, bottom row first.
std::string colourKey() {
    std::string pixels;
    for (int row = 0; row < 16; ++row) {
        const SbColor c = DemoGeometry::heightColor(static_cast<float>(row) / 15.0f);
        char pixel[16];
        std::snprintf(pixel, sizeof pixel, " 0x%02X%02X%02X", static_cast<int>(c[0] * 255.0f),
                      static_cast<int>(c[1] * 255.0f), static_cast<int>(c[2] * 255.0f));
        pixels += pixel;
    }
    return "Image { image 1 16 3" + pixels +
           "  width ^14  height ^130  horAlignment LEFT  vertAlignment BOTTOM }\n";
}

std::string surface() {
    std::string text =
        placed(-10, -4,
               DemoGeometry::surface(120, 80, 14, 44, 32,
                                     turn(0, 0, 1, 0.45f) * turn(1, 0, 0, -0.33f * kHalfTurn)));
    text += placed(70, -30, colourKey());
    text += R"(Separator {
  BaseColor { rgb 0.25 0.25 0.3 }
  Font { name "Helvetica"  size @9 }
  Translation { translation 77 13 0 }
  Text2 { string "high" }
  Translation { translation 0 -43 0 }
  Text2 { string "low" }
}
)";
    text += caption(0, -47, "surface coloured per vertex, an image as its key");
    return text;
}

// The chart's frame: axes, dashed grid and tick labels, in the chart's own millimetres
// (origin at the lower-left corner of the plot area, 130 x 50).
const char* const kChartFrame = R"scene(  Separator {
    BaseColor { rgb 0.7 0.7 0.75 }
    DrawStyle { linePattern 0xCCCC  lineWidth @1 }
    Coordinate3 { point [ 0 12.5 0, 130 12.5 0, 0 25 0, 130 25 0, 0 37.5 0, 130 37.5 0,
                          0 50 0, 130 50 0, 43.33 0 0, 43.33 50 0, 86.67 0 0, 86.67 50 0,
                          130 0 0, 130 50 0 ] }
    LineSet { numVertices [ 2, 2, 2, 2, 2, 2, 2 ] }
  }
  Separator {
    BaseColor { rgb 0.15 0.15 0.18 }
    DrawStyle { lineWidth @2 }
    Coordinate3 { point [ 0 54 0, 0 0 0, 134 0 0 ] }
    LineSet { numVertices 3 }
    Font { name "Helvetica"  size @8 }
    Translation { translation 0 -5 0 }
    Text2 { string "0"  justification CENTER }
    Translation { translation 43.33 0 0 }
    Text2 { string "1"  justification CENTER }
    Translation { translation 43.33 0 0 }
    Text2 { string "2"  justification CENTER }
    Translation { translation 43.33 0 0 }
    Text2 { string "3"  justification CENTER }
    # Annotation text: outline text that prints as text, never hidden by the scene.
    Font { name "Helvetica-Oblique"  size 3.5 }
    Translation { translation 6 4 0 }
    AnnoText3 { string "t" }
    Translation { translation -138 51 0 }
    AnnoText3 { string "f(t)"  justification RIGHT }
  }
)scene";

// `count` points of y = f(x) over the chart's width, as a coordinate node.
template <class Function>
std::string seriesPoints(int count, Function f) {
    std::string text = "    Coordinate3 { point [";
    for (int i = 0; i < count; ++i) {
        const float x = 130.0f * static_cast<float>(i) / static_cast<float>(count - 1);
        char point[48];
        std::snprintf(point, sizeof point, "%s %.2f %.2f 0", i ? "," : "", x, f(x / 43.33f));
        text += point;
    }
    return text + " ] }\n";
}

std::string series(const char* color, const char* style, int marker, const std::string& points,
                   int count) {
    char text[512];
    std::snprintf(text, sizeof text,
                  "  Separator {\n    BaseColor { rgb %s }\n    DrawStyle { %s }\n%s"
                  "    LineSet { numVertices %d }\n    MarkerSet { markerIndex ~%d }\n  }\n",
                  color, style, points.c_str(), count, marker);
    return text;
}

std::string chart() {
    std::string text = "Separator {\n  Translation { translation -74 -120 0 }\n";
    text += kChartFrame;
    const int count = 13;
    text += series("0.15 0.35 0.8", "lineWidth @2", 14,
                   seriesPoints(count, [](float t) { return 25.0f + 20.0f * std::sin(2.1f * t); }),
                   count);
    text += series("0.85 0.2 0.15", "lineWidth @2  linePattern 0xFF00", 32,
                   seriesPoints(count,
                                [](float t) {
                                    return 25.0f + 22.0f * std::exp(-0.6f * t) * std::cos(3.0f * t);
                                }),
                   count);
    text += series("0.1 0.55 0.25", "lineWidth @1.5  linePattern 0xFF18", 20,
                   seriesPoints(count, [](float t) { return 6.0f + 12.0f * t; }), count);
    text += R"(  Separator {
    Font { name "Helvetica"  size @8 }
    BaseColor { rgb 0.15 0.35 0.8 }
    Translation { translation 136 44 0 }
    Text2 { string "sin: solid, circles" }
    BaseColor { rgb 0.85 0.2 0.15 }
    Translation { translation 0 -6 0 }
    Text2 { string "damped: dashed" }
    BaseColor { rgb 0.1 0.55 0.25 }
    Translation { translation 0 -6 0 }
    Text2 { string "linear: dash-dot" }
  }
}
)";
    text += caption(0, -133, "lines with widths and dash patterns, markers, text");
    return text;
}

const char* const kFooter = "}\n";

}  // namespace

std::string demoSceneText(float width, float height) {
    if (!(width > 0.0f && height > 0.0f)) width = kPageWidth, height = kPageHeight;
    const float scale = std::min(width / kPageWidth, height / kPageHeight);
    return withPaperSizes(
        kHeader + camera(width, height, scale) + kLights + solids() + surface() + chart() + kFooter,
        scale);
}
