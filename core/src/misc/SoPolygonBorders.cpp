#include "SoPolygonBorders.h"

#include <algorithm>

std::vector<double> SoPolygonBorders::placeBetween(const std::vector<double>& values, int count) {
    std::vector<double> borders;
    if (values.size() < 2 || count < 2) return borders;
    const std::size_t reach = values.size() / std::size_t(count) / 4;
    for (int k = 1; k < count; ++k) {
        const std::size_t middle = values.size() * std::size_t(k) / std::size_t(count);
        const std::size_t first = std::max<std::size_t>(1, middle - std::min(middle, reach));
        const std::size_t last = std::min(values.size() - 1, middle + reach);
        std::size_t above = first;
        for (std::size_t i = first; i <= last; ++i)
            if (values[i] - values[i - 1] > values[above] - values[above - 1]) above = i;
        const double border = values[above - 1] + (values[above] - values[above - 1]) / 2;
        if (border > values[above - 1] && border < values[above] &&
            (borders.empty() || border > borders.back()))
            borders.push_back(border);
    }
    return borders;
}
