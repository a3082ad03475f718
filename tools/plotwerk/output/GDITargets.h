#pragma once

#include <string>

#include "options/PrintOptions.h"
#include "output/SafeOutputFile.h"

class SoSeparator;
class SoVectorizeGDIAction;

/// The GDI backend's two targets in the command. A metafile is written by its own name, so
/// it goes to a private temporary file first and is then copied into the output, which
/// keeps the output's guarantees (standard output, replacing a file only when complete).
/// A printed drawing goes to the print service, and a missing printer is an error.
class GDITargets {
  public:
    /// The -o argument's file name is the one the metafile's description gives.
    static void writeMetafile(SoVectorizeGDIAction& action, SoSeparator* scene,
                              SafeOutputFile& output, const PrintOptions& options);
    static void print(const PrintOptions& options, SoSeparator* scene);
};
