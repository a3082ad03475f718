// The heading uses the standard fonts with WinAnsi encoding, so that the document needs no
// embedded font: what WinAnsi cannot show becomes '?'. Lines are not wrapped; the caller's
// text decides where lines break.

#include "pdf/U3DPdfHeading.h"

#include <qpdf/QUtil.hh>
#include <sstream>

#include "pdf/U3DPdfNumber.h"

namespace u3d {
namespace {

constexpr const char* kTitleFont = "/TitleFont";
constexpr const char* kTextFont = "/TextFont";
constexpr double kTitleSize = 18;
constexpr double kTextSize = 11;
// Helvetica's ascender and a comfortable line pitch, in units of the font size.
constexpr double kAscent = 0.72;
constexpr double kLeading = 1.3;

QPDFObjectHandle standardFont(const char* baseFont) {
    QPDFObjectHandle font = QPDFObjectHandle::newDictionary();
    font.replaceKey("/Type", QPDFObjectHandle::newName("/Font"));
    font.replaceKey("/Subtype", QPDFObjectHandle::newName("/Type1"));
    font.replaceKey("/BaseFont", QPDFObjectHandle::newName(baseFont));
    font.replaceKey("/Encoding", QPDFObjectHandle::newName("/WinAnsiEncoding"));
    return font;
}

}  // namespace

U3DPdfHeading::U3DPdfHeading(const std::string& title, const std::string& text, double left,
                             double top)
    : left_(left), cursor_(top) {
    if (!title.empty()) addLine(title, kTitleFont, kTitleSize);
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        addLine(line, kTextFont, kTextSize);
    }
}

QPDFObjectHandle U3DPdfHeading::fonts() const {
    QPDFObjectHandle fonts = QPDFObjectHandle::newDictionary();
    fonts.replaceKey(kTitleFont, standardFont("/Helvetica-Bold"));
    fonts.replaceKey(kTextFont, standardFont("/Helvetica"));
    return fonts;
}

void U3DPdfHeading::addLine(const std::string& utf8, const char* font, double size) {
    const double baseline = cursor_ - kAscent * size;
    cursor_ -= kLeading * size;
    if (utf8.empty()) return;
    // qpdf writes the string operand, escaping what a PDF string needs escaped.
    const std::string operand =
        QPDFObjectHandle::newString(QUtil::utf8_to_win_ansi(utf8, '?')).unparse();
    contents_ += "BT " + std::string(font) + " " + pdfNumber(size) + " Tf " + pdfNumber(left_) +
                 " " + pdfNumber(baseline) + " Td " + operand + " Tj ET\n";
}

}  // namespace u3d
