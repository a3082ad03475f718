#include "SoCairoColor.h"

double SoCairoColor::component(float value) {
    return value > 0.0f ? (value < 1.0f ? value : 1.0) : 0.0;
}

void SoCairoColor::setSource(cairo_t* cr, const SbColor& color) {
    cairo_set_source_rgb(cr, component(color[0]), component(color[1]), component(color[2]));
}

void SoCairoColor::addStop(cairo_pattern_t* gradient, double offset, const SbColor& color) {
    cairo_pattern_add_color_stop_rgb(gradient, offset, component(color[0]), component(color[1]),
                                     component(color[2]));
}
