#include <PlotWerk/SoVectorOutput.h>

#include <Tessara/misc/SbFileHelper.h>

SoVectorOutput::SoVectorOutput() : file(stdout) {}

SoVectorOutput::~SoVectorOutput() {
    if (file && file != stdout) fclose(file);
}

void SoVectorOutput::setFilePointer(FILE* fp) {
    if (file && file != stdout) fclose(file);
    file = fp ? fp : stdout;
}

FILE* SoVectorOutput::getFilePointer() { return file; }

int SoVectorOutput::openFile(const SbString& fileName) {
    return openFileWithMode(fileName, "wt");
}

int SoVectorOutput::openFileWithMode(const SbString& fileName, const char* mode) {
    FILE* opened = SbFileHelper::open(fileName, mode);
    if (!opened) {
        file = stdout;
        return 0;
    }
    file = opened;
    return 1;
}

int SoVectorOutput::openFile(const char* fileName) {
    return openFile(SbString(fileName ? fileName : ""));
}

void SoVectorOutput::closeFile() {
    if (file == stdout) return;
    SbFileHelper::close(file);
    file = stdout;
}
