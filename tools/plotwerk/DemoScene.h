#pragma once

#include <string>

/// The scene printed when the command is given no input, in the core's scene file format:
/// an A4 portrait page (190 x 277 mm drawing) with a title, shaded solids, a surface coloured
/// per vertex with an image as its colour key, and a chart of dashed lines, markers and text.
/// The camera shows the whole page, centred, on a drawing whose width over height is
/// `aspect`; on one as narrow as the A4 drawing or narrower (0 included), at one millimetre a
/// millimetre across.
std::string demoSceneText(float aspect);
