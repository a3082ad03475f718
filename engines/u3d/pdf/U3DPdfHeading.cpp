// The heading uses the standard fonts with WinAnsi encoding, so that the document needs no
// embedded font: what WinAnsi cannot show becomes '?'. Lines break where the text breaks them
// and, given the fonts' widths, where the page ends.

#include "pdf/U3DPdfHeading.h"

#include <qpdf/QUtil.hh>
#include <sstream>
#include <unordered_map>

#include "pdf/U3DPdfNumber.h"

namespace u3d {
namespace {

constexpr const char* kTitleFont = "/TitleFont";
constexpr const char* kTextFont = "/TextFont";
constexpr const char* kTitleFace = "Helvetica-Bold";
constexpr const char* kTextFace = "Helvetica";
constexpr double kTitleSize = 18;
constexpr double kTextSize = 11;
// Helvetica's ascender and a comfortable line pitch, in units of the font size.
constexpr double kAscent = 0.72;
constexpr double kLeading = 1.3;

QPDFObjectHandle standardFont(const char* baseFont) {
    QPDFObjectHandle font = QPDFObjectHandle::newDictionary();
    font.replaceKey("/Type", QPDFObjectHandle::newName("/Font"));
    font.replaceKey("/Subtype", QPDFObjectHandle::newName("/Type1"));
    font.replaceKey("/BaseFont", QPDFObjectHandle::newName("/" + std::string(baseFont)));
    font.replaceKey("/Encoding", QPDFObjectHandle::newName("/WinAnsiEncoding"));
    return font;
}

// Where the UTF-8 character after the one at i starts.
size_t nextCharacter(const std::string& utf8, size_t i) {
    for (++i; i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80;) ++i;
    return i;
}

}  // namespace

U3DPdfHeading::U3DPdfHeading(const std::string& title, const std::string& text, double left,
                             double top, double width, const LineWidth& lineWidth)
    : left_(left), cursor_(top), width_(width), lineWidth_(lineWidth) {
    if (!title.empty()) addParagraph(title, true, kTitleSize);
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        addParagraph(line, false, kTextSize);
    }
}

// Widths add up, character by character: a line advances by each one's own width, with no
// kerning, on the page as in the measure. So one pass breaks the paragraph: at the last space
// before the character that would overflow, else before that character.
void U3DPdfHeading::addParagraph(const std::string& utf8, bool bold, double size) {
    if (!lineWidth_ || !(width_ > 0.0)) return addLine(utf8, bold, size);
    std::unordered_map<std::string, double> widths;
    const auto widthOf = [&](size_t from, size_t to) {
        const auto [at, fresh] = widths.try_emplace(utf8.substr(from, to - from), 0.0);
        if (fresh) at->second = lineWidth_(at->first, bold ? kTitleFace : kTextFace, size);
        return at->second;
    };
    size_t start = 0, space = std::string::npos;
    double used = 0.0, beforeSpace = 0.0;
    for (size_t i = 0; i < utf8.size();) {
        const size_t next = nextCharacter(utf8, i);
        const double width = widthOf(i, next);
        if (used + width > width_ && i > start && utf8[i] != ' ') {
            const bool atSpace = space != std::string::npos && space > start;
            addLine(utf8.substr(start, (atSpace ? space : i) - start), bold, size);
            used = atSpace ? used - beforeSpace - widthOf(space, space + 1) : 0.0;
            start = atSpace ? space + 1 : i;
            space = std::string::npos;
            continue;
        }
        if (utf8[i] == ' ') space = i, beforeSpace = used;
        used += width;
        i = next;
    }
    addLine(utf8.substr(start), bold, size);
}

QPDFObjectHandle U3DPdfHeading::fonts() const {
    QPDFObjectHandle fonts = QPDFObjectHandle::newDictionary();
    fonts.replaceKey(kTitleFont, standardFont(kTitleFace));
    fonts.replaceKey(kTextFont, standardFont(kTextFace));
    return fonts;
}

void U3DPdfHeading::addLine(const std::string& utf8, bool bold, double size) {
    const char* font = bold ? kTitleFont : kTextFont;
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
