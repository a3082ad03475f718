// The primitives of a callback traversal, drawn with fixed-function OpenGL.
//
// The traversal state is read when a shape delivers its first primitive (not when the
// shape is entered), so whatever a shape sets while it generates is what it is drawn with.
// Primitives are batched: triangles of one shape share one glBegin, and segments that
// continue each other form one line strip, so a dashed polyline keeps its pattern running
// across its vertices the way the vectorizer prints it as one polyline. glMaterial and
// glColor are legal between glBegin and glEnd; everything else ends the batch first.
//
// What follows the choices of the vectorizer, so that a print and this picture agree:
// triangles are lit unless the light model is BASE_COLOR; lines and points are drawn unlit
// in their diffuse colour; a triangle, segment or point whose vertices are all fully
// transparent is not drawn at all (it would still write depth); lighting is two-sided when
// the vertex ordering is known and the shape is not SOLID; back faces are culled only for
// SOLID shapes of known ordering, the ordering taken as it is before a mirroring transform.
// Partly transparent colours are blended over what is already drawn, in traversal order. A
// flat face takes its first corner's colour unlit and the mean of its corners' lit colours
// lit.

#include "rendering/SoGLSceneDrawer.h"

#include <Tessara/base/SoDebugError.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/elements/SoAnnoText3RenderPrintElement.h>
#include <Tessara/elements/SoPatternElement.h>
#include <Tessara/elements/SoPolygonOffsetElement.h>
#include <Tessara/elements/SoViewportRegionElement.h>
#include <Tessara/misc/SoPrimitiveVertex.h>
#include <Tessara/nodes/SoAnnoText3.h>
#include <Tessara/nodes/SoAnnotation.h>
#include <Tessara/nodes/SoImage.h>
#include <Tessara/nodes/SoMarkerSet.h>
#include <Tessara/nodes/SoShape.h>
#include <Tessara/nodes/SoText2.h>

#include <algorithm>
#include <cmath>

#include "rendering/SoGLFunctions.h"

namespace {

SoGLSceneDrawer* drawerOf(void* data) {
    return static_cast<SoGLSceneDrawer*>(data);
}

float opacityOf(float transparency) {
    return std::clamp(1.0f - transparency, 0.0f, 1.0f);
}

/// Widths and sizes in points become pixels; 0 (and anything unusable) is the thinnest.
float pixelsFor(float points, float pixelsPerPoint) {
    const float pixels = points * pixelsPerPoint;
    return std::isfinite(pixels) && pixels >= 1.0f ? pixels : 1.0f;
}

/// A material as the traversal state gives it for one index.
struct MaterialValues {
    SbColor ambient, diffuse, specular, emission;
    float shininess = 0.0f, transparency = 0.0f;
};

MaterialValues materialOf(SoCallbackAction* cba, int materialIndex) {
    MaterialValues m;
    cba->getMaterial(m.ambient, m.diffuse, m.specular, m.emission, m.shininess, m.transparency,
                     materialIndex);
    return m;
}

MaterialValues meanOf(const MaterialValues (&corners)[3]) {
    MaterialValues mean;
    for (const MaterialValues& m : corners) {
        mean.ambient += m.ambient / 3.0f;
        mean.diffuse += m.diffuse / 3.0f;
        mean.specular += m.specular / 3.0f;
        mean.emission += m.emission / 3.0f;
        mean.shininess += m.shininess / 3.0f;
        mean.transparency += m.transparency / 3.0f;
    }
    return mean;
}

/// glMaterial when lit, glColor when not.
void sendValues(const SoGLFunctions& gl, const MaterialValues& m, bool lit) {
    const float alpha = opacityOf(m.transparency);
    if (!lit) {
        gl.Color4f(m.diffuse[0], m.diffuse[1], m.diffuse[2], alpha);
        return;
    }
    const auto send = [&gl, alpha](GLenum what, const SbColor& c) {
        const GLfloat rgba[4] = {c[0], c[1], c[2], alpha};
        gl.Materialfv(GL_FRONT_AND_BACK, what, rgba);
    };
    send(GL_AMBIENT, m.ambient);
    send(GL_DIFFUSE, m.diffuse);
    send(GL_SPECULAR, m.specular);
    send(GL_EMISSION, m.emission);
    gl.Materialf(GL_FRONT_AND_BACK, GL_SHININESS, std::clamp(m.shininess * 128.0f, 0.0f, 128.0f));
}

GLenum glModeOf(int batch) {
    switch (batch) {
        case 1:
            return GL_TRIANGLES;
        case 2:
            return GL_LINE_STRIP;
        default:
            return GL_POINTS;
    }
}

}  // namespace

SoGLSceneDrawer::SoGLSceneDrawer(const SoGLFunctions& gl, bool smoothShading)
    : gl_(gl), lights_(gl), raster_(gl), smoothShading_(smoothShading) {}

void SoGLSceneDrawer::begin() {
    gl_.PushAttrib(GL_ALL_ATTRIB_BITS);
    gl_.PushClientAttrib(GL_CLIENT_ALL_ATTRIB_BITS);
    gl_.MatrixMode(GL_PROJECTION);
    gl_.PushMatrix();
    gl_.MatrixMode(GL_MODELVIEW);
    gl_.PushMatrix();

    gl_.Enable(GL_DEPTH_TEST);
    gl_.DepthFunc(GL_LEQUAL);
    gl_.DepthMask(GL_TRUE);
    // Model matrices may scale: normals must come out unit length for lighting.
    gl_.Enable(GL_NORMALIZE);
    gl_.Enable(GL_BLEND);
    // Colour blends by opacity; the buffer's alpha stays opaque over an opaque background.
    gl_.BlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    // A flat face takes its first corner's colour, as the printed drawings fill it.
    gl_.ProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
    gl_.Disable(GL_DITHER);
    gl_.Disable(GL_COLOR_MATERIAL);
    gl_.Disable(GL_TEXTURE_2D);
    gl_.Disable(GL_LIGHTING);
    gl_.LightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, GL_FALSE);
    gl_.PixelStorei(GL_UNPACK_ALIGNMENT, 1);
    gl_.PixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    gl_.PixelStorei(GL_UNPACK_SKIP_ROWS, 0);
    gl_.PixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
    gl_.PixelStorei(GL_UNPACK_LSB_FIRST, GL_FALSE);
    gl_.PixelStorei(GL_UNPACK_SWAP_BYTES, GL_FALSE);
    lights_.reset();
    lightingOn_ = false;
}

void SoGLSceneDrawer::end() {
    endBatch();
    gl_.MatrixMode(GL_PROJECTION);
    gl_.PopMatrix();
    gl_.MatrixMode(GL_MODELVIEW);
    gl_.PopMatrix();
    gl_.PopClientAttrib();
    gl_.PopAttrib();
}

void SoGLSceneDrawer::registerOn(SoCallbackAction& cba, bool delayAnnotations) {
    if (delayAnnotations)
        cba.addPreCallback(SoAnnotation::getClassTypeId(), annotationStarts, this);
    cba.addPreCallback(SoShape::getClassTypeId(), shapeStarts, this);
    cba.addPostCallback(SoShape::getClassTypeId(), shapeEnds, this);
    cba.addTriangleCallback(SoShape::getClassTypeId(), triangle, this);
    cba.addLineSegmentCallback(SoShape::getClassTypeId(), lineSegment, this);
    cba.addPointCallback(SoShape::getClassTypeId(), point, this);
}

void SoGLSceneDrawer::drawAnnotations(const SbViewportRegion& region) {
    endBatch();
    if (annotations_.getLength() == 0) return;
    // Annotations lie over the scene: they only hide each other. The depth buffer is
    // cleared within the viewport only, so other viewports' pictures keep theirs.
    const SbVec2s origin = region.getViewportOriginPixels();
    const SbVec2s size = region.getViewportSizePixels();
    gl_.PushAttrib(GL_SCISSOR_BIT);
    gl_.Enable(GL_SCISSOR_TEST);
    gl_.Scissor(origin[0], origin[1], size[0], size[1]);
    gl_.Clear(GL_DEPTH_BUFFER_BIT);
    gl_.PopAttrib();

    SoCallbackAction cba(region);
    registerOn(cba, false);
    cba.apply(annotations_, 1);
    endBatch();
    annotations_.truncate(0);
}

// ---- Traversal callbacks ----

SoCallbackAction::Response SoGLSceneDrawer::annotationStarts(void* data, SoCallbackAction* cba,
                                                             const SoNode*) {
    const SoPath* path = cba->getCurPath();
    if (path != nullptr) drawerOf(data)->annotations_.append(path->copy());
    return SoCallbackAction::PRUNE;
}

SoCallbackAction::Response SoGLSceneDrawer::shapeStarts(void* data, SoCallbackAction* cba,
                                                        const SoNode* node) {
    SoGLSceneDrawer* self = drawerOf(data);
    self->endBatch();
    self->shapeReady_ = false;
    self->skipShape_ = false;
    self->markerCount_ = 0;
    // Annotation text shown flat on the screen: its glyph triangles are not drawn.
    if (node->isOfType(SoAnnoText3::getClassTypeId()) &&
        SoAnnoText3RenderPrintElement::get(cba->getState()) ==
            SoAnnoText3RenderPrintElement::RENDER2D_PRINT_RASTER) {
        self->drawWindowShape(cba, node);
        self->skipShape_ = true;
    }
    return SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response SoGLSceneDrawer::shapeEnds(void* data, SoCallbackAction* cba,
                                                      const SoNode* node) {
    SoGLSceneDrawer* self = drawerOf(data);
    self->endBatch();
    if (node->isOfType(SoText2::getClassTypeId()) || node->isOfType(SoImage::getClassTypeId()))
        self->drawWindowShape(cba, node);
    self->skipShape_ = false;
    return SoCallbackAction::CONTINUE;
}

void SoGLSceneDrawer::triangle(void* data, SoCallbackAction* cba, const SoPrimitiveVertex* v1,
                               const SoPrimitiveVertex* v2, const SoPrimitiveVertex* v3) {
    const SoPrimitiveVertex* const v[3] = {v1, v2, v3};
    drawerOf(data)->drawTriangle(cba, v);
}

void SoGLSceneDrawer::lineSegment(void* data, SoCallbackAction* cba, const SoPrimitiveVertex* v1,
                                  const SoPrimitiveVertex* v2) {
    drawerOf(data)->drawSegment(cba, v1, v2);
}

void SoGLSceneDrawer::point(void* data, SoCallbackAction* cba, const SoPrimitiveVertex* v) {
    drawerOf(data)->drawPoint(cba, v);
}

// ---- Primitives ----

void SoGLSceneDrawer::drawTriangle(SoCallbackAction* cba, const SoPrimitiveVertex* const v[3]) {
    if (!prepareShape(cba)) return;
    if (isFullyTransparent(cba, v[0]->getMaterialIndex()) &&
        isFullyTransparent(cba, v[1]->getMaterialIndex()) &&
        isFullyTransparent(cba, v[2]->getMaterialIndex()))
        return;
    beginBatch(TRIANGLES, litModel_);
    if (litModel_ && !smoothShading_) {
        sendFlatCorner(cba, v);
        for (int i = 1; i < 3; ++i) gl_.Vertex3fv(v[i]->getPoint().getValue());
        return;
    }
    for (int i = 0; i < 3; ++i) sendVertex(cba, v[i], litModel_);
}

// OpenGL lights a flat face at its first corner only. Lit there with the mean normal in the
// mean material, it shows the mean of the corners' lit colours, which is what a print fills
// it with: exactly where the corners share a normal under directional lights, nearly so
// elsewhere.
void SoGLSceneDrawer::sendFlatCorner(SoCallbackAction* cba, const SoPrimitiveVertex* const v[3]) {
    const int first = v[0]->getMaterialIndex();
    if (first == v[1]->getMaterialIndex() && first == v[2]->getMaterialIndex()) {
        sendMaterial(cba, first, true);
    } else {
        const MaterialValues corners[3] = {materialOf(cba, first),
                                           materialOf(cba, v[1]->getMaterialIndex()),
                                           materialOf(cba, v[2]->getMaterialIndex())};
        sendValues(gl_, meanOf(corners), true);
        materialIndex_ = -1;
    }
    const SbVec3f sum = v[0]->getNormal() + v[1]->getNormal() + v[2]->getNormal();
    gl_.Normal3fv((sum.length() > 1e-6f ? sum : v[0]->getNormal()).getValue());
    gl_.Vertex3fv(v[0]->getPoint().getValue());
}

void SoGLSceneDrawer::drawSegment(SoCallbackAction* cba, const SoPrimitiveVertex* v1,
                                  const SoPrimitiveVertex* v2) {
    if (!prepareShape(cba)) return;
    if (isFullyTransparent(cba, v1->getMaterialIndex()) &&
        isFullyTransparent(cba, v2->getMaterialIndex())) {
        endBatch();
        return;
    }
    if (batch_ != LINE_STRIP || !(stripEnd_ == v1->getPoint())) {
        beginBatch(LINE_STRIP, false);
        sendVertex(cba, v1, false);
    }
    sendVertex(cba, v2, false);
    stripEnd_ = v2->getPoint();
}

void SoGLSceneDrawer::drawPoint(SoCallbackAction* cba, const SoPrimitiveVertex* v) {
    if (!prepareShape(cba)) return;
    const int index = markerCount_++;
    if (isFullyTransparent(cba, v->getMaterialIndex())) return;
    const SoNode* shape = cba->getCurrentShape();
    if (shape == nullptr || !shape->isOfType(SoMarkerSet::getClassTypeId())) {
        beginBatch(POINTS, false);
        sendVertex(cba, v, false);
        return;
    }
    // Markers are bitmaps, drawn one by one outside any batch; past the end of the list the
    // marker indices start again, as the printed drawings take them.
    const SoMFInt32& markers = static_cast<const SoMarkerSet*>(shape)->markerIndex;
    if (markers.getNum() == 0) return;
    endBatch();
    setLighting(false);
    float rgba[4];
    unlitColor(cba, v->getMaterialIndex(), rgba);
    raster_.drawMarker(markers[index % markers.getNum()], v->getPoint(), rgba);
    materialIndex_ = -1;  // the marker's colour replaced the current one
}

void SoGLSceneDrawer::drawWindowShape(SoCallbackAction* cba, const SoNode* node) {
    if (!prepareShape(cba)) return;
    endBatch();
    setLighting(false);
    materialIndex_ = -1;
    if (node->isOfType(SoImage::getClassTypeId())) {
        raster_.drawImage(static_cast<const SoImage*>(node));
        return;
    }
    float rgba[4];
    unlitColor(cba, 0, rgba);
    if (rgba[3] <= 0.0f) return;
    if (node->isOfType(SoText2::getClassTypeId())) {
        const auto* text = static_cast<const SoText2*>(node);
        raster_.drawText(cba, text->string, text->spacing.getValue(),
                         text->justification.getValue(), rgba, false);
    } else if (node->isOfType(SoAnnoText3::getClassTypeId())) {
        const auto* text = static_cast<const SoAnnoText3*>(node);
        raster_.drawText(cba, text->string, text->spacing.getValue(),
                         text->justification.getValue(), rgba, true);
    }
    loadShapeMatrices();
}

// ---- Per-shape state ----

bool SoGLSceneDrawer::prepareShape(SoCallbackAction* cba) {
    if (shapeReady_) return !skipShape_;
    shapeReady_ = true;
    drawStyle_ = cba->getDrawStyle();
    if (drawStyle_ == SoDrawStyleElement::INVISIBLE) skipShape_ = true;
    if (skipShape_) return false;
    endBatch();
    litModel_ = cba->getLightModel() != SoLightModelElement::BASE_COLOR;
    lights_.load(cba->getState());
    loadViewportAndMatrices(cba);
    loadFaceSettings(cba);
    loadLineAndPointSettings(cba);
    loadPolygonOffset(cba);
    loadFillPattern(cba);
    gl_.ShadeModel(smoothShading_ ? GL_SMOOTH : GL_FLAT);
    materialIndex_ = -1;
    return true;
}

void SoGLSceneDrawer::loadViewportAndMatrices(SoCallbackAction* cba) {
    const SbViewportRegion& region = cba->getViewportRegionElement();
    const SbVec2s origin = region.getViewportOriginPixels();
    const SbVec2s size = region.getViewportSizePixels();
    gl_.Viewport(origin[0], origin[1], size[0], size[1]);
    projection_ = cba->getProjectionMatrix();
    modelView_ = cba->getModelMatrix() * cba->getViewingMatrix();
    loadShapeMatrices();
}

void SoGLSceneDrawer::loadShapeMatrices() {
    // Row-vector matrices laid out row by row are exactly OpenGL's column-major layout.
    gl_.MatrixMode(GL_PROJECTION);
    gl_.LoadMatrixf(projection_.getValue());
    gl_.MatrixMode(GL_MODELVIEW);
    gl_.LoadMatrixf(modelView_.getValue());
}

void SoGLSceneDrawer::loadFaceSettings(SoCallbackAction* cba) {
    const SoShapeHintsElement::VertexOrdering ordering = cba->getVertexOrdering();
    const bool known = ordering != SoShapeHintsElement::UNKNOWN_ORDERING;
    const bool solid = cba->getShapeType() == SoShapeHintsElement::SOLID;
    // A mirroring transform turns the faces' winding on the screen: a mirrored solid still
    // shows its outside.
    const bool mirrored = cba->getModelMatrix().det3() < 0.0f;
    gl_.FrontFace((ordering == SoShapeHintsElement::CLOCKWISE) != mirrored ? GL_CW : GL_CCW);
    if (known && solid) {
        gl_.Enable(GL_CULL_FACE);
        gl_.CullFace(GL_BACK);
    } else {
        gl_.Disable(GL_CULL_FACE);
    }
    gl_.LightModeli(GL_LIGHT_MODEL_TWO_SIDE, known && !solid ? GL_TRUE : GL_FALSE);
    GLenum mode = GL_FILL;
    if (drawStyle_ == SoDrawStyleElement::LINES) mode = GL_LINE;
    if (drawStyle_ == SoDrawStyleElement::POINTS) mode = GL_POINT;
    gl_.PolygonMode(GL_FRONT_AND_BACK, mode);
}

void SoGLSceneDrawer::loadLineAndPointSettings(SoCallbackAction* cba) {
    const float pixelsPerPoint = cba->getViewportRegionElement().getPixelsPerPoint();
    GLfloat range[2] = {1.0f, 1.0f};
    gl_.GetFloatv(GL_LINE_WIDTH_RANGE, range);
    gl_.LineWidth(std::min(pixelsFor(cba->getLineWidth(), pixelsPerPoint), range[1]));
    gl_.GetFloatv(GL_POINT_SIZE_RANGE, range);
    gl_.PointSize(std::min(pixelsFor(cba->getPointSize(), pixelsPerPoint), range[1]));
    const unsigned short pattern = cba->getLinePattern();
    if (pattern == 0xFFFF) {
        gl_.Disable(GL_LINE_STIPPLE);
        return;
    }
    gl_.Enable(GL_LINE_STIPPLE);
    gl_.LineStipple(std::clamp(cba->getLinePatternScaleFactor(), 1, 256), pattern);
}

void SoGLSceneDrawer::loadPolygonOffset(SoCallbackAction* cba) {
    float factor = 0.0f, units = 0.0f;
    int styles = 0;
    bool on = false;
    SoPolygonOffsetElement::get(cba->getState(), factor, units, styles, on);
    const auto set = [this](GLenum capability, bool enable) {
        if (enable)
            gl_.Enable(capability);
        else
            gl_.Disable(capability);
    };
    set(GL_POLYGON_OFFSET_FILL, on && (styles & SoPolygonOffsetElement::FILLED));
    set(GL_POLYGON_OFFSET_LINE, on && (styles & SoPolygonOffsetElement::LINES));
    set(GL_POLYGON_OFFSET_POINT, on && (styles & SoPolygonOffsetElement::POINTS));
    if (on) gl_.PolygonOffset(factor, units);
}

void SoGLSceneDrawer::loadFillPattern(SoCallbackAction* cba) {
    SbString category, name;
    const unsigned char* mask = nullptr;
    SoPatternElement::get(cba->getState(), category, name, mask);
    if (mask == nullptr) {
        gl_.Disable(GL_POLYGON_STIPPLE);
        return;
    }
    // The element's rows run from the bottom, as OpenGL's stipple rows do.
    gl_.PolygonStipple(mask);
    gl_.Enable(GL_POLYGON_STIPPLE);
}

// ---- Batches and vertices ----

void SoGLSceneDrawer::beginBatch(Batch batch, bool lit) {
    if (batch_ == batch && lightingOn_ == lit && batch != LINE_STRIP) return;
    endBatch();
    setLighting(lit);
    gl_.Begin(glModeOf(batch));
    batch_ = batch;
}

void SoGLSceneDrawer::endBatch() {
    if (batch_ == NO_BATCH) return;
    gl_.End();
    batch_ = NO_BATCH;
}

void SoGLSceneDrawer::setLighting(bool on) {
    if (on == lightingOn_) return;
    if (on)
        gl_.Enable(GL_LIGHTING);
    else
        gl_.Disable(GL_LIGHTING);
    lightingOn_ = on;
}

bool SoGLSceneDrawer::isFullyTransparent(SoCallbackAction* cba, int materialIndex) {
    return materialOf(cba, materialIndex).transparency >= 1.0f;
}

void SoGLSceneDrawer::unlitColor(SoCallbackAction* cba, int materialIndex, float rgba[4]) {
    const MaterialValues m = materialOf(cba, materialIndex);
    rgba[0] = m.diffuse[0];
    rgba[1] = m.diffuse[1];
    rgba[2] = m.diffuse[2];
    rgba[3] = opacityOf(m.transparency);
}

void SoGLSceneDrawer::sendMaterial(SoCallbackAction* cba, int materialIndex, bool lit) {
    if (materialIndex == materialIndex_ && lit == materialLit_) return;
    materialIndex_ = materialIndex;
    materialLit_ = lit;
    sendValues(gl_, materialOf(cba, materialIndex), lit);
}

void SoGLSceneDrawer::sendVertex(SoCallbackAction* cba, const SoPrimitiveVertex* v, bool lit) {
    sendMaterial(cba, v->getMaterialIndex(), lit);
    if (lit) gl_.Normal3fv(v->getNormal().getValue());
    gl_.Vertex3fv(v->getPoint().getValue());
}
