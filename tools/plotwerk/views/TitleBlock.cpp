#include "views/TitleBlock.h"

#include <Tessara/nodes/SoBaseColor.h>
#include <Tessara/nodes/SoFont.h>
#include <Tessara/nodes/SoOrthographicCamera.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoText2.h>
#include <Tessara/nodes/SoTranslation.h>

#include <algorithm>

namespace {

constexpr float kHeight = 14.0f;         // millimetres
constexpr float kIndent = 4.0f;          // millimetres from the strip's ends
constexpr float kBaseline = -1.8f;       // millimetres from the strip's middle: capitals centred
constexpr float kPoint = 25.4f / 72.0f;  // millimetres
constexpr const char* kTitleFont = "Helvetica-Bold";
constexpr float kTitlePoints = 14.0f;
// The smallest a long title prints: small print on a drawing, still read without a lens.
// Anything longer is cut at the frame.
constexpr float kLeastTitlePoints = 6.0f;
constexpr const char* kScaleFont = "Helvetica";
constexpr float kScalePoints = 10.0f;

// The width of a line of text in millimetres, at a size in points.
float widthOf(const std::string& text, const char* font, float points) {
    return SoFont::getLineWidth(SbName(font), points * kPoint, SbString(text.c_str()));
}

// The title's size in points: the full size when it fits the room, else as much as fits.
float titlePoints(const std::string& title, float room) {
    const float width = widthOf(title, kTitleFont, kTitlePoints);
    if (width <= room) return kTitlePoints;
    return std::max(kLeastTitlePoints, kTitlePoints * room / width);
}

// Text at a place of the strip: `x` from its middle, left or right aligned; `size` in the
// units of font size.
SoSeparator* textAt(float x, const std::string& text, const char* font, float size,
                    SoText2::Justification justification) {
    auto* part = new SoSeparator;
    auto* place = new SoTranslation;
    place->translation = SbVec3f(x, kBaseline, 0.0f);
    auto* face = new SoFont;
    face->name = font;
    face->size = size;
    auto* line = new SoText2;
    line->string = text.c_str();
    line->justification = justification;
    part->addChild(place);
    part->addChild(face);
    part->addChild(line);
    return part;
}

}  // namespace

float TitleBlock::heightFor(const SbVec2f& drawingSize) {
    return std::min(kHeight, drawingSize[1] / 4.0f);
}

// Dark grey rather than black: the default colour translation turns black into white.
SoSeparator* TitleBlock::scene(const std::string& title, const std::string& scale,
                               const SbVec2f& stripSize, float textUnit) {
    auto* root = new SoSeparator;
    root->ref();
    auto* camera = new SoOrthographicCamera;
    camera->position = SbVec3f(0.0f, 0.0f, 10.0f);
    camera->height = std::min(stripSize[0], stripSize[1]);
    camera->farDistance = 20.0f;
    root->addChild(camera);
    auto* ink = new SoBaseColor;
    ink->rgb = SbColor(0.1f, 0.1f, 0.12f);
    root->addChild(ink);
    const float half = stripSize[0] / 2.0f;
    const float perPoint = kPoint / textUnit;
    float room = stripSize[0] - 2.0f * kIndent;
    if (!scale.empty()) {
        const std::string text = "Scale " + scale;
        room -= widthOf(text, kScaleFont, kScalePoints) + kIndent;
        root->addChild(
            textAt(half - kIndent, text, kScaleFont, kScalePoints * perPoint, SoText2::RIGHT));
    }
    root->addChild(textAt(kIndent - half, title, kTitleFont, titlePoints(title, room) * perPoint,
                          SoText2::LEFT));
    return root;
}
