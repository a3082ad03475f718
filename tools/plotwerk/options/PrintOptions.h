#pragma once

#include <PlotWerk/SoVectorizeAction.h>
#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec2f.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "views/ViewDirection.h"

/// A plotter pen: its colour and, when given, its width in millimetres.
struct PenChoice {
    SbColor color;
    std::optional<float> width;
};

/// What the command line asked for. A value left unset keeps the backend's own default, so
/// the defaults live in one place: the action. Hidden-surface removal is the exception: the
/// command orders faces by default, so that any mesh prints as the screen shows it.
struct PrintOptions {
    /// Empty: the built-in demo scene.
    std::string input;
    /// "-": standard output. Empty: not named, which is standard output unless that is a
    /// terminal (see PlotCommand).
    std::string output;
    /// Empty: chosen by the output file's extension.
    std::string format;

    std::optional<SbVec2f> size;      ///< Millimetres.
    std::optional<SbVec2f> position;  ///< Millimetres.
    bool landscape = false;
    std::optional<float> borderWidth;
    std::optional<SbColor> borderColor;
    std::optional<SbColor> background;
    SoVectorizeAction::HLHSRMode hidden = SoVectorizeAction::HLHSR_PAINTER;
    /// The raster mode's quality (0 to 1) and tile size in pixels.
    std::optional<float> rasterQuality;
    std::optional<unsigned short> rasterTile;
    /// Hidden edges drawn dashed rather than left out.
    bool dashedHidden = false;
    /// Hidden-line drawings: the feature edges' angle (degrees); 0 keeps every edge.
    float featureAngle = 1.0f;
    /// The camera added to a scene without one, and the side it looks from.
    /// Unset: orthographic on a sheet of views, which a drafter lines up, else perspective.
    std::optional<bool> orthographic;
    ViewDirection view;
    /// Several views on one sheet, by the names of their sides; empty: one view.
    std::vector<std::string> views;
    /// Printed at a scale: millimetres on paper for one of the model's units, given as a
    /// ratio of lengths and the length of a model unit in millimetres.
    std::optional<float> scale;
    std::string scaleText;  ///< as the user wrote it
    float modelUnit = 1.0f;
    std::optional<float> millimetresPerUnit() const {
        return scale ? std::optional<float>(*scale * modelUnit) : std::nullopt;
    }
    bool lighting = false;
    bool smooth = false;
    /// Degrees: the crease angle of mesh files that carry no smooth normals.
    float creaseAngle = 40.0f;
    std::optional<SoVectorizeAction::ColorTranslationMethod> colors;
    bool blackAndWhite = false;
    std::optional<float> lineWidth;  ///< Millimetres.
    /// Empty: no pen table, every colour is drawn as it is.
    std::vector<PenChoice> pens;

    std::optional<unsigned int> psLevel;
    bool gray = false;
    std::optional<float> accuracy;

    /// The most triangles, segments and points a drawing takes from the scene; 0: no limit.
    /// Unset: 5 million (ten seconds of the quickest drawing), or 30 per byte of the input
    /// (with the files a mesh keeps its data in) if that is more. Every mesh format spends over 10
    /// bytes on a triangle, so only shared nodes, long 3D texts and fine complexities reach it: a
    /// few lines of a scene file can stand for billions of triangles.
    std::optional<unsigned int> maxPrimitives;
    static constexpr long long kPrimitivesAtLeast = 5000000;
    static constexpr long long kPrimitivesPerInputByte = 30;
    long long primitiveLimit(unsigned long long inputBytes) const {
        if (maxPrimitives) return *maxPrimitives;
        return std::max<long long>(kPrimitivesAtLeast,
                                   static_cast<long long>(inputBytes) * kPrimitivesPerInputByte);
    }

    bool cgmBinary = false;
    std::optional<int> cgmVersion;
    bool cgmIndexed = false;

    /// The 3D PDF's page: a title and text above the model, and its passwords (none: the
    /// document is not encrypted).
    std::string title, text;
    std::string userPassword, ownerPassword;

    /// Send the drawing to a printer instead of a file: the queue, or empty for the one the
    /// print dialog chooses (the PRINTER environment variable, else the system's default).
    bool print = false;
    std::string printQueue;

    bool help = false;
    bool version = false;
};
