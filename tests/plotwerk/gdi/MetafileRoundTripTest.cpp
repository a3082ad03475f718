// The demo page and the example scenes written as enhanced metafiles and read back by a
// reader written from the record layouts: every record is one the reader knows, the object
// table is as GDI keeps it, the frame is the one asked for, and the metafile draws what the
// backend asked GDI to draw, point for point, with the pens, brushes and fonts it selected.

#include <PlotWerk/SoGDIRecorder.h>
#include <PlotWerk/SoGDIVectorOutput.h>
#include <PlotWerk/SoVectorizeGDIAction.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "DemoScene.h"
#include "plotwerk/support/SceneText.h"
#include "support/EMFReader.h"

namespace {

/// What one recorded drawing call drew, with the objects and text colour in force.
struct Drawn {
    EMFItemKind kind;
    std::vector<POINT> points;
    SoGDICall pen, brush, font;
    long long textColor = 0;
};

/// The drawing calls of a recording, replaying the selections as GDI keeps them.
std::vector<Drawn> drawnBy(const std::vector<SoGDICall>& calls) {
    std::map<long long, SoGDICall> objects;  // by serial number
    SoGDICall pen, brush, font;
    long long textColor = 0;
    POINT position{0, 0};
    std::vector<Drawn> drawn;
    auto add = [&](EMFItemKind kind, std::vector<POINT> points) {
        drawn.push_back({kind, std::move(points), pen, brush, font, textColor});
    };
    for (const SoGDICall& call : calls) {
        const std::string& name = call.name;
        if (name.rfind("Create", 0) == 0 || name == "ExtCreatePen") objects[call.result] = call;
        if (name == "SelectObject" && objects.count(call.args.at(1))) {
            const SoGDICall& object = objects[call.args.at(1)];
            (object.name == "CreateSolidBrush" ? brush
             : object.name == "CreateFontA"    ? font
                                               : pen) = object;
        }
        if (name == "SetTextColor") textColor = call.args.at(1);
        if (name == "Polyline" || name == "Polygon")
            add(name == "Polygon" ? EMFItemKind::Polygon : EMFItemKind::Polyline, call.points);
        if (name == "MoveToEx") position = {LONG(call.args.at(1)), LONG(call.args.at(2))};
        if (name == "LineTo") {
            const POINT to{LONG(call.args.at(1)), LONG(call.args.at(2))};
            add(EMFItemKind::Line, {position, to});
            position = to;
        }
        if (name == "Rectangle")
            add(EMFItemKind::Rectangle, {{LONG(call.args.at(1)), LONG(call.args.at(2))},
                                         {LONG(call.args.at(3)), LONG(call.args.at(4))}});
        if (name == "TextOutA" || name == "TextOutW")
            add(EMFItemKind::Text, {{LONG(call.args.at(1)), LONG(call.args.at(2))}});
        if (name == "StretchDIBits") {
            const POINT corner{LONG(call.args.at(1)), LONG(call.args.at(2))};
            add(EMFItemKind::Image,
                {corner, {LONG(corner.x + call.args.at(3)), LONG(corner.y + call.args.at(4))}});
        }
    }
    return drawn;
}

/// The first difference between what was asked and what the metafile draws, or "".
std::string firstDifference(const std::vector<Drawn>& asked, const std::vector<EMFItem>& items) {
    if (asked.size() != items.size())
        return std::to_string(asked.size()) + " drawn, " + std::to_string(items.size()) + " read";
    for (size_t i = 0; i < asked.size(); ++i) {
        const Drawn& a = asked[i];
        const EMFItem& item = items[i];
        std::ostringstream where;
        where << "item " << i << ": ";
        if (item.kind != a.kind || item.points.size() != a.points.size())
            return where.str() + "kind";
        for (size_t k = 0; k < a.points.size(); ++k)
            if (item.points[k].x != a.points[k].x || item.points[k].y != a.points[k].y)
                return where.str() + "point " + std::to_string(k);
        const EMFPen& pen = item.state.pen;
        // Before any selection, the stock black pen and white brush.
        const std::vector<long long> pens =
            a.pen.args.empty() ? std::vector<long long>{0, 0, 0} : a.pen.args;
        const long long penColor = pens.at(a.pen.name == "ExtCreatePen" ? 3 : 2);
        if (a.kind != EMFItemKind::Text && a.kind != EMFItemKind::Image &&
            (pen.style != pens.at(0) || pen.width != pens.at(1) ||
             (pen.colour.r | pen.colour.g << 8 | pen.colour.b << 16) != penColor))
            return where.str() + "pen";
        const EMFColour& fill = item.state.brush.colour;
        const long long brushColor = a.brush.args.empty() ? 0xFFFFFF : a.brush.args.at(0);
        if ((a.kind == EMFItemKind::Polygon || a.kind == EMFItemKind::Rectangle) &&
            (fill.r | fill.g << 8 | fill.b << 16) != brushColor)
            return where.str() + "brush";
        if (a.kind == EMFItemKind::Text &&
            (item.state.font.face != a.font.text || item.state.font.height != a.font.args.at(0) ||
             item.state.font.weight != a.font.args.at(4) ||
             (item.state.textColour.r | item.state.textColour.g << 8 |
              item.state.textColour.b << 16) != a.textColor))
            return where.str() + "font";
    }
    return "";
}

using MetafileRoundTrip = PrintTest;

TEST_F(MetafileRoundTrip, ReadBackAsTheBackendDrewIt) {
    std::vector<std::pair<std::string, std::string>> scenes = {{"demo", demoSceneText()}};
    for (const auto& entry : std::filesystem::directory_iterator(TESSARA_EXAMPLES_DIR)) {
        std::ifstream file(entry.path());
        scenes.emplace_back(entry.path().filename(),
                            std::string(std::istreambuf_iterator<char>(file), {}));
    }
    ASSERT_GE(scenes.size(), 5u);
    const std::string path = ::testing::TempDir() + "/roundtrip.emf";
    for (const auto& [name, text] : scenes) {
        SCOPED_TRACE(name);
        SoGDIRecorder recorder;
        SoVectorizeGDIAction action;
        action.getGDIVectorOutput()->openFile(path.c_str());
        print(action, text);
        std::ifstream file(path, std::ios::binary);
        const EMFFile emf = EMFReader::read(std::string(std::istreambuf_iterator<char>(file), {}));
        ASSERT_TRUE(emf.clean()) << emf.errors.front();
        EXPECT_TRUE(emf.unknown.empty()) << emf.records.at(emf.unknown.front()).type;
        const std::vector<Drawn> asked = drawnBy(recorder.getCalls());
        EXPECT_GE(asked.size(), 3u);
        EXPECT_EQ(firstDifference(asked, emf.items), "");
        const SoGDICall created = recorder.getCalls("CreateEnhMetaFileA").at(0);
        EXPECT_EQ(emf.header.frame.top, created.points.at(0).y);
        EXPECT_EQ(emf.header.frame.right, created.points.at(1).x);
        // The bounds (device pixels) lie inside the frame (0.01 mm).
        const double pixelsPerUnit = emf.header.device.x / (100.0 * emf.header.millimetres.x);
        EXPECT_GE(emf.header.bounds.left, emf.header.frame.left * pixelsPerUnit - 1);
        EXPECT_LE(emf.header.bounds.right, emf.header.frame.right * pixelsPerUnit + 1);
        EXPECT_GE(emf.header.bounds.top, emf.header.frame.top * pixelsPerUnit - 1);
        EXPECT_LE(emf.header.bounds.bottom, emf.header.frame.bottom * pixelsPerUnit + 1);
    }
}

}  // namespace
