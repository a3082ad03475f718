#include <PlotWerk/SoVectorOutput.h>

#include <Tessara/base/SoDebugError.h>
#include <Tessara/misc/SbFileHelper.h>

#include <cerrno>
#include <cstring>

SoVectorOutput::SoVectorOutput() : file(stdout) {}

SoVectorOutput::~SoVectorOutput() {
    if (file && file != stdout) fclose(file);
}

void SoVectorOutput::startStream(FILE* fp) {
    file = fp;
    writeError = 0;
}

void SoVectorOutput::setFilePointer(FILE* fp) {
    if (file && file != stdout) fclose(file);
    startStream(fp ? fp : stdout);
}

FILE* SoVectorOutput::getFilePointer() { return file; }

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
    errno = 0;
    if (file == stdout) {
        // Standard output stays open, but what it still buffers must reach its reader.
        if (!writeError && std::fflush(stdout) != 0) failed("SoVectorOutput::closeFile");
        return;
    }
    const bool closed = SbFileHelper::close(file) == 0;
    file = stdout;
    if (!closed && !writeError) failed("SoVectorOutput::closeFile");
}

void SoVectorOutput::write(const char* data, std::size_t size) {
    if (writeError || size == 0) return;
    errno = 0;
    if (std::fwrite(data, 1, size, file) != size) failed("SoVectorOutput::write");
}

void SoVectorOutput::failed(const char* where) {
    writeError = errno ? errno : EIO;
    SoDebugError::post(where, "Cannot write the output: %s", std::strerror(writeError));
}
