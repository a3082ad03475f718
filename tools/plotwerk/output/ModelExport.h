#pragma once

#include "options/PrintOptions.h"

class SoSeparator;

/// The 3D outputs: the scene itself as a U3D file, or a PDF page that embeds it, written by
/// the export engine module. Neither goes to standard output: the engine writes files.
class ModelExport {
  public:
    static void writeU3D(const PrintOptions& options, SoSeparator* scene);
    static void writePdf3D(const PrintOptions& options, SoSeparator* scene);
};
