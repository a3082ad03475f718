#pragma once

#include <cstddef>

class CountingFileSystem;

/// Refuses, while one lives, any allocation that takes the reader far beyond what the files
/// the importer has opened could need: to over 1 GiB and over 64 bytes for each byte opened,
/// alone or with all the reader holds. Readers take counts from a file on trust and make room
/// for them at once, then fill that room before they find the file holds no such thing:
/// "400000000" faces in a 100-byte X file took 9 GB and 17 s, as many surfaces in an AC3D
/// file 12 GB and 26 s; a PMX file of 889 bytes took 3.5 GB in parts. Refused, the allocation
/// throws a std::bad_alloc saying how much was asked for or held, which the importer reports
/// as the file's error at once.
///
/// For this the command replaces the global operator new (and delete, which frees what it
/// allocates); beyond the check it allocates as the standard library does.
class ReaderMemoryLimit {
  public:
    explicit ReaderMemoryLimit(const CountingFileSystem& files);
    ~ReaderMemoryLimit();
    ReaderMemoryLimit(const ReaderMemoryLimit&) = delete;
    ReaderMemoryLimit& operator=(const ReaderMemoryLimit&) = delete;

    /// Whether an allocation of `bytes` may go ahead now, with what the reader holds; always,
    /// while none lives.
    static bool allows(std::size_t bytes);
};
