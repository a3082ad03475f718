// The procedure set is kept line by line, each line quoted, because several lines end in
// blanks that readers of the documents (and byte comparisons of them) see. The grey texts
// are the colour texts with the colour operators swapped for grey ones, so the two variants
// cannot drift apart.

#include "SoPSProcedureSet.h"

#include <initializer_list>
#include <utility>
#include <vector>

namespace {

using Lines = std::vector<std::string>;
using Substitutions = std::initializer_list<std::pair<const char*, const char*>>;

const Lines colorHeaderLines = {
    "%!PS-Adobe-x.0",
    "%%Creator: KYV PlotWerk 3.7",
    "%%Title: PlotWerk",
    "%%BoundingBox: 0 0 xxxx yyyy",
    "%%Orientation: Landscape",
    "%%EndComments",
    "% color header",
    "%",
    "/gc { /colorgblue exch def /colorggreen exch def /colorgred exch def } bind def",
    "/ep { /epaisseur exch def } bind def",
    "/ps { /pointsize exch def } bind def",
    "/tl { /patstart exch def /styleligne exch def } bind def",
    "% Xn Yn ..... X1 Y1 N colour width style  ppl",
    "/ppl",
    "{ /m exch def",
    "  colorgred colorggreen colorgblue setrgbcolor",
    "  epaisseur setlinewidth",
    "  styleligne patstart setdash",
    "  newpath",
    "  moveto",
    "  m 1 sub {lineto} repeat",
    "  stroke",
    "  closepath",
    "} bind def",
    "/pcreatpat { ",
    "  /hexPat exch def ",
    "  /scaleX exch def ",
    "  /scaleY exch def ",
    "  /color exch def ",
    "  scaleX scaleY scale ",
    "  << ",
    "  /PaintType 1 ",
    "    /PatternType 1 /TilingType 1 ",
    "    /BBox [0 0 32 32] ",
    "    /XStep 32 /YStep 32 ",
    "    /PaintProc { ",
    "      begin ",
    "        color setrgbcolor ",
    "        gsave ",
    "        32 32 ",
    "        true ",
    "        [1 0 0 1 0 0]  ",
    "        hexPat ",
    "        imagemask ",
    "      grestore ",
    "      end ",
    "    } ",
    "  >> ",
    "  matrix ",
    "  makepattern ",
    "  1.0 scaleX div 1.0 scaleY div scale ",
    "} bind def ",
    "% Xn Yn ..... X1 Y1 N colour ppmp",
    "/ppmp",
    "{ colorgred colorggreen colorgblue setrgbcolor",
    "  pointsize setlinewidth",
    "  [] 0 setdash",
    "  0 setlinecap",
    "  { newpath",
    "    moveto pointsize -2 div 0 rmoveto",
    "    pointsize 0 rlineto",
    "    stroke",
    "    closepath",
    "  } repeat",
    "  linecap setlinecap",
    "} bind def",
};

// The text procedures and the bitmap display: the part of the closing block that the grey
// header repeats.
const Lines textAndBitmapLines = {
    "% left text",
    "/ltx ",
    "{ colorgred colorggreen colorgblue setrgbcolor",
    "  gsave",
    "  translate rotate",
    "  0.0 0.0 moveto show",
    "  grestore",
    "} bind def",
    "% right text",
    "/rtx ",
    "{ colorgred colorggreen colorgblue setrgbcolor",
    "  gsave",
    "  /str exch def",
    "  /angle exch def",
    "  translate",
    "  str stringwidth pop neg",
    "  /wx exch def",
    "  wx angle cos mul",
    "  wx angle sin mul",
    "  moveto angle rotate str show",
    "  grestore",
    "} bind def",
    "% center text",
    "/ctx ",
    "{ colorgred colorggreen colorgblue setrgbcolor",
    "  gsave",
    "  /str exch def",
    "  /angle exch def",
    "  translate",
    "  str stringwidth pop 2 div neg",
    "  /wxdiv2 exch def  wxdiv2 angle cos mul",
    "  wxdiv2 angle sin mul",
    "  moveto angle rotate str show",
    "  grestore",
    "} bind def",
    "% Display the current bitmap (scaleX scaleY x y DisplayBitmap)",
    "/DisplayBitmap",
    "{ colorgred colorggreen colorgblue setrgbcolor",
    "  gsave",
    "  translate scale",
    "  currentBitmapIndex",
    "  grestore",
    "} bind def",
};

const Lines colorImageLines = {
    "/DisplayImage",
    "{ gsave",
    "  /numComponents exch def",
    "  /lenline exch def /line lenline string def",
    "  translate scale",
    "  /columns exch def /rows exch def",
    "  newpath 0 0 moveto rows columns 8  [rows 0 0 columns 0 0]",
    "  { currentfile line readhexstring pop } false numComponents colorimage",
    "  grestore",
    "} bind def",
    "% end",
};

const Lines grayImageLines = {
    "/DisplayImage",
    "{ gsave",
    "  /lenline exch def /line lenline string def",
    "  translate scale",
    "  /columns exch def /rows exch def",
    "  newpath 0 0 moveto rows columns 8  [rows 0 0 columns 0 0]",
    "  { currentfile line readhexstring pop } image",
    "  grestore",
    "} bind def",
    "% end",
};

const Lines colorLevel1Lines = {
    "%pfa et pfas decomp for niv1",
    "/pfabeg { ",
    " [] 0 setdash",
    " epaisseur setlinewidth",
    " colorgred colorggreen colorgblue setrgbcolor",
    " newpath moveto ",
    "} bind def",
    "/pfacnt { /m exch def m {lineto} repeat } bind def",
    "/pfaend { /m exch def m {lineto} repeat closepath } bind def",
    "% istyle pfa",
    "/pfa { /istyle exch def 1 istyle eq {eofill} {stroke} ifelse } bind def",
    "% Pattern",
    "/ppatbeg { /Pattern setcolorspace setcolor newpath moveto } bind def",
    "/ppatend { /m exch def m {lineto} repeat closepath fill } bind def",
};

const Lines colorLevel2Lines = {
    "%pfa : Xn Yn ..... X1 Y1 N pfa",
    "/pfa {",
    " /m exch def",
    " [] 0 setdash",
    " epaisseur setlinewidth",
    " colorgred colorggreen colorgblue setrgbcolor",
    " newpath moveto",
    " m 1 sub {lineto} repeat",
    " closepath",
    " eofill",
    "} bind def",
    "%pfap : Xn Yn ..... X1 Y1 N pattern pfa",
    "/pfap {",
    " /m exch def",
    " /Pattern setcolorspace setcolor",
    " newpath moveto",
    " m 1 sub {lineto} repeat",
    " closepath",
    " fill",
    "} bind def",
};

const Lines colorSmoothLines = {
    "%pfags gouraud shaded : [flag1 X1 Y1 R1 G1 B1...flagN XN YN RN GN BN] pfags",
    "/pfags {",
    "  /geomData exch def",
    "  <<",
    "    /ShadingType 4",
    "    /ColorSpace  [/DeviceRGB]",
    "    /DataSource  geomData",
    "  >>",
    "  shfill",
    "} bind def",
};

// Line substitutions that turn a colour text into its grey variant; an empty replacement
// drops the line.
const Substitutions grayHeaderChanges = {
    {"%%Creator: KYV PlotWerk 3.7", "%%Creator: KYV PlotWerk 1.0"},
    {"%%Orientation: Landscape", nullptr},
    {"% color header", "% black & white header"},
    {"/gc { /colorgblue exch def /colorggreen exch def /colorgred exch def } bind def",
     "/gb { /colorg exch def } bind def"},
    {"  colorgred colorggreen colorgblue setrgbcolor", "  colorg setgray"},
    {"{ colorgred colorggreen colorgblue setrgbcolor", "{ colorg setgray"},
    {"        color setrgbcolor ", "        color setgray "},
    {"% Display the current bitmap (scaleX scaleY x y DisplayBitmap)", nullptr},
};
const Substitutions grayLevel1Changes = {
    {" colorgred colorggreen colorgblue setrgbcolor", " colorg setgray "},
};
const Substitutions grayLevel2Changes = {
    {" colorgred colorggreen colorgblue setrgbcolor", " colorg setgray"},
};
const Substitutions graySmoothChanges = {
    {"%pfags gouraud shaded : [flag1 X1 Y1 R1 G1 B1...flagN XN YN RN GN BN] pfags",
     "%pfags gouraud shaded : [flag1 X1 Y1 G1...flagN XN YN GN] pfags"},
    {"    /ColorSpace  [/DeviceRGB]", "    /ColorSpace  [/DeviceGray]"},
};

std::string join(std::initializer_list<const Lines*> blocks, Substitutions changes = {}) {
    std::string text;
    for (const Lines* block : blocks) {
        for (const std::string& line : *block) {
            const char* written = line.c_str();
            for (const auto& change : changes)
                if (line == change.first) written = change.second;
            if (!written) continue;
            text += written;
            text += '\n';
        }
    }
    return text;
}

}  // namespace

const std::string& SoPSProcedureSet::header(bool colored) {
    static const std::string color = join({&colorHeaderLines});
    static const std::string gray =
        join({&colorHeaderLines, &textAndBitmapLines}, grayHeaderChanges);
    return colored ? color : gray;
}

const std::string& SoPSProcedureSet::polygonsLevel1(bool colored) {
    static const std::string color = join({&colorLevel1Lines});
    static const std::string gray = join({&colorLevel1Lines}, grayLevel1Changes);
    return colored ? color : gray;
}

const std::string& SoPSProcedureSet::polygonsLevel2(bool colored) {
    static const std::string color = join({&colorLevel2Lines});
    static const std::string gray = join({&colorLevel2Lines}, grayLevel2Changes);
    return colored ? color : gray;
}

const std::string& SoPSProcedureSet::smoothShading(bool colored) {
    static const std::string color = join({&colorSmoothLines});
    static const std::string gray = join({&colorSmoothLines}, graySmoothChanges);
    return colored ? color : gray;
}

const std::string& SoPSProcedureSet::closingBlock(bool colored) {
    static const std::string color = join({&textAndBitmapLines, &colorImageLines});
    static const std::string gray = join({&grayImageLines});
    return colored ? color : gray;
}
