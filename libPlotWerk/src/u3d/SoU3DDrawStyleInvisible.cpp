#include "SoU3DDrawStyleInvisible.h"

// The quad count is left: it describes the shape, not what is sent.
void SoToU3DActionPrivate::SoU3DDrawStyleInvisible::adjustCounts(std::uint32_t* /*quads*/,
                                                                 std::uint32_t* triangles,
                                                                 std::uint32_t* lines,
                                                                 std::uint32_t* points) {
    *triangles = 0;
    *lines = 0;
    *points = 0;
}
