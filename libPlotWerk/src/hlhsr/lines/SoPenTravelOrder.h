#pragma once

#include <cstddef>
#include <vector>

#include "SoHiddenLines.h"

/// Puts the lines of a hidden-line drawing in the order a pen plotter draws them fastest.
/// The lines are grouped by how they print (colour, width and pattern), each group in the
/// order its first line came, so that the pen is changed once a group; within a group the
/// pen goes each time to the nearest end of a line not yet drawn, and draws that line from
/// there. A line in a pattern is only ever drawn from its start, where its pattern's run
/// was reckoned from. Nearest ends are found through a grid of cells, made coarser as the
/// lines run out, so that the work stays near linear in the number of lines.
/// A plotter holds a few pens. Where lit faces give nearly every edge a shade of its own,
/// pens change all the time whatever the order, and groups by colour would send the pen
/// across the sheet for each shade: beyond MOST_PENS colours, the colour does not group.
class SoPenTravelOrder {
  public:
    static constexpr size_t MOST_PENS = 16;

    /// Orders `lines` in place, the pen starting at (x, y); (x, y) end where it stops.
    static void arrange(std::vector<SoVisibleLine>& lines, float& x, float& y);

  private:
    /// The lines by how they print, in the order of each group's first line; none when they
    /// would make more than mostGroups groups.
    static std::vector<std::vector<size_t>> groupsOf(const std::vector<SoVisibleLine>& lines,
                                                     bool byColor, size_t mostGroups);
    /// The drawing order of the group's lines (indices into lines); the lines to be drawn
    /// from their last point are reversed.
    static std::vector<size_t> arrangeGroup(std::vector<SoVisibleLine>& lines,
                                            const std::vector<size_t>& group, float& x, float& y);
};
