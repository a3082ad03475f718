#include "SoPdfTriangleShadings.h"

#include <Tessara/base/SoDebugError.h>

#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFWriter.hh>
#include <string>

namespace {

// Both shading types list a vertex as a flag, x and y, then its colour components, each in
// as many bits as the dictionary says. A patch (flag 0) has 16 points, the boundary first,
// corner by corner from its first corner, then 4 corner colours. cairo closes a triangle's
// patch back at its first corner: corners 0, 1 and 2 are the triangle's, corner 3 (point 9)
// its first again, in place and colour.
constexpr int kTensorPatches = 7, kFreeFormTriangles = 4;  // shading types
constexpr int kPatchPoints = 16;
constexpr int kCornerPoint[4] = {0, 3, 6, 9};

/// Bytes of each part of a patch and of a vertex.
struct Layout {
    std::size_t coordinate = 0, colour = 0;
    std::size_t point() const { return 2 * coordinate; }
    std::size_t patch() const { return 1 + kPatchPoints * point() + 4 * colour; }
    std::size_t vertex() const { return 1 + point() + colour; }
};

/// Nothing for a layout whose values are not whole bytes, which cannot be copied bytewise.
std::optional<Layout> layoutOf(QPDFObjectHandle dictionary) {
    const auto bits = [&](const char* key) {
        QPDFObjectHandle value = dictionary.getKey(key);
        return value.isInteger() ? value.getIntValue() : 0;
    };
    QPDFObjectHandle decode = dictionary.getKey("/Decode");
    if (!decode.isArray() || decode.getArrayNItems() < 6 || bits("/BitsPerFlag") != 8 ||
        dictionary.hasKey("/Function"))
        return std::nullopt;
    const long long coordinateBits = bits("/BitsPerCoordinate"),
                    componentBits = bits("/BitsPerComponent");
    if (coordinateBits <= 0 || coordinateBits % 8 || componentBits <= 0 || componentBits % 8)
        return std::nullopt;
    const std::size_t components = static_cast<std::size_t>(decode.getArrayNItems() - 4) / 2;
    return Layout{static_cast<std::size_t>(coordinateBits / 8),
                  components * static_cast<std::size_t>(componentBits / 8)};
}

/// The triangles of the patches, vertex by vertex; nothing unless every patch is a triangle.
std::optional<std::string> trianglesOf(const unsigned char* patches, std::size_t size,
                                       const Layout& layout) {
    if (size == 0 || size % layout.patch() != 0) return std::nullopt;
    std::string triangles;
    triangles.reserve(size / layout.patch() * 3 * layout.vertex());
    for (const unsigned char* patch = patches; patch < patches + size; patch += layout.patch()) {
        const unsigned char* points = patch + 1;
        const unsigned char* colours = points + kPatchPoints * layout.point();
        const auto point = [&](int corner) {
            return points + kCornerPoint[corner] * layout.point();
        };
        const auto colour = [&](int corner) { return colours + corner * layout.colour; };
        if (patch[0] != 0 || std::memcmp(point(3), point(0), layout.point()) != 0 ||
            std::memcmp(colour(3), colour(0), layout.colour) != 0)
            return std::nullopt;
        for (int corner = 0; corner < 3; ++corner) {
            triangles += '\0';
            triangles.append(reinterpret_cast<const char*>(point(corner)), layout.point());
            triangles.append(reinterpret_cast<const char*>(colour(corner)), layout.colour);
        }
    }
    return triangles;
}

/// Makes the shading a triangle shading, if it is a mesh of triangles.
bool rewriteShading(QPDFObjectHandle shading) {
    QPDFObjectHandle dictionary = shading.getDict();
    const std::optional<Layout> layout = layoutOf(dictionary);
    if (!layout) return false;
    std::shared_ptr<Buffer> patches = shading.getStreamData(qpdf_dl_generalized);
    const std::optional<std::string> triangles =
        trianglesOf(patches->getBuffer(), patches->getSize(), *layout);
    if (!triangles) return false;
    shading.replaceStreamData(*triangles, QPDFObjectHandle::newNull(), QPDFObjectHandle::newNull());
    dictionary.replaceKey("/ShadingType", QPDFObjectHandle::newInteger(kFreeFormTriangles));
    return true;
}

}  // namespace

const std::string& SoPdfTriangleShadings::meshMarker() {
    static const std::string marker = "/ShadingType " + std::to_string(kTensorPatches);
    return marker;
}

bool SoPdfTriangleShadings::rewrite(const std::string& document, std::string& rewritten) {
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.processMemoryFile("drawing", document.data(), document.size());
        bool any = false;
        for (QPDFObjectHandle object : pdf.getAllObjects())
            if (object.isStream() && object.getDict().getKey("/ShadingType").isInteger() &&
                object.getDict().getKey("/ShadingType").getIntValue() == kTensorPatches)
                any = rewriteShading(object) || any;
        if (!any) return false;
        QPDFWriter writer(pdf);
        writer.setOutputMemory();
        writer.setCompressStreams(true);
        writer.setDeterministicID(true);
        writer.write();
        std::shared_ptr<Buffer> written = writer.getBufferSharedPointer();
        rewritten.assign(reinterpret_cast<const char*>(written->getBuffer()), written->getSize());
        return true;
    } catch (const std::exception& failure) {
        SoDebugError::postWarning("SoVectorizePDFAction::writeFooter",
                                  "The smooth shadings stay as cairo wrote them: %s",
                                  failure.what());
        return false;
    }
}
