// The stored records: the vertex order, colours and normal a polygon keeps, and the depth
// offset and extents of every kind.

#include "PairCheck.h"

using namespace hlhsr;

namespace {

const SbColor A(0.1f, 0.2f, 0.3f), B(0.4f, 0.5f, 0.6f), C(0.7f, 0.8f, 0.9f), D(1, 0, 1), E(0, 1, 0);

SoPolygon* withColors(const std::vector<SbVec4f>& points, const std::vector<SbColor>& colors,
                      float depthOffset = 0.0f) {
    auto* p = new SoPolygon;
    p->set(static_cast<int>(points.size()), points.data(), colors.data(), 1, 0.5f, 3.0f, 0x0F0F, 2,
           0, SbString("one"), SbString("two"), nullptr, depthOffset, 0.0f, 0.0f);
    return p;
}

}  // namespace

TEST(PolygonRecord, VertexOrderFacesTheViewerAndColoursFollowTheirPoints) {
    const SbVec4f o = pt(0, 0, 0), x = pt(1, 0, 0), y = pt(0, 1, 0), xy = pt(1, 1, 0);
    const struct {
        const char* what;
        std::vector<SbVec4f> points, storedPoints;
        std::vector<SbColor> colors, storedColors;
    } cases[] = {
        {"triangle facing the viewer", {o, y, x}, {o, y, x}, {A, B, C}, {A, B, C}},
        // From four points on, the last takes the first colour before anything else.
        {"quadrilateral facing the viewer",
         {o, y, xy, x},
         {o, y, xy, x},
         {A, B, C, D},
         {A, B, C, A}},
        {"triangle facing away", {o, x, y}, {o, y, x}, {A, B, C}, {A, C, B}},
        {"quadrilateral facing away", {o, x, xy, y}, {o, y, xy, x}, {A, B, C, D}, {A, A, C, B}},
        {"closing duplicate stays last",
         {o, x, xy, y, o},
         {o, y, xy, x, o},
         {A, B, C, D, E},
         {A, D, C, B, A}},
    };
    for (const auto& c : cases) {
        std::unique_ptr<SoPolygon> p(withColors(c.points, c.colors));
        std::vector<SbVec4f> points;
        std::vector<SbColor> colors;
        for (int k = 0; k < p->getNumPoints(); ++k) {
            points.push_back(*p->getPoint(k));
            colors.push_back(*p->getColor(k));
        }
        EXPECT_EQ(points, c.storedPoints) << c.what;
        EXPECT_EQ(colors, c.storedColors) << c.what;
    }
}

TEST(PolygonRecord, NormalIsTheUnitNormalOfItsPlaneTowardsTheViewer) {
    std::mt19937 random(5);
    for (int round = 0; round < 300; ++round) {
        const RandomConvex shape = randomConvex(random);
        std::unique_ptr<SoPolygon> p(polygon(shape.corners));
        // z = a x + b y + c: the viewer, at smaller depths, sees the side of (a, b, -1).
        SbVec3f expected(shape.a, shape.b, -1.0f);
        expected.normalize();
        SCOPED_TRACE(testing::Message() << "round " << round);
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(p->normal[c], expected[c], 1e-5f);
        }
        EXPECT_EQ(*p->getPoint(0), shape.corners[0]);
        Outline page;
        for (int k = 0; k < p->numPoints; ++k) page.push_back({p->points[k][0], p->points[k][1]});
        EXPECT_LT(twiceArea(page), 0.0) << "clockwise on the page";
    }
    std::unique_ptr<SoPolygon> line(polygon({pt(0, 0, 0), pt(1, 0, 1)}));
    EXPECT_EQ(line->normal, SbVec3f(0, 0, 0)) << "two points span no plane";
}

TEST(RecordExtents, DepthOffsetShiftsTheDepthsAndLeavesTheBox) {
    std::unique_ptr<SoPolygon> p(withColors(
        {pt(-0.5f, 0, 0.25f), pt(0, 0.75f, 0.5f), pt(0.5f, -0.25f, 0.125f)}, {A, B, C}, 0.25f));
    EXPECT_FLOAT_EQ((*p->getPoint(2))[2], 0.375f);
    EXPECT_FLOAT_EQ(p->getZMax(), 0.75f);
    EXPECT_FLOAT_EQ(p->getZMin(), 0.375f);
    EXPECT_EQ(*p->getBBox(), SbBox2f(-0.5f, -0.25f, 0.5f, 0.75f));
    // Text and images stand at one anchor point, without colours of their own.
    SoGraphicText2D text;
    const SbString lines[1] = {SbString("x")};
    text.set(SbVec4f(0.25f, -0.5f, 0.75f, 1), A, SbString("Font"), 12, 1, lines, 1, 0, 0);
    EXPECT_FLOAT_EQ(text.getZMax(), 0.75f);
    EXPECT_FLOAT_EQ(text.getZMin(), 0.75f);
    EXPECT_EQ(text.getNumPoints(), 1);
    EXPECT_EQ(text.getColor(0), nullptr);
    EXPECT_EQ(*text.getBBox(), SbBox2f(0.25f, -0.5f, 0.25f, -0.5f));
}
