#include "reading/PlySafetyCheck.h"

#include <fstream>

#include "meshes/PlyHeader.h"
#include "meshes/PlyValues.h"

std::string PlySafetyCheck::problemIn(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!PlyHeader::startsAt(in)) return std::string();
    const PlyHeader header = PlyHeader::read(in);
    if (!header.ended) return "its PLY header has no line \"end_header\"";
    if (!header.problem.empty()) return "its PLY header cannot be read: " + header.problem;
    PlyValues values(*in.rdbuf(), header.format);
    for (const PlyHeader::Element& element : header.elements)
        if (!values.readPast(element))
            return "its PLY body ends, or holds a word that is no number, within its \"" +
                   element.name + "\" records";
    return std::string();
}
