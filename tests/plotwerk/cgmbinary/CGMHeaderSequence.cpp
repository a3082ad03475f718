#include "CGMHeaderSequence.h"

#include <vector>

#include "../../../libPlotWerk/src/cgm/SoCGMBinaryElements.h"

namespace cgmtest {

void writeDocumentHeader(SoCGMBinaryElements& elements, bool indexed, int tableEntries) {
    static const SbString fonts[3] = {SbString("Times-Roman"), SbString("Courier"),
                                      SbString("Symbol")};
    const int black[3] = {0, 0, 0};
    const int white[3] = {255, 255, 255};
    elements.Pbegmf(SbString("PlotWerk CGM OUTPUT"), indexed);
    elements.Pmfversion(1);
    elements.Pmfdesc(SbString("PlotWerk CGM METAFILE OUTPUT"));
    elements.Pmfelemlist();
    elements.Pvdctype(1);
    elements.Pintegerprec(-32767, 32767);
    elements.Prealprec(-32767.0, 32767.0, 8);
    elements.Pindexprec(-32767, 32767);
    elements.Pcolrprec(255);
    elements.Pcolrindexprec(255);
    elements.Pcolrvalueext(black, white);
    elements.Pmaxcolrindex(255);
    elements.Pfontlist(fonts, 3);
    elements.Pbegpic(SbString("Binary Image from PlotWerk"));
    elements.Pscalemode(1, 1.0);
    elements.Plinewidthmode(0);
    elements.Pmarkersizemode(0);
    elements.Pedgewidthmode(0);
    elements.Pcolrmode(indexed ? 0 : 1);
    elements.Pvdcext(0.0, 0.0, 210.0, 297.0);
    elements.Pbegpicbody();
    elements.Pvdcrealprec(-32767.0, 32767.0, 8);
    elements.Pedgevis(0);
    if (indexed) {
        std::vector<int> rgb;
        for (int i = 0; i < tableEntries; ++i) rgb.insert(rgb.end(), 3, i & 0xFF);
        elements.Pcolrtable(0, rgb.data(), tableEntries);
    }
}

int documentHeaderCodes(bool indexed, const ElementCode** codes) {
    static const ElementCode sequence[] = {{0, 1},  {1, 1}, {1, 2}, {1, 11}, {1, 3},  {1, 4},
                                           {1, 5},  {1, 6}, {1, 7}, {1, 8},  {1, 10}, {1, 9},
                                           {1, 13}, {0, 3}, {2, 1}, {2, 3},  {2, 4},  {2, 5},
                                           {2, 2},  {2, 6}, {0, 4}, {3, 2},  {5, 30}, {5, 34}};
    *codes = sequence;
    const int count = static_cast<int>(sizeof sequence / sizeof sequence[0]);
    return indexed ? count : count - 1;
}

}  // namespace cgmtest
