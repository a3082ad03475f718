// The traversal side of the vectorizing action. The core hands us primitives in object
// coordinates; triangles go to the clipper at once, while segments and points are gathered
// in the capture buffer so that a line set whose segments chain end to end prints as one
// polyline instead of one stroke per segment. Whatever is gathered is flushed when a
// segment breaks the chain and after every node, so two shapes never merge.

#include "SoVectorizeCallbacks.h"

#include <PlotWerk/SoVectorizeAction.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/base/SoPath.h>
#include <Tessara/elements/SoAnnoText3RenderPrintElement.h>
#include <Tessara/elements/SoDrawStyleElement.h>
#include <Tessara/elements/SoFontRenderStyleElement.h>
#include <Tessara/elements/SoLightModelElement.h>
#include <Tessara/elements/SoViewportRegionElement.h>
#include <Tessara/math/SbMathHelper.h>
#include <Tessara/math/SbMatrix.h>
#include <Tessara/misc/SoPrimitiveVertex.h>
#include <Tessara/nodes/SoAnnoText3.h>
#include <Tessara/nodes/SoAnnotation.h>
#include <Tessara/nodes/SoCamera.h>
#include <Tessara/nodes/SoImage.h>
#include <Tessara/nodes/SoMarkerSet.h>
#include <Tessara/nodes/SoShape.h>
#include <Tessara/nodes/SoText2.h>
#include <Tessara/nodes/SoText3.h>

#include <cmath>

#include "SoVectorCapture.h"
#include "SoVectorClipper.h"

namespace {

constexpr int kPolyline = 1;
constexpr int kPoints = 2;

// The window height the camera handler gives the viewport: large enough that truncating the
// width keeps the drawing's aspect ratio to four digits, small enough for a short.
constexpr float kAspectWindowHeight = 10000.0f;
constexpr float kMaxWindowSide = 32767.0f;

SoVectorizeAction* actionOf(void* userData) {
    return static_cast<SoVectorizeAction*>(userData);
}

bool isInvisible(SoCallbackAction* cba) {
    return cba->getDrawStyle() == SoDrawStyleElement::INVISIBLE;
}

SbVec4f homogeneous(const SbVec3f& p) {
    return SbVec4f(p[0], p[1], p[2], 1.0f);
}

bool hasNaN(const SbVec3f& p) {
    return SbMathHelper::isNaN(p[0]) || SbMathHelper::isNaN(p[1]) || SbMathHelper::isNaN(p[2]);
}

// The anchor of text and images: the object origin in clip coordinates.
SbVec4f originToClip(SoVectorCapture& capture, SoCallbackAction* cba) {
    SbVec4f origin;
    capture.toClip(cba).multVecMatrix(SbVec4f(0, 0, 0, 1), origin);
    return origin;
}

}  // namespace

void SoVectorizeCallbacks::registerOn(SoCallbackAction& cba, SoVectorizeAction* action,
                                      int withAnnotations) {
    cba.addPreCallback(SoCamera::getClassTypeId(), camera, action);
    cba.addTriangleCallback(SoShape::getClassTypeId(), triangle, action);
    cba.addLineSegmentCallback(SoShape::getClassTypeId(), lineSegment, action);
    cba.addPointCallback(SoShape::getClassTypeId(), point, action);
    cba.addPostCallback(SoText2::getClassTypeId(), text2, action);
    cba.addPreCallback(SoText3::getClassTypeId(), text3, action);
    cba.addPostCallback(SoNode::getClassTypeId(), flush, action);
    cba.addPreCallback(SoAnnoText3::getClassTypeId(), annoText3, action);
    cba.addPostCallback(SoAnnoText3::getClassTypeId(), annoText3Post, action);
    cba.addPostCallback(SoImage::getClassTypeId(), image, action);
    if (withAnnotations == 1) {
        cba.addPreCallback(SoAnnotation::getClassTypeId(), annotation, action);
    }
}

SoCallbackAction::Response SoVectorizeCallbacks::camera(void* userData, SoCallbackAction* cba,
                                                        const SoNode* node) {
    SoVectorizeAction* action = actionOf(userData);
    const float ratio = action->drawingWidth_ / action->drawingHeight_;
    if (!std::isfinite(ratio) || ratio <= 0.0f) {
        SoDebugError::postWarning("SoVectorizeAction::cameraCB",
                                  "Drawing dimensions %g x %g have no usable aspect ratio: the "
                                  "viewport is left as it is",
                                  action->drawingWidth_, action->drawingHeight_);
        return SoCallbackAction::CONTINUE;
    }
    float width = std::trunc(ratio * kAspectWindowHeight);
    float height = kAspectWindowHeight;
    // A very wide drawing would overflow the window's short width: scale the height down
    // instead, keeping the proportions.
    if (width > kMaxWindowSide) {
        width = kMaxWindowSide;
        height = std::fmax(1.0f, std::trunc(kMaxWindowSide / ratio));
    } else if (width < 1.0f) {
        width = 1.0f;
    }
    SbViewportRegion region = SoViewportRegionElement::get(cba->getState());
    region.setWindowSize(static_cast<short>(width), static_cast<short>(height));
    SoViewportRegionElement::set(cba->getState(), const_cast<SoNode*>(node), region);
    return SoCallbackAction::CONTINUE;
}

void SoVectorizeCallbacks::triangle(void* userData, SoCallbackAction* cba,
                                    const SoPrimitiveVertex* v1, const SoPrimitiveVertex* v2,
                                    const SoPrimitiveVertex* v3) {
    SoVectorizeAction* action = actionOf(userData);
    if (action->skipShapes_) return;
    action->updateViewport(cba);
    if (isInvisible(cba)) return;

    const SoPrimitiveVertex* vertices[3] = {v1, v2, v3};
    if (facesAway(action, cba, vertices)) return;
    SbVec4f points[3];
    SbColor colors[3];
    int transparent[3] = {0, 0, 0};
    const SoLightModelElement::Model model = cba->getLightModel();
    const bool lit = (action->lightingEnabled_ && model == SoLightModelElement::PER_PIXEL_PHONG) ||
                     model == SoLightModelElement::PHONG;
    SbVec3f normalStore[3];
    const SbVec3f* normals = surfaceNormals(action, cba, vertices, normalStore);
    if (!lit) {
        const SbMatrix& toClip = action->capture_->toClip(cba);
        for (int i = 0; i < 3; ++i) {
            colors[i] = action->getColor(cba, vertices[i]->getMaterialIndex(), transparent[i]);
            toClip.multVecMatrix(homogeneous(vertices[i]->getPoint()), points[i]);
        }
        if (transparent[0] && transparent[1] && transparent[2]) return;
        action->clipper_->clipPolygon(cba, points, 3, colors, normals);
        return;
    }
    // Lighting is evaluated in viewing coordinates, so the projection comes last.
    const SbMatrix& toView = action->capture_->toView(cba);
    SoLitVertexCache& litCache = action->capture_->litVertices;
    for (int i = 0; i < 3; ++i) {
        toView.multVecMatrix(homogeneous(vertices[i]->getPoint()), points[i]);
        if (!litCache.find(vertices[i], colors[i], transparent[i])) {
            colors[i] = action->getLightingColor(cba, vertices[i], points[i], transparent[i]);
            litCache.store(vertices[i], colors[i], transparent[i]);
        }
    }
    if (transparent[0] && transparent[1] && transparent[2]) return;
    if (action->shadeModel_ == SoVectorizeAction::FLAT) {
        const SbColor mean = (colors[0] + colors[1] + colors[2]) / 3.0f;
        colors[0] = colors[1] = colors[2] = mean;
    }
    const SbMatrix& projection = cba->getProjectionMatrix();
    for (SbVec4f& p : points) projection.multVecMatrix(SbVec4f(p), p);
    action->clipper_->clipPolygon(cba, points, 3, colors, normals);
}

// The screen culls the back faces of solids of known vertex ordering, by their winding in
// window space; so does the print, or a closed mesh hands all its hidden faces to the
// painter. A hidden-line drawing loses no line either: what a back face of a solid hides, a
// front face hides too, and the outline where the two meet stays as the front face's edge.
// Only one that draws the hidden edges dashed keeps them, for those are mostly theirs. The
// winding is read in homogeneous clip coordinates (x, y, w), which also decides a triangle
// that reaches behind the eye. A mirroring transform turns the winding, as the screen knows.
bool SoVectorizeCallbacks::facesAway(SoVectorizeAction* action, SoCallbackAction* cba,
                                     const SoPrimitiveVertex* const* vertices) {
    const SoShapeHintsElement::VertexOrdering ordering = cba->getVertexOrdering();
    if ((action->hlhsrMode_ == SoVectorizeAction::HIDDEN_LINES_REMOVAL &&
         action->hiddenPattern_ != 0) ||
        ordering == SoShapeHintsElement::UNKNOWN_ORDERING ||
        cba->getShapeType() != SoShapeHintsElement::SOLID) {
        return false;
    }
    const SbMatrix& toClip = action->capture_->toClip(cba);
    double c[3][3];
    for (int i = 0; i < 3; ++i) {
        SbVec4f p;
        toClip.multVecMatrix(homogeneous(vertices[i]->getPoint()), p);
        c[i][0] = p[0], c[i][1] = p[1], c[i][2] = p[3];
    }
    const double winding = c[0][0] * (c[1][1] * c[2][2] - c[1][2] * c[2][1]) -
                           c[0][1] * (c[1][0] * c[2][2] - c[1][2] * c[2][0]) +
                           c[0][2] * (c[1][0] * c[2][1] - c[1][1] * c[2][0]);
    const bool clockwise =
        (ordering == SoShapeHintsElement::CLOCKWISE) != (cba->getModelMatrix().det3() < 0.0f);
    return clockwise ? winding > 0.0 : winding < 0.0;
}

// Only hidden-line drawings with feature edges read them, to find where a shape's surface
// is smooth. In viewing coordinates, so that the normals of different shapes compare.
const SbVec3f* SoVectorizeCallbacks::surfaceNormals(SoVectorizeAction* action,
                                                    SoCallbackAction* cba,
                                                    const SoPrimitiveVertex* const* vertices,
                                                    SbVec3f* normals) {
    if (action->hlhsrMode_ != SoVectorizeAction::HIDDEN_LINES_REMOVAL || !action->featureEdges_)
        return nullptr;
    const SbMatrix& toView = action->capture_->toView(cba);
    for (int i = 0; i < 3; ++i) {
        toView.multDirMatrix(vertices[i]->getNormal(), normals[i]);
        normals[i].normalize();
    }
    return normals;
}

void SoVectorizeCallbacks::captureVertex(SoVectorizeAction* action, SoCallbackAction* cba,
                                         const SoPrimitiveVertex* v, int slot,
                                         int& fullyTransparent) {
    SoVectorCapture& capture = *action->capture_;
    capture.points[slot] = homogeneous(v->getPoint());
    capture.colors[slot] = action->getColor(cba, v->getMaterialIndex(), fullyTransparent);
}

void SoVectorizeCallbacks::lineSegment(void* userData, SoCallbackAction* cba,
                                       const SoPrimitiveVertex* v1, const SoPrimitiveVertex* v2) {
    SoVectorizeAction* action = actionOf(userData);
    if (action->skipShapes_) return;
    action->updateViewport(cba);
    if (isInvisible(cba)) return;
    if (hasNaN(v1->getPoint()) || hasNaN(v2->getPoint())) {
        SoDebugError::postInfoOnce(
            "SoVectorizeAction::drawLineSegment",
            "Some clipping point contains NaN: line serialization will be skipped");
        return;
    }
    SoVectorCapture& capture = *action->capture_;
    capture.growIfFull();
    int transparent1 = 0;
    int transparent2 = 0;
    if (capture.count > 0) {
        if (capture.points[capture.count - 1] == homogeneous(v1->getPoint())) {
            captureVertex(action, cba, v2, capture.count, transparent2);
            if (!transparent2) {
                ++capture.count;
                SoVectorCapture::pendingKind = kPolyline;
            }
            return;
        }
        flushPending(action, cba);
    }
    captureVertex(action, cba, v1, 0, transparent1);
    captureVertex(action, cba, v2, 1, transparent2);
    if (transparent1 && transparent2) {
        capture.count = 0;
        return;
    }
    capture.count = 2;
    SoVectorCapture::pendingKind = kPolyline;
}

void SoVectorizeCallbacks::point(void* userData, SoCallbackAction* cba,
                                 const SoPrimitiveVertex* v) {
    SoVectorizeAction* action = actionOf(userData);
    action->updateViewport(cba);
    if (isInvisible(cba)) return;
    SoVectorCapture& capture = *action->capture_;
    capture.growIfFull();
    int transparent = 0;
    captureVertex(action, cba, v, capture.count, transparent);
    capture.ordinals[static_cast<size_t>(capture.count)] = capture.delivered++;
    if (!transparent) {
        ++capture.count;
        SoVectorCapture::pendingKind = kPoints;
    }
}

void SoVectorizeCallbacks::transformCaptureToClip(SoVectorizeAction* action,
                                                  SoCallbackAction* cba) {
    SoVectorCapture& capture = *action->capture_;
    const SbMatrix& toClip = action->capture_->toClip(cba);
    for (int i = 0; i < capture.count; ++i) {
        const SbVec4f object = capture.points[i];
        toClip.multVecMatrix(object, capture.points[i]);
    }
}

void SoVectorizeCallbacks::flushPending(SoVectorizeAction* action, SoCallbackAction* cba) {
    SoVectorCapture& capture = *action->capture_;
    if (SoVectorCapture::pendingKind == 0) {
        // Points all fully transparent were still counted: the next node numbers from 0.
        capture.reset();
        return;
    }
    transformCaptureToClip(action, cba);
    if (SoVectorCapture::pendingKind == kPolyline) {
        action->clipper_->clipPolyLine(cba, capture.points.data(), capture.count,
                                       capture.colors.data());
    } else if (SoVectorCapture::pendingKind == kPoints) {
        action->clipper_->clipPolyMark(cba, capture.points.data(), capture.count,
                                       capture.colors.data(), nullptr, nullptr);
    }
    SoVectorCapture::pendingKind = 0;
    capture.reset();
}

void SoVectorizeCallbacks::flushMarkers(SoVectorizeAction* action, SoCallbackAction* cba,
                                        const SoNode* markerSet) {
    if (isInvisible(cba)) return;
    SoVectorCapture& capture = *action->capture_;
    // Every point may have been fully transparent: nothing to print then.
    if (capture.count > 0) {
        transformCaptureToClip(action, cba);
        action->clipper_->clipPolyMark(
            cba, capture.points.data(), capture.count, capture.colors.data(),
            static_cast<SoMarkerSet*>(const_cast<SoNode*>(markerSet)), capture.ordinals.data());
    }
    SoVectorCapture::pendingKind = 0;
    capture.reset();
}

SoCallbackAction::Response SoVectorizeCallbacks::flush(void* userData, SoCallbackAction* cba,
                                                       const SoNode* node) {
    SoVectorizeAction* action = actionOf(userData);
    // Leaving a node may change the material, the lights or the shape hints.
    action->capture_->litVertices.clear();
    if (node->isOfType(SoMarkerSet::getClassTypeId())) {
        flushMarkers(action, cba, node);
    } else {
        flushPending(action, cba);
    }
    return SoCallbackAction::CONTINUE;
}

void SoVectorizeCallbacks::drawText2(SoVectorizeAction* action, SoCallbackAction* cba,
                                     const SoNode* node, int isAnnotation) {
    action->updateViewport(cba);
    if (isInvisible(cba)) return;
    int transparent = 0;
    const SbColor color = action->getColor(cba, 0, transparent);
    if (transparent) return;
    action->clipper_->clipText(cba, originToClip(*action->capture_, cba), color,
                               const_cast<SoNode*>(node), isAnnotation);
}

void SoVectorizeCallbacks::drawText3(SoVectorizeAction* action, SoCallbackAction* cba) {
    action->updateViewport(cba);
    if (isInvisible(cba)) return;
    SoState* state = cba->getState();
    const SoFontRenderStyleElement::Style style = SoFontRenderStyleElement::get(state);
    if (style == SoFontRenderStyleElement::TEXTURE ||
        style == SoFontRenderStyleElement::TEXTURE_DELAYED) {
        SoFontRenderStyleElement::set(state, SoFontRenderStyleElement::POLYGON_AND_OUTLINE);
    }
}

SoCallbackAction::Response SoVectorizeCallbacks::text2(void* userData, SoCallbackAction* cba,
                                                       const SoNode* node) {
    drawText2(actionOf(userData), cba, node, 0);
    return SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response SoVectorizeCallbacks::text3(void* userData, SoCallbackAction* cba,
                                                       const SoNode*) {
    drawText3(actionOf(userData), cba);
    return SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response SoVectorizeCallbacks::annoText3(void* userData, SoCallbackAction* cba,
                                                           const SoNode* node) {
    SoVectorizeAction* action = actionOf(userData);
    switch (SoAnnoText3RenderPrintElement::get(cba->getState())) {
        case SoAnnoText3RenderPrintElement::RENDER3D_PRINT_VECTOR:
            drawText3(action, cba);
            break;
        case SoAnnoText3RenderPrintElement::RENDER2D_PRINT_RASTER:
            // Printed as 2D text only: the glyph triangles the node is about to generate
            // must not be drawn as well.
            action->skipShapes_ = 1;
            drawText2(action, cba, node, 1);
            break;
        default:
            drawText2(action, cba, node, 1);
            break;
    }
    return SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response SoVectorizeCallbacks::annoText3Post(void* userData, SoCallbackAction*,
                                                               const SoNode*) {
    actionOf(userData)->skipShapes_ = 0;
    return SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response SoVectorizeCallbacks::image(void* userData, SoCallbackAction* cba,
                                                       const SoNode* node) {
    SoVectorizeAction* action = actionOf(userData);
    action->updateViewport(cba);
    if (isInvisible(cba)) return SoCallbackAction::CONTINUE;
    action->clipper_->clipImage(cba, originToClip(*action->capture_, cba),
                                static_cast<SoImage*>(const_cast<SoNode*>(node)));
    return SoCallbackAction::CONTINUE;
}

SoCallbackAction::Response SoVectorizeCallbacks::annotation(void* userData, SoCallbackAction* cba,
                                                            const SoNode*) {
    const SoPath* path = cba->getCurPath();
    if (path != nullptr) actionOf(userData)->delayedPaths_.append(path->copy());
    return SoCallbackAction::PRUNE;
}
