// The raster mode end to end on a recording backend: what it prints of records that hide
// one another, how big a raster it draws, and how its renderer cuts a raster into tiles
// and passes.

#include <cmath>
#include <map>
#include <set>

#include "../../../libPlotWerk/src/hlhsr/raster/SoHLHSRImageVectorizer.h"
#include "../../../libPlotWerk/src/hlhsr/raster/SoPrimitivesRenderer.h"
#include "../../../libPlotWerk/src/hlhsr/raster/SoTileBufferObserver.h"
#include "../hlhsr/HlhsrFixture.h"

using namespace hlhsr;

namespace {

constexpr float kPage = 100.0f;  // millimetres; normalised -1 .. 1 spans it
// Colours apart by more than a hundredth, which prints them apart.
constexpr int kFar = 10, kNear = 20;

SbVec2f onPage(float x, float y) {
    return SbVec2f((x + 1) * kPage / 2, (y + 1) * kPage / 2);
}

void addSquare(SoHLHSRVectorize& engine, float x0, float y0, float x1, float y1, float z, int k,
               int style = 0) {
    const SbVec4f points[4] = {pt(x0, y0, z), pt(x1, y0, z), pt(x1, y1, z), pt(x0, y1, z)};
    const SbColor colors[4] = {tag(k), tag(k), tag(k), tag(k)};
    engine.addPolygon(points, 4, colors, 0, 1.0f, 2.0f, 0xFFFF, 1, style, SbString(), SbString(),
                      nullptr, 0.0f, 0.0f);
}

double area(const RecordedCall& call) {
    double twice = 0.0;
    for (size_t i = 0; i < call.points.size(); ++i) {
        const SbVec4f &a = call.points[i], &b = call.points[(i + 1) % call.points.size()];
        twice += double(a[0]) * b[1] - double(b[0]) * a[1];
    }
    return std::fabs(twice) / 2;
}

bool inside(const SbVec4f& p, const SbVec2f& low, const SbVec2f& high, float margin) {
    return p[0] > low[0] + margin && p[0] < high[0] - margin && p[1] > low[1] + margin &&
           p[1] < high[1] - margin;
}

}  // namespace

using RasterVisibility = PrintTest;

// A far square half under a near one, a shaded line passing behind the near one, a mark
// hidden behind it and one just peeking out: each is printed as far as it shows, and records
// that print alike as one.
TEST_F(RasterVisibility, PrintsWhatShowsOfEachRecord) {
    auto action = makeAction(kPage);
    const float pixel = kPage / SoHLHSRImageVectorizer::computeRasterSize(*action)[0];
    action->setShadeModel(SoVectorizeAction::SMOOTH);
    SoHLHSRVectorize engine(action.get(), 3);  // the raster mode
    engine.beginViewport();
    addSquare(engine, -0.6f, -0.6f, 0.4f, 0.4f, 0.8f, kFar);
    // The near square in two halves of one colour: one region, one outline.
    addSquare(engine, -0.2f, -0.2f, 0.3f, 0.8f, 0.3f, kNear);
    addSquare(engine, 0.3f, -0.2f, 0.8f, 0.8f, 0.3f, kNear);
    const SbVec4f line[2] = {pt(-0.9f, 0.6f, 0.9f), pt(0.9f, 0.6f, 0.9f)};
    const SbColor lineColors[2] = {SbColor(0, 0, 0), SbColor(0.9f, 0, 0)};
    engine.addPolyLine(line, 2, lineColors, 1, 1.0f, 0xFFFF, 1);
    const SbVec4f marks[2] = {pt(0.3f, 0.3f, 0.9f), pt(0.8f + 2 * pixel / kPage, 0.3f, 0.9f)};
    const SbColor markColors[2] = {tag(4), tag(5)};
    engine.addPolyMark(marks, 2, markColors, 1, 2.0f, nullptr);
    engine.flush();

    const SbVec2f nearLow = onPage(-0.2f, -0.2f), nearHigh = onPage(0.8f, 0.8f);
    std::map<int, double> areas;
    std::map<int, int> outlines;
    double lineLength = 0;
    for (const RecordedCall& call : action->getCalls()) {
        if (call.kind == RecordedCall::POLYGON) {
            const int k = tagOf(call.colors.at(0));
            areas[k] += area(call);
            ++outlines[k];
            for (const SbVec4f& p : call.points)
                EXPECT_TRUE(k != kFar || !inside(p, nearLow, nearHigh, pixel));
        } else if (call.kind == RecordedCall::POLYLINE) {
            ASSERT_EQ(call.colors.size(), 2u) << "a shaded line keeps its gradient";
            for (int i : {0, 1})  // red grows along the line, from 0 at x = -0.9 to 0.9 at 0.9
                EXPECT_NEAR(call.colors[i][0], (call.points[i][0] / 50 - 0.1) / 2, 0.01);
            for (const SbVec4f& p : call.points) EXPECT_FALSE(inside(p, nearLow, nearHigh, pixel));
            lineLength += std::fabs(call.points[1][0] - call.points[0][0]);
        }
    }
    const double side = kPage / 2, tolerance = 4 * side * 3 * pixel;
    EXPECT_NEAR(areas[kNear], side * side, tolerance) << "the near square, whole";
    EXPECT_EQ(outlines[kNear], 1);
    EXPECT_NEAR(areas[kFar], side * side * (1 - 0.36), tolerance) << "what the near one leaves";
    EXPECT_NEAR(lineLength, 0.8 * side, 4 * pixel) << "the line outside the near square";
    const auto printedMarks = action->ofKind(RecordedCall::POLYMARK_DOTS);
    ASSERT_EQ(printedMarks.size(), 1u) << "the hidden mark is left out";
    EXPECT_EQ(tagOf(printedMarks[0].colors.at(0)), 5);
    EXPECT_NEAR(printedMarks[0].points.at(0)[0], onPage(0.8f, 0)[0] + pixel, 1e-3)
        << "a mark that shows at all is printed whole, where it stands";
}

// Qualities out of range take the nearest; the raster is whole tiles, at least one a side.
TEST_F(RasterVisibility, RasterIsWholeTilesAtTheResolutionOfItsQuality) {
    EXPECT_EQ(SoHLHSRImageVectorizer::resolutionFor(7.0f),
              SoHLHSRImageVectorizer::resolutionFor(0.99f));
    EXPECT_EQ(SoHLHSRImageVectorizer::resolutionFor(-1.0f),
              SoHLHSRImageVectorizer::resolutionFor(0.0f));
    const struct {
        float inches, quality;
        unsigned short tile;
        int tileUsed;
    } cases[] = {{0.5f, 0.5f, 2048, 2044}, {20.0f, 0.9f, 1024, 1020}, {10.0f, 0.3f, 3, 2044}};
    for (const auto& c : cases) {
        auto action = makeAction(c.inches * 25.4f);
        action->setHLHSRRasterQuality(c.quality);
        action->setHLHSRRasterTileSize(c.tile);
        const SbVec2s size = SoHLHSRImageVectorizer::computeRasterSize(*action);
        const int wanted = int(c.inches * SoHLHSRImageVectorizer::resolutionFor(c.quality));
        EXPECT_EQ(size[0] % c.tileUsed, 0) << c.inches;
        EXPECT_GE(size[0], std::max(wanted, c.tileUsed)) << c.inches;
        EXPECT_LT(size[0], std::max(wanted, c.tileUsed) + c.tileUsed) << c.inches;
    }
}

namespace {
/// Where each tile of each pass was, and which identifiers it showed.
struct TileLog : SoTileBufferObserver {
    struct Tile {
        SbVec2s origin, size;
        int pass;
        std::set<unsigned> ids;
    };
    std::vector<Tile> tiles;
    void tileRendered(const unsigned char* buffer, const SbVec2s& origin, const SbVec2s& size,
                      int pass) override {
        Tile tile{origin, size, pass, {}};
        for (size_t at = 0; at < size_t(size[0]) * size[1] * 4; at += 4)
            tile.ids.insert(buffer[at] | buffer[at + 1] << 8 | buffer[at + 2] << 16);
        tiles.push_back(tile);
    }
};
}  // namespace

// Two tiles across, one down; the depth buffer of a tile outlives its passes, so a line
// behind the polygon shows only in the tile the polygon leaves open.
TEST_F(RasterVisibility, RendererDrawsEveryPassOfEveryTile) {
    const int edge = SoPrimitivesRenderer::MAX_TILE_EDGE - 4;
    SoPrimitivesRenderer renderer(SbViewportRegion(2 * edge, edge, 1.0f));
    SoGraphicPrimitiveList list;
    list.add(square(-1.0f, -1.0f, 0.0f, 1.0f, 0.3f));
    list.add(segment(pt(-0.9f, 0.1f, 0.9f), pt(0.9f, 0.1f, 0.9f)));
    renderer.addPassFilter({SoPrimitivesRenderer::FILLED_POLYGONS, 0});
    renderer.addPassFilter({SoPrimitivesRenderer::LINES, 0x100});
    TileLog log;
    renderer.setObserver(&log);
    ASSERT_TRUE(renderer.render(list));
    ASSERT_EQ(log.tiles.size(), 4u);
    const std::set<unsigned> expected[4] = {{1}, {1}, {0}, {0, 0x102}};
    for (int i = 0; i < 4; ++i) {
        const TileLog::Tile& tile = log.tiles[i];
        EXPECT_EQ(tile.origin, SbVec2s(short(i / 2 * edge), 0)) << i;
        EXPECT_EQ(tile.size, SbVec2s(short(edge), short(edge))) << i;
        EXPECT_EQ(tile.pass, i % 2) << i;
        EXPECT_EQ(tile.ids, expected[i]) << i;
    }
}
