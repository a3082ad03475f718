#include "meshes/FaceColors.h"

#include <fstream>

#include "meshes/PlyFaceColors.h"
#include "meshes/PlyHeader.h"

FaceColors FaceColors::read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return PlyHeader::startsAt(in) ? PlyFaceColors::read(in) : FaceColors();
}
