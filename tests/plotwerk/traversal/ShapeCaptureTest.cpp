// Triangles: the unlit and the lit colour paths, transparency, flat shading, draw styles,
// and the camera that sees the page's proportions.

#include <Tessara/nodes/SoDirectionalLight.h>
#include <Tessara/nodes/SoDrawStyle.h>
#include <Tessara/nodes/SoFaceSet.h>
#include <Tessara/nodes/SoImage.h>
#include <Tessara/nodes/SoLineSet.h>
#include <Tessara/nodes/SoMaterial.h>
#include <Tessara/nodes/SoMaterialBinding.h>
#include <Tessara/nodes/SoPerspectiveCamera.h>
#include <Tessara/nodes/SoPointSet.h>
#include <Tessara/nodes/SoText2.h>

#include <cmath>

#include "TraversalFixture.h"
#include "support/DebugErrorRecorder.h"

using traversal::coordinatesFor;
using traversal::expectColor;
using traversal::expectPointAt;
using traversal::pageOf;
using K = RecordedCall;

namespace {

const SbVec3f kTriangle[3] = {SbVec3f(-0.5f, -0.5f, 0), SbVec3f(0.5f, -0.5f, 0),
                              SbVec3f(0, 0.5f, 0)};

SoSeparator* triangleNode() {
    auto* sep = new SoSeparator;
    sep->addChild(coordinatesFor({kTriangle[0], kTriangle[1], kTriangle[2]}));
    sep->addChild(new SoFaceSet);
    return sep;
}

// A material with one diffuse colour per vertex and nothing else that light could add.
SoMaterial* perVertexMaterial(std::initializer_list<SbColor> diffuse,
                              std::initializer_list<float> transparency = {0.0f}) {
    auto* material = new SoMaterial;
    material->diffuseColor.setValues(diffuse);
    material->ambientColor.setValue(SbColor(0, 0, 0));
    material->specularColor.setValue(SbColor(0, 0, 0));
    material->transparency.setValues(transparency);
    return material;
}

SoMaterialBinding* perVertexBinding() {
    auto* binding = new SoMaterialBinding;
    binding->value.setValue(SoMaterialBinding::PER_VERTEX);
    return binding;
}

}  // namespace

class ShapeCapture : public traversal::TraversalTest {
  protected:
    void setLightModel(SoLightModel::Model model) { lightModel->model.setValue(model); }

    // A white light coming down at 60 degrees from the triangle's normal: it lights the
    // triangle at cos 60 = 0.5 of its diffuse colour.
    void addSlantedLight() {
        auto* light = new SoDirectionalLight;
        light->direction.setValue(SbVec3f(0, -std::sqrt(3.0f) / 2.0f, -0.5f));
        root->addChild(light);
    }
};

TEST_F(ShapeCapture, AnUnlitTriangleIsOnePolygonInItsDiffuseColour) {
    root->addChild(perVertexMaterial({SbColor(1, 0, 0)}));
    root->addChild(triangleNode());
    action->apply(root);
    const std::vector<RecordedCall> polygons = action->ofKind(K::POLYGON);
    ASSERT_EQ(polygons.size(), 1u);
    ASSERT_EQ(polygons[0].points.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        expectPointAt(polygons[0].points[i], pageOf(kTriangle[i][0], kTriangle[i][1]));
    }
    EXPECT_EQ(polygons[0].multicolor, 0);
    ASSERT_EQ(polygons[0].colors.size(), 1u);
    expectColor(polygons[0].colors[0], SbColor(1, 0, 0));
    EXPECT_TRUE(polygons[0].pattern.empty());
}

TEST_F(ShapeCapture, ColoursAreTranslatedForPaper) {
    action->setColorTranslationMethod(SoVectorizeAction::SWAP_BLACK_AND_WHITE);
    root->addChild(perVertexMaterial({SbColor(1, 1, 1)}));
    root->addChild(triangleNode());
    action->apply(root);
    const std::vector<RecordedCall> polygons = action->ofKind(K::POLYGON);
    ASSERT_EQ(polygons.size(), 1u);
    expectColor(polygons[0].colors[0], SbColor(0, 0, 0));
}

TEST_F(ShapeCapture, AFullyTransparentTriangleIsNotDrawn) {
    root->addChild(perVertexMaterial({SbColor(1, 0, 0), SbColor(0, 1, 0), SbColor(0, 0, 1)},
                                     {1.0f, 1.0f, 1.0f}));
    root->addChild(perVertexBinding());
    root->addChild(triangleNode());
    action->apply(root);
    EXPECT_EQ(action->count(K::POLYGON), 0u);
}

TEST_F(ShapeCapture, OneOpaqueVertexIsEnoughToDrawTheTriangleWithAllItsColours) {
    action->setShadeModel(SoVectorizeAction::SMOOTH);
    root->addChild(perVertexMaterial({SbColor(1, 0, 0), SbColor(0, 1, 0), SbColor(0, 0, 1)},
                                     {1.0f, 0.0f, 1.0f}));
    root->addChild(perVertexBinding());
    root->addChild(triangleNode());
    action->apply(root);
    const std::vector<RecordedCall> polygons = action->ofKind(K::POLYGON);
    ASSERT_EQ(polygons.size(), 1u);
    EXPECT_EQ(polygons[0].multicolor, 1);
    ASSERT_EQ(polygons[0].colors.size(), 3u);
    expectColor(polygons[0].colors[0], SbColor(1, 0, 0));
    expectColor(polygons[0].colors[1], SbColor(0, 1, 0));
    expectColor(polygons[0].colors[2], SbColor(0, 0, 1));
}

TEST_F(ShapeCapture, PerPixelPhongIsLitOnlyWhenLightingIsEnabled) {
    setLightModel(SoLightModel::PER_PIXEL_PHONG);
    addSlantedLight();
    root->addChild(perVertexMaterial({SbColor(0.5f, 0.5f, 0.5f)}));
    root->addChild(triangleNode());

    action->apply(root);
    std::vector<RecordedCall> polygons = action->ofKind(K::POLYGON);
    ASSERT_EQ(polygons.size(), 1u);
    expectColor(polygons[0].colors[0], SbColor(0.5f, 0.5f, 0.5f));

    action->clear();
    action->enableLighting(1);
    action->apply(root);
    polygons = action->ofKind(K::POLYGON);
    ASSERT_EQ(polygons.size(), 1u);
    expectColor(polygons[0].colors[0], SbColor(0.25f, 0.25f, 0.25f));
}

TEST_F(ShapeCapture, PhongIsLitWhetherOrNotLightingIsEnabled) {
    setLightModel(SoLightModel::PHONG);
    addSlantedLight();
    root->addChild(perVertexMaterial({SbColor(0.5f, 0.5f, 0.5f)}));
    root->addChild(triangleNode());
    ASSERT_EQ(action->isLightingEnabled(), 0);
    action->apply(root);
    const std::vector<RecordedCall> polygons = action->ofKind(K::POLYGON);
    ASSERT_EQ(polygons.size(), 1u);
    expectColor(polygons[0].colors[0], SbColor(0.25f, 0.25f, 0.25f));
}

TEST_F(ShapeCapture, FlatShadingPrintsTheMeanOfTheLitVertexColours) {
    setLightModel(SoLightModel::PHONG);
    addSlantedLight();
    root->addChild(perVertexMaterial({SbColor(1, 0, 0), SbColor(0, 1, 0), SbColor(0, 0.5f, 1)}));
    root->addChild(perVertexBinding());
    root->addChild(triangleNode());

    action->setShadeModel(SoVectorizeAction::SMOOTH);
    action->apply(root);
    const std::vector<RecordedCall> smooth = action->ofKind(K::POLYGON);
    ASSERT_EQ(smooth.size(), 1u);
    ASSERT_EQ(smooth[0].multicolor, 1);
    ASSERT_EQ(smooth[0].colors.size(), 3u);
    expectColor(smooth[0].colors[0], SbColor(0.5f, 0, 0));
    expectColor(smooth[0].colors[1], SbColor(0, 0.5f, 0));
    expectColor(smooth[0].colors[2], SbColor(0, 0.25f, 0.5f));

    action->clear();
    action->setShadeModel(SoVectorizeAction::FLAT);
    action->apply(root);
    const std::vector<RecordedCall> flat = action->ofKind(K::POLYGON);
    ASSERT_EQ(flat.size(), 1u);
    EXPECT_EQ(flat[0].multicolor, 0);
    const SbColor mean = (smooth[0].colors[0] + smooth[0].colors[1] + smooth[0].colors[2]) / 3.0f;
    expectColor(flat[0].colors[0], mean);
}

TEST_F(ShapeCapture, SharedPointsWithTheirOwnMaterialsAreLitEachInItsOwnColour) {
    // Two triangles meeting along an edge; per-vertex materials give the shared points a
    // different material in each triangle, so a colour lit for one must not serve the other.
    setLightModel(SoLightModel::PHONG);
    addSlantedLight();
    const SbColor diffuse[6] = {SbColor(1, 0, 0), SbColor(0, 1, 0), SbColor(0, 0, 1),
                                SbColor(1, 1, 0), SbColor(0, 1, 1), SbColor(1, 0, 1)};
    root->addChild(perVertexMaterial(
        {diffuse[0], diffuse[1], diffuse[2], diffuse[3], diffuse[4], diffuse[5]}));
    root->addChild(perVertexBinding());
    root->addChild(coordinatesFor({SbVec3f(-0.5f, -0.5f, 0), SbVec3f(0.5f, -0.5f, 0),
                                   SbVec3f(0.5f, 0.5f, 0), SbVec3f(-0.5f, -0.5f, 0),
                                   SbVec3f(0.5f, 0.5f, 0), SbVec3f(-0.5f, 0.5f, 0)}));
    auto* faces = new SoFaceSet;
    faces->numVertices.setValues({3, 3});
    root->addChild(faces);
    action->setShadeModel(SoVectorizeAction::SMOOTH);
    action->apply(root);

    const std::vector<RecordedCall> polygons = action->ofKind(K::POLYGON);
    ASSERT_EQ(polygons.size(), 2u);
    for (int t = 0; t < 2; ++t) {
        ASSERT_EQ(polygons[t].colors.size(), 3u);
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(3 * t + i);
            expectColor(polygons[t].colors[i], diffuse[3 * t + i] * 0.5f);
        }
    }
}

TEST_F(ShapeCapture, EachShapeIsLitInTheStateInForceForIt) {
    // The same triangle twice, with the material and then the light changed in between.
    setLightModel(SoLightModel::PHONG);
    addSlantedLight();
    root->addChild(perVertexMaterial({SbColor(1, 0, 0)}));
    root->addChild(triangleNode());
    root->addChild(perVertexMaterial({SbColor(0, 1, 0)}));
    root->addChild(triangleNode());
    auto* frontal = new SoDirectionalLight;
    frontal->direction.setValue(SbVec3f(0, 0, -1));
    root->addChild(frontal);
    root->addChild(triangleNode());
    action->apply(root);

    const std::vector<RecordedCall> polygons = action->ofKind(K::POLYGON);
    ASSERT_EQ(polygons.size(), 3u);
    expectColor(polygons[0].colors[0], SbColor(0.5f, 0, 0));
    expectColor(polygons[1].colors[0], SbColor(0, 0.5f, 0));
    // Both lights now: cos 60 from the slanted one plus the full frontal one.
    expectColor(polygons[2].colors[0], SbColor(0, 1.0f, 0));
}

TEST_F(ShapeCapture, LitAndUnlitTrianglesLandOnThePageAlikeUnderPerspective) {
    auto* perspective = new SoPerspectiveCamera;
    perspective->position.setValue(SbVec3f(0, 0, 5));
    perspective->heightAngle.setValue(static_cast<float>(M_PI / 4.0));
    root->replaceChild(camera, perspective);
    root->addChild(triangleNode());
    // x / (distance × tan(half angle)) in normalised coordinates, then onto the page.
    const float scale = 1.0f / (5.0f * std::tan(static_cast<float>(M_PI / 8.0)));

    for (SoLightModel::Model model : {SoLightModel::BASE_COLOR, SoLightModel::PHONG}) {
        SCOPED_TRACE(model);
        setLightModel(model);
        action->clear();
        action->apply(root);
        const std::vector<RecordedCall> polygons = action->ofKind(K::POLYGON);
        ASSERT_EQ(polygons.size(), 1u);
        ASSERT_EQ(polygons[0].points.size(), 3u);
        for (int i = 0; i < 3; ++i) {
            expectPointAt(polygons[0].points[i],
                          pageOf(kTriangle[i][0] * scale, kTriangle[i][1] * scale));
        }
    }
}

TEST_F(ShapeCapture, InvisibleDrawStyleDrawsNothingAtAll) {
    auto* style = new SoDrawStyle;
    style->style.setValue(SoDrawStyle::INVISIBLE);
    root->addChild(style);
    root->addChild(triangleNode());
    root->addChild(coordinatesFor({SbVec3f(-0.5f, 0, 0), SbVec3f(0.5f, 0, 0)}));
    root->addChild(new SoLineSet);
    root->addChild(new SoPointSet);
    auto* text = new SoText2;
    text->string.setValue(SbString("hidden"));
    root->addChild(text);
    auto* image = new SoImage;
    const unsigned char pixel[3] = {255, 0, 0};
    image->image.setValue(SbVec2s(1, 1), 3, pixel);
    root->addChild(image);
    action->apply(root);
    EXPECT_EQ(traversal::drawingCalls(*action), 0u);
}

TEST_F(ShapeCapture, LineStyleWithoutAPatternDrawsNoPolygonOrPolyline) {
    auto* style = new SoDrawStyle;
    style->style.setValue(SoDrawStyle::LINES);
    style->linePattern.setValue(0);
    root->addChild(style);
    root->addChild(triangleNode());
    root->addChild(coordinatesFor({SbVec3f(-0.5f, 0, 0), SbVec3f(0.5f, 0, 0)}));
    root->addChild(new SoLineSet);
    action->apply(root);
    EXPECT_EQ(action->count(K::POLYGON), 0u);
    EXPECT_EQ(action->count(K::POLYLINE), 0u);
}

TEST_F(ShapeCapture, LineStyleDrawsTheClosedOutline) {
    auto* style = new SoDrawStyle;
    style->style.setValue(SoDrawStyle::LINES);
    root->addChild(style);
    root->addChild(triangleNode());
    action->apply(root);
    EXPECT_EQ(action->count(K::POLYGON), 0u);
    const std::vector<RecordedCall> outlines = action->ofKind(K::POLYLINE);
    ASSERT_EQ(outlines.size(), 1u);
    ASSERT_EQ(outlines[0].points.size(), 4u);
    expectPointAt(outlines[0].points[0], pageOf(kTriangle[0][0], kTriangle[0][1]));
    expectPointAt(outlines[0].points[3], pageOf(kTriangle[0][0], kTriangle[0][1]));
}

TEST_F(ShapeCapture, PointStyleDrawsTheVerticesAsDots) {
    auto* style = new SoDrawStyle;
    style->style.setValue(SoDrawStyle::POINTS);
    style->pointSize.setValue(2.0f);
    root->addChild(style);
    root->addChild(triangleNode());
    action->apply(root);
    EXPECT_EQ(action->count(K::POLYGON), 0u);
    const std::vector<RecordedCall> dots = action->ofKind(K::POLYMARK_DOTS);
    ASSERT_EQ(dots.size(), 1u);
    EXPECT_EQ(dots[0].points.size(), 3u);
    EXPECT_FLOAT_EQ(dots[0].pointSize, 2.0f);
}

class CameraAspect : public traversal::TraversalTest {
  protected:
    // The extent on the page of the square (-1, -1)-(1, 1), drawn as two triangles.
    SbBox2f squareOnPage() {
        auto* square = new SoSeparator;
        square->addChild(coordinatesFor(
            {SbVec3f(-1, -1, 0), SbVec3f(1, -1, 0), SbVec3f(1, 1, 0), SbVec3f(-1, 1, 0)}));
        square->addChild(new SoFaceSet);
        root->addChild(square);
        action->apply(root);
        SbBox2f box;
        for (const RecordedCall& polygon : action->ofKind(K::POLYGON)) {
            for (const SbVec4f& p : polygon.points) box.extendBy(SbVec2f(p[0], p[1]));
        }
        return box;
    }

    SbVec2s windowSizeSeen() const {
        const std::vector<RecordedCall> clips = action->ofKind(K::HARDWARE_CLIP);
        return clips.empty() ? SbVec2s(0, 0) : clips[0].viewport.getWindowSize();
    }
};

TEST_F(CameraAspect, AWideDrawingKeepsTheSceneSquareAndCentred) {
    action->setDrawingDimensions(200.0f, 100.0f);
    const SbBox2f box = squareOnPage();
    float xmin, ymin, xmax, ymax;
    box.getBounds(xmin, ymin, xmax, ymax);
    EXPECT_NEAR(xmin, 50.0f, 1e-2f);
    EXPECT_NEAR(xmax, 150.0f, 1e-2f);
    EXPECT_NEAR(ymin, 0.0f, 1e-2f);
    EXPECT_NEAR(ymax, 100.0f, 1e-2f);
    EXPECT_EQ(windowSizeSeen(), SbVec2s(20000, 10000));
}

TEST_F(CameraAspect, ATallDrawingKeepsTheSceneSquare) {
    action->setDrawingDimensions(100.0f, 300.0f);
    const SbBox2f box = squareOnPage();
    float xmin, ymin, xmax, ymax;
    box.getBounds(xmin, ymin, xmax, ymax);
    EXPECT_NEAR(xmax - xmin, ymax - ymin, 0.05f);
    EXPECT_NEAR(xmin, 0.0f, 0.05f);
    EXPECT_NEAR(xmax, 100.0f, 0.05f);
    EXPECT_NEAR((ymin + ymax) / 2.0f, 150.0f, 0.05f);
    EXPECT_EQ(windowSizeSeen(), SbVec2s(3333, 10000));
}

TEST_F(CameraAspect, AVeryWideDrawingStillKeepsItsProportions) {
    // 5 : 1 would need a window 50000 pixels wide; the proportions must survive anyway.
    action->setDrawingDimensions(500.0f, 100.0f);
    const SbBox2f box = squareOnPage();
    float xmin, ymin, xmax, ymax;
    box.getBounds(xmin, ymin, xmax, ymax);
    EXPECT_NEAR(xmax - xmin, 100.0f, 0.1f);
    EXPECT_NEAR(ymax - ymin, 100.0f, 0.1f);
    EXPECT_NEAR((xmin + xmax) / 2.0f, 250.0f, 0.1f);
}

TEST_F(CameraAspect, ADrawingWithoutHeightIsReportedAndTheTraversalGoesOn) {
    DebugErrorRecorder errors;
    action->setDrawingDimensions(100.0f, 0.0f);
    root->addChild(coordinatesFor({SbVec3f(-0.5f, 0, 0), SbVec3f(0.5f, 0, 0)}));
    root->addChild(new SoLineSet);
    action->apply(root);
    EXPECT_TRUE(errors.contains("SoVectorizeAction::cameraCB", "aspect ratio")) << errors.dump();
    EXPECT_EQ(action->getCalls().back().kind, K::FOOTER);
}
