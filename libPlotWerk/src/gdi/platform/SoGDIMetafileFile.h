#pragma once

#include <uemf.h>

#include <cstdint>
#include <memory>
#include <string>

/// An enhanced-metafile file being written through libUEMF: the records collected in memory
/// and written out a few megabytes at a time, the object table's slots, and the file opened
/// at the start so that an unwritable path fails at once. Every record is checked for a
/// well-formed layout before it is kept.
class SoGDIMetafileFile {
  public:
    /// Opens `path` for writing; null (and no message: the caller reports) when it cannot.
    static std::unique_ptr<SoGDIMetafileFile> open(const std::string& path);
    ~SoGDIMetafileFile();
    SoGDIMetafileFile(const SoGDIMetafileFile&) = delete;
    SoGDIMetafileFile& operator=(const SoGDIMetafileFile&) = delete;

    /// Keeps `record`, a record made by a libUEMF builder (malloc'd; this takes it over,
    /// null when the builder refused). A record that is not well formed, or would make the
    /// file too large, is a fault of ours: it is reported under `what` and dropped. True
    /// when the record was kept.
    bool append(char* record, const char* what);

    /// The slots of the object table, for libUEMF's create, select and delete builders.
    EMFHANDLES* handles() { return handles_; }

    /// Writes the file: sets the header's bounds and frame (known only now), the handle
    /// count (from the slots used; 1 when none was), appends EMR_EOF and writes everything.
    /// False, after a message naming the file and the system's reason, when writing failed.
    /// The file is released either way; later calls do nothing.
    bool finish(const U_RECTL& bounds, const U_RECTL& frame, bool slotsUsed);

  private:
    SoGDIMetafileFile(std::string path, EMFTRACK* track, EMFHANDLES* handles);
    /// EMR_EOF, ending as the record layout requires.
    char* endRecord();
    bool writeAndCheck();
    /// Writes the records collected so far and empties the buffer; the header is kept to
    /// be completed and written again at the end.
    void flush();
    /// finish() once records have been flushed: the rest, then the completed header.
    bool finishFlushed(const U_RECTL& bounds, const U_RECTL& frame);
    void release();

    std::string path_;
    EMFTRACK* track_;
    EMFHANDLES* handles_;
    /// A record could not be stored (memory ran out): libUEMF's buffer is gone.
    bool broken_ = false;
    /// Bytes already written, and the header record as it was first written.
    std::uint64_t flushed_ = 0;
    std::string header_;
    /// The system error of a failed flush; 0 while all went in.
    int writeError_ = 0;
};
