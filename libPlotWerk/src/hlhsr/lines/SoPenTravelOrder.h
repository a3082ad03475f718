#pragma once

#include <cstddef>
#include <vector>

#include "SoHiddenLines.h"
#include "SoLineEndGrid.h"

/// Puts the lines of a hidden-line drawing in the order a pen plotter draws them fastest.
/// The lines are grouped by how they print (colour, width and pattern), each group in the
/// order its first line came, so that the pen is changed once a group; within a group the
/// pen goes each time to the nearest end of a line not yet drawn, and draws that line from
/// there. A line in a pattern is only ever drawn from its start, where its pattern's run
/// was reckoned from, unless the pattern is the drawing's own (the dashes of hidden lines).
/// Lines that meet end to end are drawn as one: where the pen comes down, it first goes
/// back along such lines as far as they lead, and each line drawn from where the last one
/// ended, printing the same way, joins it. So the pen does not lift at every short piece
/// of a curve, and a pattern runs on along it instead of starting again at each piece,
/// which made the dashes of a curve look dotted. Lines in a source's own pattern stay
/// apart, each pattern where the source placed it. Nearest ends are found through a grid
/// of cells, made coarser as the lines run out, so that the work stays near linear in the
/// number of lines.
/// A plotter holds a few pens. Where lit faces give nearly every edge a shade of its own,
/// pens change all the time whatever the order, and groups by colour would send the pen
/// across the sheet for each shade: beyond MOST_PENS colours, the colour does not group.
class SoPenTravelOrder {
  public:
    static constexpr size_t MOST_PENS = 16;

    /// Orders `lines` in place, the pen starting at (x, y); (x, y) end where it stops.
    /// patternsRunOn: the lines' patterns are the drawing's own, to be run either way.
    static void arrange(std::vector<SoVisibleLine>& lines, float& x, float& y,
                        bool patternsRunOn = false);

  private:
    /// The lines by how they print, in the order of each group's first line; none when they
    /// would make more than mostGroups groups.
    static std::vector<std::vector<size_t>> groupsOf(const std::vector<SoVisibleLine>& lines,
                                                     bool byColor, size_t mostGroups);
    /// The drawing order of the group's lines (indices into lines); the lines to be drawn
    /// from their last point are reversed.
    static std::vector<size_t> arrangeGroup(std::vector<SoVisibleLine>& lines,
                                            const std::vector<size_t>& group, float& x, float& y,
                                            bool patternsRunOn);
    /// The group's lines not yet drawn that lead, end to end, to the end `start` of one of
    /// its lines: each with the end to draw it from, in drawing order, marked drawn.
    static std::vector<SoLineEndGrid::End> leadingTo(const SoLineEndGrid::End& start,
                                                     const std::vector<SoVisibleLine>& lines,
                                                     const std::vector<size_t>& group,
                                                     SoLineEndGrid& grid, std::vector<char>& drawn);
    /// Whether next, drawn after last, goes on from it as one line.
    static bool continues(const SoVisibleLine& last, const SoVisibleLine& next, bool patternsRunOn);
};
