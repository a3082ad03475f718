#pragma once

#include <string>

/// cairo writes a mesh of Gouraud triangles into a PDF as tensor-product patches (shading
/// type 7), uncompressed: 153 bytes a triangle, and the colour spreads across a folded patch,
/// not linearly as on the screen. rewrite() makes every such shading whose patches are all
/// triangles a free-form triangle shading (type 4) of the same coordinates and colours,
/// 45 bytes a triangle, and has qpdf write the document again with its streams compressed.
class SoPdfTriangleShadings {
  public:
    /// What a document holds only if it has a mesh: others need not be read again.
    static const std::string& meshMarker();
    /// The document with its triangle meshes rewritten into `rewritten`; false, and
    /// `rewritten` untouched, when it has none or qpdf cannot read it (a message then).
    static bool rewrite(const std::string& document, std::string& rewritten);
};
