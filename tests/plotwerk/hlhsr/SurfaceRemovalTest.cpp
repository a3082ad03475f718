// The offscreen pass of the surface-removal mode: polygons that leave no pixel are dropped
// before ordering; everything too small to judge, and everything that is not a polygon,
// stays.

#include "HlhsrFixture.h"

using namespace hlhsr;

namespace {

void runSurfaceRemoval(SoGraphicPrimitiveList& list) {
    SoHLHSRVectorize engine(nullptr, 2);
    SoHLHSRPainter(list, engine).run();
}

SoPolygon* outline(float x0, float y0, float x1, float y1, float z, int k) {
    SoPolygon* p = square(x0, y0, x1, y1, z, k);
    p->drawStyle = 1;
    return p;
}

}  // namespace

TEST(SurfaceRemoval, CoveredPolygonIsDroppedSmallOnesAndLinesStay) {
    SoGraphicPrimitiveList list;
    list.add(square(-0.5f, -0.5f, 0.5f, 0.5f, 0.2f, 1));
    list.add(square(-0.25f, -0.25f, 0.25f, 0.25f, 0.8f, 2));
    // 0.001 wide on a 1-wide extent rendered 512 pixels wide: half a pixel.
    list.add(square(0.1f, 0.1f, 0.101f, 0.3f, 0.9f, 3));
    list.add(segment(pt(-0.4f, 0, 0.95f), pt(0.4f, 0, 0.95f), 4));
    runSurfaceRemoval(list);
    EXPECT_EQ(tagsOf(list), (std::vector<int>{4, 3, 1}));
}

TEST(SurfaceRemoval, PartlyVisiblePolygonsAllStay) {
    SoGraphicPrimitiveList list;
    list.add(square(-0.5f, -0.5f, 0.2f, 0.2f, 0.2f, 1));
    list.add(square(-0.2f, -0.2f, 0.5f, 0.5f, 0.8f, 2));
    list.add(square(0.4f, -0.5f, 0.5f, -0.4f, 0.5f, 3));
    runSurfaceRemoval(list);
    EXPECT_EQ(tagsOf(list), (std::vector<int>{2, 3, 1}));
}

TEST(SurfaceRemoval, AnOutlineDoesNotHideWhatIsInsideIt) {
    SoGraphicPrimitiveList list;
    list.add(outline(-0.5f, -0.5f, 0.5f, 0.5f, 0.2f, 1));
    list.add(square(-0.25f, -0.25f, 0.25f, 0.25f, 0.8f, 2));
    // Marks widen the rendered extent: the pass does not read the border pixels, where an
    // outline along the extent's edge would fall.
    list.add(mark(pt(-1, -1, 0.5f), 3));
    list.add(mark(pt(1, 1, 0.5f), 4));
    runSurfaceRemoval(list);
    EXPECT_EQ(tagsOf(list), (std::vector<int>{2, 3, 4, 1}));
}

TEST(SurfaceRemoval, ManyHiddenPolygonsAreCompactedAway) {
    SoGraphicPrimitiveList list;
    list.add(square(-1, -1, 1, 1, 0.1f, 0));
    for (int k = 1; k <= 20; ++k) {
        const float x = -0.9f + 0.08f * k;
        list.add(square(x, -0.5f, x + 0.05f, 0.5f, 0.2f + 0.01f * k, k));
    }
    list.add(mark(pt(0, 0, 0.5f), 30));
    runSurfaceRemoval(list);
    EXPECT_EQ(tagsOf(list), (std::vector<int>{30, 0}));
}
