// Hidden-line drawings on the recording backend: what each primitive keeps of its outline
// or its course, measured by the length printed in its colour, and how a cube is drawn with
// every outline and with feature edges only.

#include <cmath>
#include <map>
#include <set>

#include "../hlhsr/HlhsrFixture.h"

using namespace hlhsr;

namespace {

constexpr int kLines = 4;        // the engine's hidden-line mode
constexpr double kScale = 50.0;  // millimetres per normalised unit on a 100 mm drawing

/// The length printed in each colour tag, in normalised units.
std::map<int, double> lengths(const RecordingAction& action) {
    std::map<int, double> total;
    for (const RecordedCall& call : action.ofKind(RecordedCall::POLYLINE))
        for (size_t i = 1; i < call.points.size(); ++i)
            total[tagOf(call.colors.at(0))] +=
                std::hypot(call.points[i][0] - call.points[i - 1][0],
                           call.points[i][1] - call.points[i - 1][1]) /
                kScale;
    return total;
}

void add(SoHLHSRVectorize& engine, const std::vector<SbVec4f>& points, int k, bool polygon) {
    const std::vector<SbColor> colors(points.size(), tag(k));
    const int n = static_cast<int>(points.size());
    if (polygon)
        engine.addPolygon(points.data(), n, colors.data(), 0, 1.0f, 1.0f, 0xFFFF, 1, 0, SbString(),
                          SbString(), nullptr, 0.0f, 0.0f);
    else
        engine.addPolyLine(points.data(), n, colors.data(), 0, 1.0f, 0xFFFF, 1);
}

}  // namespace

using HiddenLines = PrintTest;

// Each case: what is added, and the length each colour keeps (depth grows away).
TEST_F(HiddenLines, EachPrimitiveKeepsWhatNoPolygonHides) {
    const std::vector<SbVec4f> square = {pt(-0.5f, -0.5f, 0.5f), pt(0.5f, -0.5f, 0.5f),
                                         pt(0.5f, 0.5f, 0.5f), pt(-0.5f, 0.5f, 0.5f)};
    // A strip through the square, nearer below y = 0 and farther above it.
    const std::vector<SbVec4f> strip = {pt(-0.2f, -0.8f, 0.1f), pt(0.2f, -0.8f, 0.1f),
                                        pt(0.2f, 0.8f, 0.9f), pt(-0.2f, 0.8f, 0.9f)};
    const struct {
        const char* name;
        std::vector<std::pair<std::vector<SbVec4f>, bool>> primitives;  // points, polygon
        std::map<int, double> kept;
        int lines;  // polylines printed
    } cases[] = {
        {"a polygon alone", {{square, true}}, {{1, 4.0}}, 1},
        {"a line behind it",
         {{square, true}, {{pt(-0.3f, 0, 0.8f), pt(0.3f, 0, 0.8f)}, false}},
         {{1, 4.0}},
         1},
        {"a line across behind it",
         {{square, true}, {{pt(-0.9f, 0, 0.8f), pt(0.9f, 0, 0.8f)}, false}},
         {{1, 4.0}, {2, 0.8}},
         3},
        {"a line of one point", {{{pt(0, 0, 0.1f)}, false}, {{pt(0, 0, 0.1f)}, true}}, {}, 0},
        {"two polygons through each other",
         {{square, true}, {strip, true}},
         {{1, 4.0 - 0.4}, {2, 4.0 - 1.0}},
         3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto action = makeAction(100.0f);
        SoHLHSRVectorize engine(action.get(), kLines);
        engine.beginViewport();
        int k = 1;
        for (const auto& [points, polygon] : c.primitives) add(engine, points, k++, polygon);
        engine.flush();
        const std::map<int, double> kept = lengths(*action);
        EXPECT_EQ(kept.size(), c.kept.size());
        for (const auto& [tagged, length] : c.kept) EXPECT_NEAR(kept.at(tagged), length, 1e-3);
        EXPECT_EQ(action->count(RecordedCall::POLYLINE), size_t(c.lines));
    }
}

// Seen at an angle, a cube shows 9 edges and the diagonals of its 3 faces; drawn with
// feature edges, the 9 edges alone, each once.
TEST_F(HiddenLines, CubeWithEveryOutlineAndWithFeatureEdges) {
    for (const bool feature : {false, true}) {
        auto action = makeAction(100.0f);
        action->setHLHSRMode(SoVectorizeAction::HIDDEN_LINES_REMOVAL);
        action->setHiddenLineFeatureEdges(feature);
        print(*action, R"(
  OrthographicCamera { position 0 0 5  height 4 }
  Rotation { rotation 1 0 0 0.5 }  Rotation { rotation 0 1 0 0.6 }
  LightModel { model BASE_COLOR }  Cube { }
)");
        // Segments by their ends to a hundredth of a millimetre, either way round.
        using End = std::pair<long, long>;
        std::multiset<std::set<End>> segments;
        auto end = [](const SbVec4f& p) {
            return End(std::lround(p[0] * 100), std::lround(p[1] * 100));
        };
        for (const RecordedCall& call : action->ofKind(RecordedCall::POLYLINE))
            for (size_t i = 1; i < call.points.size(); ++i)
                segments.insert(std::set<End>{end(call.points[i - 1]), end(call.points[i])});
        const std::set<std::set<End>> distinct(segments.begin(), segments.end());
        EXPECT_EQ(distinct.size(), feature ? 9u : 12u) << "feature edges " << feature;
        EXPECT_TRUE(!feature || segments.size() == 9u) << segments.size() << " edges printed";
    }
}
