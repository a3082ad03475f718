#pragma once

/// The plotwerk command: reads the command line, loads the scene, completes it with a camera
/// and a light when it has none, and prints it with the chosen backend.
class PlotCommand {
  public:
    /// The exit status: 0 on success, 2 after an error reported as one line on stderr.
    static int run(int argc, const char* const* argv);
};
