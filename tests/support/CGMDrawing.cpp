#include "support/CGMDrawing.h"

#include <cmath>

namespace {

// Attributes of the picture body that shape what a primitive looks like: the primitive
// attributes but the colour and pattern tables, and the miter limit and clip rectangle.
// Transparency of cells is left out: binary metafiles switch it off after every polygon,
// clear text only after patterned ones, and both have it on exactly while cells are drawn.
bool isAttribute(const CGMElement& e) {
    return (e.elementClass == 5 && e.keyword != "COLRTABLE" && e.keyword != "PATTABLE") ||
           e.keyword == "MITRELIMIT" || e.keyword == "CLIPRECT";
}

// A text as the low bytes of its characters: clear text may hold UTF-8 (of up to three bytes
// a character) where a binary metafile holds one byte a character. A text that is no valid
// UTF-8 stays as it is: Latin-1 bytes above 0x7F rarely form valid UTF-8.
std::string lowBytes(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        // How many continuation bytes follow this one; -1 where no character starts.
        const int more = c < 0x80 ? 0 : c < 0xC2 ? -1 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : -1;
        if (more < 0 || i + static_cast<std::size_t>(more) >= text.size()) return text;
        unsigned int code = c & (more == 0 ? 0x7Fu : more == 1 ? 0x1Fu : 0x0Fu);
        for (int k = 0; k < more; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[++i]);
            if ((next & 0xC0) != 0x80) return text;
            code = code << 6 | (next & 0x3Fu);
        }
        out += static_cast<char>(code & 0xFF);
    }
    return out;
}

bool sameValue(const CGMValue& a, const CGMValue& b, double tolerance) {
    if (a.kind == CGMValue::Kind::String && b.kind == CGMValue::Kind::String)
        return lowBytes(a.text) == lowBytes(b.text);
    return a.near(b, tolerance);
}

bool sameValues(const std::vector<CGMValue>& a, const std::vector<CGMValue>& b, double tolerance) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!sameValue(a[i], b[i], tolerance)) return false;
    return true;
}

std::string show(const std::vector<CGMValue>& values) {
    std::string text;
    for (const CGMValue& v : values) text += " " + v.str();
    return text;
}

}  // namespace

std::vector<CGMDrawnPrimitive> CGMDrawing::of(const CGMMetafile& metafile) {
    std::vector<CGMDrawnPrimitive> drawing;
    // Character orientation is written when it changes from the default: start from it.
    std::map<std::string, std::vector<CGMValue>> state = {
        {"CHARORI",
         {CGMValue::makeReal(0), CGMValue::makeReal(1), CGMValue::makeReal(1),
          CGMValue::makeReal(0)}}};
    std::map<std::int64_t, std::vector<CGMValue>> lineTypes, patterns;
    for (const CGMElement& e : metafile.elements) {
        if (e.elementClass == 4) {  // a primitive
            drawing.push_back(CGMDrawnPrimitive{e, state});
            // A local colour precision of 0 means the metafile's own, 8 bits in both.
            CGMElement& drawn = drawing.back().element;
            if (drawn.keyword == "CELLARRAY" && drawn.params.size() > 5 &&
                drawn.params[5].integer == 0)
                drawn.params[5].integer = 8;
        } else if (e.keyword == "LINEEDGETYPEDEF" && e.params.size() > 1) {
            std::vector<CGMValue> dashes(e.params.begin() + 1, e.params.end());
            // Clear text keeps two decimals of the dash size.
            dashes[0].x = std::round(dashes[0].x * 100.0) / 100.0;
            lineTypes[e.params[0].integer] = dashes;
        } else if (e.keyword == "LINETYPE" && !e.params.empty() && e.params[0].integer < 0) {
            state["LINETYPE"] = lineTypes[e.params[0].integer];
        } else if (e.keyword == "PATTABLE" && !e.params.empty()) {
            patterns[e.params[0].integer].assign(e.params.begin() + 1, e.params.end());
        } else if (e.keyword == "PATINDEX" && !e.params.empty()) {
            state["PATINDEX"] = patterns[e.params[0].integer];
        } else if (isAttribute(e)) {
            state[e.keyword] = e.params;
        }
    }
    return drawing;
}

std::string CGMDrawing::firstDifference(const std::vector<CGMDrawnPrimitive>& a,
                                        const std::vector<CGMDrawnPrimitive>& b, double tolerance) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        const std::string where = "primitive " + std::to_string(i) + " ";
        if (a[i].element.keyword != b[i].element.keyword ||
            !sameValues(a[i].element.params, b[i].element.params, tolerance))
            return where + a[i].element.str() + " vs " + b[i].element.str();
        for (const auto& [keyword, values] : a[i].attributes) {
            const auto other = b[i].attributes.find(keyword);
            if (other == b[i].attributes.end()) return where + "lacks " + keyword;
            if (!sameValues(values, other->second, tolerance))
                return where + keyword + show(values) + " vs" + show(other->second);
        }
        if (a[i].attributes.size() != b[i].attributes.size())
            return where + "has more attributes on one side";
    }
    if (a.size() != b.size())
        return std::to_string(a.size()) + " primitives vs " + std::to_string(b.size());
    return "";
}
