#include "SoPatternGroups.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <string>

#include "SoGraphicPrimitiveList.h"
#include "SoPolygon.h"

namespace {

// A fill pattern is 32 rows of 32 bits.
constexpr size_t PATTERN_BYTES = 128;

struct Depths {
    double sum = 0.0;
    int count = 0;
};

}  // namespace

SoPatternGroups::SoPatternGroups(const SoGraphicPrimitiveList& list)
    : groupOf_(static_cast<size_t>(std::max(list.getLength(), 0)), -1) {
    // Patterns are told apart by their bits: two nodes may hold the same pattern.
    std::map<std::string, int> byPattern;
    std::vector<Depths> depths;
    for (int k = 0; k < list.getLength(); ++k) {
        const SoGraphicPrimitive* record = list.getPrimitive(k);
        if (record->getType() != SoGraphicPrimitive::POLYGON) continue;
        const auto* polygon = static_cast<const SoPolygon*>(record);
        if (!polygon->isPatternedFill()) continue;
        const auto bits = reinterpret_cast<const char*>(polygon->pattern);
        const int found =
            byPattern.emplace(std::string(bits, PATTERN_BYTES), int(depths.size())).first->second;
        if (found == int(depths.size())) depths.emplace_back();
        const double depth = 0.5 * (double(record->getZMin()) + record->getZMax());
        if (std::isfinite(depth)) {
            depths[size_t(found)].sum += depth;
            ++depths[size_t(found)].count;
        }
        groupOf_[size_t(k)] = found;
    }
    // Depth grows away from the viewer: the largest mean prints first.
    std::vector<int> order(depths.size());
    std::iota(order.begin(), order.end(), 0);
    const auto mean = [&](int g) {
        const Depths& d = depths[size_t(g)];
        return d.count > 0 ? d.sum / d.count : 0.0;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return mean(a) > mean(b); });
    std::vector<int> rank(depths.size());
    for (size_t r = 0; r < order.size(); ++r)
        rank[size_t(order[r])] = std::min(int(r), MAX_GROUPS - 1);
    for (int& group : groupOf_)
        if (group >= 0) group = rank[size_t(group)];
    count_ = std::min(int(depths.size()), MAX_GROUPS);
}
