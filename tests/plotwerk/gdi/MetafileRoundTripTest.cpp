// The demo page and the example scenes written as enhanced metafiles and read back by a
// reader written from the record layouts: every record is one the reader knows, the object
// table is as GDI keeps it, the frame is the one asked for, and the metafile draws what the
// backend asked GDI to draw, point for point, with the pens, brushes and fonts it selected.

#include <PlotWerk/SoGDIRecorder.h>
#include <PlotWerk/SoGDIVectorOutput.h>
#include <PlotWerk/SoVectorizeGDIAction.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "demo/DemoScene.h"
#include "plotwerk/support/SceneText.h"
#include "support/EMFReader.h"

namespace {

/// An item as text: its kind and points, and the state its kind draws with: the font and text
/// colour of a text, the pen of lines, the pen and brush of fills.
struct Described {
    EMFItemKind kind;
    std::vector<POINT> points;
    std::vector<long long> pen;  // style, width, colour
    long long brush = 0;
    std::string face;
    std::vector<long long> font;  // height, weight, text colour

    std::string text() const {
        std::ostringstream out;
        out << int(kind);
        for (const POINT& p : points) out << ' ' << p.x << ',' << p.y;
        const bool fills = kind == EMFItemKind::Polygon || kind == EMFItemKind::Rectangle;
        if (kind == EMFItemKind::Text)
            out << " font " << face << ' ' << font[0] << ' ' << font[1] << ' ' << font[2];
        if (kind != EMFItemKind::Text && kind != EMFItemKind::Image)
            out << " pen " << pen[0] << ' ' << pen[1] << ' ' << pen[2];
        if (fills) out << " brush " << brush;
        return out.str();
    }
};

long long colorRef(const EMFColour& c) {
    return c.r | c.g << 8 | c.b << 16;
}

/// The drawing calls of a recording, replaying the selections as GDI keeps them; before any
/// selection, the stock black pen and white brush.
std::vector<std::string> drawnBy(const std::vector<SoGDICall>& calls) {
    std::map<long long, SoGDICall> objects;  // by serial number
    Described state{EMFItemKind::Polyline, {}, {0, 0, 0}, 0xFFFFFF, "", {0, 0, 0}};
    POINT at{0, 0};
    std::vector<std::string> drawn;
    auto add = [&](EMFItemKind kind, std::vector<POINT> points) {
        state.kind = kind, state.points = std::move(points);
        drawn.push_back(state.text());
    };
    for (const SoGDICall& call : calls) {
        const std::string& name = call.name;
        const auto arg = [&call](size_t i) { return LONG(call.args.at(i)); };
        if (name.rfind("Create", 0) == 0 || name == "ExtCreatePen") objects[call.result] = call;
        const SoGDICall& selected = objects[name == "SelectObject" ? arg(1) : -1];
        if (selected.name == "CreatePen" || selected.name == "ExtCreatePen")
            state.pen = {selected.args[0], selected.args[1],
                         selected.args[selected.name[0] == 'E' ? 3 : 2]};
        if (selected.name == "CreateSolidBrush") state.brush = selected.args[0];
        if (selected.name == "CreateFontA")
            state.face = selected.text, state.font[0] = selected.args[0],
            state.font[1] = selected.args[4];
        if (name == "SetTextColor") state.font[2] = arg(1);
        if (name == "Polyline" || name == "Polygon")
            add(name == "Polygon" ? EMFItemKind::Polygon : EMFItemKind::Polyline, call.points);
        if (name == "MoveToEx") at = {arg(1), arg(2)};
        if (name == "LineTo") add(EMFItemKind::Line, {at, at = POINT{arg(1), arg(2)}});
        if (name == "Rectangle") add(EMFItemKind::Rectangle, {{arg(1), arg(2)}, {arg(3), arg(4)}});
        if (name == "TextOutA" || name == "TextOutW") add(EMFItemKind::Text, {{arg(1), arg(2)}});
        if (name == "StretchDIBits")
            add(EMFItemKind::Image, {{arg(1), arg(2)}, {arg(1) + arg(3), arg(2) + arg(4)}});
    }
    return drawn;
}

std::vector<std::string> readBack(const EMFFile& emf) {
    std::vector<std::string> items;
    for (const EMFItem& item : emf.items) {
        const EMFState& s = item.state;
        std::vector<POINT> points;
        for (const EMFPoint& p : item.points) points.push_back({p.x, p.y});
        items.push_back(Described{item.kind,
                                  points,
                                  {s.pen.style, s.pen.width, colorRef(s.pen.colour)},
                                  colorRef(s.brush.colour),
                                  s.font.face,
                                  {s.font.height, s.font.weight, colorRef(s.textColour)}}
                            .text());
    }
    return items;
}

using MetafileRoundTrip = PrintTest;

TEST_F(MetafileRoundTrip, ReadBackAsTheBackendDrewIt) {
    std::vector<std::pair<std::string, std::string>> scenes = {{"demo", demoSceneText(0.0f, 0.0f)}};
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
        const std::vector<std::string> asked = drawnBy(recorder.getCalls()), read = readBack(emf);
        EXPECT_GE(asked.size(), 3u);
        EXPECT_EQ(asked.size(), read.size());
        const auto parted = std::mismatch(asked.begin(), asked.end(), read.begin(), read.end());
        EXPECT_TRUE(parted.first == asked.end()) << *parted.first << " read as " << *parted.second;
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
