// Boxes, lines, planes, spheres, view volumes and viewport regions: seeded property checks of
// what each promises, and the conventions and edge cases by hand. A camera looks down its -z;
// screen coordinates run from 0 to 1 across the window and from the near plane to the far one.

#include <Tessara/math/SbBox2f.h>
#include <Tessara/math/SbBox3f.h>
#include <Tessara/math/SbLine.h>
#include <Tessara/math/SbPlane.h>
#include <Tessara/math/SbPolygonNormal.h>
#include <Tessara/math/SbSphere.h>
#include <Tessara/math/SbViewVolume.h>
#include <Tessara/math/SbViewportRegion.h>
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "MathTestUtil.h"

namespace {

SbVec3f screen(const SbViewVolume& vv, const SbVec3f& world) {
    SbVec3f out;
    vv.projectToScreen(world, out);
    return out;
}

// Normalised device coordinates through getMatrix() and an explicit division by w.
SbVec3f ndc(const SbViewVolume& vv, const SbVec3f& world) {
    SbVec4f clip;
    vv.getMatrix().multVecMatrix(SbVec4f(world[0], world[1], world[2], 1), clip);
    return SbVec3f(clip[0] / clip[3], clip[1] / clip[3], clip[2] / clip[3]);
}

}  // namespace

TEST(SbBox3f, HoldsRandomPointsAndTheirTransforms) {
    Random rnd(7);
    for (int i = 0; i < 100; ++i) {
        SbBox3f box;
        SbVec3f points[6], min = SbVec3f(FLT_MAX, FLT_MAX, FLT_MAX), max = -min;
        for (SbVec3f& p : points) {
            box.extendBy(p = rnd.vec());
            for (int k = 0; k < 3; ++k) {
                min[k] = std::min(min[k], p[k]);
                max[k] = std::max(max[k], p[k]);
            }
        }
        EXPECT_EQ(box, SbBox3f(min, max));
        EXPECT_EQ(box.getSize(), max - min);
        EXPECT_TRUE(box.hasVolume());
        EXPECT_TRUE(near(box.getCenter(), (min + max) * 0.5f, 1e-5f));
        const SbMatrix m = rnd.affine();
        SbBox3f moved = box;
        moved.transform(m);
        for (const SbVec3f& p : points) {
            EXPECT_TRUE(box.intersect(p));
            EXPECT_TRUE(moved.intersect(xform(m, p) * 0.999f + moved.getCenter() * 0.001f));
        }
        // The span along a direction runs between the corners that reach farthest either way.
        const SbVec3f direction = rnd.vec();
        float lo, hi;
        box.getSpan(direction, lo, hi);
        SbVec3f top;
        for (int k = 0; k < 3; ++k) top[k] = direction[k] < 0 ? min[k] : max[k];
        EXPECT_NEAR(top.dot(direction), hi, 1e-3f);
        EXPECT_NEAR((min + max - top).dot(direction), lo, 1e-3f);
        // Two boxes meet exactly when the point at their larger minima lies in both.
        const SbVec3f shift = rnd.vec(12);
        SbBox3f other;
        other.extendBy(shift + rnd.vec(2));
        other.extendBy(shift + rnd.vec(2));
        SbVec3f corner;
        for (int k = 0; k < 3; ++k) corner[k] = std::max(min[k], other.getMin()[k]);
        EXPECT_EQ(box.intersect(other), box.intersect(corner) && other.intersect(corner));
    }
}

// An empty box has no size or centre, a backward span, stays empty when moved, adds nothing
// and meets nothing; a box holds its limits.
TEST(SbBox, EmptyBoxesLimitsAndAspectByHand) {
    SbBox3f empty;
    EXPECT_EQ(empty.getSize(), SbVec3f(0, 0, 0));
    EXPECT_EQ(empty.getCenter(), SbVec3f(0, 0, 0));
    float lo, hi;
    empty.getSpan(SbVec3f(1, 0, 0), lo, hi);
    EXPECT_GT(lo, hi);
    empty.transform(Random(8).affine());
    SbBox3f box(0, 0, 0, 1, 2, 3);
    EXPECT_FALSE(box.intersect(empty) || empty.intersect(box));
    EXPECT_TRUE(box.intersect(SbBox3f(1, 2, 3, 4, 4, 4)));  // touching at a corner
    EXPECT_FALSE(box.intersect(SbVec3f(std::nextafter(1.0f, 2.0f), 1, 1)));
    EXPECT_FALSE(box.intersect(SbVec3f(std::numeric_limits<float>::quiet_NaN(), 1, 1)));
    box.extendBy(empty);
    empty.extendBy(box);
    EXPECT_EQ(empty, SbBox3f(0, 0, 0, 1, 2, 3));
    box.makeEmpty();
    box.extendBy(SbVec3f(1, 2, 3));
    EXPECT_FALSE(box.hasVolume());  // a single point
    box.setBounds(-FLT_MAX, -FLT_MAX, -FLT_MAX, FLT_MAX, FLT_MAX, FLT_MAX);
    EXPECT_EQ(box.getCenter(), SbVec3f(0, 0, 0));  // no overflow

    SbBox2f flat;
    EXPECT_EQ(flat.getSize(), SbVec2f(0, 0));
    EXPECT_EQ(flat.getCenter(), SbVec2f(0, 0));
    flat.extendBy(SbVec2f(5, -1));
    EXPECT_FALSE(flat.hasArea());
    flat.extendBy(SbBox2f(SbVec2f(0, 0), SbVec2f(6, 1)));
    flat.extendBy(SbBox2f());
    EXPECT_EQ(flat, SbBox2f(0, -1, 6, 1));
    EXPECT_EQ(flat.getCenter(), SbVec2f(3, 0));
    EXPECT_EQ(flat.getAspectRatio(), 3.0f);
    EXPECT_TRUE(flat.intersect(SbVec2f(6, 1)));
    EXPECT_FALSE(flat.intersect(SbVec2f(6.001f, 1)));
    EXPECT_TRUE(flat.intersect(SbBox2f(6, 1, 7, 7)));
    EXPECT_FALSE(flat.intersect(SbBox2f(6.5f, 0, 7, 1)));
    EXPECT_FALSE(flat.intersect(SbBox2f()));
    flat.setBounds(0, 0, 1, 0);
    EXPECT_EQ(flat.getAspectRatio(), 0.0f);
}

TEST(SbPlane, RandomPlanesLinesAndSpheres) {
    Random rnd(9);
    for (int i = 0; i < 200; ++i) {
        const SbVec3f p0 = rnd.vec(), p1 = rnd.vec(), p2 = rnd.vec(), q = rnd.vec();
        const SbPlane plane(p0, p1, p2);
        for (const SbVec3f& p : {p0, p1, p2}) EXPECT_NEAR(plane.getDistance(p), 0.0f, 1e-3f);
        EXPECT_NEAR(plane.getDistance(q), (q - p0).dot(plane.getNormal()), 1e-3f);
        EXPECT_EQ(plane.isInHalfSpace(q), plane.getDistance(q) >= 0.0f);
        // Planes move with their points, also under non-uniform scales.
        const SbMatrix m = rnd.affine();
        SbPlane moved = plane;
        moved.transform(m);
        for (const SbVec3f& p : {p0, p1, p2})
            EXPECT_NEAR(moved.getDistance(xform(m, p)), 0.0f, 1e-3f) << i;
        EXPECT_GT(moved.getDistance(xform(m, p0 + plane.getNormal())), 0.0f) << i;

        SbLine line;
        line.setPosDir(q, rnd.direction() * 3.0f);
        SbVec3f hit;
        ASSERT_TRUE(plane.intersect(line, hit));
        EXPECT_NEAR(plane.getDistance(hit), 0.0f, 1e-2f) << i;
        EXPECT_TRUE(near(line.getClosestPoint(hit), hit, 1e-2f)) << i;

        const SbLine other(p1, p2);
        SbVec3f onLine, onOther;
        ASSERT_TRUE(line.getClosestPoints(other, onLine, onOther));
        const SbVec3f gap = onOther - onLine;  // perpendicular to both lines
        EXPECT_NEAR(gap.dot(line.getDirection()), 0.0f, 1e-3f) << i;
        EXPECT_NEAR(gap.dot(other.getDirection()), 0.0f, 1e-3f) << i;

        const SbSphere sphere(p0, rnd.uniform(0.5f, 3));
        SbVec3f enter, exit;
        const bool crosses = (line.getClosestPoint(p0) - p0).length() <= sphere.getRadius();
        ASSERT_EQ(sphere.intersect(line, enter, exit), crosses) << i;
        if (!crosses) continue;
        EXPECT_NEAR((enter - p0).length(), sphere.getRadius(), 1e-3f) << i;
        EXPECT_NEAR((exit - p0).length(), sphere.getRadius(), 1e-3f) << i;
        EXPECT_GE((exit - enter).dot(line.getDirection()), 0.0f) << i;
        EXPECT_TRUE(sphere.pointInside((enter + exit) * 0.5f)) << i;
    }
}

// Triangles a tenth of a unit wide, far from the origin and at the ends of the float range:
// the normal of their corners as written (their differences are exact in floats).
TEST(SbPolygonNormal, RandomTrianglesAtAnyPlaceAndScale) {
    Random rnd(11);
    for (const auto& [offset, scale] :
         {std::pair{0.0f, 1.0f}, {1e5f, 1.0f}, {0.0f, 1e-20f}, {0.0f, 1e20f}, {-3e4f, 1e3f}}) {
        for (int i = 0; i < 50; ++i) {
            SbVec3f p[3];
            for (SbVec3f& corner : p) corner = (SbVec3f(1, 1, 1) * offset + rnd.vec(0.05f)) * scale;
            const SbVec3f a = p[1] - p[0], b = p[2] - p[0];
            const double n[3] = {double(a[1]) * b[2] - double(a[2]) * b[1],
                                 double(a[2]) * b[0] - double(a[0]) * b[2],
                                 double(a[0]) * b[1] - double(a[1]) * b[0]};
            const double l = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
            const SbVec3f expected(float(n[0] / l), float(n[1] / l), float(n[2] / l));
            SbPolygonNormal normal;
            for (const SbVec3f& corner : p) normal.add(corner);
            EXPECT_TRUE(near(normal.getUnit(), expected, 1e-5f)) << offset << " " << scale;
        }
    }
    SbPolygonNormal flat, broken;
    for (float x : {0.0f, 1.0f, 2.0f}) flat.add(x, x, x), broken.add(x, std::nanf(""), 0.0f);
    EXPECT_TRUE(flat.getUnit() == SbVec3f(0, 0, 0) && std::isnan(broken.getUnit()[1]));
}

TEST(SbPlane, ConventionsByHand) {
    const SbPlane z3(SbVec3f(0, 0, 2), 6.0f);  // unnormalised normal: still the plane z = 3
    EXPECT_EQ(z3.getNormal(), SbVec3f(0, 0, 1));
    EXPECT_EQ(z3.getDistanceFromOrigin(), 3.0f);
    EXPECT_EQ(z3, SbPlane(SbVec3f(0, 0, 3), SbVec3f(4, 5, 3)));
    // Counterclockwise seen from +z: the normal faces +z.
    EXPECT_EQ(z3, SbPlane(SbVec3f(0, 0, 3), SbVec3f(1, 0, 3), SbVec3f(0, 1, 3)));
    SbVec3f hit, a, b;
    const SbLine x(SbVec3f(0, 0, 0), SbVec3f(2, 0, 0));
    EXPECT_FALSE(z3.intersect(x, hit));
    EXPECT_FALSE(x.getClosestPoints(SbLine(SbVec3f(0, 1, 0), SbVec3f(5, 1, 0)), a, b));
    SbSphere sphere;
    sphere.circumscribe(SbBox3f(0, 0, 0, 2, 2, 2));
    EXPECT_EQ(sphere.getCenter(), SbVec3f(1, 1, 1));
    EXPECT_FLOAT_EQ(sphere.getRadius(), std::sqrt(3.0f));
    sphere.circumscribe(SbBox3f());
    EXPECT_EQ(sphere.getRadius(), 0.0f);
}

TEST(SbViewVolume, RandomVolumesProjectAndUnprojectConsistently) {
    Random rnd(10);
    for (int i = 0; i < 200; ++i) {
        SbViewVolume vv;
        const float l = rnd.uniform(-3, 0), r = rnd.uniform(0.5f, 3), b = rnd.uniform(-3, 0),
                    t = rnd.uniform(0.5f, 3), n = rnd.uniform(0.5f, 2), f = rnd.uniform(5, 50);
        if (i % 3 == 0) {
            vv.ortho(l, r, b, t, -n, f);
        } else if (i % 3 == 1) {
            vv.frustum(l, r, b, t, n, f);
        } else {
            vv.perspective(rnd.uniform(0.3f, 2.5f), rnd.uniform(0.5f, 2), n, f);
        }
        const SbRotation turn = rnd.rotation();
        const SbVec3f eye = rnd.vec();
        vv.rotateCamera(turn);
        vv.translateCamera(eye);
        EXPECT_TRUE(near(vv.getProjectionPoint(), eye));
        EXPECT_TRUE(near(vv.getCameraSpaceMatrix() * rotation(turn) * translation(eye),
                         SbMatrix::identity(), 1e-5f));
        SbMatrix affine, proj;
        vv.getMatrices(affine, proj);
        EXPECT_TRUE(near(affine * proj, vv.getMatrix(), 1e-6f));
        SbVec3f forward;
        turn.multVec(SbVec3f(0, 0, -1), forward);
        EXPECT_TRUE(near(vv.getProjectionDirection(), forward, 1e-6f));
        EXPECT_TRUE(near(vv.getPlane(3).getNormal(), -forward, 1e-5f));
        EXPECT_NEAR(vv.getPlane(3).getDistance(vv.getSightPoint(3)), 0.0f, 1e-4f);

        // A point of the window, pushed to the near and far planes and projected back.
        const SbVec2f pt(rnd.uniform(0, 1), rnd.uniform(0, 1));
        SbVec3f p0, p1;
        vv.projectPointToLine(pt, p0, p1);
        EXPECT_TRUE(near(screen(vv, p0), SbVec3f(pt[0], pt[1], 0), 1e-3f)) << i;
        EXPECT_TRUE(near(screen(vv, p1), SbVec3f(pt[0], pt[1], 1), 1e-3f)) << i;
        const SbVec3f between = p0 + (p1 - p0) * 0.3f;
        EXPECT_TRUE(near(screen(vv, between) * 2.0f - SbVec3f(1, 1, 1), ndc(vv, between), 1e-3f));
        SbLine ray;
        vv.projectPointToLine(pt, ray);
        if (vv.getProjectionType() == SbViewVolume::PERSPECTIVE) {  // rays pass through the eye
            EXPECT_TRUE(near(ray.getClosestPoint(eye), eye, 1e-3f)) << i;
        } else {
            EXPECT_TRUE(near(ray.getDirection(), forward, 1e-5f)) << i;
        }

        // A sub-window shows its part of the window full size.
        const SbViewVolume sub = vv.narrow(0.5f, 0.25f, 1.0f, 0.75f);
        const SbVec3f s = screen(sub, between), whole = screen(vv, between);
        EXPECT_TRUE(near(s, SbVec3f(2 * whole[0] - 1, 2 * whole[1] - 0.5f, whole[2]), 1e-3f));
    }
}

TEST(SbViewVolume, ClipMatricesByHand) {
    SbViewVolume vv;
    vv.ortho(0, 4, 0, 2, 1, 3);
    SbMatrix affine, proj;
    vv.getMatrices(affine, proj);
    // Row-vector layout: the offsets sit in row 3, and there is no perspective column.
    EXPECT_EQ(proj, SbMatrix(0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, -1, 0, -1, -1, -2, 1));
    EXPECT_TRUE(near(screen(vv, SbVec3f(1, 1.5f, -1.5f)), SbVec3f(0.25f, 0.75f, 0.25f)));
    vv.ortho(-1, 1, -1, 1, -5, 5);  // the near plane may lie behind the eye
    EXPECT_TRUE(near(screen(vv, SbVec3f(0, 0, 5)), SbVec3f(0.5f, 0.5f, 0)));

    vv.perspective(kHalfPi, 2.0f, 1.0f, 10.0f);  // near window 4 x 2
    vv.getMatrices(affine, proj);
    EXPECT_TRUE(near(proj,
                     SbMatrix(0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, -11.0f / 9, -1, 0, 0, -20.0f / 9, 0),
                     1e-6f));
    // Depth is not linear: halfway in z is 7/9 in clip space, and w is the distance.
    EXPECT_TRUE(near(ndc(vv, SbVec3f(0, 0, -5)), SbVec3f(0, 0, 7.0f / 9)));
    EXPECT_TRUE(near(screen(vv, SbVec3f(5, 2.5f, -5)), SbVec3f(0.75f, 0.75f, 8.0f / 9)));
    vv.frustum(0, 2, 0, 1, 1, 10);
    EXPECT_TRUE(near(screen(vv, SbVec3f(10, 5, -10)), SbVec3f(0.5f, 0.5f, 1)));

    // Turned to look down -x, the camera's right is world -z; later turns are about world axes.
    vv.rotateCamera(SbRotation(SbVec3f(0, 1, 0), kHalfPi));
    vv.translateCamera(SbVec3f(5, 0, 0));
    EXPECT_TRUE(near(screen(vv, SbVec3f(4, 0, -2)), SbVec3f(1, 0, 0), 1e-6f));
    vv.rotateCamera(SbRotation(SbVec3f(0, 0, 1), kHalfPi));
    EXPECT_TRUE(near(vv.getProjectionDirection(), SbVec3f(0, -1, 0), 1e-6f));
    vv.ortho(-2, 2, -1, 1, 1, 11);  // a new projection starts from an unplaced camera
    EXPECT_EQ(vv.getProjectionPoint(), SbVec3f(0, 0, 0));
    vv.scaleWidth(2.0f);  // about the centre
    vv.scaleHeight(0.5f);
    EXPECT_TRUE(near(screen(vv, SbVec3f(2, 0.5f, -1)), SbVec3f(0.75f, 1, 0)));
}

TEST(SbViewportRegion, PixelsFollowTheNormalisedViewport) {
    // A resized window keeps the normalised viewport; scaling keeps its centre.
    SbViewportRegion vp(640, 480);
    vp.setViewport(0.25f, 0.5f, 0.5f, 0.5f);
    vp.setWindowSize(1000, 500);
    EXPECT_EQ(vp.getViewportOriginPixels(), SbVec2s(250, 250));
    EXPECT_FLOAT_EQ(vp.getViewportAspectRatio(), 2.0f);
    vp.scaleWidth(0.5f);
    vp.scaleHeight(2.0f);
    EXPECT_EQ(vp.getViewportOrigin(), SbVec2f(0.375f, 0.25f));
    EXPECT_EQ(vp.getViewportSize(), SbVec2f(0.25f, 1.0f));
    // Halves round up: 0.5 of 3 pixels is 2.
    SbViewportRegion small(SbVec2s(3, 5), 144.0f);
    small.setViewport(0.0f, 0.0f, 0.5f, 0.5f);
    EXPECT_EQ(small.getViewportSizePixels(), SbVec2s(2, 3));
    // A pixel viewport comes back as set, even in an odd window.
    SbViewportRegion odd(641, 479), same(SbVec2s(641, 479));
    odd.setViewportPixels(SbVec2s(17, 301), SbVec2s(599, 97));
    EXPECT_EQ(odd.getViewportOriginPixels(), SbVec2s(17, 301));
    EXPECT_EQ(odd.getViewportSizePixels(), SbVec2s(599, 97));
    odd.setViewportPixels(160, 120, 320, 240);
    EXPECT_NE(odd, same);
    same.setViewport(odd.getViewportOrigin(), odd.getViewportSize());
    EXPECT_EQ(odd, same);
    same.setPixelsPerInch(96.0f);
    EXPECT_NE(odd, same);
    EXPECT_NE(SbViewportRegion(640, 480), SbViewportRegion(640, 481));
}
