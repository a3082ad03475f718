#pragma once

#include <Tessara/base/SbString.h>
#include <Tessara/math/SbVec4f.h>

#include <memory>

class SoVectorOutput;

/// The byte level of binary metafiles: command headers, long-form partitions, the pad byte
/// that keeps every element on a 16-bit boundary, the parameter encodings with the precisions
/// in force, and the write buffer between them and the output's stream.
class SoCGMBinaryWriter {
  public:
    /// 1 MiB: big pictures reach the file in few large writes.
    static constexpr int kDefaultBufferSize = 0x100000;
    /// The most parameter bytes one partition carries.
    static constexpr int kPartitionSize = 32760;
    /// A partition length word with the "more partitions follow" flag and 32760 bytes.
    static constexpr unsigned int kContinuedPartition = 0xFFF8u;

    /// Writes to the stream output holds at each write. A buffer size of 1 sends every byte
    /// straight to the file; a size below 1 is reported and the default taken.
    explicit SoCGMBinaryWriter(SoVectorOutput* output, int bufferSize = kDefaultBufferSize);
    ~SoCGMBinaryWriter();
    SoCGMBinaryWriter(const SoCGMBinaryWriter&) = delete;
    SoCGMBinaryWriter& operator=(const SoCGMBinaryWriter&) = delete;

    /// Starts the buffer of a new document: allocated the first time and kept, then emptied
    /// (bytes not flushed before are dropped).
    void allocateBuffer();
    /// What BEGIN METAFILE does: every precision, mode and type back to its default.
    void resetToDefaults(bool indexedColour);
    /// The drawing's offset on the page, which PWritePoint adds to every point.
    void setPointOffset(float x, float y);
    float getPointOffsetX() const { return offsetX_; }
    float getPointOffsetY() const { return offsetY_; }

    // Byte level.
    void fillWriteBufferChar(char c);
    void flushWriteBuffer();
    /// A header word, preceded by the pad byte when the parameters so far were odd.
    void PWriteWord(unsigned int w);
    /// One parameter byte, opening a new partition when the current one is full.
    void PWriteChar(unsigned int c);
    /// The command header of an element with `length` parameter bytes (short or long form).
    void PWriteHeader(int cls, int id, int length);

    // Parameters, most significant byte first.
    void PWriteInt(unsigned int v);
    void PWriteIndex(int v);
    void PWriteEnum(unsigned int v);
    void PWriteColorI(unsigned int v);
    void PWriteColorD(int r, int g, int b);
    void PWriteReal(double x);
    void PWriteVDC(double v);
    /// x and y of p plus the point offset, as two VDC.
    void PWritePoint(const SbVec4f& p);
    /// Parameter bytes PWriteString writes for s.
    static int PStrLen(const SbString& s);
    void PWriteString(const SbString& s);

    /// A colour component 0..1 as a direct colour value: x 255 truncated, kept in 0..255.
    static int colorComponent(float c);

    // Precisions in bytes (1 to 4), real precisions as codes (1 to 4), modes 0 or 1. Setters
    // report values outside these ranges and keep the value they had.
    int getIntegerPrecision() const { return integerPrecision_; }
    void setIntegerPrecision(int bytes);
    int getIndexPrecision() const { return indexPrecision_; }
    void setIndexPrecision(int bytes);
    int getColorPrecision() const { return colorPrecision_; }
    void setColorPrecision(int bytes);
    int getColorIndexPrecision() const { return colorIndexPrecision_; }
    void setColorIndexPrecision(int bytes);
    int getRealPrecision() const { return realPrecision_; }
    void setRealPrecision(int code);
    /// Bytes of a real in the current real precision.
    int getRealSize() const;
    /// 0 integer, 1 real.
    int getVdcType() const { return vdcType_; }
    void setVdcType(int type);
    int getVdcIntegerPrecision() const { return vdcIntegerPrecision_; }
    void setVdcIntegerPrecision(int bytes);
    int getVdcRealPrecision() const { return vdcRealPrecision_; }
    void setVdcRealPrecision(int code);
    /// Bytes of a VDC for the current VDC type and precision.
    int getVdcSize() const;
    /// 0 indexed, 1 direct.
    int getColorSelectionMode() const { return colorSelectionMode_; }
    void setColorSelectionMode(int mode);
    /// Width and size modes: 0 absolute, 1 scaled.
    int getLineWidthMode() const { return lineWidthMode_; }
    void setLineWidthMode(int mode);
    int getMarkerSizeMode() const { return markerSizeMode_; }
    void setMarkerSizeMode(int mode);
    int getEdgeWidthMode() const { return edgeWidthMode_; }
    void setEdgeWidthMode(int mode);

    /// Parameter bytes of the current element not yet written.
    int getRemaining() const { return remaining_; }
    /// Parameter bytes written in the current partition.
    int getPartitionCount() const { return partitionCount_; }
    /// 1 when the parameters since the last header were odd: the next header gets a pad.
    int getParity() const { return parity_; }
    int getBufferSize() const { return bufferSize_; }
    int getFillCount() const { return fillCount_; }
    bool hasBuffer() const { return buffer_ != nullptr; }

  private:
    void writeToFile(const char* bytes, int count);
    void writeBytes(unsigned int value, int count);
    void startPartition();
    static bool checkPrecision(const char* where, int bytes);
    static bool checkMode(const char* where, int mode);
    static bool checkRealCode(const char* where, int code);

    SoVectorOutput* output_;
    int bufferSize_;
    int fillCount_ = 0;
    std::unique_ptr<char[]> buffer_;

    int integerPrecision_ = 2;
    int realPrecision_ = 3;
    int indexPrecision_ = 2;
    int colorSelectionMode_ = 0;
    int colorIndexPrecision_ = 1;
    int colorPrecision_ = 1;
    int vdcType_ = 0;
    int vdcIntegerPrecision_ = 2;
    int vdcRealPrecision_ = 3;
    int lineWidthMode_ = 1;
    int markerSizeMode_ = 1;
    int edgeWidthMode_ = 1;

    int remaining_ = 0;
    int partitionCount_ = 0;
    int parity_ = 0;
    float offsetX_ = 0.0f;
    float offsetY_ = 0.0f;
};
