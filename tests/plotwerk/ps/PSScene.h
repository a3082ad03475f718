#pragma once

// Scenes for whole-document tests. The drawing is 100 x 100 mm at the default start
// position (10, 10) mm; an orthographic camera two units high looks down -z from z = 8, so
// an object point (x, y, 0) lands on the drawing at ((x + 1) x 50, (y + 1) x 50) mm and on
// the sheet 10 mm further right and up.

#include <Tessara/nodes/SoBaseColor.h>
#include <Tessara/nodes/SoCoordinate3.h>
#include <Tessara/nodes/SoDrawStyle.h>
#include <Tessara/nodes/SoFaceSet.h>
#include <Tessara/nodes/SoLightModel.h>
#include <Tessara/nodes/SoLineSet.h>
#include <Tessara/nodes/SoOrthographicCamera.h>
#include <Tessara/nodes/SoSeparator.h>

#include <initializer_list>

#include "plotwerk/ps/PSFixture.h"

class PSScene : public PSTest {
  protected:
    void SetUp() override {
        PSTest::SetUp();
        root = new SoSeparator;
        root->ref();
        root->addChild(camera());
        auto* model = new SoLightModel;
        model->model.setValue(SoLightModel::BASE_COLOR);
        root->addChild(model);
        action->setDrawingDimensions(100.0f, 100.0f);
        action->setColorTranslationMethod(SoVectorizeAction::KEEP_COLORS);
    }
    void TearDown() override {
        root->unref();
        PSTest::TearDown();
    }

    static SoOrthographicCamera* camera() {
        auto* cam = new SoOrthographicCamera;
        cam->position.setValue(SbVec3f(0, 0, 8));
        cam->height.setValue(2.0f);
        cam->nearDistance.setValue(1.0f);
        cam->farDistance.setValue(10.0f);
        return cam;
    }

    /// A separator holding a colour, coordinates and one shape over them.
    static SoSeparator* shape(const SbColor& color, std::initializer_list<SbVec3f> points,
                              SoNode* shapeNode) {
        auto* sep = new SoSeparator;
        auto* base = new SoBaseColor;
        base->rgb.setValue(color);
        sep->addChild(base);
        auto* coords = new SoCoordinate3;
        coords->point.setValues(points);
        sep->addChild(coords);
        sep->addChild(shapeNode);
        return sep;
    }

    /// A filled axis-aligned rectangle between two object corners.
    static SoSeparator* rectangle(const SbColor& color, float x0, float y0, float x1, float y1) {
        return shape(
            color, {SbVec3f(x0, y0, 0), SbVec3f(x1, y0, 0), SbVec3f(x1, y1, 0), SbVec3f(x0, y1, 0)},
            new SoFaceSet);
    }

    /// A straight line with a draw style.
    static SoSeparator* styledLine(const SbColor& color, SbVec3f from, SbVec3f to, float width,
                                   unsigned short pattern) {
        auto* sep = new SoSeparator;
        auto* style = new SoDrawStyle;
        style->lineWidth.setValue(width);
        style->linePattern.setValue(pattern);
        sep->addChild(style);
        sep->addChild(shape(color, {from, to}, new SoLineSet));
        return sep;
    }

    SoSeparator* root = nullptr;
};
