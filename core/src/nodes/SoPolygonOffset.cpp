#include <Tessara/actions/SoAction.h>
#include <Tessara/elements/SoOverrideElement.h>
#include <Tessara/elements/SoPolygonOffsetElement.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoPolygonOffset.h>

SO_NODE_SOURCE(SoPolygonOffset, SoNode)
const SoEnumEntry SoPolygonOffset::styleEnums[3] = {{"FILLED", 1}, {"LINES", 2}, {"POINTS", 4}};

SoPolygonOffset::SoPolygonOffset() {
    SO_NODE_CONSTRUCTOR(SoPolygonOffset);
    addField("factor", factor);
    addField("units", units);
    addField("styles", styles);
    addField("on", on);
}

SoPolygonOffset::~SoPolygonOffset() = default;

void SoPolygonOffset::doAction(SoAction* action) {
    SoState* state = action->getState();
    if (SoOverrideElement::mayChange(state, this, SoOverrideElement::POLYGON_OFFSET))
        SoPolygonOffsetElement::set(state, this, factor.getValue(), units.getValue(),
                                    styles.getValue(), on.getValue());
}
