#include "SoCGMBinaryWriter.h"

#include <PlotWerk/SoVectorOutput.h>
#include <Tessara/base/SoDebugError.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <string>

#include "SoCGMBinaryReal.h"
#include "frame/SoColorByte.h"
#include "frame/SoDeviceInteger.h"

namespace {

/// Above this the 16-bit length word of a string would set its continuation bit, which
/// readers take as "more text follows in another chunk".
constexpr int kLongestString = 32767;

/// The string's characters as the bytes a metafile carries: Latin-1, or the low byte of every
/// UTF-16 code unit when the text does not fit Latin-1.
std::string stringBytes(const SbString& s, bool report) {
    std::string bytes;
    if (!s.isUnicode()) {
        bytes.assign(s.toLatin1(), static_cast<std::size_t>(s.getLength()));
    } else {
        // Characters beyond U+FFFF take two code units: count them from their 4-byte UTF-8
        // lead bytes, since the text may hold U+0000.
        std::size_t units = static_cast<std::size_t>(s.getLength());
        for (const char c : s.getStdString()) units += static_cast<unsigned char>(c) >= 0xF0;
        const char16_t* utf16 = s.toUtf16();
        for (std::size_t i = 0; i < units; ++i) bytes += static_cast<char>(utf16[i] & 0xFF);
    }
    if (bytes.size() > static_cast<std::size_t>(kLongestString)) {
        if (report) {
            SoDebugError::postWarning("SoCGMBinaryWriter::PWriteString",
                                      "String of %d characters cut to %d",
                                      static_cast<int>(bytes.size()), kLongestString);
        }
        bytes.resize(kLongestString);
    }
    return bytes;
}

}  // namespace

SoCGMBinaryWriter::SoCGMBinaryWriter(SoVectorOutput* output, int bufferSize)
    : output_(output), bufferSize_(bufferSize) {
    if (!output) {
        SoDebugError::post("SoCGMBinaryWriter::SoCGMBinaryWriter",
                           "No output: the metafile bytes are dropped");
    }
    if (bufferSize < 1) {
        SoDebugError::postWarning("SoCGMBinaryWriter::SoCGMBinaryWriter",
                                  "Buffer size %d below 1: %d bytes used", bufferSize,
                                  kDefaultBufferSize);
        this->bufferSize_ = kDefaultBufferSize;
    }
}

// Unflushed bytes are not written here: the output may already be gone, and a document is
// complete only once its footer has flushed it.
SoCGMBinaryWriter::~SoCGMBinaryWriter() = default;

void SoCGMBinaryWriter::allocateBuffer() {
    if (!buffer_ && bufferSize_ > 1) buffer_.reset(new char[static_cast<std::size_t>(bufferSize_)]);
    fillCount_ = 0;
}

void SoCGMBinaryWriter::resetToDefaults(bool indexedColour) {
    integerPrecision_ = 2;
    realPrecision_ = SoCGMBinaryReal::FIXED32;
    indexPrecision_ = 2;
    colorSelectionMode_ = indexedColour ? 0 : 1;
    colorIndexPrecision_ = 1;
    colorPrecision_ = 1;
    vdcType_ = 0;
    vdcIntegerPrecision_ = 2;
    vdcRealPrecision_ = SoCGMBinaryReal::FIXED32;
    lineWidthMode_ = 1;
    markerSizeMode_ = 1;
    edgeWidthMode_ = 1;
}

void SoCGMBinaryWriter::setPointOffset(float x, float y) {
    offsetX_ = x;
    offsetY_ = y;
}

void SoCGMBinaryWriter::writeToFile(const char* bytes, int count) {
    // The application may hand the output a new stream at any time: it writes to the current one.
    if (output_ && count > 0) output_->write(bytes, static_cast<std::size_t>(count));
}

void SoCGMBinaryWriter::fillWriteBufferChar(char c) {
    if (bufferSize_ == 1) {
        writeToFile(&c, 1);
        return;
    }
    if (!buffer_) allocateBuffer();
    if (fillCount_ >= bufferSize_) flushWriteBuffer();
    buffer_[fillCount_++] = c;
}

void SoCGMBinaryWriter::flushWriteBuffer() {
    if (fillCount_ == 0) return;
    writeToFile(buffer_.get(), fillCount_);
    fillCount_ = 0;
}

void SoCGMBinaryWriter::PWriteWord(unsigned int w) {
    if (parity_) {
        fillWriteBufferChar(0);
        parity_ = 0;
    }
    fillWriteBufferChar(static_cast<char>((w >> 8) & 0xFFu));
    fillWriteBufferChar(static_cast<char>(w & 0xFFu));
}

void SoCGMBinaryWriter::startPartition() {
    partitionCount_ = 0;
    const unsigned int word =
        remaining_ > kPartitionSize ? kContinuedPartition : static_cast<unsigned int>(remaining_);
    fillWriteBufferChar(static_cast<char>((word >> 8) & 0xFFu));
    fillWriteBufferChar(static_cast<char>(word & 0xFFu));
}

void SoCGMBinaryWriter::PWriteChar(unsigned int c) {
    if (partitionCount_ >= kPartitionSize) startPartition();
    fillWriteBufferChar(static_cast<char>(c & 0xFFu));
    ++partitionCount_;
    --remaining_;
    parity_ ^= 1;
}

void SoCGMBinaryWriter::PWriteHeader(int cls, int id, int length) {
    if (cls < 0 || cls > 15 || id < 0 || id > 127 || length < 0) {
        SoDebugError::post("SoCGMBinaryWriter::PWriteHeader",
                           "Bad element header: class %d, id %d, length %d", cls, id, length);
        cls &= 15;
        id &= 127;
        if (length < 0) length = 0;
    }
    if (remaining_ != 0) {
        // A reader would misplace every element from here on: worth saying loudly.
        SoDebugError::post("SoCGMBinaryWriter::PWriteHeader",
                           "The previous element differed from its length by %d bytes", remaining_);
    }
    remaining_ = length;
    partitionCount_ = 0;
    const unsigned int word = static_cast<unsigned int>(cls) << 12 | static_cast<unsigned int>(id)
                                                                         << 5;
    if (length < 31) {
        PWriteWord(word | static_cast<unsigned int>(length));
        return;
    }
    PWriteWord(word | 31u);
    PWriteWord(length > kPartitionSize ? kContinuedPartition : static_cast<unsigned int>(length));
}

void SoCGMBinaryWriter::writeBytes(unsigned int value, int count) {
    for (int i = count - 1; i >= 0; --i) PWriteChar((value >> (8 * i)) & 0xFFu);
}

void SoCGMBinaryWriter::PWriteInt(unsigned int v) {
    writeBytes(v, integerPrecision_);
}

void SoCGMBinaryWriter::PWriteIndex(int v) {
    writeBytes(static_cast<unsigned int>(v), indexPrecision_);
}

void SoCGMBinaryWriter::PWriteEnum(unsigned int v) {
    writeBytes(v, 2);
}

void SoCGMBinaryWriter::PWriteColorI(unsigned int v) {
    writeBytes(v, colorIndexPrecision_);
}

void SoCGMBinaryWriter::PWriteColorD(int r, int g, int b) {
    writeBytes(static_cast<unsigned int>(r), colorPrecision_);
    writeBytes(static_cast<unsigned int>(g), colorPrecision_);
    writeBytes(static_cast<unsigned int>(b), colorPrecision_);
}

void SoCGMBinaryWriter::PWriteReal(double x) {
    unsigned char bytes[8];
    const int count = SoCGMBinaryReal::encode(x, realPrecision_, bytes);
    for (int i = 0; i < count; ++i) PWriteChar(bytes[i]);
}

void SoCGMBinaryWriter::PWriteVDC(double v) {
    if (vdcType_ == 0) {
        const int saved = integerPrecision_;
        integerPrecision_ = vdcIntegerPrecision_;
        PWriteInt(static_cast<unsigned int>(SoDeviceInteger::truncated(v)));
        integerPrecision_ = saved;
    } else {
        const int saved = realPrecision_;
        realPrecision_ = vdcRealPrecision_;
        PWriteReal(v);
        realPrecision_ = saved;
    }
}

void SoCGMBinaryWriter::PWritePoint(const SbVec4f& p) {
    // Summed in float, as every other position of the drawing is.
    PWriteVDC(p[0] + offsetX_);
    PWriteVDC(p[1] + offsetY_);
}

int SoCGMBinaryWriter::PStrLen(const SbString& s) {
    const int length = static_cast<int>(stringBytes(s, false).size());
    return length < 255 ? length + 1 : length + 3;
}

void SoCGMBinaryWriter::PWriteString(const SbString& s) {
    const std::string bytes = stringBytes(s, true);
    const auto length = static_cast<unsigned int>(bytes.size());
    if (length < 255) {
        PWriteChar(length);
    } else {
        PWriteChar(255);
        PWriteChar(length >> 8);
        PWriteChar(length & 0xFFu);
    }
    for (const char c : bytes) PWriteChar(static_cast<unsigned char>(c));
}

int SoCGMBinaryWriter::colorComponent(float c) {
    return SoColorByte::of(c);
}

int SoCGMBinaryWriter::getRealSize() const {
    return SoCGMBinaryReal::size(realPrecision_);
}

int SoCGMBinaryWriter::getVdcSize() const {
    return vdcType_ == 1 ? SoCGMBinaryReal::size(vdcRealPrecision_) : vdcIntegerPrecision_;
}

bool SoCGMBinaryWriter::checkPrecision(const char* where, int bytes) {
    if (bytes >= 1 && bytes <= 4) return true;
    SoDebugError::post(where, "Precision of %d bytes not supported: kept as it was", bytes);
    return false;
}

bool SoCGMBinaryWriter::checkMode(const char* where, int mode) {
    if (mode == 0 || mode == 1) return true;
    SoDebugError::post(where, "Value %d is neither 0 nor 1: kept as it was", mode);
    return false;
}

bool SoCGMBinaryWriter::checkRealCode(const char* where, int code) {
    if (SoCGMBinaryReal::isValidCode(code)) return true;
    SoDebugError::post(where, "Real precision code %d unknown: kept as it was", code);
    return false;
}

void SoCGMBinaryWriter::setIntegerPrecision(int bytes) {
    if (checkPrecision("SoCGMBinaryWriter::setIntegerPrecision", bytes)) integerPrecision_ = bytes;
}

void SoCGMBinaryWriter::setIndexPrecision(int bytes) {
    if (checkPrecision("SoCGMBinaryWriter::setIndexPrecision", bytes)) indexPrecision_ = bytes;
}

void SoCGMBinaryWriter::setColorPrecision(int bytes) {
    if (checkPrecision("SoCGMBinaryWriter::setColorPrecision", bytes)) colorPrecision_ = bytes;
}

void SoCGMBinaryWriter::setColorIndexPrecision(int bytes) {
    if (checkPrecision("SoCGMBinaryWriter::setColorIndexPrecision", bytes)) {
        colorIndexPrecision_ = bytes;
    }
}

void SoCGMBinaryWriter::setVdcIntegerPrecision(int bytes) {
    if (checkPrecision("SoCGMBinaryWriter::setVdcIntegerPrecision", bytes)) {
        vdcIntegerPrecision_ = bytes;
    }
}

void SoCGMBinaryWriter::setRealPrecision(int code) {
    if (checkRealCode("SoCGMBinaryWriter::setRealPrecision", code)) realPrecision_ = code;
}

void SoCGMBinaryWriter::setVdcRealPrecision(int code) {
    if (checkRealCode("SoCGMBinaryWriter::setVdcRealPrecision", code)) vdcRealPrecision_ = code;
}

void SoCGMBinaryWriter::setVdcType(int type) {
    if (checkMode("SoCGMBinaryWriter::setVdcType", type)) vdcType_ = type;
}

void SoCGMBinaryWriter::setColorSelectionMode(int mode) {
    if (checkMode("SoCGMBinaryWriter::setColorSelectionMode", mode)) colorSelectionMode_ = mode;
}

void SoCGMBinaryWriter::setLineWidthMode(int mode) {
    if (checkMode("SoCGMBinaryWriter::setLineWidthMode", mode)) lineWidthMode_ = mode;
}

void SoCGMBinaryWriter::setMarkerSizeMode(int mode) {
    if (checkMode("SoCGMBinaryWriter::setMarkerSizeMode", mode)) markerSizeMode_ = mode;
}

void SoCGMBinaryWriter::setEdgeWidthMode(int mode) {
    if (checkMode("SoCGMBinaryWriter::setEdgeWidthMode", mode)) edgeWidthMode_ = mode;
}
