#pragma once

#include <functional>
#include <optional>
#include <string>

/// Runs a piece of work in a child process and hands back the bytes it made: work that
/// crashes, throws or runs too long there ends the child, not the caller. The importer's
/// readers of rarely used formats crash on malformed files, and the command should lose the
/// file, not itself. When no child can be made, the work runs in the caller's process.
class ChildProcessRun {
  public:
    /// What the work returned, or nothing when the child ended without handing it all back;
    /// `ending` then says how the child ended, as the end of a sentence ("crashed
    /// (Segmentation fault)"). The child may take `seconds` of processor time and as many on
    /// the clock (a child that waits for ever, on a lock another thread of the parent held
    /// when it was made or on a file that never ends, uses none); its standard error goes
    /// nowhere.
    static std::optional<std::string> run(const std::function<std::string()>& work,
                                          unsigned long seconds, std::string& ending);
};
