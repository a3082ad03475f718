#include "FaceColors.h"

#include <fstream>

#include "OffFaceColors.h"
#include "PlyFaceColors.h"

FaceColors FaceColors::read(const std::string& path) {
    // The first word tells, and only the first few bytes are read for it: a binary file may
    // hold no line break at all.
    std::ifstream in(path, std::ios::binary);
    char start[16];
    in.read(start, sizeof start);
    const std::string head(start, static_cast<std::size_t>(in.gcount()));
    const std::string keyword = head.substr(0, head.find_first_of(" \t\r\n#"));
    in.clear();
    in.seekg(0);
    if (keyword == "ply") return PlyFaceColors::read(in);
    // OFF files name their variant by letters before "OFF" ("COFF", "NOFF", "STOFF", ...).
    if (keyword.size() >= 3 && keyword.compare(keyword.size() - 3, 3, "OFF") == 0)
        return OffFaceColors::read(in);
    return {};
}
