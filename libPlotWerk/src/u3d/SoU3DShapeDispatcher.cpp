// The renderer is chosen once, by the outermost shape: a shape traversed while another is still
// open is drawn in the outer one's style and shares its pending quad, so that the engine sees
// one primitive stream per outermost shape.

#include <PlotWerk/SoU3DShapeDispatcher.h>
#include <Tessara/elements/SoDrawStyleElement.h>
#include <Tessara/misc/SoPreferences.h>

#include "PseudoLigthingNew.h"
#include "PseudoLigthingOff.h"
#include "PseudoLigthingOld.h"
#include "SoU3DDrawStyleInvisible.h"
#include "SoU3DDrawStyleLineWithOffsetQuad.h"
#include "SoU3DDrawStylePoint.h"
#include "SoU3DExportSettings.h"

namespace {

SoToU3DActionPrivate::IPseudoLighting* makePseudoLighting(int choice) {
    switch (choice) {
        case 0:
            return new SoToU3DActionPrivate::PseudoLigthingOld;
        case 1:
            return new SoToU3DActionPrivate::PseudoLigthingNew;
        default:
            return new SoToU3DActionPrivate::PseudoLigthingOff;
    }
}

// Quads are outlined only when asked for; their lines are offset only when an offset is set.
SoU3DShapeDispatcher::Renderer* makeLineRenderer(bool asQuads, float offset) {
    if (!asQuads) return new SoToU3DActionPrivate::SoU3DDrawStyleLine;
    if (offset != 0.0f) return new SoToU3DActionPrivate::SoU3DDrawStyleLineWithOffsetQuad(offset);
    return new SoToU3DActionPrivate::SoU3DDrawStyleLineWithQuad;
}

}  // namespace

SoU3DShapeDispatcher::SoU3DShapeDispatcher(SoToU3DAction* action) : action_(action) {
    const int withDrawStyle = SoPreferences::getInt(SoU3DExportSettings::kWithDrawStyle, 2);
    useDrawStyle_ = withDrawStyle > 0;
    linesAsQuads_ = withDrawStyle == 2;
    pseudoLighting_ =
        makePseudoLighting(SoPreferences::getInt(SoU3DExportSettings::kUsePseudoLighting, 2));
    normalOffset_ = SoPreferences::getFloat(SoU3DExportSettings::kWireframeNormalOffset, 0.0f);
}

SoU3DShapeDispatcher::~SoU3DShapeDispatcher() {
    delete renderer_;
    delete pseudoLighting_;
}

void SoU3DShapeDispatcher::beginShape(SoCallbackAction* action) {
    if (depth_ == 0) renderer_ = makeRenderer(action);
    ++depth_;
}

void SoU3DShapeDispatcher::endShape() {
    --depth_;
    if (depth_ != 0) return;
    delete renderer_;
    renderer_ = nullptr;
}

SoU3DShapeDispatcher::Renderer* SoU3DShapeDispatcher::makeRenderer(SoCallbackAction* action) const {
    const SoDrawStyleElement::Style style =
        useDrawStyle_ ? action->getDrawStyle() : SoDrawStyleElement::FILLED;
    Renderer* renderer = nullptr;
    switch (style) {
        case SoDrawStyleElement::LINES:
            renderer = makeLineRenderer(linesAsQuads_, normalOffset_);
            break;
        case SoDrawStyleElement::POINTS:
            renderer = new SoToU3DActionPrivate::SoU3DDrawStylePoint;
            break;
        case SoDrawStyleElement::INVISIBLE:
            renderer = new SoToU3DActionPrivate::SoU3DDrawStyleInvisible;
            break;
        default:
            renderer = new SoToU3DActionPrivate::SoU3DDrawStyleFilled;
            break;
    }
    renderer->setAction(action_);
    return renderer;
}
