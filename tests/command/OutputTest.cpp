// What the command writes and where: the format chosen by -f or by the extension, standard
// output, the replaced output file, and the demo page in every format. The plot and both
// metafile encodings are read back by readers written from the formats' rules: the plot's
// marks must land on the ink of the PostScript print, the two metafiles describe one drawing.

#include <Tessara/rendering/SoPNGImage.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "CommandRun.h"
#include "support/CGMBinaryDecoder.h"
#include "support/CGMClearTextReader.h"
#include "support/EMFReader.h"
#include "support/HPGLDecoder.h"

namespace {

using namespace default_page;

enum Format {
    POSTSCRIPT,
    PLOT,
    CLEAR_TEXT_METAFILE,
    BINARY_METAFILE,
    ENHANCED_METAFILE,
    PNG,
    PDF,
    SVG
};

bool isFormat(const std::string& bytes, Format format) {
    switch (format) {
        case POSTSCRIPT:
            return bytes.rfind("%!PS-Adobe-", 0) == 0;
        case PLOT:
            return !bytes.empty() && HPGLDecoder::decode(bytes).clean();
        case CLEAR_TEXT_METAFILE:
            return !bytes.empty() && CGMClearTextReader::read(bytes).clean();
        case BINARY_METAFILE:
            return !bytes.empty() && CGMBinaryDecoder::decode(bytes).clean();
        case ENHANCED_METAFILE:
            return !bytes.empty() && EMFReader::read(bytes).clean();
        case PNG:
            return bytes.rfind("\x89PNG", 0) == 0;
        case PDF:
            return bytes.rfind("%PDF-", 0) == 0 && bytes.find("%%EOF") != std::string::npos;
        case SVG:
            return bytes.rfind("<?xml", 0) == 0 && bytes.find("</svg>") != std::string::npos;
    }
    return false;
}

// Each format by each way of choosing it, to a file or to standard output ("-" or none).
TEST(OutputFormat, ChosenByNameOrByExtension) {
    const struct {
        std::vector<std::string> arguments;
        const char* file;
        Format format;
    } cases[] = {
        {{}, nullptr, POSTSCRIPT},
        {{"-o", "-"}, nullptr, POSTSCRIPT},
        {{"-o", "PAGE.PS"}, "PAGE.PS", POSTSCRIPT},
        {{"--format=ps", "-opage.txt"}, "page.txt", POSTSCRIPT},
        {{"-o", "c.HPG"}, "c.HPG", PLOT},
        {{"-f", "hpgl"}, nullptr, PLOT},
        {{"-o", "a.CGM"}, "a.CGM", CLEAR_TEXT_METAFILE},
        {{"-f", "cgm"}, nullptr, CLEAR_TEXT_METAFILE},
        {{"-f", "cgm", "--cgm-binary"}, nullptr, BINARY_METAFILE},
        {{"-o", "d.EMF"}, "d.EMF", ENHANCED_METAFILE},
        {{"-f", "emf"}, nullptr, ENHANCED_METAFILE},
        {{"-f", "png"}, nullptr, PNG},
        {{"-o", "e.PDF"}, "e.PDF", PDF},
        {{"-f", "pdf"}, nullptr, PDF},
        {{"-o", "f.Svg"}, "f.Svg", SVG},
        {{"-f", "svg"}, nullptr, SVG},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.arguments));
        ScratchDir dir;
        const CommandResult run = runCommand(c.arguments, dir.path());
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(run.err.empty()) << run.err;
        EXPECT_EQ(dir.entries(),
                  c.file ? std::vector<std::string>{c.file} : std::vector<std::string>{});
        EXPECT_TRUE(isFormat(c.file ? dir.read(c.file) : run.out, c.format));
        EXPECT_TRUE(!c.file || run.out.empty());
    }
}

TEST(OutputFile, ReplacesAnExistingFileAndKeepsItsPermissions) {
    ScratchDir dir;
    dir.write("page.ps", "old content\n");
    ASSERT_EQ(chmod(dir.file("page.ps").c_str(), 0640), 0);
    const CommandResult run = runCommand({"-o", "page.ps"}, dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(dir.read("page.ps"), runCommand({}, dir.path()).out);
    struct stat info;
    ASSERT_EQ(stat(dir.file("page.ps").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"page.ps"}) << "no temporary left behind";
}

// A figure for a document: marked as one, titled in lines of at most 255 characters, and
// inked as far as its bounding box says and no farther, upright and wide in landscape
// (Ghostscript measures where it inks).
TEST(OutputFile, EpsFigureFillsItsBoundingBox) {
    ScratchDir dir;
    const std::string title = "Fig " + std::string(270, '7');  // a word longer than a line
    const PrintRun figure = PrintRun::of(dir, {"--landscape", "--title", title}, "figure.eps", 0);
    const std::string& document = figure.document;
    ASSERT_EQ(figure.command.status, 0) << figure.command.err;
    EXPECT_NE(document.substr(0, document.find('\n')).find(" EPSF-"), std::string::npos);
    std::istringstream header(document.substr(0, document.find("%%EndComments")));
    std::string titled;
    for (std::string line; std::getline(header, line);) {
        EXPECT_LE(line.size(), 255u);
        if (line.rfind("%%Title: ", 0) == 0 || line.rfind("%%+ ", 0) == 0)
            titled += line.substr(line.find(' ') + 1);
    }
    EXPECT_EQ(titled, title);
    EXPECT_EQ(PrintRun::of(dir, {"--title", std::string(600, '\x80')}, "b.eps", 0).command.status,
              0);  // bytes that are no UTF-8
    using namespace ghostscript_detail;
    ASSERT_EQ(run("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=bbox " +
                  quoted(dir.file("figure.eps")) + " >" + quoted(dir.file("box")) + " 2>&1"),
              0);
    double said[4], inked[4];
    const std::string measured = dir.read("box");
    ASSERT_EQ(
        std::sscanf(document.c_str() + document.find("%%BoundingBox:"),
                    "%%%%BoundingBox: %lf %lf %lf %lf", &said[0], &said[1], &said[2], &said[3]),
        4);
    ASSERT_EQ(std::sscanf(measured.c_str() + measured.find("%%HiResBoundingBox:"),
                          "%%%%HiResBoundingBox: %lf %lf %lf %lf", &inked[0], &inked[1], &inked[2],
                          &inked[3]),
              4);
    EXPECT_GT(said[2], said[3]);
    for (int i = 0; i < 4; ++i) {
        const double inside = i < 2 ? inked[i] - said[i] : said[i] - inked[i];
        EXPECT_GE(inside, 0.0) << i;
        EXPECT_LT(inside, 1.0) << i;
    }
}

// "-" reads standard input, piped or a file: the document of the file by its name. A model
// piped in, or read from a named pipe, finds the files it names (an OBJ file's materials) in
// the current directory.
TEST(OutputFile, StandardInputIsTheInput) {
    ScratchDir dir;
    const std::string examples = TESSARA_EXAMPLES_DIR;
    for (const std::string& input :
         {examples + "/lit_shapes.tsc", examples + "/../meshes/torus_knot.obj"}) {
        ASSERT_EQ(runCommand({input, "-o", "named.ps"}, dir.path()).status, 0);
        const std::string command = "(cd " + std::filesystem::path(input).parent_path().string() +
                                    " && " + PLOTWERK_COMMAND + " - -o " + dir.path() + "/";
        ASSERT_EQ(std::system((command + "redirected.ps) < " + input).c_str()), 0);
        ASSERT_EQ(std::system(("cat " + input + " | " + command + "piped.ps)").c_str()), 0);
        EXPECT_EQ(dir.read("redirected.ps"), dir.read("named.ps")) << input;
        EXPECT_EQ(dir.read("piped.ps"), dir.read("named.ps")) << input;
        std::string pipe = command;  // a named pipe, as a shell's <(...) makes one
        pipe.replace(pipe.find(" - "), 3, " <(cat " + input + ") ");
        ASSERT_EQ(std::system(("bash -c '" + pipe + "pipe.ps)'").c_str()), 0);
        EXPECT_EQ(dir.read("pipe.ps"), dir.read("named.ps")) << input;
    }
    // Warned of, a pipe goes by the name the user gave it, not by its copy's.
    dir.write("part.off", "OFF\n3 2 0\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n3 0 1 x\n");
    std::system(("bash -c '" + std::string(PLOTWERK_COMMAND) + " <(cat " + dir.file("part.off") +
                 ") -o " + dir.path() + "/x.ps' 2> " + dir.path() + "/said")
                    .c_str());
    EXPECT_NE(dir.read("said").find("'/dev/fd/"), std::string::npos) << dir.read("said");
}

TEST(DemoPage, EveryExampleScenePrintsWithInkInsideTheFrame) {
    std::vector<std::string> scenes;
    for (const auto& entry : std::filesystem::directory_iterator(TESSARA_EXAMPLES_DIR))
        if (entry.path().extension() == ".tsc") scenes.push_back(entry.path().string());
    ASSERT_GE(scenes.size(), 5u) << "examples not found in " << TESSARA_EXAMPLES_DIR;
    // The meshes the README points newcomers to.
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(TESSARA_EXAMPLES_DIR) + "/../meshes"))
        if (entry.path().extension() != ".mtl") scenes.push_back(entry.path().string());
    for (const std::string& scene : scenes) {
        SCOPED_TRACE(scene);
        ScratchDir dir;
        const PrintRun run = PrintRun::of(dir, {scene}, "page.ps", 36);
        // The text example's euro sign is one PostScript's fonts lack, which is said.
        ASSERT_TRUE(run.command.exited && run.command.status == 0) << run.command.err;
        ASSERT_TRUE(run.page.ok()) << run.page.messages;
        EXPECT_LE(run.command.errLines().size(), 1u) << run.command.err;
        // More than the frame: something of the scene itself is drawn.
        EXPECT_GT(run.ink(kLeft + 3, kBottom + 3, kRight - 3, kTop - 3), 50);
    }
}

// Twelve uses of one sphere, printed whole and up to 500 triangles: the limited drawing is a
// whole document too, a fraction of the size, and one warning says what was left out.
TEST(DemoPage, ALimitOfPrimitivesEndsTheDrawingEarlyWithOneWarning) {
    ScratchDir dir;
    dir.write("shared.tsc",
              "#Tessara V1.0 ascii\nSeparator { DEF S Sphere {} "
              "DEF G Group { USE S USE S USE S USE S } USE G USE G }\n");
    std::string drawings[2];
    for (const char* limit : {"0", "500"}) {
        const CommandResult run =
            runCommand({"shared.tsc", "-o", "out.ps", "--hidden", "off", "--max-primitives", limit},
                       dir.path());
        ASSERT_TRUE(run.exited && run.status == 0) << run.err;
        EXPECT_EQ(run.errLines().size(), limit[0] == '0' ? 0u : 1u) << run.err;
        const std::string ps = dir.read("out.ps");
        EXPECT_EQ(ps.compare(ps.size() - 9, 9, "showpage\n"), 0) << "a whole document";
        drawings[limit[0] == '0' ? 0 : 1] = ps;
    }
    EXPECT_LT(drawings[1].size(), drawings[0].size() / 4);
}

// PostScript's fonts hold Latin-1: a text's other characters print as "?", with a word, with or
// without the hidden-surface modes, and its Latin-1 letters stay whole. SVG prints them all,
// but for the hidden-surface modes, which keep a model's texts in Latin-1: that is said too.
TEST(DemoPage, TextsBeyondLatin1PrintAsQuestionMarksInPostScript) {
    ScratchDir dir;
    dir.write("t.tsc", "#Tessara V1.0 ascii\nText2 { string \"\xC3\xBC\xE2\x82\xAC\" }\n");
    for (const char* hidden : {"off", "painter"}) {
        const CommandResult run =
            runCommand({"t.tsc", "--hidden", hidden, "-o", "t.ps"}, dir.path());
        ASSERT_TRUE(run.exited && run.status == 0) << run.err;
        EXPECT_EQ(run.errLines().size(), 1u) << run.err;
        EXPECT_NE(dir.read("t.ps").find("(\xFC?)"), std::string::npos) << hidden;
    }
    EXPECT_TRUE(runCommand({"t.tsc", "--hidden", "off", "-o", "t.svg"}, dir.path()).err.empty());
    EXPECT_EQ(runCommand({"t.tsc", "-o", "t.svg"}, dir.path()).errLines().size(), 1u);
}

// A blank drawing says why, in every format: a scene with nothing to draw (a face whose
// corners are not there), or a camera that looks away from a cube, or from a text; the first
// two are told apart. The frame alone is no drawing.
TEST(DemoPage, ABlankDrawingSaysWhy) {
    ScratchDir dir;
    const std::string away =
        "#Tessara V1.0 ascii\nSeparator { PerspectiveCamera { position 0 0 "
        "10 orientation 0 1 0 3.1 } ";
    dir.write("0.tsc", "#Tessara V1.0 ascii\nIndexedFaceSet { coordIndex [ 0, 1, 2 ] }\n");
    dir.write("1.tsc", away + "Cube {} }\n");
    dir.write("2.tsc", away + "Text2 { string \"a\" } }\n");
    for (const char* file : {"out.ps", "out.plt", "out.cgm", "out.svg", "out.pdf", "out.emf"}) {
        SCOPED_TRACE(file);
        std::string said[3];
        for (int scene = 0; scene < 3; ++scene) {
            const CommandResult run = runCommand(
                {std::to_string(scene) + ".tsc", "--border", "4", "-o", file}, dir.path());
            ASSERT_TRUE(run.exited && run.status == 0 && !run.err.empty()) << run.err;
            said[scene] = run.errLines().back();
        }
        EXPECT_NE(said[0], said[1]);
        EXPECT_EQ(said[2], said[1]);
    }
}

TEST(DemoPage, PensAndMetafileOptionsReachTheDocument) {
    const ScratchDir dir;
    const PrintRun pens =
        PrintRun::of(dir, {"--pens", "black,red@0.5mm,#0000ff@0.7mm"}, "pens.plt", 0);
    const HPGLPlot plot = HPGLDecoder::decode(pens.document);
    ASSERT_TRUE(plot.clean()) << plot.errors.front();
    EXPECT_EQ(plot.pens, 3);
    ASSERT_EQ(plot.palette.size(), 3u);
    EXPECT_EQ(plot.palette.at(1).r, 255);
    EXPECT_EQ(plot.palette.at(2).b, 255);
    for (const HPGLPolyline& line : plot.polylines) EXPECT_LT(line.pen.number, 3);
    const PrintRun metafile =
        PrintRun::of(dir, {"--cgm-version", "3", "--cgm-indexed"}, "demo.cgm", 0);
    const CGMMetafile read = CGMClearTextReader::read(metafile.document);
    ASSERT_TRUE(read.clean()) << read.errorText();
    EXPECT_EQ(read.all("MFVERSION").at(0).params.at(0).integer, 3);
    EXPECT_EQ(read.all("COLRMODE").at(0).params.at(0).integer, 0) << "indexed";
}

TEST(ScreenPicture, PngIsWhatTheScreenShowsAtTheDrawingSize) {
    ScratchDir dir;
    const std::string square =
        "  LightModel { model BASE_COLOR }\n  BaseColor { rgb 1 0 0 }\n"
        "  Coordinate3 { point [ -1 -1 0, 1 -1 0, 1 1 0, -1 1 0 ] }\n"
        "  FaceSet { numVertices 4 }\n}\n";
    dir.write("square.tsc",
              "#Tessara V1.0 ascii\nSeparator {\n"
              "  OrthographicCamera { position 0 0 5  height 4 }\n" +
                  square);
    dir.write("free.tsc", "#Tessara V1.0 ascii\nSeparator {\n" + square);
    const CommandResult run =
        runCommand({"square.tsc", "--size", "100x50mm", "-o", "screen.png"}, dir.path());
    ASSERT_EQ(run.status, 0) << run.err;
    SoPNGImage picture;
    ASSERT_TRUE(picture.read(SbString(dir.file("screen.png").c_str())));
    // 100 x 50 mm at 96 pixels per inch.
    EXPECT_EQ(picture.getSize(), SbVec2s(378, 189));
    ASSERT_EQ(picture.getNumComponents(), 3);
    // The square is red in the middle, the paper white in the corners: no colour swapping.
    const unsigned char* centre = picture.getPixel(189, 94);
    EXPECT_GT(centre[0], 200);
    EXPECT_LT(centre[1], 60);
    const unsigned char* corner = picture.getPixel(2, 2);
    EXPECT_GT(corner[0] + corner[1] + corner[2], 3 * 240);
    // A sheet: the square faces the front view (left) and stands edge-on to the right one.
    const std::vector<std::string> sheet = {"free.tsc",    "--size", "100x50mm", "--views",
                                            "front,right", "-o",     "sheet.png"};
    ASSERT_EQ(runCommand(sheet, dir.path()).status, 0);
    ASSERT_TRUE(picture.read(SbString(dir.file("sheet.png").c_str())));
    EXPECT_GT(picture.getPixel(94, 94)[0] - picture.getPixel(94, 94)[1], 150) << "front";
    const unsigned char* right = picture.getPixel(283, 94);
    EXPECT_GT(right[0] + right[1] + right[2], 3 * 240) << "right";
}

}  // namespace
