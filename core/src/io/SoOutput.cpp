#include <Tessara/base/SbNumberFormat.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/io/SoOutput.h>
#include <Tessara/misc/SbFileHelper.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>

#include "io/SoNumberText.h"

SoOutput::SoOutput() : file_(stdout) {}

SoOutput::~SoOutput() {
    closeFile();
}

bool SoOutput::openFile(const char* fileName) {
    closeFile();
    FILE* file = fileName && *fileName ? SbFileHelper::open(SbString(fileName), "wb") : nullptr;
    if (!file) {
        SoDebugError::post("SoOutput::openFile", "Cannot create file \"%s\": %s",
                           fileName ? fileName : "", std::strerror(errno));
        return false;
    }
    file_ = file;
    ownsFile_ = true;
    toBuffer_ = false;
    column_ = 0;
    return true;
}

void SoOutput::setFilePointer(FILE* fp) {
    closeFile();
    file_ = fp ? fp : stdout;
    toBuffer_ = false;
}

void SoOutput::setBuffer() {
    closeFile();
    buffer_.clear();
    toBuffer_ = true;
    column_ = 0;
}

void SoOutput::closeFile() {
    // A full disk shows only here: say so rather than leave a silently cut file.
    if (ownsFile_ && file_) {
        const bool failed = std::ferror(file_) != 0;
        if (SbFileHelper::close(file_) != 0 || failed)
            SoDebugError::post("SoOutput::closeFile", "Writing the file failed: %s",
                               std::strerror(errno));
    }
    ownsFile_ = false;
    file_ = stdout;
    toBuffer_ = false;
}

void SoOutput::flush() {
    if (!toBuffer_ && file_) std::fflush(file_);
}

void SoOutput::writeBytes(const char* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i) {
        if (bytes[i] == '\n')
            column_ = 0;
        else if ((static_cast<unsigned char>(bytes[i]) & 0xC0) != 0x80)
            ++column_;
    }
    if (toBuffer_)
        buffer_.append(bytes, count);
    else if (file_)
        std::fwrite(bytes, 1, count, file_);
}

void SoOutput::write(char c) {
    writeBytes(&c, 1);
}

void SoOutput::write(const char* s) {
    if (s) writeBytes(s, std::strlen(s));
}

void SoOutput::write(const SbString& s) {
    writeBytes(s.getStdString().data(), s.getStdString().size());
}

void SoOutput::write(int32_t i) {
    std::string text;
    SbNumberFormat::appendInteger(text, i);
    writeBytes(text.data(), text.size());
}

void SoOutput::write(uint32_t i) {
    std::string text;
    SbNumberFormat::appendInteger(text, i);
    writeBytes(text.data(), text.size());
}

void SoOutput::write(float f) {
    std::string text;
    SbNumberFormat::appendShortest(text, f);
    writeBytes(text.data(), text.size());
}

void SoOutput::write(double d) {
    std::string text;
    SbNumberFormat::appendShortest(text, d);
    writeBytes(text.data(), text.size());
}

void SoOutput::writeQuoted(const SbString& s) {
    std::string text = "\"";
    for (const char c : s.getStdString()) {
        if (c == '"' || c == '\\') {
            text += '\\';
            text += c;
        } else if (c == '\n') {
            text += "\\n";
        } else {
            text += c;
        }
    }
    text += '"';
    writeBytes(text.data(), text.size());
}

void SoOutput::newLine() {
    // Past some depth, more indentation only makes files of deep graphs grow quadratically.
    const int kMaxIndent = 40;
    write('\n');
    const std::string indentation(static_cast<size_t>(std::min(indent_, kMaxIndent)) * 2, ' ');
    writeBytes(indentation.data(), indentation.size());
}
