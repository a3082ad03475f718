#pragma once

// What every fuzz target defines: libFuzzer calls it with each input it makes, and the
// replay program of the ordinary test suite calls it with each file of the corpus it is given.

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

/// Quiets the library's messages: the targets feed it broken input on purpose, and printing
/// every complaint would cost most of the fuzzer's time.
void silenceDebugMessages();
