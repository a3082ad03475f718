#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoFontNameElement.h>
#include <Tessara/elements/SoFontRenderStyleElement.h>
#include <Tessara/elements/SoFontSizeElement.h>
#include <Tessara/elements/SoOverrideElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoFont.h>

#include "text/SoFontLibrary.h"
#include "text/SoTextGeometry.h"

SO_NODE_SOURCE(SoFont, SoNode)
const SoEnumEntry SoFont::renderStyleEnums[4] = {
    {"POLYGON", 0}, {"TEXTURE", 1}, {"TEXTURE_DELAYED", 2}, {"POLYGON_AND_OUTLINE", 3}};

SoFont::SoFont() {
    SO_NODE_CONSTRUCTOR(SoFont);
    addField("name", name);
    addField("size", size);
    addField("renderStyle", renderStyle);
}

SoFont::~SoFont() = default;

void SoFont::doAction(SoAction* action) {
    SoState* state = action->getState();
    using O = SoOverrideElement;
    if (!name.isIgnored() && O::mayChange(state, this, O::FONT_NAME))
        SoFontNameElement::set(state, this, name.getValue());
    if (!size.isIgnored() && O::mayChange(state, this, O::FONT_SIZE))
        SoFontSizeElement::set(state, size.getValue());
    if (!renderStyle.isIgnored() && !renderStyle.isDefault() &&
        O::mayChange(state, this, O::FONT_RENDER_STYLE))
        SoFontRenderStyleElement::set(
            state, static_cast<SoFontRenderStyleElement::Style>(renderStyle.getValue()));
}

// The outlines come at their coarsest: only the advances count here.
float SoFont::getLineWidth(const SbName& fontName, float size, const SbString& text) {
    std::vector<SoFontLibrary::ShapedLine> lines;
    if (!SoFontLibrary::instance().shapeLines(fontName.getString(), {SoTextGeometry::toUtf32(text)},
                                              2, lines))
        return 0.0f;
    return lines.front().advance * size;
}
