#include "SoU3DDrawStyleLine.h"

void SoToU3DActionPrivate::SoU3DDrawStyleLine::triangle(const SoPrimitiveVertex* a,
                                                        const SoPrimitiveVertex* b,
                                                        const SoPrimitiveVertex* c) {
    line(a, b);
    line(b, c);
    line(c, a);
}

// A shape that reports quads is a mesh of faces without lines of its own: each of its quads is
// outlined with four lines, each remaining triangle with three.
void SoToU3DActionPrivate::SoU3DDrawStyleLine::adjustCounts(std::uint32_t* quads,
                                                            std::uint32_t* triangles,
                                                            std::uint32_t* lines,
                                                            std::uint32_t* /*points*/) {
    if (*quads == 0) {
        *lines += 3 * *triangles;
    } else {
        *triangles -= 2 * *quads;
        *lines = 3 * *triangles + 4 * *quads;
    }
    *triangles = 0;
}
