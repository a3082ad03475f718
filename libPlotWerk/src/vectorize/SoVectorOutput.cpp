#include <PlotWerk/SoVectorOutput.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/misc/SbFileHelper.h>

#include <cerrno>
#include <cstring>

SoVectorOutput::SoVectorOutput() : file_(stdout) {}

SoVectorOutput::SoVectorOutput(const SoVectorOutput&) : SoVectorOutput() {}

SoVectorOutput& SoVectorOutput::operator=(const SoVectorOutput&) {
    return *this;
}

SoVectorOutput::~SoVectorOutput() {
    if (file_ && file_ != stdout) fclose(file_);
}

void SoVectorOutput::startStream(FILE* fp) {
    file_ = fp;
    writeError_ = 0;
}

void SoVectorOutput::settle() {
    // Taken away while it runs: what it writes must not settle again.
    void (*settle)(void*) = settle_;
    settle_ = nullptr;
    if (settle) settle(settleData_);
    settle_ = settle;
}

void SoVectorOutput::setFilePointer(FILE* fp) {
    settle();
    if (file_ && file_ != stdout) fclose(file_);
    startStream(fp ? fp : stdout);
}

FILE* SoVectorOutput::getFilePointer() {
    return file_;
}

int SoVectorOutput::openFile(const SbString& fileName) {
    return openFileWithMode(fileName, "wt");
}

int SoVectorOutput::openFileWithMode(const SbString& fileName, const char* mode) {
    FILE* opened = SbFileHelper::open(fileName, mode);
    startStream(opened ? opened : stdout);
    return opened ? 1 : 0;
}

int SoVectorOutput::openFile(const char* fileName) {
    return openFile(SbString(fileName ? fileName : ""));
}

void SoVectorOutput::closeFile() {
    settle();
    errno = 0;
    if (file_ == stdout) {
        // Standard output stays open, but what it still buffers must reach its reader.
        if (!writeError_ && std::fflush(stdout) != 0) failed("SoVectorOutput::closeFile");
        return;
    }
    const bool closed = SbFileHelper::close(file_) == 0;
    file_ = stdout;
    if (!closed && !writeError_) failed("SoVectorOutput::closeFile");
}

void SoVectorOutput::write(const char* data, std::size_t size) {
    if (writeError_ || size == 0) return;
    errno = 0;
    // Through getFilePointer(): a subclass may hand out the stream it wants written.
    if (std::fwrite(data, 1, size, getFilePointer()) != size) failed("SoVectorOutput::write");
}

void SoVectorOutput::failed(const char* where) {
    writeError_ = errno ? errno : EIO;
    SoDebugError::post(where, "Cannot write the output: %s", std::strerror(writeError_));
}
