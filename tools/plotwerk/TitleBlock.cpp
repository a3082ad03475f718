#include "TitleBlock.h"

#include <Tessara/nodes/SoBaseColor.h>
#include <Tessara/nodes/SoFont.h>
#include <Tessara/nodes/SoOrthographicCamera.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoText2.h>
#include <Tessara/nodes/SoTranslation.h>

#include <algorithm>

namespace {

constexpr float kHeight = 14.0f;    // millimetres
constexpr float kIndent = 4.0f;     // millimetres from the strip's ends
constexpr float kBaseline = -1.8f;  // millimetres from the strip's middle: capitals centred

// Text at a place of the strip: `x` from its middle, left or right aligned.
SoSeparator* textAt(float x, const std::string& text, const char* font, float points,
                    SoText2::Justification justification) {
    auto* part = new SoSeparator;
    auto* place = new SoTranslation;
    place->translation = SbVec3f(x, kBaseline, 0.0f);
    auto* face = new SoFont;
    face->name = font;
    face->size = points;
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
                               const SbVec2f& stripSize) {
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
    root->addChild(textAt(kIndent - half, title, "Helvetica-Bold", 14.0f, SoText2::LEFT));
    if (!scale.empty())
        root->addChild(
            textAt(half - kIndent, "Scale " + scale, "Helvetica", 10.0f, SoText2::RIGHT));
    return root;
}
