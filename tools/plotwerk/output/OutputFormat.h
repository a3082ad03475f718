#pragma once

#include <memory>
#include <string>
#include <vector>

#include "options/PrintOptions.h"

class ProgressMeter;
class SoSeparator;

/// One output format: its name for -f, the file extensions that choose it, and the factory
/// that makes its backend, configured with the format's own options. Adding a backend to the
/// command is adding one entry to the table in OutputFormat.cpp.
struct OutputFormat {
    /// The backend; with a meter, one that reports its progress to it.
    using Factory = std::unique_ptr<SoVectorizeAction> (*)(const PrintOptions& options,
                                                           ProgressMeter* meter);

    /// A writer of the scene itself, for the outputs that are not drawings.
    using SceneWriter = void (*)(const PrintOptions& options, SoSeparator* scene);

    const char* name;
    std::vector<std::string> extensions;
    /// Null for the screen picture, which is rendered, and for the 3D outputs.
    Factory create;
    SceneWriter writeScene = nullptr;
    /// The extension of a file the command names itself, where none of `extensions` is it.
    const char* namingExtension = nullptr;
    /// Whether the output shades faces smoothly with these options; null: never. Where it
    /// does not, faces smoothly shaded would each print in the colour of their first corner.
    bool (*shadesSmoothly)(const PrintOptions& options) = nullptr;

    /// Every format; the first is the one for standard output and names without extension.
    static const std::vector<OutputFormat>& all();
    /// The format `name` (from -f) when given, else the one `output`'s extension chooses.
    /// An unknown name or extension is a CommandError.
    static const OutputFormat& choose(const std::string& name, const std::string& output);
    /// A file in the current directory named after the input ("demo" for the demo scene,
    /// "plotwerk" for standard input), with this format's extension.
    std::string fileNameFor(const std::string& input) const;
    /// The options as this output takes them: --smooth only where it shades smoothly.
    PrintOptions drawnWith(const PrintOptions& options) const;
    /// Whether the options ask for an encapsulated PostScript figure (PostScript named .eps),
    /// one that a document places where it likes: it has no page margins and no sheet to turn.
    static bool isEncapsulated(const PrintOptions& options);
};
