// plotwerk: prints a scene file, a mesh file or the built-in demo scene as a vector drawing.
// Run it with --help for the options.

#include "PlotCommand.h"

int main(int argc, char** argv) {
    return PlotCommand::run(argc, argv);
}
