#pragma once

class SoSeparator;
struct OutputFormat;
struct PrintOptions;

/// How the command shows a scene beyond what its file says: a mesh file's faces are lit on
/// both sides, shaded one colour per face they show their facets, where they are shown smooth
/// its surfaces without normals of their own run smoothly across gentle edges, and a drawing
/// of lines shows shapes, not light.
class DrawingStyle {
  public:
    /// Puts the nodes that do so in front of the scene's own, for the drawing `format` makes.
    static void apply(const PrintOptions& options, const OutputFormat& format, SoSeparator* scene);
};
