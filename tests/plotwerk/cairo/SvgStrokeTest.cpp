// What SVG writes for each stroke and mark on its own, where a picture hides small faults: the
// dashes and the colour of every stroke are that stroke's, and a marker that the set does not
// define is left out.

#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizeSVGAction.h>
#include <Tessara/nodes/SoMarkerSet.h>
#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "plotwerk/support/OpenedBackend.h"

namespace {

const SbColor kRed(1, 0, 0), kBlue(0, 0, 1);

/// The style of every stroked path, in the order written.
std::vector<std::string> strokeStyles(const std::string& svg) {
    std::vector<std::string> styles;
    const std::regex stroked("<path style=\"(fill:none;[^\"]*)\"");
    for (std::sregex_iterator at(svg.begin(), svg.end(), stroked), end; at != end; ++at)
        styles.push_back((*at)[1]);
    return styles;
}

TEST(SvgStroke, EachStrokeHasItsOwnDashesAndColour) {
    SoPlotWerk::init();
    {
        OpenedBackend<SoVectorizeSVGAction> svg;
        svg.startDocument();
        svg.line({mm(10, 10), mm(50, 10)}, kRed, 1.0f, 0xFF00);
        svg.line({mm(10, 20), mm(50, 20)}, kRed);
        const SbVec4f corners[3] = {mm(10, 30), mm(50, 30), mm(50, 60)};
        const SbColor colors[3] = {kRed, kBlue, kBlue};
        svg.printPolyLine(corners, 3, colors, 1, 1.0f, 0xFFFF, 1);
        SoMarkerSet* undefined = new SoMarkerSet;
        undefined->ref();
        undefined->markerIndex.setValue(9999);
        svg.printPolyMark(corners, 3, colors, 1, undefined);
        undefined->unref();
        svg.writeFooter();
        const std::vector<std::string> styles = strokeStyles(svg.text());
        ASSERT_EQ(styles.size(), 4u) << svg.text();
        EXPECT_NE(styles[0].find("stroke-dasharray"), std::string::npos) << styles[0];
        EXPECT_EQ(styles[1].find("stroke-dasharray"), std::string::npos) << styles[1];
        EXPECT_NE(styles[2].find("stroke:rgb(100%,0%,0%)"), std::string::npos) << styles[2];
        EXPECT_NE(styles[3].find("stroke:rgb(0%,0%,100%)"), std::string::npos) << styles[3];
    }
    SoPlotWerk::finish();
}

}  // namespace
