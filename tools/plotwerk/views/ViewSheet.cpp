#include "views/ViewSheet.h"

#include <PlotWerk/SoVectorizeAction.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/nodes/SoOrthographicCamera.h>
#include <Tessara/nodes/SoSeparator.h>

#include <algorithm>
#include <cmath>

#include "CommandError.h"
#include "NodeRef.h"
#include "options/OptionValue.h"
#include "views/Latin1Texts.h"
#include "views/TitleBlock.h"
#include "views/ViewSetup.h"

namespace {

// The title and the scene's texts as the drawing can print them, and a word where characters
// are lost: in PostScript, and in the hidden-surface modes (for the scene's texts).
PrintOptions inLatin1For(const SoVectorizeAction& action, const PrintOptions& options,
                         SoSeparator* scene) {
    const bool postScript = dynamic_cast<const SoVectorizePSAction*>(&action) != nullptr;
    const bool hidden = options.hidden != SoVectorizeAction::HLHSR_OFF;
    if (!postScript && !hidden) return options;
    PrintOptions latin = options;
    bool lost = Latin1Texts::beyond(scene, postScript);
    if (postScript && SbString(options.title).isUnicode()) {
        latin.title = Latin1Texts::of(SbString(options.title)).getStdString();
        lost = true;
    }
    if (lost)
        SoDebugError::postWarning("ViewSheet::draw",
                                  postScript ? "Characters beyond Latin-1 print as \"?\" in "
                                               "PostScript; PDF, SVG and EMF print them"
                                             : "Characters beyond Latin-1 in the scene's texts "
                                               "print as \"?\" unless --hidden is off");
    return latin;
}

/// The grid for n views: as many columns as rows, or one more.
SbVec2f gridFor(size_t n) {
    const auto columns = static_cast<size_t>(std::ceil(std::sqrt(double(n))));
    return SbVec2f(float(columns), float((n + columns - 1) / columns));
}

/// Each view holds the scene below a camera and headlight of its own.
std::vector<NodeRef<SoSeparator>> viewsOf(SoSeparator* scene, const PrintOptions& options,
                                          const SbVec2f& cell) {
    std::vector<NodeRef<SoSeparator>> views;
    if (options.views.empty()) {
        ViewSetup::complete(scene, cell, options, options.view);
        views.emplace_back(scene);
        return views;
    }
    std::vector<SoOrthographicCamera*> principal;
    float height = 0.0f;
    for (const std::string& side : options.views) {
        ViewDirection direction = options.view;
        direction.choose("--views", side);
        NodeRef<SoSeparator> view(new SoSeparator);
        view->addChild(scene);
        ViewSetup::complete(view.get(), cell, options, direction);
        auto* camera = dynamic_cast<SoOrthographicCamera*>(view->getChild(0));
        if (camera && direction.principal()) {
            principal.push_back(camera);
            height = std::max(height, camera->height.getValue());
        }
        views.push_back(std::move(view));
    }
    // One scale for the projections a drafter lines up: the one that fits them all.
    for (SoOrthographicCamera* camera : principal) camera->height = height;
    return views;
}

}  // namespace

std::vector<std::string> ViewSheet::parse(const std::string& option, const std::string& text) {
    std::vector<std::string> sides;
    size_t start = 0;
    for (size_t comma; start <= text.size(); start = comma + 1) {
        comma = std::min(text.find(',', start), text.size());
        sides.push_back(text.substr(start, comma - start));
        if (!ViewDirection::isNamed(sides.back()))
            OptionValue::fail(
                option, text,
                "expected front, back, left, right, top, bottom or iso between commas");
    }
    if (sides.size() > kMostViews)
        OptionValue::fail(option, text, "more than " + std::to_string(kMostViews) + " views");
    return sides;
}

std::vector<ViewSheet::Part> ViewSheet::layout(SoSeparator* scene, const PrintOptions& options,
                                               const SbVec2f& size, float textUnit) {
    const float strip = options.title.empty() ? 0.0f : TitleBlock::heightFor(size);
    if (!options.views.empty() && ViewSetup::hasCamera(scene))
        throw CommandError("--views gives each view a camera: the scene has one of its own");
    const SbVec2f grid = gridFor(std::max<size_t>(options.views.size(), 1));
    const SbVec2f cell(size[0] / grid[0], (size[1] - strip) / grid[1]);
    std::vector<Part> parts;
    for (NodeRef<SoSeparator>& view : viewsOf(scene, options, cell)) {
        const size_t i = parts.size();
        const float column = float(i % size_t(grid[0])), row = float(i / size_t(grid[0]));
        const SbVec2f origin(column * cell[0], strip + (grid[1] - 1.0f - row) * cell[1]);
        parts.push_back({std::move(view), origin, cell});
    }
    if (strip > 0.0f) {
        const SbVec2f stripSize(size[0], strip);
        NodeRef<SoSeparator> title(
            TitleBlock::scene(options.title, options.scaleText, stripSize, textUnit));
        title->unref();  // the holder keeps its own reference
        parts.push_back({std::move(title), SbVec2f(0.0f, 0.0f), stripSize, true});
    }
    return parts;
}

void ViewSheet::draw(SoVectorizeAction& action, SoSeparator* scene, const PrintOptions& given) {
    const PrintOptions options = inLatin1For(action, given, scene);
    const SbVec2f size = action.getDrawingDimensions();
    const std::vector<Part> parts = layout(scene, options, size, action.getNominalWidth());
    // One part fills the drawing: no page needed.
    if (parts.size() == 1) {
        action.apply(parts[0].scene.get());
        return;
    }
    action.beginPage(action.getStartPosition(), size);
    for (const Part& part : parts) {
        action.setDrawingDimensions(part.size);
        action.setStartPosition(part.origin);
        // Every apply ends in traversal order; each view asks again.
        action.setHLHSRMode(part.flat ? SoVectorizeAction::HLHSR_OFF : options.hidden);
        action.apply(part.scene.get());
    }
    action.endPage();
}
