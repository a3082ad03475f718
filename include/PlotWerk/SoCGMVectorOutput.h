#pragma once

#include <PlotWerk/SoVectorOutput.h>

/// The stream of the CGM backend, with the metafile's kind: clear text or binary encoding,
/// the version written into it, and indexed or direct colour. Choose the encoding before
/// opening the file: a binary metafile is opened as a binary file.
class SoCGMVectorOutput : public SoVectorOutput {
  public:
    SoCGMVectorOutput();
    /// Copies the options; the copy writes to standard output, since a stream has one owner.
    SoCGMVectorOutput(const SoCGMVectorOutput&) = default;
    SoCGMVectorOutput& operator=(const SoCGMVectorOutput&) = default;
    ~SoCGMVectorOutput() override;

    /// Non-zero: the binary encoding; 0 (the default): clear text.
    void setBinary(int binary);
    int isBinary() const;
    /// The metafile version (default 1): 1 uses the standard line types, 3 defines its own
    /// dashes, line caps and joins and transparent cells.
    void setVersion(int version);
    int getVersion() const;
    /// Non-zero: a colour table and colour indices; 0 (the default): direct colours.
    void setIndexed(int indexed);
    int isIndexed() const;

    /// Opens the file in the mode the encoding needs; 1 on success, else 0 with the output
    /// on standard output.
    int openFile(const SbString& fileName) override;
    int openFile(const char* fileName) override;

  private:
    int binary_ = 0;
    int version_ = 1;
    int indexed_ = 0;
};
