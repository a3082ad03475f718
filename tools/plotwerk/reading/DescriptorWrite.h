#pragma once

#include <cstddef>

/// Writing to a file descriptor until all is written: a pipe takes a part at a time, and a
/// signal may interrupt a write.
class DescriptorWrite {
  public:
    /// False when the descriptor refused the rest; errno then says why.
    static bool all(int descriptor, const char* data, std::size_t size);
};
