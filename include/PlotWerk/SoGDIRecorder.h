#pragma once

#include <PlotWerk/SoGDIPlatform.h>

#include <string>
#include <vector>

/// One call of the GDI layer as it was made: its Windows name, its arguments in order and
/// its result. Device contexts are recorded by their number (1 for the first the process
/// made), GDI objects by their serial number (0 for stock objects), null handles as 0;
/// structures by their fields in declaration order.
struct SoGDICall {
    std::string name;
    /// The integer arguments, handles and structure fields, in order.
    std::vector<long long> args;
    /// Point arrays, and rectangles as their two corners (left, top) and (right, bottom).
    std::vector<POINT> points;
    /// A narrow string argument: a file or face name, the text of TextOutA, a document name.
    std::string text;
    /// A UTF-16 string argument: the text of TextOutW, the names of CreateEnhMetaFileW.
    std::u16string wideText;
    /// The bitmap bits of StretchDIBits.
    std::vector<unsigned char> bytes;
    /// The return value, handles as numbers as above.
    long long result = 0;
};

/// Records every call of the GDI layer made while it exists, whatever the device behind the
/// context, in order: what a test checks, and what an application replays or inspects.
/// Recorders nest; each sees every call made during its life.
class SoGDIRecorder {
  public:
    SoGDIRecorder();
    ~SoGDIRecorder();
    SoGDIRecorder(const SoGDIRecorder&) = delete;
    SoGDIRecorder& operator=(const SoGDIRecorder&) = delete;

    const std::vector<SoGDICall>& getCalls() const { return calls_; }
    /// The calls of one name, in order.
    std::vector<SoGDICall> getCalls(const char* name) const;
    void clear() { calls_.clear(); }

    /// A device context on a device that draws nothing and answers GetDeviceCaps as a device
    /// of the given technology (DT_RASDISPLAY, DT_RASPRINTER, DT_PLOTTER...), resolution and
    /// page size would, with no unprintable margin. Release it with DeleteDC.
    static HDC createDevice(int technology, int dotsPerInch = 96, int widthMm = 210,
                            int heightMm = 297);

    /// Called by the layer for each call while a recorder exists.
    static bool isRecording();
    static void add(const SoGDICall& call);

  private:
    std::vector<SoGDICall> calls_;
};
