#pragma once

class SoSeparator;
struct OutputFormat;
struct PrintOptions;

/// How the command shows a scene beyond what its file says: a mesh file's faces are lit on
/// both sides, its surfaces without normals of their own run smoothly where its faces meet
/// at gentle angles, and a drawing of lines shows shapes, not light.
class DrawingStyle {
  public:
    /// Puts the nodes that do so in front of the scene's own, for the drawing `format` makes.
    static void apply(const PrintOptions& options, const OutputFormat& format, SoSeparator* scene);
};
