#include "options/HelpText.h"

#include <PlotWerk/SoVectorizePSAction.h>

#include "options/OptionTable.h"
#include "options/OptionValue.h"

namespace {

constexpr size_t kDescriptionColumn = 26;
constexpr size_t kLineLength = 100;

const char* const kIntroduction =
    "usage: plotwerk [options] [INPUT]\n"
    "\n"
    "Prints a 3D scene as a vector drawing. INPUT is a scene file (.tsc, or any file that\n"
    "starts with \"#Tessara\") or a mesh file the importer reads (OBJ, STL, PLY, OFF, glTF,\n"
    "3DS, COLLADA, ...), or \"-\" for standard input (a model piped in has no files beside\n"
    "it); without INPUT the built-in demo scene is printed. A scene without a camera gets\n"
    "one that frames it to fill the drawing with a 5% margin, a scene without lights a\n"
    "headlight. Faces are ordered by depth (--hidden painter) unless told otherwise.\n"
    "\n"
    "Options:\n";

// Words of `text` onto lines of at most kLineLength, the continuation lines indented.
std::string wrapped(const std::string& text, size_t indent) {
    std::string result;
    size_t column = indent;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(start, end - start);
        if (column > indent && column + 1 + word.size() > kLineLength) {
            result += "\n" + std::string(indent, ' ');
            column = indent;
        } else if (column > indent) {
            result += ' ';
            ++column;
        }
        result += word;
        column += word.size();
        start = end + 1;
    }
    return result;
}

std::string optionLine(const OptionTable::Entry& entry, const SoVectorizePSAction& fresh) {
    std::string head = std::string("  ") + entry.name;
    if (entry.valueName)
        head += (entry.valueName[0] == '[' ? "" : " ") + std::string(entry.valueName);
    if (head.size() + 1 < kDescriptionColumn)
        head.resize(kDescriptionColumn, ' ');
    else
        head += "\n" + std::string(kDescriptionColumn, ' ');
    std::string description = entry.description;
    if (entry.defaultText) description += " (default: " + entry.defaultText(fresh) + ")";
    return head + wrapped(description, kDescriptionColumn) + "\n";
}

}  // namespace

std::string HelpText::build() {
    SoVectorizePSAction fresh;
    std::string text = kIntroduction;
    for (const OptionTable::Entry& entry : OptionTable::entries()) text += optionLine(entry, fresh);
    text += "\n" +
            wrapped("COLOR: a name (" + OptionValue::colorNames() +
                        "), #rrggbb, or r:g:b with fractions from 0 to 1.",
                    0) +
            "\nColours pass through the --colors translation: by default black and white swap, "
            "as\nfor a screen's black background, so the white default border prints black.\n"
            "Lengths take an optional unit: in, mm or m (mm when absent).\n"
            "Exit status: 0 on success, 2 on any error (a one-line message on standard error).\n";
    return text;
}
