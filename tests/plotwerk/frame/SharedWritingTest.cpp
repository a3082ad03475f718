// What every backend shares on the way to its file: numbers that ignore the process locale,
// no state shared between two actions printing at the same time.

#include <PlotWerk/SoCGMVectorOutput.h>
#include <PlotWerk/SoPSVectorOutput.h>
#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizeCGMAction.h>
#include <PlotWerk/SoVectorizeHPGLAction.h>
#include <PlotWerk/SoVectorizePSAction.h>
#include <PlotWerk/SoVectorizeSVGAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoSeparator.h>
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "FrameTestAction.h"
#include "plotwerk/support/StreamReadBack.h"

namespace {

// Reals everywhere: a dashed wide line, a filled polygon, marks, a turned text.
const char kScene[] = R"(#Tessara V1.0 ascii
Separator {
  OrthographicCamera { position 0 0 5 height 4.5 }
  Material { diffuseColor 0.8 0.3 0.1 }
  Coordinate3 { point [ -1.5 -1.2 0, 1.3 -0.7 0, 0.2 1.4 0, -1.1 1.1 0 ] }
  FaceSet { numVertices 4 }
  DrawStyle { lineWidth 2.5 linePattern 0xF0F0 pointSize 3 }
  LineSet { numVertices 4 }
  PointSet { numPoints 4 }
  Rotation { rotation 0 0 1 0.6 }
  Text2 { string "a 0.5" }
}
)";

/// Something to do in the middle of a print.
struct Interruptible {
    std::function<void()> interruption;
};

/// A backend that, at its first polygon, lets something else happen in the middle of it.
template <class Backend>
class InterruptedAction : public Backend, public Interruptible {
  protected:
    void printPolygon(const SbVec4f* points, int n, const SbColor* colors, int multicolor,
                      const SbString& a, const SbString& b, const unsigned char* pattern) override {
        if (interruption) std::exchange(interruption, nullptr)();
        Backend::printPolygon(points, n, colors, multicolor, a, b, pattern);
    }
};

struct Backend {
    const char* name;
    std::function<std::unique_ptr<SoVectorizeAction>()> make;
    /// Copies `action` into `to`, or into a new action when `to` is null.
    std::function<std::unique_ptr<SoVectorizeAction>(const SoVectorizeAction& action,
                                                     std::unique_ptr<SoVectorizeAction> to)>
        copy;
};

template <class Action>
std::unique_ptr<SoVectorizeAction> copyOf(const SoVectorizeAction& action,
                                          std::unique_ptr<SoVectorizeAction> to) {
    using Interrupted = InterruptedAction<Action>;
    const auto& original = static_cast<const Interrupted&>(action);
    if (!to) return std::make_unique<Interrupted>(original);
    static_cast<Action&>(static_cast<Interrupted&>(*to)) = original;
    return to;
}

// Version 3 metafiles define their own line types: numbers a metafile must not share.
template <int binary>
std::unique_ptr<SoVectorizeAction> cgm() {
    auto action = std::make_unique<InterruptedAction<SoVectorizeCGMAction>>();
    action->getCGMVectorOutput()->setBinary(binary);
    action->getCGMVectorOutput()->setVersion(3);
    return action;
}

const Backend kBackends[] = {
    {"PostScript", [] { return std::make_unique<InterruptedAction<SoVectorizePSAction>>(); },
     copyOf<SoVectorizePSAction>},
    {"HP-GL/2", [] { return std::make_unique<InterruptedAction<SoVectorizeHPGLAction>>(); },
     copyOf<SoVectorizeHPGLAction>},
    {"CGM clear text", cgm<0>, copyOf<SoVectorizeCGMAction>},
    {"CGM binary", cgm<1>, copyOf<SoVectorizeCGMAction>},
};

class SharedWritingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SoPlotWerk::init();
        SoInput in;
        in.setBuffer(kScene, std::strlen(kScene));
        scene = SoDB::readAll(&in);
        ASSERT_NE(scene, nullptr);
        scene->ref();
    }
    void TearDown() override {
        if (scene) scene->unref();
        SoPlotWerk::finish();
    }

    /// The file `action` writes for the scene; `interruption` runs at its first polygon.
    std::string print(SoVectorizeAction& action, std::function<void()> interruption = nullptr) {
        FILE* file = std::tmpfile();
        action.getVectorOutput()->setFilePointer(file);
        dynamic_cast<Interruptible&>(action).interruption = std::move(interruption);
        action.apply(scene);
        const std::string text = StreamReadBack::all(file);
        action.getVectorOutput()->closeFile();
        return text;
    }

    SoSeparator* scene = nullptr;
};

TEST_F(SharedWritingTest, ADecimalCommaLocaleLeavesEveryFileAsItIs) {
    const std::string previous = std::setlocale(LC_ALL, nullptr);
    for (const Backend& backend : kBackends) {
        SCOPED_TRACE(backend.name);
        std::setlocale(LC_ALL, "C");
        const std::string expected = print(*backend.make());
        ASSERT_GT(expected.size(), 200u);
        if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "no de_DE.UTF-8 locale";
        const std::string written = print(*backend.make());
        std::setlocale(LC_ALL, previous.c_str());
        EXPECT_EQ(written, expected);
    }
}

TEST_F(SharedWritingTest, TwoActionsPrintingAtOnceWriteWhatEachWritesAlone) {
    for (const Backend& outer : kBackends) {
        for (const Backend& inner : kBackends) {
            SCOPED_TRACE(std::string(outer.name) + " around " + inner.name);
            const std::string outerAlone = print(*outer.make());
            const std::string innerAlone = print(*inner.make());
            std::string innerNested;
            const std::string outerNested =
                print(*outer.make(), [&] { innerNested = print(*inner.make()); });
            EXPECT_EQ(innerNested, innerAlone);
            EXPECT_EQ(outerNested, outerAlone);
        }
    }
}

// An application that closes the stream inside a page finds the page ended in the file, as
// endPage() would have ended it, not written later to standard output; cairo's formats write
// nothing at all before that.
TEST_F(SharedWritingTest, ClosingTheStreamInsideAPageEndsThePageThere) {
    std::vector<std::function<std::unique_ptr<SoVectorizeAction>()>> makers = {
        [] { return std::make_unique<SoVectorizeSVGAction>(); }};
    for (const Backend& backend : kBackends) makers.push_back(backend.make);
    for (const auto& make : makers) {
        std::string files[2];
        for (int ended = 0; ended < 2; ++ended) {
            const std::string name = ::testing::TempDir() + "page" + std::to_string(ended);
            const std::unique_ptr<SoVectorizeAction> action = make();
            action->getVectorOutput()->openFile(name.c_str());
            action->beginPage(SbVec2f(0, 0), SbVec2f(200, 200));
            action->apply(scene);
            if (ended) action->endPage();
            action->getVectorOutput()->closeFile();
            std::ifstream in(name, std::ios::binary);
            // cairo numbers its surfaces across the process.
            files[ended] = std::regex_replace(std::string(std::istreambuf_iterator<char>(in), {}),
                                              std::regex("surface[0-9]+"), "surface");
        }
        EXPECT_GT(files[1].size(), 200u);
        EXPECT_EQ(files[0], files[1]);
    }
}

// A copy, made or assigned, has every setting of the original and its output's options but
// not its stream, since a stream has one owner: it writes the same file.
TEST_F(SharedWritingTest, ACopyWritesWhatTheOriginalWrites) {
    for (const Backend& backend : kBackends) {
        SCOPED_TRACE(backend.name);
        const std::unique_ptr<SoVectorizeAction> original = backend.make();
        original->setDrawingDimensions(120.0f, 80.0f);
        original->setStartPosition(5.0f, 7.0f);
        original->setOrientation(SoVectorizeAction::LANDSCAPE);
        original->setBorder(3.0f, SbColor(0, 0, 1));
        original->setBackgroundColor(1, SbColor(1, 1, 0));
        original->setNominalWidth(0.5f);
        original->setLinePatternSize(3.0f);
        original->setMiterLimit(4.0f);
        original->setLineEndStyle(SoVectorizeAction::ROUND_END);
        original->setColorTranslationMethod(SoVectorizeAction::INVERT_COLORS);
        original->setHLHSRMode(SoVectorizeAction::HLHSR_PAINTER);
        original->setLineJoinsStyle(SoVectorizeAction::ROUND_JOIN);
        original->setPixelImageSize(0.5f);
        const SbColor pens[2] = {SbColor(1, 0, 0), SbColor(0, 0, 1)};
        const float widths[2] = {0.25f, 0.5f};
        original->setPenDescription(2, pens, widths);
        original->setColorPriority(0);
        original->setHLHSRRasterQuality(0.8f);
        original->setHLHSRRasterCaching(0);
        original->setHLHSRRasterTileSize(512);
        original->setHiddenLineFeatureEdges(1, 20.0f);
        original->enableLighting(1);
        original->setShadeModel(SoVectorizeAction::SMOOTH);
        original->setPolygonOffset(0.3f);
        original->setLineOffset(0.2f);
        original->setMarkerOffset(0.1f);
        if (auto* ps = dynamic_cast<SoVectorizePSAction*>(original.get())) {
            ps->getPSVectorOutput()->setLevel(3);
            ps->getPSVectorOutput()->setColored(0);
            ps->getPSVectorOutput()->setNumericAccuracyFactor(0.5f);
        }
        if (auto* cgm = dynamic_cast<SoVectorizeCGMAction*>(original.get()))
            cgm->getCGMVectorOutput()->setIndexed(1);
        FILE* held = std::tmpfile();
        original->getVectorOutput()->setFilePointer(held);
        // Copied before any apply: an apply ends with the hidden-line mode off.
        const std::unique_ptr<SoVectorizeAction> copy = backend.copy(*original, nullptr);
        std::unique_ptr<SoVectorizeAction> assigned = backend.make();
        FILE* kept = std::tmpfile();
        assigned->getVectorOutput()->setFilePointer(kept);
        assigned = backend.copy(*original, std::move(assigned));
        EXPECT_EQ(copy->getVectorOutput()->getFilePointer(), stdout);
        EXPECT_EQ(assigned->getVectorOutput()->getFilePointer(), kept);
        EXPECT_EQ(original->getVectorOutput()->getFilePointer(), held);
        EXPECT_EQ(settingsOf(*copy), settingsOf(*original));
        EXPECT_EQ(settingsOf(*assigned), settingsOf(*original));
        const std::string expected = print(*original);
        EXPECT_EQ(print(*copy), expected);
        EXPECT_EQ(print(*assigned), expected);
    }
}

}  // namespace
