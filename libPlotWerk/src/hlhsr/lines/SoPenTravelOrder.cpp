#include "SoPenTravelOrder.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <map>

#include "SoLineEndGrid.h"

namespace {
/// How a line prints, bit for bit, its colour left out unless asked for.
using PrintKey = std::array<std::uint32_t, 6>;

PrintKey keyOf(const SoLineAttributes& a, bool withColor) {
    const float values[] = {withColor ? a.color[0] : 0.0f, withColor ? a.color[1] : 0.0f,
                            withColor ? a.color[2] : 0.0f, a.lineWidth};
    PrintKey key{};
    std::memcpy(key.data(), values, sizeof values);
    key[4] = a.linePattern;
    key[5] = static_cast<std::uint32_t>(a.linePatternScaleFactor);
    return key;
}
}  // namespace

std::vector<std::vector<size_t>> SoPenTravelOrder::groupsOf(const std::vector<SoVisibleLine>& lines,
                                                            bool byColor, size_t mostGroups) {
    std::map<PrintKey, size_t> groupOf;
    std::vector<std::vector<size_t>> groups;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].points.empty()) continue;  // draws nothing
        const auto [found, added] =
            groupOf.emplace(keyOf(lines[i].attributes, byColor), groups.size());
        if (added) groups.emplace_back();
        if (groups.size() > mostGroups) return {};
        groups[found->second].push_back(i);
    }
    return groups;
}

void SoPenTravelOrder::arrange(std::vector<SoVisibleLine>& lines, float& x, float& y,
                               bool patternsRunOn) {
    std::vector<std::vector<size_t>> groups = groupsOf(lines, true, MOST_PENS);
    if (groups.empty()) groups = groupsOf(lines, false, lines.size());
    std::vector<SoVisibleLine> ordered;
    ordered.reserve(lines.size());
    for (const std::vector<size_t>& group : groups)
        for (size_t i : arrangeGroup(lines, group, x, y, patternsRunOn)) {
            if (!ordered.empty() && continues(ordered.back(), lines[i], patternsRunOn))
                ordered.back().append(lines[i]);
            else
                ordered.push_back(std::move(lines[i]));
        }
    lines = std::move(ordered);
}

bool SoPenTravelOrder::continues(const SoVisibleLine& last, const SoVisibleLine& next,
                                 bool patternsRunOn) {
    return (patternsRunOn || next.attributes.linePattern == 0xFFFF) &&
           next.points.front() == last.points.back() &&
           keyOf(next.attributes, true) == keyOf(last.attributes, true);
}

// Lines of a group print alike: one pattern for all.
std::vector<size_t> SoPenTravelOrder::arrangeGroup(std::vector<SoVisibleLine>& lines,
                                                   const std::vector<size_t>& group, float& x,
                                                   float& y, bool patternsRunOn) {
    const bool eitherWay = patternsRunOn || lines[group.front()].attributes.linePattern == 0xFFFF;
    std::vector<SoLineEndGrid::End> ends;
    for (size_t k = 0; k < group.size(); ++k) {
        const SoVisibleLine& line = lines[group[k]];
        ends.push_back({k, false, line.points.front()[0], line.points.front()[1]});
        if (eitherWay) ends.push_back({k, true, line.points.back()[0], line.points.back()[1]});
    }
    auto byX = [](const auto& a, const auto& b) { return a.x < b.x; };
    auto byY = [](const auto& a, const auto& b) { return a.y < b.y; };
    const auto [left, right] = std::minmax_element(ends.begin(), ends.end(), byX);
    const auto [bottom, top] = std::minmax_element(ends.begin(), ends.end(), byY);
    SoLineEndGrid grid(left->x, bottom->y, right->x, top->y);
    grid.fill(ends);
    std::vector<char> drawn(group.size(), 0);
    std::vector<size_t> order;
    size_t undrawn = group.size();
    const auto draw = [&](const SoLineEndGrid::End& end) {
        SoVisibleLine& line = lines[group[end.line]];
        if (end.last) std::reverse(line.points.begin(), line.points.end());
        x = line.points.back()[0], y = line.points.back()[1];
        order.push_back(group[end.line]);
        // Fewer cells as the lines run out: searches would otherwise walk empty ones.
        if (--undrawn * 8 < grid.cellCount()) grid.fill(grid.remaining(drawn));
    };
    SoLineEndGrid::End end{};
    while (grid.nearest(x, y, drawn, end)) {
        drawn[end.line] = 1;
        if (eitherWay && (end.x != x || end.y != y))
            for (const SoLineEndGrid::End& before : leadingTo(end, lines, group, grid, drawn))
                draw(before);
        draw(end);
    }
    for (size_t k = 0; k < group.size(); ++k)
        if (!drawn[k]) order.push_back(group[k]);
    return order;
}

// Back from where the pen comes down, along lines that meet end to end, as far as they go:
// the stroke starts at the far end of the path instead of in its middle, which would leave
// the path's other part to a second stroke, its pattern starting again.
std::vector<SoLineEndGrid::End> SoPenTravelOrder::leadingTo(const SoLineEndGrid::End& start,
                                                            const std::vector<SoVisibleLine>& lines,
                                                            const std::vector<size_t>& group,
                                                            SoLineEndGrid& grid,
                                                            std::vector<char>& drawn) {
    std::vector<SoLineEndGrid::End> path;
    SoLineEndGrid::End end{};
    for (float x = start.x, y = start.y; grid.at(x, y, drawn, end);) {
        drawn[end.line] = 1;
        // Drawn from its other end, towards (x, y).
        const std::vector<SbVec4f>& points = lines[group[end.line]].points;
        const SbVec4f& other = end.last ? points.front() : points.back();
        end = {end.line, !end.last, other[0], other[1]};
        path.push_back(end);
        x = end.x, y = end.y;
    }
    std::reverse(path.begin(), path.end());
    return path;
}
