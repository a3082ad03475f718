#include "SoCGMFontTable.h"

#include <algorithm>
#include <iterator>

namespace {

// Built when the library loads and shared by every metafile of the process.
const SbString fontNames[SoCGMFontTable::COUNT] = {
    "Times-Roman", "Times-Italic",      "Times-Bold",     "Times-BoldItalic",
    "Helvetica",   "Helvetica-Oblique", "Helvetica-Bold", "Helvetica-BoldOblique",
    "Courier",     "Courier-Oblique",   "Courier-Bold",   "Courier-BoldOblique",
    "Symbol"};

}  // namespace

const SbString* SoCGMFontTable::names() {
    return fontNames;
}

int SoCGMFontTable::indexOf(const SbString& name) {
    const SbString* found = std::find(std::begin(fontNames), std::end(fontNames), name);
    return found == std::end(fontNames) ? 0 : static_cast<int>(found - fontNames) + 1;
}
