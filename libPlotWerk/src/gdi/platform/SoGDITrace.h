#pragma once

#include <PlotWerk/SoGDIRecorder.h>

#include <string>

/// The record of one GDI call under way, built only while a recorder listens, so that an
/// unrecorded drawing pays one test per call.
class SoGDITrace {
  public:
    explicit SoGDITrace(const char* name);

    SoGDITrace& arg(long long value);
    SoGDITrace& context(HDC dc);
    SoGDITrace& object(const void* handle);
    SoGDITrace& points(const POINT* points, int count);
    SoGDITrace& rect(const RECT& rect);
    SoGDITrace& text(const char* text, int length);
    SoGDITrace& wideText(const WCHAR* text, int length);
    SoGDITrace& bytes(const void* data, std::size_t size);

    /// Records the call with its result and returns the result.
    template <class Result>
    Result done(Result result) {
        if (on_) finish(static_cast<long long>(result));
        return result;
    }
    HDC done(HDC result);
    SoGDIObject* done(SoGDIObject* result);

  private:
    void finish(long long result);

    bool on_;
    SoGDICall call_;
};
