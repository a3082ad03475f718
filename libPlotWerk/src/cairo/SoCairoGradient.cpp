#include "SoCairoGradient.h"

#include <algorithm>
#include <cmath>

#include "SoCairoColor.h"
#include "SoCairoOutline.h"

namespace {

/// Below this, a triangle's area or a colour's change counts as none.
constexpr double tiny = 1e-12;
/// How far a corner's colour may be missed: about 5 of 255, less than neighbours show.
constexpr double tolerance = 0.02;
/// 4^5 = 1024 pieces at most for one triangle.
constexpr int maxDepth = 5;

SbColor mean(const SbColor colors[3]) {
    return (colors[0] + colors[1] + colors[2]) / 3.0f;
}

/// The largest difference of a corner's colour from the shade drawn there.
double missed(const SbColor colors[3], const SbColor shades[3]) {
    double largest = 0.0;
    for (int i = 0; i < 3; ++i)
        for (int k = 0; k < 3; ++k)
            largest = std::max(largest, double(std::fabs(colors[i][k] - shades[i][k])));
    return largest;
}

cairo_pattern_t* flat(const SbColor& color) {
    return cairo_pattern_create_rgb(SoCairoColor::component(color[0]),
                                    SoCairoColor::component(color[1]),
                                    SoCairoColor::component(color[2]));
}

}  // namespace

void SoCairoGradient::fill(cairo_t* cr, const SbVec4f points[3], const SbColor colors[3],
                           double grow, int depth) {
    double error = 0.0;
    cairo_pattern_t* pattern = nearest(points, colors, error);
    if (error <= tolerance || depth >= maxDepth) {
        cairo_set_source(cr, pattern);
        cairo_pattern_destroy(pattern);
        SoCairoOutline::append(cr, points, 3, grow);
        cairo_fill(cr);
        return;
    }
    cairo_pattern_destroy(pattern);
    // Colours interpolate linearly along the edges: a midpoint's colour is the mean.
    SbVec4f p[6] = {points[0], points[1], points[2]};
    SbColor c[6] = {colors[0], colors[1], colors[2]};
    for (int k = 0; k < 3; ++k) {
        p[3 + k] = (points[k] + points[(k + 1) % 3]) * 0.5f;
        c[3 + k] = (colors[k] + colors[(k + 1) % 3]) * 0.5f;
    }
    static const int pieces[4][3] = {{0, 3, 5}, {3, 1, 4}, {5, 4, 2}, {3, 4, 5}};
    for (const auto& piece : pieces) {
        const SbVec4f corners[3] = {p[piece[0]], p[piece[1]], p[piece[2]]};
        const SbColor shades[3] = {c[piece[0]], c[piece[1]], c[piece[2]]};
        fill(cr, corners, shades, grow, depth + 1);
    }
}

cairo_pattern_t* SoCairoGradient::nearest(const SbVec4f points[3], const SbColor colors[3],
                                          double& error) {
    const double e1x = points[1][0] - points[0][0], e1y = points[1][1] - points[0][1];
    const double e2x = points[2][0] - points[0][0], e2y = points[2][1] - points[0][1];
    const double det = e1x * e2y - e1y * e2x;
    const SbColor centre = mean(colors);
    // Flat, unless cutting does better.
    const SbColor flatShades[3] = {centre, centre, centre};
    error = missed(colors, flatShades);
    if (!(std::fabs(det) > tiny)) return flat(centre);

    // Each channel's gradient, and their second moments for the principal axis.
    double gradient[3][2];
    double xx = 0.0, xy = 0.0, yy = 0.0;
    for (int k = 0; k < 3; ++k) {
        const double d1 = colors[1][k] - colors[0][k], d2 = colors[2][k] - colors[0][k];
        gradient[k][0] = (d1 * e2y - d2 * e1y) / det;
        gradient[k][1] = (e1x * d2 - e2x * d1) / det;
        xx += gradient[k][0] * gradient[k][0];
        xy += gradient[k][0] * gradient[k][1];
        yy += gradient[k][1] * gradient[k][1];
    }
    if (!(xx + yy > tiny)) return flat(centre);
    const double angle = 0.5 * std::atan2(2.0 * xy, xx - yy);
    const double dx = std::cos(angle), dy = std::sin(angle);

    double low = 1e300, high = -1e300, middle = 0.0;
    for (int i = 0; i < 3; ++i) {
        const double t = points[i][0] * dx + points[i][1] * dy;
        low = std::min(low, t), high = std::max(high, t), middle += t / 3.0;
    }
    if (!(high - low > tiny)) return flat(centre);
    // The colour the gradient gives where the axis is at t.
    const auto along = [&](double t) {
        SbColor shade;
        for (int k = 0; k < 3; ++k)
            shade[k] =
                float(centre[k] + (gradient[k][0] * dx + gradient[k][1] * dy) * (t - middle));
        return shade;
    };
    SbColor shades[3];
    for (int i = 0; i < 3; ++i) shades[i] = along(points[i][0] * dx + points[i][1] * dy);
    error = missed(colors, shades);
    cairo_pattern_t* pattern =
        cairo_pattern_create_linear(low * dx, low * dy, high * dx, high * dy);
    SoCairoColor::addStop(pattern, 0.0, along(low));
    SoCairoColor::addStop(pattern, 1.0, along(high));
    return pattern;
}
