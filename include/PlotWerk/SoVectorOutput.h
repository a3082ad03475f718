#pragma once

#include <Tessara/base/SbString.h>

#include <cstddef>
#include <cstdio>
#include <string>

/// The stream a 2D backend writes to: standard output until a file is opened or a stream
/// handed over. A stream other than standard output belongs to this object, which closes it.
class SoVectorOutput {
  public:
    SoVectorOutput();
    // clang-format off: the slot numbers line up as a table
    virtual ~SoVectorOutput();  // slot 0

    /// Closes the current stream unless it is standard output, then writes to `fp`
    /// (taking ownership unless it is standard output).
    virtual void setFilePointer(FILE* fp);  // slot 1
    /// Never null: standard output when nothing else is open.
    virtual FILE* getFilePointer();  // slot 2
    /// Opens a file for writing; 1 on success, else 0 with output on standard output.
    /// The stream held before is not closed.
    virtual int openFile(const SbString& fileName);  // slot 3
    virtual int openFile(const char* fileName);      // slot 4
    /// Closes the stream and returns to standard output (no effect on standard output).
    virtual void closeFile();  // slot 5
    // clang-format on

    /// Writes to the current stream. The first write that fails, or a close that fails, is
    /// posted once through SoDebugError and kept; the writes after it are skipped, since
    /// the stream cannot take them.
    void write(const char* data, std::size_t size);
    void write(const std::string& text) { write(text.data(), text.size()); }
    void write(char c) { write(&c, 1); }
    /// The system's error number for the first failed write or close since the current
    /// stream was opened or handed over (EIO where the system gave none); 0 when all went in.
    int getWriteError() const { return writeError_; }

  protected:
    /// A copy starts on standard output, and assigning keeps the stream this object has:
    /// two objects closing one stream would close it twice. Backends copy their settings
    /// and get this for the stream by defaulting their own copy operations.
    SoVectorOutput(const SoVectorOutput&);
    SoVectorOutput& operator=(const SoVectorOutput&);

    /// Opens `fileName` with the C `mode`; on failure writes to standard output and gives 0.
    int openFileWithMode(const SbString& fileName, const char* mode);

    FILE* file_;

  private:
    friend class SoVectorizeAction;
    /// Writes what the owning action still owes the stream (the end of a page it left open)
    /// before the stream is closed or replaced, so that the document there is whole rather
    /// than ended later on standard output.
    void settle();

    void startStream(FILE* fp);
    void failed(const char* where);

    int writeError_ = 0;
    /// Set by the owning action; a copy does not take it.
    void (*settle_)(void*) = nullptr;
    void* settleData_ = nullptr;
};
