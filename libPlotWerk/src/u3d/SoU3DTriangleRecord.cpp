#include "SoU3DTriangleRecord.h"

#include <Tessara/details/SoFaceDetail.h>

SoU3DTriangleRecord::SoU3DTriangleRecord(bool empty) : empty_(empty) {}

SoU3DTriangleRecord::SoU3DTriangleRecord(const SoPrimitiveVertex* a, const SoPrimitiveVertex* b,
                                         const SoPrimitiveVertex* c)
    : empty_(false), vertices_{copyOf(*a), copyOf(*b), copyOf(*c)} {
    const SoDetail* detail = a->getDetail();
    if (detail != nullptr && detail->isOfType(SoFaceDetail::getClassTypeId())) {
        hasFace_ = true;
        const auto face =
            static_cast<std::uint32_t>(static_cast<const SoFaceDetail*>(detail)->getFaceIndex());
        faceIndex_[0] = face;
        faceIndex_[1] = face;
    }
}

bool SoU3DTriangleRecord::sameFace(const SoU3DTriangleRecord& other) const {
    return hasFace_ == other.hasFace_ && faceIndex_[0] == other.faceIndex_[0] &&
           faceIndex_[1] == other.faceIndex_[1];
}

// The detail is left out: it belongs to the shape and is gone once the callback returns.
SoPrimitiveVertex SoU3DTriangleRecord::copyOf(const SoPrimitiveVertex& vertex) {
    SoPrimitiveVertex copy;
    copy.setPoint(vertex.getPoint());
    copy.setNormal(vertex.getNormal());
    copy.setTextureCoords(vertex.getTextureCoords());
    copy.setMaterialIndex(vertex.getMaterialIndex());
    return copy;
}
