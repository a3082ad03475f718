// Bad input to the math types is reported through SoDebugError and leaves something harmless:
// an identity, a zero, or the value as it was.

#include <Tessara/math/SbBox2f.h>
#include <Tessara/math/SbBox3f.h>
#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbLine.h>
#include <Tessara/math/SbPlane.h>
#include <Tessara/math/SbSphere.h>
#include <Tessara/math/SbVec2f.h>
#include <Tessara/math/SbVec2i32.h>
#include <Tessara/math/SbVec2s.h>
#include <Tessara/math/SbViewVolume.h>
#include <Tessara/math/SbViewportRegion.h>
#include <gtest/gtest.h>

#include <limits>

#include "MathTestUtil.h"
#include "support/DebugErrorRecorder.h"

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();

}  // namespace

TEST(MathBadInput, SingularMatricesInvertToIdentityWithAWarning) {
    DebugErrorRecorder recorder;
    SbMatrix nan;
    nan[1][1] = kNaN;
    const SbMatrix singular[] = {
        scaling(SbVec3f(1, 0, 1)), SbMatrix(1, 2, 3, 4, 2, 4, 6, 8, 0, 0, 1, 0, 0, 0, 0, 1),
        // Row 2 = row 0 + 2 row 1, but elimination leaves rounding dust instead of a zero.
        SbMatrix(3, 2, 5, 0, 8, 9, 3, 0, 19, 20, 11, 0, 0, 0, 0, 1), nan};
    for (const SbMatrix& m : singular) EXPECT_EQ(m.inverse(), SbMatrix::identity());
    EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), 4u) << recorder.dump();
    // Tiny but regular scales are not singular.
    EXPECT_TRUE(near(scaling(SbVec3f(1e-4f, 1e-4f, 1e-4f)).inverse(),
                     scaling(SbVec3f(1e4f, 1e4f, 1e4f)), 0.01f));
    // A singular matrix leaves a plane as it was.
    SbPlane plane(SbVec3f(0, 0, 1), 3.0f);
    plane.transform(scaling(SbVec3f(1, 1, 0)));
    EXPECT_EQ(plane, SbPlane(SbVec3f(0, 0, 1), 3.0f));
    SbVec3f real;
    SbVec4f(1, 2, 3, 0).getReal(real);  // a direction: x, y, z come back undivided
    EXPECT_EQ(real, SbVec3f(1, 2, 3));
    EXPECT_EQ(recorder.countSeverity(SoDebugError::WARNING), 6u) << recorder.dump();
    EXPECT_EQ(recorder.size(), 6u) << recorder.dump();
}

TEST(MathBadInput, BadIndicesNullArraysAndDegenerateValuesAreReported) {
    DebugErrorRecorder recorder;
    SbVec3f v(1, 2, 3);
    v[3] = 99.0f;  // lands in a scratch value, which the next bad access clears again
    EXPECT_EQ(v[-1], 0.0f);
    EXPECT_EQ(v, SbVec3f(1, 2, 3));
    EXPECT_TRUE(recorder.contains("SbVec3f", "index 3")) << recorder.dump();
    SbMatrix m;
    m[4][0] = 1.0f;
    EXPECT_EQ(m[-1][0], 0.0f);
    EXPECT_EQ(m, SbMatrix::identity());
    EXPECT_EQ(SbVec2i32(1, 2)[2], 0);
    EXPECT_EQ(recorder.size(), 5u) << recorder.dump();
    recorder.clear();

    EXPECT_EQ(SbVec3f(static_cast<const float*>(nullptr)), SbVec3f(0, 0, 0));
    EXPECT_TRUE(recorder.contains("SbVec3f::setValue", "null"));
    EXPECT_EQ(SbVec2s(static_cast<const short*>(nullptr)), SbVec2s(0, 0));
    EXPECT_EQ(SbVec2i32(static_cast<const int32_t*>(nullptr)), SbVec2i32(0, 0));
    m.setValue(static_cast<const float*>(nullptr));
    m.getValue(static_cast<float(*)[4]>(nullptr));
    m.print(nullptr);
    SbColor colour(0, 1, 0);
    colour.setHSVValue(nullptr);
    colour.getHSVValue(nullptr);
    EXPECT_EQ(colour, SbColor(0, 1, 0));
    EXPECT_EQ(colour.setHSVValue(std::numeric_limits<float>::infinity(), 1, 1), SbColor(1, 0, 0));
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 9u) << recorder.dump();
    recorder.clear();

    // Degenerate rotations are the identity.
    const SbRotation rotations[] = {SbRotation(SbVec3f(0, 0, 0), 1.0f),
                                    SbRotation(SbVec3f(1, 0, 0), kNaN),
                                    SbRotation(0, 0, 0, 0),
                                    SbRotation(SbVec3f(0, 0, 0), SbVec3f(1, 0, 0)),
                                    SbRotation(scaling(SbVec3f(1, 0, 1))),
                                    SbRotation(static_cast<const float*>(nullptr))};
    for (const SbRotation& r : rotations) EXPECT_EQ(r, SbRotation::identity());
    SbVec3f t, s;
    SbRotation r, so;
    SbMatrix nan;
    nan[1][1] = kNaN;
    nan.getTransform(t, r, s, so);
    EXPECT_EQ(s, SbVec3f(1, 1, 1));
    EXPECT_EQ(r, SbRotation::identity());
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 7u) << recorder.dump();
    recorder.clear();

    // Degenerate geometry: NaN points are ignored, zero directions and normals become +z.
    SbBox3f box(0, 0, 0, 1, 1, 1);
    box.extendBy(SbVec3f(5, kNaN, 5));
    EXPECT_EQ(box, SbBox3f(0, 0, 0, 1, 1, 1));
    SbBox2f flat(0, 0, 1, 1);
    flat.extendBy(SbVec2f(kNaN, 0));
    EXPECT_EQ(flat, SbBox2f(0, 0, 1, 1));
    EXPECT_EQ(SbLine(SbVec3f(1, 2, 3), SbVec3f(1, 2, 3)).getDirection(), SbVec3f(0, 0, 1));
    SbLine line;
    line.setPosDir(SbVec3f(1, 2, 3), SbVec3f(0, 0, 0));
    EXPECT_EQ(line.getDirection(), SbVec3f(0, 0, 1));
    EXPECT_EQ(SbPlane(SbVec3f(1, 1, 1), SbVec3f(2, 2, 2), SbVec3f(3, 3, 3)).getNormal(),
              SbVec3f(0, 0, 1));
    EXPECT_EQ(SbSphere(SbVec3f(1, 1, 1), -1.0f).getRadius(), 0.0f);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 6u) << recorder.dump();
}

TEST(MathBadInput, InvalidVolumesAndViewportsAreReportedAndIgnored) {
    DebugErrorRecorder recorder;
    SbViewVolume vv;
    vv.perspective(1.0f, 1.5f, 1.0f, 10.0f);
    const SbMatrix before = vv.getMatrix();
    vv.ortho(1, 1, -1, 1, 0, 1);        // no width
    vv.perspective(0.0f, 1.0f, 1, 10);  // no field of view
    vv.perspective(1.0f, 1.0f, 0, 10);  // eye on the near plane
    vv.frustum(-1, 1, -1, 1, -1, 10);   // near behind the eye
    vv.scaleWidth(0.0f);
    const SbViewVolume same = vv.narrow(0.5f, 0.0f, 0.5f, 1.0f);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 6u) << recorder.dump();
    EXPECT_EQ(vv.getMatrix(), before);
    EXPECT_EQ(same.getMatrix(), before);
    EXPECT_EQ(vv.getProjectionType(), SbViewVolume::PERSPECTIVE);
    recorder.clear();

    SbViewportRegion vp(640, 480);
    const SbViewportRegion unchanged = vp;
    vp.setWindowSize(0, 480);
    vp.setViewport(0.0f, 0.0f, 0.0f, 1.0f);
    vp.setPixelsPerInch(0.0f);
    vp.scaleWidth(-1.0f);
    EXPECT_EQ(vp, unchanged);
    EXPECT_EQ(recorder.countSeverity(SoDebugError::ERROR), 4u) << recorder.dump();
}
