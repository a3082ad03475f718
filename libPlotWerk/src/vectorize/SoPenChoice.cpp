#include "SoPenChoice.h"

#include <limits>
#include <numeric>

namespace {

/// The pens among `pens` that `accept` takes at the least `cost`, in their order; a cost that
/// is no number is never the least.
template <class Cost, class Accept>
std::vector<int> cheapest(const std::vector<int>& pens, Cost cost, Accept accept) {
    std::vector<int> best;
    float least = std::numeric_limits<float>::infinity();
    for (int k : pens) {
        if (!accept(k)) continue;
        const float c = cost(k);
        if (c < least)
            least = c, best.assign(1, k);
        else if (c == least && !best.empty())
            best.push_back(k);
    }
    return best;
}

int firstOr(const std::vector<int>& pens, int fallback) {
    return pens.empty() ? fallback : pens.front();
}

}  // namespace

int SoPenChoice::choose(const std::vector<SbColor>& colors, const std::vector<float>& widths,
                        int count, const SbColor& color, float width, bool colourFirst) {
    std::vector<int> all(static_cast<std::size_t>(count));
    std::iota(all.begin(), all.end(), 0);
    const auto any = [](int) { return true; };
    const auto distance = [&](int k) {
        const SbVec3f d = colors[k] - color;
        return d.dot(d);
    };
    const auto narrow = [&](int k) { return widths[k]; };
    const auto wide = [&](int k) { return -widths[k]; };
    if (colourFirst) {
        // Pens of the very colour are at distance 0, the least there is.
        std::vector<int> pens = cheapest(all, distance, any);
        if (pens.empty()) pens = all;
        const std::vector<int> notWider =
            cheapest(pens, wide, [&](int k) { return widths[k] <= width && widths[k] > 0; });
        if (!notWider.empty()) return notWider.front();
        return firstOr(cheapest(pens, narrow, any), pens.front());
    }
    std::vector<int> pens = cheapest(
        all, [](int) { return 0.0f; }, [&](int k) { return widths[k] == width; });
    if (pens.empty())
        pens = cheapest(all, wide, [&](int k) { return widths[k] < width && widths[k] >= 0; });
    if (pens.empty()) pens = cheapest(all, narrow, any);
    if (pens.empty()) pens = all;
    return firstOr(cheapest(pens, distance, any), pens.front());
}
