// A polygon cut into pieces, between lines or round its middle, covers inside each piece what
// the whole covers there, under any winding: so the signed areas of the pieces' contours add
// up to the whole's, for seeded outlines, simple or crossing themselves, with holes or not.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>

#include "../../../core/src/misc/SoBandLines.h"
#include "../../../core/src/misc/SoPolygonPieces.h"
#include "../../../core/src/misc/SoSectorRays.h"

namespace {

using Corners = std::vector<SoPolygonBorders::Corner>;
using Contours = std::vector<SoPolygonBorders::Contour>;

double signedArea(const Corners& corners, const Contours& contours) {
    double area = 0.0;
    for (const SoPolygonBorders::Contour& contour : contours)
        for (std::size_t k = 0; k < contour.size(); ++k) {
            const auto& p = corners[std::size_t(contour[k])].point;
            const auto& q = corners[std::size_t(contour[(k + 1) % contour.size()])].point;
            area += (p[0] * q[1] - q[0] * p[1]) / 2;
        }
    return area;
}

}  // namespace

TEST(PolygonPieces, PiecesAddUpToTheWhole) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int cut = 0;
    for (int trial = 0; trial < 400; ++trial) {
        Corners corners;
        Contours contours(1 + trial % 2);
        const bool tangled = trial % 3 == 0;  // corners in any order: edges cross
        for (SoPolygonBorders::Contour& contour : contours)
            for (int k = 0, n = 4 + int(unit(random) * 40); k < n; ++k) {
                const double turn = 6.2832 * (tangled ? unit(random) : (k + unit(random)) / n);
                const double reach = 0.1 + unit(random);
                contour.push_back(int(corners.size()));
                corners.push_back({{reach * std::cos(turn), reach * std::sin(turn), 0.0}});
            }
        const int count = 2 + trial % 7;
        const std::unique_ptr<SoPolygonBorders> borders[] = {
            std::make_unique<SoBandLines>(corners, contours, trial % 2, count),
            std::make_unique<SoSectorRays>(corners, contours, 0, 1, count)};
        for (const auto& border : borders) {
            Corners made = corners;
            const std::vector<Contours> pieces = SoPolygonPieces::cut(made, contours, *border);
            if (pieces.empty()) continue;
            ++cut;
            double sum = 0.0;
            for (const Contours& piece : pieces) sum += signedArea(made, piece);
            ASSERT_NEAR(sum, signedArea(corners, contours), 1e-9) << trial;
        }
    }
    EXPECT_GT(cut, 600);  // nearly every outline is cut both ways
}
