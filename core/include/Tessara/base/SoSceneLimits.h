#pragma once

/// The limits a scene keeps so that reading and traversing it stay bounded in time and in
/// stack: the reader refuses a file beyond them with a message naming the place, and an
/// action skips what lies deeper than the nesting limit in a graph built by a program.
struct SoSceneLimits {
    /// Levels of nodes inside nodes, counted through shared (USE) nodes too. Traversal
    /// recurses once per level; this depth stays far inside the stack of any thread.
    static constexpr int maxNestingDepth = 10000;
    /// Nodes a traversal meets, a node shared in n places counting n times: sharing can
    /// make a small file stand for a graph too large to ever traverse.
    static constexpr double maxTraversedNodes = 1e7;
    /// Values in one field.
    static constexpr int maxFieldValues = 250000000;
};
