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
    FILE* opened = SbFileHelper::open(fileName, "wt");
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
