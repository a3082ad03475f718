#pragma once

/// The scene drawn when the command is given no input: a lit, shaded set of shapes with
/// lines, markers and text, in the core's scene file format.
const char* demoSceneText();
