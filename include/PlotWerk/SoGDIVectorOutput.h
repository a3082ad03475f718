#pragma once

#include <PlotWerk/SoGDIPlatform.h>
#include <PlotWerk/SoVectorOutput.h>

/// Where the GDI backend draws: an enhanced metafile of the given name, a device context of
/// the application's, or, with neither, a printer chosen in the print dialog. It only keeps
/// the choice; the action opens the device context. The stream of the base is not used.
class SoGDIVectorOutput : public SoVectorOutput {
  public:
    SoGDIVectorOutput();
    SoGDIVectorOutput(const SoGDIVectorOutput& other);
    SoGDIVectorOutput& operator=(const SoGDIVectorOutput& other);
    ~SoGDIVectorOutput() override;

    /// A non-empty name chooses a metafile of that name; an empty or null one chooses the
    /// printer. Always 1.
    int openFile(const SbString& fileName) override;
    int openFile(const char* fileName) override;
    /// The application's device context; null chooses the printer.
    int openFile(HDC dc);
    /// Chooses the printer.
    int openFile();
    /// Nothing to close: the action finishes the device context.
    void closeFile() override;

    SbString getGDIOutputName() const { return outputName_; }
    HDC getGDIHdc() const { return dc_; }

  private:
    SbString outputName_;
    HDC dc_ = nullptr;
};
