#pragma once

#include <string>

/// The fixed texts of a PostScript document's procedure set, in a colour and a grey
/// variant: the header template (patched by the action), the polygon procedures of each
/// level, the smooth-shading procedure and the closing text and image block.
class SoPSProcedureSet {
  public:
    /// The header with its template lines ("PS-Adobe-x.0", "BoundingBox ...") still to patch.
    static const std::string& header(bool colored);
    static const std::string& polygonsLevel1(bool colored);
    /// Polygons of levels 2 and 3.
    static const std::string& polygonsLevel2(bool colored);
    /// Gouraud-shaded triangle meshes; level 3 only.
    static const std::string& smoothShading(bool colored);
    /// Last block: text and images in colour documents, the grey image procedure otherwise.
    static const std::string& closingBlock(bool colored);
};
