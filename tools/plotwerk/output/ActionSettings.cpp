#include "output/ActionSettings.h"

#include <vector>

#include "output/OutputFormat.h"

namespace {

// In normalised depth, which runs from -1 to 1 over the view volume: ten times the plane
// tolerance of the hidden-surface ordering, so that it clears it on faces seen steeply.
constexpr float kStrokeLift = 1e-3f;

void applyLayout(SoVectorizeAction& action, const PrintOptions& options) {
    if (options.size) {
        action.setDrawingDimensions(*options.size);
    } else if (options.landscape) {
        // A landscape drawing lies across the sheet: the default portrait size turned, so
        // that it covers the same area of the paper.
        const SbVec2f portrait = action.getDrawingDimensions();
        action.setDrawingDimensions(portrait[1], portrait[0]);
    }
    const bool figure = OutputFormat::isEncapsulated(options);
    if (options.position) {
        action.setStartPosition(*options.position);
    } else if (figure) {
        // At the origin a figure lies where the PostScript header's bounding box says: from
        // the origin, as large as the drawing. A document would cut it anywhere else.
        action.setStartPosition(0.0f, 0.0f);
    }
    // A figure turned on its sheet would stand on its side in the document: it is only wide.
    if (options.landscape && !figure) action.setOrientation(SoVectorizeAction::LANDSCAPE);
}

void applyFrame(SoVectorizeAction& action, const PrintOptions& options) {
    float width = 0.0f;
    SbColor color;
    action.getBorder(&width, &color);
    action.setBorder(options.borderWidth.value_or(width), options.borderColor.value_or(color));
    if (options.background) action.setBackgroundColor(1, *options.background);
}

void applyHiddenMode(SoVectorizeAction& action, const PrintOptions& options) {
    action.setHLHSRMode(options.hidden);
    if (options.rasterQuality) action.setHLHSRRasterQuality(*options.rasterQuality);
    if (options.rasterTile) action.setHLHSRRasterTileSize(*options.rasterTile);
    // The command's raster is drawn by Mesa in software, which draws the records themselves
    // as fast as a display list of them, for every tile: the lists only cost their
    // compilation and a copy of the records (a second and 120 MB on a million triangles).
    action.setHLHSRRasterCaching(0);
    // A drawing of lines is a drafter's drawing: no diagonals of flat faces, each edge once.
    // In the order a plotter draws fastest: on paper the order of lines makes no difference.
    if (options.hidden == SoVectorizeAction::HIDDEN_LINES_REMOVAL) {
        action.setHiddenLineFeatureEdges(1, options.featureAngle);
        action.setHiddenLinePenTravelOrder(1);
    }
    // Dashes of 12 nominal widths with gaps of 4, the proportions of a drafter's hidden line.
    if (options.dashedHidden) action.setHiddenLineHiddenPattern(0xFFF0);
    // Lines and marks drawn on a face (its edges, a mesh over a shaded surface) lie in its
    // plane, where the ordering cannot tell which is in front: their neighbours on a curved
    // surface painted over them in patches. Lifted towards the eye by half a thousandth of
    // the depth range, they print over it, as a polygon offset shows them on the screen; only
    // what lies that close behind a face shows through it.
    action.setLineOffset(-kStrokeLift);
    action.setMarkerOffset(-kStrokeLift);
}

void applyShading(SoVectorizeAction& action, const PrintOptions& options) {
    if (options.lighting) action.enableLighting(1);
    if (options.smooth) action.setShadeModel(SoVectorizeAction::SMOOTH);
    if (options.colors) action.setColorTranslationMethod(*options.colors);
    if (options.lineWidth) action.setNominalWidth(*options.lineWidth);
}

// Widths left out take the nominal width, the pen a plain line is drawn with.
void applyPens(SoVectorizeAction& action, const PrintOptions& options) {
    if (options.pens.empty()) return;
    std::vector<SbColor> colors;
    std::vector<float> widths;
    for (const PenChoice& pen : options.pens) {
        colors.push_back(pen.color);
        widths.push_back(pen.width.value_or(action.getNominalWidth()));
    }
    action.setPenDescription(static_cast<int>(colors.size()), colors.data(), widths.data());
}

}  // namespace

void ActionSettings::apply(SoVectorizeAction& action, const PrintOptions& options) {
    applyLayout(action, options);
    applyFrame(action, options);
    applyHiddenMode(action, options);
    applyShading(action, options);
    applyPens(action, options);
}
