#pragma once

#include <string>

/// The scene printed when the command is given no input, in the core's scene file format:
/// an A4 portrait page (190 x 277 mm drawing) with a title, shaded solids, a surface coloured
/// per vertex with an image as its colour key, and a chart of dashed lines, markers and text.
/// On a drawing of width x height millimetres (as seen; 0 for the A4 one) the page prints as
/// large as it fits, centred, its 2D text and colour key sized with it.
std::string demoSceneText(float width, float height);
