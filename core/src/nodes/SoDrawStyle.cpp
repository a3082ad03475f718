#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoDrawStyleElement.h>
#include <Tessara/elements/SoLinePatternElement.h>
#include <Tessara/elements/SoLineWidthElement.h>
#include <Tessara/elements/SoOverrideElement.h>
#include <Tessara/elements/SoPointSizeElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoDrawStyle.h>

SO_NODE_SOURCE(SoDrawStyle, SoNode)
const SoEnumEntry SoDrawStyle::styleEnums[4] = {
    {"FILLED", 0}, {"LINES", 1}, {"POINTS", 2}, {"INVISIBLE", 3}};

SoDrawStyle::SoDrawStyle() {
    SO_NODE_CONSTRUCTOR(SoDrawStyle);
    addField("style", style);
    addField("lineWidth", lineWidth);
    addField("linePattern", linePattern);
    addField("linePatternScaleFactor", linePatternScaleFactor);
    addField("pointSize", pointSize);
}

SoDrawStyle::~SoDrawStyle() = default;

void SoDrawStyle::doAction(SoAction* action) {
    SoState* state = action->getState();
    using O = SoOverrideElement;
    if (!style.isIgnored() && O::mayChange(state, this, O::DRAW_STYLE))
        SoDrawStyleElement::set(state, static_cast<SoDrawStyleElement::Style>(style.getValue()));
    if (!lineWidth.isIgnored() && O::mayChange(state, this, O::LINE_WIDTH))
        SoLineWidthElement::set(state, lineWidth.getValue());
    if (!linePattern.isIgnored() && O::mayChange(state, this, O::LINE_PATTERN))
        SoLinePatternElement::set(state, this, linePattern.getValue(),
                                  linePatternScaleFactor.getValue());
    if (!pointSize.isIgnored() && O::mayChange(state, this, O::POINT_SIZE))
        SoPointSizeElement::set(state, pointSize.getValue());
}
