#include "SoCairoColor.h"

#include <cmath>

double SoCairoColor::component(float value) {
    return value > 0.0f ? (value < 1.0f ? value : 1.0) : 0.0;
}

SbColor SoCairoColor::asBytes(const SbColor& color) {
    SbColor levels;
    for (int k = 0; k < 3; ++k)
        levels[k] = std::round(float(component(color[k])) * 255.0f) / 255.0f;
    return levels;
}

void SoCairoColor::setSource(cairo_t* cr, const SbColor& color) {
    cairo_set_source_rgb(cr, component(color[0]), component(color[1]), component(color[2]));
}

void SoCairoColor::addStop(cairo_pattern_t* gradient, double offset, const SbColor& color) {
    cairo_pattern_add_color_stop_rgb(gradient, offset, component(color[0]), component(color[1]),
                                     component(color[2]));
}
