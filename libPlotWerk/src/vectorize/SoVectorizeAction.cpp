// The vectorizing action: registration, settings and page model, the apply sequence, the
// viewport bookkeeping, colours and pens. The traversal callbacks, clipping and lighting
// live in helper classes of their own (SoVectorizeCallbacks, SoVectorClipper,
// SoVectorLighting); the default print operations write a readable trace to standard output.

#include <PlotWerk/SoVectorOutput.h>
#include <PlotWerk/SoVectorizeAction.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/elements/SoViewportRegionElement.h>
#include <Tessara/misc/SoPreferences.h>
#include <Tessara/misc/SoState.h>
#include <Tessara/nodes/SoMarkerSet.h>

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <initializer_list>

#include "SoPenChoice.h"
#include "SoVectorCapture.h"
#include "SoVectorClipper.h"
#include "SoVectorLighting.h"
#include "SoVectorizeCallbacks.h"
#include "frame/SoBackendActionSource.h"
#include "hlhsr/SoHLHSRVectorize.h"

namespace {
// Process-wide: the last constructed action's reading of the preference wins.
int blackAndWhite = 0;
}  // namespace

PW_ACTION_SOURCE(SoVectorizeAction, SoAction)

// ---- Construction ----

SoVectorizeAction::SoVectorizeAction()
    : capture_(std::make_unique<SoVectorCapture>()),
      lighting_(std::make_unique<SoVectorLighting>(this)),
      clipper_(std::make_unique<SoVectorClipper>(this)) {
    checkRegistration();
    blackAndWhite = SoPreferences::getBool("VXN_PW_BLACK_AND_WHITE", false) ? 1 : 0;
}

SoVectorizeAction::SoVectorizeAction(const SoVectorizeAction& other) : SoVectorizeAction() {
    SoAction::operator=(other);
    copySettings(other);
}

SoVectorizeAction& SoVectorizeAction::operator=(const SoVectorizeAction& other) {
    if (this == &other) return *this;
    SoAction::operator=(other);
    copySettings(other);
    return *this;
}

// What an application sets is copied; what one apply or one page builds (capture buffers,
// lights, clip state, delayed annotations, the page in progress) stays with its action.
void SoVectorizeAction::copySettings(const SoVectorizeAction& other) {
    borderWidth_ = other.borderWidth_;
    borderColor_ = other.borderColor_;
    backgroundEnabled_ = other.backgroundEnabled_;
    backgroundColor_ = other.backgroundColor_;
    nominalWidth_ = other.nominalWidth_;
    linePatternSize_ = other.linePatternSize_;
    pixelImageSize_ = other.pixelImageSize_;
    penCount_ = other.penCount_;
    penColors_ = other.penColors_;
    penWidths_ = other.penWidths_;
    colorPriority_ = other.colorPriority_;
    lineEndStyle_ = other.lineEndStyle_;
    lineJoinsStyle_ = other.lineJoinsStyle_;
    miterLimit_ = other.miterLimit_;
    pageSize_ = other.pageSize_;
    pagePosition_ = other.pagePosition_;
    startPosition_ = other.startPosition_;
    orientation_ = other.orientation_;
    drawingWidth_ = other.drawingWidth_;
    drawingHeight_ = other.drawingHeight_;
    viewportRegion_ = other.viewportRegion_;
    colorTranslationMethod_ = other.colorTranslationMethod_;
    hlhsrMode_ = other.hlhsrMode_;
    hlhsrRasterQuality_ = other.hlhsrRasterQuality_;
    hlhsrRasterCaching_ = other.hlhsrRasterCaching_;
    hlhsrRasterTileSize_ = other.hlhsrRasterTileSize_;
    featureEdges_ = other.featureEdges_;
    featureAngle_ = other.featureAngle_;
    hiddenPattern_ = other.hiddenPattern_;
    penTravelOrder_ = other.penTravelOrder_;
    lightingEnabled_ = other.lightingEnabled_;
    shadeModel_ = other.shadeModel_;
    polygonOffset_ = other.polygonOffset_;
    lineOffset_ = other.lineOffset_;
    markerOffset_ = other.markerOffset_;
    projectionSource_ = other.projectionSource_;
}

SoVectorizeAction::~SoVectorizeAction() {
    // A backend's overrides are gone by now: an open page is ended by the backend's own
    // destructor when it needs its footer; here only the base bookkeeping remains.
    if (inPage_) inPage_ = 0;
    delete hlhsr_;
}

namespace {

/// Whether every value is a finite number. A setting given anything else keeps its value,
/// with an error posted: it would reach the files as "nan" or "inf".
bool allFinite(const char* setter, std::initializer_list<float> values) {
    for (float value : values) {
        if (std::isfinite(value)) continue;
        SoDebugError::post(setter, "A value that is not a finite number is ignored");
        return false;
    }
    return true;
}

/// Whether every length (millimetres) is finite and no longer than a sheet can be.
bool onASheet(const char* setter, std::initializer_list<float> lengths) {
    if (!allFinite(setter, lengths)) return false;
    for (float length : lengths) {
        if (std::fabs(length) <= SoVectorizeAction::kLongestLength) continue;
        SoDebugError::post(setter, "A length of %g mm is beyond any sheet (at most %g mm): ignored",
                           double(length), double(SoVectorizeAction::kLongestLength));
        return false;
    }
    return true;
}

/// Whether `value` is a length above 0 on a sheet; when not, posts why the setting keeps its
/// value.
bool positive(const char* setter, const char* what, float value) {
    if (!onASheet(setter, {value})) return false;
    if (value > 0.0f) return true;
    SoDebugError::post(setter, "%s must be more than 0: %g is ignored", what, double(value));
    return false;
}

}  // namespace

SoVectorOutput* SoVectorizeAction::getVectorOutput() const {
    return vectorOutput_;
}

void SoVectorizeAction::adoptOutput(SoVectorOutput* output, void (*settle)(SoVectorizeAction*)) {
    vectorOutput_ = output;
    settleOutput_ = settle ? settle : endOpenPage;
    if (!output) return;
    // The action outlives its output: each backend owns the output it adopts.
    output->settle_ = [](void* action) {
        auto* self = static_cast<SoVectorizeAction*>(action);
        self->settleOutput_(self);
    };
    output->settleData_ = this;
}

void SoVectorizeAction::endOpenPage(SoVectorizeAction* action) {
    if (action->isInPage()) action->endPage();
}

// ---- Units and page layout ----

float SoVectorizeAction::unitsToMillimeters(float value, DimensionUnit unit) {
    switch (unit) {
        case INCH:
            return value * 25.4f;
        case MILLIMETER:
            return value;
        case METER:
            return value * 1000.0f;
    }
    return 0.0f;
}

float SoVectorizeAction::millimetersToUnits(float value, DimensionUnit unit) {
    switch (unit) {
        case INCH:
            return value / 25.4f;
        case MILLIMETER:
            return value;
        case METER:
            return value / 1000.0f;
    }
    return 0.0f;
}

void SoVectorizeAction::beginPage(const SbVec2f& start, const SbVec2f& size, DimensionUnit unit) {
    inPage_ = 1;
    headerPending_ = 1;
    const SbVec2f position(unitsToMillimeters(start[0], unit), unitsToMillimeters(start[1], unit));
    const SbVec2f extent(unitsToMillimeters(size[0], unit), unitsToMillimeters(size[1], unit));
    if (!onASheet("SoVectorizeAction::beginPage", {position[0], position[1], extent[0], extent[1]}))
        return;
    pagePosition_ = position;
    pageSize_ = extent;
}

void SoVectorizeAction::endPage() {
    writeFooter();
    inPage_ = 0;
    headerPending_ = 1;
}

void SoVectorizeAction::setDrawingDimensions(const SbVec2f& d, DimensionUnit u) {
    setDrawingDimensions(d[0], d[1], u);
}

void SoVectorizeAction::setDrawingDimensions(float w, float h, DimensionUnit u) {
    const float width = unitsToMillimeters(w, u), height = unitsToMillimeters(h, u);
    if (!onASheet("SoVectorizeAction::setDrawingDimensions", {width, height})) return;
    drawingWidth_ = width;
    drawingHeight_ = height;
    if (!inPage_) pageSize_.setValue(drawingWidth_, drawingHeight_);
}

SbVec2f SoVectorizeAction::getDrawingDimensions(DimensionUnit u) const {
    return SbVec2f(millimetersToUnits(drawingWidth_, u), millimetersToUnits(drawingHeight_, u));
}

void SoVectorizeAction::setStartPosition(const SbVec2f& p, DimensionUnit u) {
    setStartPosition(p[0], p[1], u);
}

void SoVectorizeAction::setStartPosition(float x, float y, DimensionUnit u) {
    const SbVec2f position(unitsToMillimeters(x, u), unitsToMillimeters(y, u));
    if (!onASheet("SoVectorizeAction::setStartPosition", {position[0], position[1]})) return;
    startPosition_ = position;
    if (!inPage_) pagePosition_ = startPosition_;
}

SbVec2f SoVectorizeAction::getStartPosition(DimensionUnit u) const {
    return SbVec2f(millimetersToUnits(startPosition_[0], u),
                   millimetersToUnits(startPosition_[1], u));
}

float SoVectorizeAction::getOffsetX() const {
    return inPage_ ? pagePosition_[0] + startPosition_[0] : pagePosition_[0];
}

float SoVectorizeAction::getOffsetY() const {
    return inPage_ ? pagePosition_[1] + startPosition_[1] : pagePosition_[1];
}

float SoVectorizeAction::getViewportWidth() const {
    return drawingWidth_ * viewportRegion_.getViewportSize()[0];
}

float SoVectorizeAction::getViewportHeight() const {
    return drawingHeight_ * viewportRegion_.getViewportSize()[1];
}

// ---- Simple settings ----

void SoVectorizeAction::setOrientation(Orientation o) {
    orientation_ = o;
}
SoVectorizeAction::Orientation SoVectorizeAction::getOrientation() const {
    return static_cast<Orientation>(orientation_);
}

void SoVectorizeAction::setBorder(float width, SbColor color) {
    if (!allFinite("SoVectorizeAction::setBorder", {width})) return;
    borderWidth_ = width;
    borderColor_ = color;
}

void SoVectorizeAction::setBorder(float width) {
    setBorder(width, SbColor(1, 1, 1));
}

void SoVectorizeAction::getBorder(float* width, SbColor* color) const {
    if (width) *width = borderWidth_;
    if (color) *color = borderColor_;
}

void SoVectorizeAction::setBackgroundColor(int enable, SbColor color) {
    backgroundEnabled_ = enable;
    backgroundColor_ = color;
}

void SoVectorizeAction::setBackgroundColor(int enable) {
    setBackgroundColor(enable, SbColor(0, 0, 0));
}

int SoVectorizeAction::getBackgroundColor(SbColor* color) const {
    if (color) *color = backgroundColor_;
    return backgroundEnabled_;
}

void SoVectorizeAction::setNominalWidth(float w, DimensionUnit u) {
    // The unit of every line width and of text sizes, which are divided by it.
    const float width = unitsToMillimeters(w, u);
    if (positive("SoVectorizeAction::setNominalWidth", "A nominal width", width))
        nominalWidth_ = width;
}
float SoVectorizeAction::getNominalWidth(DimensionUnit u) const {
    return millimetersToUnits(nominalWidth_, u);
}

void SoVectorizeAction::fillBackground() {
    if (!backgroundEnabled_) return;
    const float w = drawingWidth_, h = drawingHeight_;
    const SbVec4f corners[4] = {{0, 0, 0, 1}, {w, 0, 0, 1}, {w, h, 0, 1}, {0, h, 0, 1}};
    const SbColor translated = translateColor(backgroundColor_);
    printPolygon(corners, 4, &translated, 0, SbString(), SbString(), nullptr);
}

void SoVectorizeAction::outlineBorder() {
    if (!(borderWidth_ > 0.0f)) return;
    const float w = drawingWidth_, h = drawingHeight_;
    const SbVec4f corners[5] = {
        {0, 0, 0, 1}, {w, 0, 0, 1}, {w, h, 0, 1}, {0, h, 0, 1}, {0, 0, 0, 1}};
    const SbColor translated = translateColor(borderColor_);
    printPolyLine(corners, 5, &translated, 0, borderWidth_, 0xFFFF, 1);
}

float SoVectorizeAction::getPrintedWidth(float nominalWidths) const {
    if (nominalWidths == 0.0f) return nominalWidth_;
    if (!(nominalWidths > 0.0f) || std::isinf(nominalWidths)) {
        SoDebugError::postWarning("SoVectorizeAction::getPrintedWidth",
                                  "A line width or point size of %g is no width: one nominal "
                                  "width printed",
                                  double(nominalWidths));
        return nominalWidth_;
    }
    const float millimetres = nominalWidths * nominalWidth_;
    if (millimetres <= kLongestLength) return millimetres;
    SoDebugError::postWarning("SoVectorizeAction::getPrintedWidth",
                              "A line width or point size of %g mm is beyond any sheet: %g mm "
                              "printed",
                              double(millimetres), double(kLongestLength));
    return kLongestLength;
}

void SoVectorizeAction::setLinePatternSize(float s, DimensionUnit u) {
    // Dashes of no length are no pattern, and PostScript refuses them.
    const float size = unitsToMillimeters(s, u);
    if (positive("SoVectorizeAction::setLinePatternSize", "A line pattern size", size))
        linePatternSize_ = size;
}
float SoVectorizeAction::getLinePatternSize(DimensionUnit u) const {
    return millimetersToUnits(linePatternSize_, u);
}

void SoVectorizeAction::setPixelImageSize(float s, DimensionUnit u) {
    const float size = unitsToMillimeters(s, u);
    if (onASheet("SoVectorizeAction::setPixelImageSize", {size})) pixelImageSize_ = size;
}
float SoVectorizeAction::getPixelImageSize(DimensionUnit u) const {
    return millimetersToUnits(pixelImageSize_, u);
}

void SoVectorizeAction::setColorTranslationMethod(ColorTranslationMethod m) {
    colorTranslationMethod_ = m;
}
SoVectorizeAction::ColorTranslationMethod SoVectorizeAction::getColorTranslationMethod() const {
    return static_cast<ColorTranslationMethod>(colorTranslationMethod_);
}

void SoVectorizeAction::setLineEndStyle(EndLineStyle s) {
    lineEndStyle_ = s;
}
SoVectorizeAction::EndLineStyle SoVectorizeAction::getLineEndStyle() const {
    return static_cast<EndLineStyle>(lineEndStyle_);
}

void SoVectorizeAction::setLineJoinsStyle(JoinLineStyle s) {
    lineJoinsStyle_ = s;
}
SoVectorizeAction::JoinLineStyle SoVectorizeAction::getLineJoinsStyle() const {
    return static_cast<JoinLineStyle>(lineJoinsStyle_);
}

void SoVectorizeAction::setMiterLimit(float limit) {
    if (allFinite("SoVectorizeAction::setMiterLimit", {limit})) miterLimit_ = std::max(limit, 1.0f);
}
float SoVectorizeAction::getMiterLimit() const {
    return miterLimit_;
}

void SoVectorizeAction::setColorPriority(int priority) {
    colorPriority_ = priority;
}
int SoVectorizeAction::getColorPriority() const {
    return colorPriority_;
}

void SoVectorizeAction::setHLHSRMode(HLHSRMode mode) {
    hlhsrMode_ = mode;
}
SoVectorizeAction::HLHSRMode SoVectorizeAction::getHLHSRMode() const {
    return static_cast<HLHSRMode>(hlhsrMode_);
}
void SoVectorizeAction::setHLHSRRasterQuality(float q) {
    if (allFinite("SoVectorizeAction::setHLHSRRasterQuality", {q})) hlhsrRasterQuality_ = q;
}
float SoVectorizeAction::getHLHSRRasterQuality() const {
    return hlhsrRasterQuality_;
}
void SoVectorizeAction::setHLHSRRasterCaching(int c) {
    hlhsrRasterCaching_ = c;
}
int SoVectorizeAction::getHLHSRRasterCaching() const {
    return hlhsrRasterCaching_;
}
void SoVectorizeAction::setHiddenLineFeatureEdges(int enable, float angle) {
    featureEdges_ = enable ? 1 : 0;
    // An angle that is not a number, or negative, would leave every edge; none is 0.
    featureAngle_ = angle >= 0.0f ? angle : 0.0f;
}

void SoVectorizeAction::setHLHSRRasterTileSize(unsigned short s) {
    hlhsrRasterTileSize_ = s;
}
unsigned short SoVectorizeAction::getHLHSRRasterTileSize() const {
    return hlhsrRasterTileSize_;
}

void SoVectorizeAction::enableLighting(int enable) {
    lightingEnabled_ = enable;
}
int SoVectorizeAction::isLightingEnabled() const {
    return lightingEnabled_;
}
void SoVectorizeAction::setShadeModel(ShadeModel m) {
    shadeModel_ = m;
}
SoVectorizeAction::ShadeModel SoVectorizeAction::getShadeModel() const {
    return static_cast<ShadeModel>(shadeModel_);
}
void SoVectorizeAction::setPolygonOffset(float o) {
    if (allFinite("SoVectorizeAction::setPolygonOffset", {o})) polygonOffset_ = o;
}
float SoVectorizeAction::getPolygonOffset() const {
    return polygonOffset_;
}
void SoVectorizeAction::setLineOffset(float o) {
    if (allFinite("SoVectorizeAction::setLineOffset", {o})) lineOffset_ = o;
}
float SoVectorizeAction::getLineOffset() const {
    return lineOffset_;
}
void SoVectorizeAction::setMarkerOffset(float o) {
    if (allFinite("SoVectorizeAction::setMarkerOffset", {o})) markerOffset_ = o;
}
float SoVectorizeAction::getMarkerOffset() const {
    return markerOffset_;
}

// ---- Pens ----

void SoVectorizeAction::setPenDescription(int num, const SbColor* colors, const float* widths,
                                          DimensionUnit u) {
    for (int k = 0; k < num && k < 256; ++k) {
        const float width = widths ? unitsToMillimeters(widths[k], u) : 1.0f;
        const SbColor color = colors ? colors[k] : SbColor(0, 0, 0);
        if (!allFinite("SoVectorizeAction::setPenDescription", {color[0], color[1], color[2]}) ||
            !onASheet("SoVectorizeAction::setPenDescription", {width}))
            return;
    }
    penCount_ = num;
    if (num == 0) return;
    penCount_ = std::min(penCount_, 256);
    if (!colors) penCount_ = num >= 5 ? 8 : (num < 3 ? 2 : 4);
    if (penCount_ < 0) penCount_ = 0;
    static const SbColor palette[8] = {SbColor(1, 1, 1), SbColor(0, 0, 0), SbColor(1, 0, 0),
                                       SbColor(0, 1, 0), SbColor(1, 1, 0), SbColor(0, 0, 1),
                                       SbColor(1, 0, 1), SbColor(0, 1, 1)};
    penColors_.assign(penCount_, SbColor(0, 0, 0));
    // Pens from `num` on, which only a default palette can add, get the nominal pen width.
    penWidths_.assign(penCount_, 25.4f / 72.0f);
    for (int k = 0; k < penCount_; ++k) {
        penColors_[k] = colors ? colors[k] : palette[k];
        if (widths && k < num) penWidths_[k] = widths[k] * unitsToMillimeters(1.0f, u);
    }
}

void SoVectorizeAction::getPenDescription(SbColor* colors, float* widths, DimensionUnit u) const {
    if (getPenNum() == 0) return;
    for (int k = 0; k < penCount_; ++k) {
        if (colors) colors[k] = penColors_[k];
        if (widths) widths[k] = millimetersToUnits(penWidths_[k], u);
    }
}

int SoVectorizeAction::getPenNum() const {
    return penCount_;
}

SbColor SoVectorizeAction::getPenColor(SbColor color, float width) {
    if (penCount_ == 0) return color;
    int pen = 0;
    float penWidth = 0.0f;
    penAssignment(color, width, &pen, &penWidth);
    return pen >= 0 && pen < penCount_ ? penColors_[static_cast<std::size_t>(pen)] : color;
}

void SoVectorizeAction::penAssignment(SbColor color, float width, int* penIndex, float* penWidth) {
    if (penCount_ == 0) {
        *penIndex = 0;
        *penWidth = width;
        return;
    }
    *penIndex =
        SoPenChoice::choose(penColors_, penWidths_, penCount_, color, width, colorPriority_ != 0);
    *penWidth = penWidths_[static_cast<std::size_t>(*penIndex)];
}

// ---- Colours ----

SbColor SoVectorizeAction::translateColor(SbColor c) const {
    const SbColor black(0, 0, 0), white(1, 1, 1);
    // Every colour passes here before a backend writes it: a component that is no finite
    // number would be written as such ("nan") or choose no pen.
    for (int k = 0; k < 3; ++k) {
        if (std::isfinite(c[k])) continue;
        SoDebugError::postInfoOnce("SoVectorizeAction::translateColor",
                                   "A colour component is not a finite number: it prints as %s",
                                   c[k] > 0.0f ? "1" : "0");
        c[k] = c[k] > 0.0f ? 1.0f : 0.0f;
    }
    switch (colorTranslationMethod_) {
        case SWAP_BLACK_AND_WHITE:
            if (c == black)
                c = white;
            else if (c == white)
                c = black;
            break;
        case INVERT_COLORS:
            c.setValue(1.0f - c[0], 1.0f - c[1], 1.0f - c[2]);
            break;
        default:
            break;
    }
    if (blackAndWhite && !(c == white)) c = black;
    return c;
}

SbColor SoVectorizeAction::getColor(SoCallbackAction* cba, int materialIndex,
                                    int& fullyTransparent) const {
    SbColor ambient, diffuse, specular, emission;
    float shininess = 0.0f, transparency = 0.0f;
    cba->getMaterial(ambient, diffuse, specular, emission, shininess, transparency, materialIndex);
    fullyTransparent = transparency == 1.0f ? 1 : 0;
    return translateColor(diffuse);
}

SbColor SoVectorizeAction::getLightingColor(SoCallbackAction* cba, const SoPrimitiveVertex* vertex,
                                            const SbVec4f& point, int& fullyTransparent) {
    return lighting_->getLightingColor(cba, vertex, point, fullyTransparent);
}

// ---- Apply ----

void SoVectorizeAction::apply(SoNode* node) {
    applyTraversal(node, nullptr, nullptr, 0);
}

void SoVectorizeAction::apply(SoPath* path) {
    applyTraversal(nullptr, path, nullptr, 0);
}

void SoVectorizeAction::apply(const SoPathList& pathList, int obeysRules) {
    applyTraversal(nullptr, nullptr, &pathList, obeysRules);
}

void SoVectorizeAction::applyTraversal(SoNode* node, SoPath* path, const SoPathList* pathList,
                                       int obeysRules) {
    SoCallbackAction cba;
    prepareAction(cba, 1);
    beginTraversal();
    if (hlhsr_ && node) {
        hlhsr_->setPolygonOffset(polygonOffset_);
        hlhsr_->setLineOffset(lineOffset_);
        hlhsr_->setMarkerOffset(markerOffset_);
    }
    if (!inPage_ || headerPending_) {
        writeHeader();
        headerPending_ = 0;
    }
    printBackground();
    if (node)
        cba.apply(node);
    else if (path)
        cba.apply(path);
    else if (pathList)
        cba.apply(*pathList, obeysRules);
    if (hlhsr_) {
        hlhsr_->flush();
        delete hlhsr_;
        hlhsr_ = nullptr;
    }
    renderDelayedAnnotations();
    printBorder();
    viewportKnown_ = 0;
    if (!inPage_) writeFooter();
    endTraversal();
}

void SoVectorizeAction::renderDelayedAnnotations() {
    SoCallbackAction cba;
    prepareAction(cba, 0);
    hlhsrMode_ = HLHSR_OFF;
    hlhsr_ = nullptr;
    skipShapes_ = 0;
    if (delayedPaths_.getLength() > 0) cba.apply(delayedPaths_, 1);
    delayedPaths_.truncate(0);
}

void SoVectorizeAction::prepareAction(SoCallbackAction& cba, int withAnnotations) {
    SoVectorizeCallbacks::registerOn(cba, this, withAnnotations);
}

void SoVectorizeAction::beginTraversal(SoNode* node) {
    beginTraversal();
    traverse(node);
}

void SoVectorizeAction::endTraversal(SoNode*) {
    endTraversal();
}

void SoVectorizeAction::beginTraversal() {
    skipShapes_ = 0;
    delete hlhsr_;
    hlhsr_ = nullptr;
    if (hlhsrMode_ >= HLHSR_SIMPLE_PAINTER && hlhsrMode_ <= HIDDEN_LINES_REMOVAL)
        hlhsr_ = new SoHLHSRVectorize(this, hlhsrMode_ - 1);
}

void SoVectorizeAction::endTraversal() {
    lighting_->deleteLightsList();
}

// ---- Viewport and projection ----

void SoVectorizeAction::updateViewport(SoCallbackAction* cba) {
    const SbViewportRegion& region = SoViewportRegionElement::get(cba->getState());
    if (viewportKnown_ && region == viewportRegion_) return;
    // What the engine holds was seen through the old viewport: it prints before the clip
    // changes, and the new viewport's records start a list of their own.
    if (hlhsr_) {
        if (viewportKnown_) hlhsr_->flush();
        hlhsr_->beginViewport();
    }
    setViewportRegion(region);
    viewportKnown_ = 1;
}

void SoVectorizeAction::setViewportRegion(const SbViewportRegion& region) {
    viewportRegion_ = region;
    setHardwareClip();
}

void SoVectorizeAction::setDefaultProjectionSource() {
    projectionSource_.setBounds(-getNormalizedWidth(), -getNormalizedHeight(), getNormalizedWidth(),
                                getNormalizedHeight());
}

void SoVectorizeAction::projectPoints(SbVec4f* points, int n) const {
    const SbVec2f& sourceMin = projectionSource_.getMin();
    const SbVec2f sourceSize = projectionSource_.getMax() - sourceMin;
    const SbVec2f& origin = viewportRegion_.getViewportOrigin();
    const float scaleX = getViewportWidth() / sourceSize[0];
    const float scaleY = getViewportHeight() / sourceSize[1];
    for (int i = 0; i < n; ++i) {
        points[i][0] = (points[i][0] - sourceMin[0]) * scaleX + drawingWidth_ * origin[0];
        points[i][1] = (points[i][1] - sourceMin[1]) * scaleY + drawingHeight_ * origin[1];
    }
}

SbBox2f SoVectorizeAction::getClippingLimits() const {
    const SbVec2f& o = viewportRegion_.getViewportOrigin();
    const SbVec2f& s = viewportRegion_.getViewportSize();
    const float w = drawingWidth_, h = drawingHeight_;
    return SbBox2f(w * o[0], h * o[1], w * o[0] + w * s[0], h * o[1] + h * s[1]);
}

// ---- Default print operations: a trace on standard output ----

namespace {

// Decimal points whatever the process locale.
void trace(const char* format, ...) __attribute__((format(printf, 1, 2)));
void trace(const char* format, ...) {
    va_list args;
    va_start(args, format);
    const SbString text = SbString::vformatC(format, args);
    va_end(args);
    std::fputs(text.getString(), stdout);
}

unsigned int rgb(const SbColor& c) {
    return c.getPackedValue(0.0f) & 0xFFFFFFu;
}

}  // namespace

void SoVectorizeAction::printPolygon(const SbVec4f* points, int n, const SbColor* colors, int,
                                     const SbString&, const SbString&, const unsigned char*) {
    trace("Unicolor Polygon drawing  (color = %06X)\n", rgb(colors[0]));
    for (int i = 0; i < n; ++i) trace("(%-2.2f - %-2.2f)\n", points[i][0], points[i][1]);
}

void SoVectorizeAction::printPolyLine(const SbVec4f* points, int n, const SbColor* colors,
                                      int multicolor, float lineWidth, unsigned short linePattern,
                                      int) {
    if (multicolor) {
        trace("Multicolor Line drawing  (thickness : %f , pattern : %04X)\n", lineWidth,
              linePattern);
        for (int i = 0; i < n; ++i)
            trace("      (%-2.2f - %-2.2f)  color = %06X\n", points[i][0], points[i][1],
                  rgb(colors[i]));
        return;
    }
    trace("Unicolor Line drawing  (thickness : %f , pattern : %04X , color = %06X)\n", lineWidth,
          linePattern, rgb(colors[0]));
    for (int i = 0; i < n; ++i) trace("      (%-2.2f - %-2.2f)\n", points[i][0], points[i][1]);
}

void SoVectorizeAction::printPolyMark(const SbVec4f* points, int n, const SbColor* colors,
                                      int multicolor, float pointSize) {
    if (multicolor) {
        trace("Multicolor Point drawing (size : %f)\n", pointSize);
        for (int i = 0; i < n; ++i)
            trace("      (%-2.2f - %-2.2f)  color = %06X\n", points[i][0], points[i][1],
                  rgb(colors[i]));
        return;
    }
    trace("Unicolor Point drawing  (size : %f, color = %06X)\n", pointSize, rgb(colors[0]));
    for (int i = 0; i < n; ++i) trace("      (%-2.2f - %-2.2f)\n", points[i][0], points[i][1]);
}

void SoVectorizeAction::printPolyMark(const SbVec4f* points, int n, const SbColor* colors,
                                      int multicolor, SoMarkerSet* markerSet) {
    if (!multicolor) trace("Unicolor Point drawing  (color = %06X)\n", rgb(colors[0]));
    const int numIndices = markerSet ? markerSet->markerIndex.getNum() : 0;
    int k = 0;
    for (int i = 0; i < n; ++i) {
        const int marker = numIndices > 0 ? markerSet->markerIndex[k] : 0;
        if (numIndices > 0) k = (k + 1) % numIndices;
        SbVec2s size;
        const unsigned char* bytes = nullptr;
        bool isLSBFirst = false;
        if (!SoMarkerSet::getMarker(marker, size, bytes, isLSBFirst)) continue;
        if (multicolor)
            trace("      (%-2.2f - %-2.2f)  color = %06X size = (%dx%d pixels)\n", points[i][0],
                  points[i][1], rgb(colors[i]), size[0], size[1]);
        else
            trace("      (%-2.2f - %-2.2f) size = (%dx%d pixels)\n", points[i][0], points[i][1],
                  size[0], size[1]);
    }
}

void SoVectorizeAction::printText2(SbVec4f origin, SbColor color, const SbString& fontName,
                                   float fontSize, const SbString& string, int justification,
                                   float angle) {
    trace("Text 2D color : %06X\n", rgb(color));
    trace("Text origin = %-2.2f - %-2.2f\n", origin[0], origin[1]);
    trace("font_name=%s font_size=%f string=%s justif=%d angle=%f\n", fontName.getString(),
          fontSize, string.getString(), justification, angle);
}

void SoVectorizeAction::printImage(const SbVec4f& origin, const unsigned char*, SbVec2s& sourceSize,
                                   SbVec2s& requestedSize, int numComponents,
                                   SoImage::HorAlignment horAlignment,
                                   SoImage::VertAlignment vertAlignment) {
    trace("Image :\n");
    trace("\tOrigin = %f %f\n\tSource Size = %d %d\n\tRequested Size = %d %d\n", origin[0],
          origin[1], sourceSize[0], sourceSize[1], requestedSize[0], requestedSize[1]);
    trace("\tNum components = %d\n", numComponents);
    trace("\tHor Align = %d Vert Align = %d\n", horAlignment, vertAlignment);
}
