#pragma once

#include <cstddef>
#include <functional>

/// Runs a piece of work on a thread of its own with a stack of a chosen size, and waits for
/// it. The importer's readers recurse once per level of nesting in a file, and a file may
/// nest deeper than the main thread's stack allows; the stack's pages cost memory only once
/// used. An exception the work throws is thrown again here. When no such thread can be
/// made, the work runs on the calling thread.
class LargeStackRun {
  public:
    static void run(const std::function<void()>& work, std::size_t stackBytes);
};
