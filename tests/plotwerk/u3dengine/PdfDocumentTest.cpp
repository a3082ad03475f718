// The 3D PDF document as tools independent of its writer read it: qpdf's checks and reading side
// for the structure, the embedded bytes and the encryption, poppler for the text and the page.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <qpdf/QPDF.hh>
#include <sstream>

#include "pdf/U3DPdfWriter.h"
#include "support/PdfPicture.h"

namespace {

namespace gs = ghostscript_detail;
using Object = QPDFObjectHandle;
constexpr std::size_t npos = std::string::npos;

std::string streamData(Object stream) {
    const std::shared_ptr<Buffer> data = stream.getStreamData(qpdf_dl_all);
    return std::string(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
}

class PdfDocument : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int i = 0; i < 3000; ++i) u3dBytes += char(i * 131 % 256);  // every byte value
        std::ofstream(dir.file("model.u3d"), std::ios::binary) << u3dBytes;
        request.u3dFile = dir.file("model.u3d");
        request.pdfFile = dir.file("out.pdf");
        request.title = "Bracket (rev. 2) \\ \u2603";
        request.text = "Steel \u20ac\nScale (1:2)";
    }
    /// Writes the request and opens the document; its page and 3D annotation.
    std::pair<Object, Object> written(QPDF& pdf, const char* password = "") {
        std::string error;
        EXPECT_TRUE(u3d::U3DPdfWriter().write(request, &error)) << error;
        pdf.processFile(request.pdfFile.c_str(), password);
        Object page = pdf.getAllPages().at(0);
        return {page, page.getKey("/Annots").getArrayItem(0)};
    }
    /// What a command prints about the document, then "exit 0" when it succeeded.
    std::string run(const std::string& command, const char* after = "") {
        const std::string path = gs::quoted(request.pdfFile) + after, log = dir.file("log");
        const int status = gs::run(command + " " + path + " >" + gs::quoted(log) + " 2>&1");
        return gs::read(log) + "\nexit " + std::to_string(status);
    }

    gs::TempDir dir;
    std::string u3dBytes;
    u3d::U3DPdfRequest request;
};

TEST_F(PdfDocument, HoldsTheU3DFileTheViewAndTheText) {
    const struct {
        bool orthographic;  // then on a landscape page
        const char *lighting, *projection;
    } cases[] = {{false, "Artwork", "<< /FOV 30 /Subtype /P >>"},
                 {true, "Night", "<< /OS 12.5 /Subtype /O >>"}};
    u3d::U3DPdfView& view = request.view;
    view = {"Front", {1, 0, 0, 0, 0, -1, 0, 1, 0, 2.5f, -40, 3}, 41.5f, false, 30, 12.5f};
    view.background = {0.25f, 0.5f, 0.75f};
    for (const auto& row : cases) {
        SCOPED_TRACE(row.orthographic);
        view.orthographic = request.landscape = row.orthographic;
        view.lighting = row.lighting;
        QPDF pdf;
        auto [page, annotation] = written(pdf);
        EXPECT_NE(run("qpdf --check").find("No syntax or stream encoding errors"), npos);
        EXPECT_EQ(pdf.getPDFVersion(), "1.7");
        EXPECT_EQ(annotation.getKey("/3DD").getDict().getKey("/Subtype").getName(), "/U3D");
        EXPECT_EQ(streamData(annotation.getKey("/3DD")), u3dBytes);
        EXPECT_EQ(
            annotation.getKey("/3DV").unparseResolved(),
            "<< /BG << /C [ 0.25 0.5 0.75 ] /Subtype /SC /Type /3DBG >> /C2W [ 1 0 0 0 0 -1 0 "
            "1 0 2.5 -40 3 ] /CO 41.5 /LS << /Subtype /" +
                view.lighting + " /Type /3DLightingScheme >> /MS /M /P " + row.projection +
                " /Type /3DView /XN (Front) >>");
        EXPECT_EQ(annotation.getKey("/3DA").unparse(), "<< /A /PO /NP true /TB true >>");
        EXPECT_EQ(annotation.getKey("/P").getObjGen(), page.getObjGen());
        // Inside 36 pt margins and below the title; the appearance is the annotation's size.
        Object appearance = annotation.getKey("/AP").getKey("/N");
        const auto box = page.getKey("/MediaBox").getArrayAsRectangle(),
                   rect = annotation.getKey("/Rect").getArrayAsRectangle();
        EXPECT_EQ(box.urx > box.ury, row.orthographic);
        EXPECT_EQ(std::make_tuple(rect.llx, rect.lly, rect.urx),
                  std::make_tuple(36., 36., box.urx - 36));
        EXPECT_LT(rect.ury, box.ury - 36 - 18);
        const auto bbox = appearance.getDict().getKey("/BBox").getArrayAsRectangle();
        EXPECT_EQ(std::make_tuple(bbox.llx, bbox.lly, bbox.urx, bbox.ury),
                  std::make_tuple(0., 0., rect.urx - rect.llx, rect.ury - rect.lly));
        EXPECT_EQ(pdf.getTrailer().getKey("/Info").getKey("/Title").getUTF8Value(), request.title);
        // Parentheses and backslash escaped, WinAnsi's euro kept, '?' for the snowman it lacks.
        const std::string text = run("pdftotext -layout", " -");
        for (const char* line : {"Bracket (rev. 2) \\ ?", "Steel \u20ac", "Scale (1:2)", "exit 0"})
            EXPECT_NE(text.find(line), npos) << text;
    }
}

TEST_F(PdfDocument, PasswordsEncryptWithAes256) {
    for (const char* owner : {"author", ""}) {  // an empty owner password takes the user's
        SCOPED_TRACE(owner);
        request.userPassword = "reader";
        request.ownerPassword = owner;
        QPDF asOwner;
        const Object artwork = written(asOwner, *owner ? owner : "reader").second.getKey("/3DD");
        EXPECT_TRUE(asOwner.ownerPasswordMatched() && streamData(artwork) == u3dBytes);
        EXPECT_ANY_THROW(QPDF().processFile(request.pdfFile.c_str(), ""));
        const std::string encryption = run("qpdf --password=reader --show-encryption");
        for (const char* line : {"R = 6", "stream encryption method: AESv3", "exit 0"})
            EXPECT_NE(encryption.find(line), npos) << encryption;
    }
}

TEST_F(PdfDocument, ThePageShowsTheTitleAndThePosterInTheAnnotation) {
    if (!pdftoppmAvailable()) GTEST_SKIP() << "pdftoppm is not installed";
    request.poster = {40, 20, {}};  // wide: it fits the width, the page shows above it
    for (int i = 0; i < 40 * 20; ++i)
        request.poster.rgb.insert(request.poster.rgb.end(), {30, 160, 90});
    QPDF pdf;
    const auto rect = written(pdf).second.getKey("/Rect").getArrayAsRectangle();
    const auto page = renderPdfPage(gs::read(request.pdfFile), 50);
    const auto at = [&](double x, double y) {  // in points from the bottom left
        return page.pixel(int(x * 50 / 72), int(page.height - y * 50 / 72));
    };
    const auto centre = at((rect.llx + rect.urx) / 2, (rect.lly + rect.ury) / 2);
    EXPECT_LT(std::abs(centre.r - 30) + std::abs(centre.g - 160) + std::abs(centre.b - 90), 12);
    EXPECT_TRUE(at(rect.llx + 10, rect.ury - 10).isWhite());
    int dark = 0;  // the title's, in the 18 pt below the top margin
    for (int y = 36 * 50 / 72; y < 54 * 50 / 72; ++y)
        for (int x = 0; x < page.width; ++x) dark += page.pixel(x, y).r < 100;
    EXPECT_GT(dark, 20);
}

// Measured as a monospaced font: poppler reads every character in order, in lines no wider
// than the page, broken within the one word longer than a line only.
TEST_F(PdfDocument, TitleAndTextWrapToThePage) {
    request.lineWidth = [](const std::string& line, const char*, double size) {
        return 0.5 * size * double(line.size());
    };
    request.title = request.text = "";
    for (int i = 0; i < 40; ++i)
        request.title += "T" + std::to_string(i) + " ",
            request.text += "t" + std::to_string(i) + " ";
    request.text += std::string(120, 'x');
    QPDF pdf;
    written(pdf);
    std::istringstream lines(run("pdftotext", " -"));
    std::string read, given, words = " " + request.title + request.text;
    for (std::string line; std::getline(lines, line) && line.rfind("exit", 0) != 0;) {
        EXPECT_LE(0.5 * (line[0] == 'T' ? 18 : 11) * double(line.size()), 595 - 2 * 36) << line;
        std::istringstream tokens(line);
        for (std::string token; tokens >> token; read += token)
            EXPECT_TRUE(token[0] == 'x' || words.find(" " + token + " ") != npos) << token;
    }
    std::remove_copy(words.begin(), words.end(), std::back_inserter(given), ' ');
    EXPECT_EQ(read, given);
}

TEST_F(PdfDocument, FailuresReturnAMessageNamingTheFileAndLeaveNoFile) {
    const std::pair<const char*, const char*> cases[] = {{"none.u3d", "out.pdf"},
                                                         {"model.u3d", "none/out.pdf"},
                                                         {"model.u3d", ""},
                                                         {"model.u3d", "/dev/full"}};
    for (const auto& [u3d, pdf] : cases) {
        SCOPED_TRACE(pdf);
        request.u3dFile = dir.file(u3d);
        request.pdfFile = *pdf == '/' ? pdf : dir.file(pdf);  // "": the folder
        std::string error;
        EXPECT_FALSE(u3d::U3DPdfWriter().write(request, &error));
        const bool u3dMissing = !std::filesystem::exists(request.u3dFile);
        EXPECT_NE(error.find("'" + (u3dMissing ? request.u3dFile : request.pdfFile) + "'"), npos)
            << error;
        EXPECT_FALSE(std::filesystem::is_regular_file(request.pdfFile));
    }
}

}  // namespace
