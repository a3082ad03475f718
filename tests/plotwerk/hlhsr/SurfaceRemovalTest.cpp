// The offscreen pass of the surface-removal mode: polygons that leave no pixel are dropped
// before ordering; everything too small to judge, and everything that is not a polygon,
// stays.

#include "HlhsrFixture.h"

using namespace hlhsr;

namespace {

SoPolygon* outline(float x0, float y0, float x1, float y1, float z, int k) {
    SoPolygon* p = square(x0, y0, x1, y1, z, k);
    p->drawStyle = 1;
    return p;
}

}  // namespace

TEST(SurfaceRemoval, HiddenPolygonsGoTheRestStayInOrder) {
    std::vector<SoGraphicPrimitive*> hidden = {square(-1, -1, 1, 1, 0.1f, 0)};
    for (int k = 1; k <= 20; ++k) {
        const float x = -0.9f + 0.08f * k;
        hidden.push_back(square(x, -0.5f, x + 0.05f, 0.5f, 0.2f + 0.01f * k, k));
    }
    hidden.push_back(mark(pt(0, 0, 0.5f), 30));
    const struct {
        const char* what;
        std::vector<SoGraphicPrimitive*> records;
        std::vector<int> left;
    } cases[] = {
        // 0.001 wide on a 1-wide extent rendered 512 pixels wide: half a pixel.
        {"covered square goes, a sliver and a line stay",
         {square(-0.5f, -0.5f, 0.5f, 0.5f, 0.2f, 1), square(-0.25f, -0.25f, 0.25f, 0.25f, 0.8f, 2),
          square(0.1f, 0.1f, 0.101f, 0.3f, 0.9f, 3),
          segment(pt(-0.4f, 0, 0.95f), pt(0.4f, 0, 0.95f), 4)},
         {4, 3, 1}},
        {"partly visible squares all stay",
         {square(-0.5f, -0.5f, 0.2f, 0.2f, 0.2f, 1), square(-0.2f, -0.2f, 0.5f, 0.5f, 0.8f, 2),
          square(0.4f, -0.5f, 0.5f, -0.4f, 0.5f, 3)},
         {2, 3, 1}},
        // The marks widen the rendered extent: the pass does not read the border pixels, where
        // an outline along the extent's edge would fall.
        {"an outline hides nothing inside it",
         {outline(-0.5f, -0.5f, 0.5f, 0.5f, 0.2f, 1), square(-0.25f, -0.25f, 0.25f, 0.25f, 0.8f, 2),
          mark(pt(-1, -1, 0.5f), 3), mark(pt(1, 1, 0.5f), 4)},
         {2, 3, 4, 1}},
        // Farthest, the covered square comes first in the list: the paper around the nearer
        // one names no record.
        {"the paper names no record",
         {square(-0.5f, -0.5f, 0.5f, 0.5f, 0.2f, 1), square(-0.25f, -0.25f, 0.25f, 0.25f, 0.99f, 2),
          mark(pt(-1, -1, 0.5f), 3), mark(pt(1, 1, 0.5f), 4)},
         {3, 4, 1}},
        // Drawn after an outline, a filled square hides what lies behind it again.
        {"a fill after an outline hides",
         {square(-0.3f, -0.3f, 0.3f, 0.3f, 0.9f, 1), outline(-0.5f, -0.5f, 0.5f, 0.5f, 0.5f, 2),
          square(-0.4f, -0.4f, 0.4f, 0.4f, 0.2f, 3), mark(pt(-1, -1, 0.6f), 4),
          mark(pt(1, 1, 0.6f), 5)},
         {4, 5, 2, 3}},
        {"many hidden squares are compacted away", hidden, {30, 0}},
    };
    for (const auto& c : cases) {
        SoGraphicPrimitiveList list;
        for (SoGraphicPrimitive* record : c.records) list.add(record);
        SoHLHSRVectorize engine(nullptr, 2);
        SoHLHSRPainter(list, engine).run();
        EXPECT_EQ(tagsOf(list), c.left) << c.what;
    }
}
