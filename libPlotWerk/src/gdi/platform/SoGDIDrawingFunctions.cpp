// Attributes and drawing of the GDI layer: each operation checks its context and arguments
// as GDI does, keeps the state, and hands the drawing to the device in logical units.

#include <PlotWerk/SoGDIPlatform.h>

#include <cstdint>

#include "SoGDIObjectTable.h"
#include "SoGDITrace.h"

namespace {

bool drawable(HDC dc, const void* data, int count, int least) {
    return SoGDIObjectTable::isContext(dc) && data && count >= least;
}

/// The bytes of a bitmap's bits as its header describes them, 0 for a header GDI would
/// refuse (no size, absurd sizes, more than 32 bits a pixel).
std::size_t bitsSize(const BITMAPINFOHEADER& header) {
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biWidth <= 0 || header.biHeight == 0 ||
        header.biBitCount == 0 || header.biBitCount > 32 || header.biHeight == INT32_MIN)
        return 0;
    const std::uint64_t stride = (std::uint64_t(header.biWidth) * header.biBitCount + 31) / 32 * 4;
    const std::uint64_t rows =
        header.biHeight < 0 ? -std::int64_t(header.biHeight) : header.biHeight;
    const std::uint64_t size = stride * rows;
    return size > (std::uint64_t(1) << 31) ? 0 : std::size_t(size);
}

}  // namespace

BOOL SetMiterLimit(HDC dc, FLOAT limit, FLOAT* previous) {
    SoGDITrace trace("SetMiterLimit");
    trace.context(dc).arg(static_cast<long long>(limit));
    if (!SoGDIObjectTable::isContext(dc) || !(limit >= 1.0f)) return trace.done(FALSE);
    if (previous) *previous = dc->miterLimit;
    dc->miterLimit = limit;
    dc->device->stateChanged(*dc, SoGDIDevice::MITER_LIMIT);
    return trace.done(TRUE);
}

COLORREF SetTextColor(HDC dc, COLORREF color) {
    SoGDITrace trace("SetTextColor");
    trace.context(dc).arg(color);
    if (!SoGDIObjectTable::isContext(dc)) return trace.done(COLORREF(0xFFFFFFFF));
    const COLORREF previous = dc->textColor;
    dc->textColor = color;
    dc->device->stateChanged(*dc, SoGDIDevice::TEXT_COLOR);
    return trace.done(previous);
}

UINT SetTextAlign(HDC dc, UINT align) {
    SoGDITrace trace("SetTextAlign");
    trace.context(dc).arg(align);
    if (!SoGDIObjectTable::isContext(dc)) return trace.done(UINT(0xFFFFFFFF));
    const UINT previous = dc->textAlign;
    dc->textAlign = align;
    dc->device->stateChanged(*dc, SoGDIDevice::TEXT_ALIGN);
    return trace.done(previous);
}

int SetBkMode(HDC dc, int mode) {
    SoGDITrace trace("SetBkMode");
    trace.context(dc).arg(mode);
    if (!SoGDIObjectTable::isContext(dc) || (mode != TRANSPARENT && mode != OPAQUE))
        return trace.done(0);
    const int previous = dc->bkMode;
    dc->bkMode = mode;
    dc->device->stateChanged(*dc, SoGDIDevice::BK_MODE);
    return trace.done(previous);
}

BOOL Polyline(HDC dc, const POINT* points, int count) {
    SoGDITrace trace("Polyline");
    trace.context(dc).arg(count).points(points, count);
    if (!drawable(dc, points, count, 2)) return trace.done(FALSE);
    dc->device->polyline(*dc, points, count);
    return trace.done(TRUE);
}

BOOL Polygon(HDC dc, const POINT* points, int count) {
    SoGDITrace trace("Polygon");
    trace.context(dc).arg(count).points(points, count);
    if (!drawable(dc, points, count, 2)) return trace.done(FALSE);
    dc->device->polygon(*dc, points, count);
    return trace.done(TRUE);
}

BOOL MoveToEx(HDC dc, int x, int y, POINT* previous) {
    SoGDITrace trace("MoveToEx");
    trace.context(dc).arg(x).arg(y);
    if (!SoGDIObjectTable::isContext(dc)) return trace.done(FALSE);
    if (previous) *previous = dc->position;
    dc->position = {x, y};
    dc->device->moveTo(*dc, dc->position);
    return trace.done(TRUE);
}

BOOL LineTo(HDC dc, int x, int y) {
    SoGDITrace trace("LineTo");
    trace.context(dc).arg(x).arg(y);
    if (!SoGDIObjectTable::isContext(dc)) return trace.done(FALSE);
    const POINT from = dc->position;
    dc->position = {x, y};
    dc->device->lineTo(*dc, from, dc->position);
    return trace.done(TRUE);
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom) {
    SoGDITrace trace("Rectangle");
    trace.context(dc).arg(left).arg(top).arg(right).arg(bottom);
    if (!SoGDIObjectTable::isContext(dc)) return trace.done(FALSE);
    dc->device->rectangle(*dc, RECT{left, top, right, bottom});
    return trace.done(TRUE);
}

BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
    SoGDITrace trace("TextOutA");
    trace.context(dc).arg(x).arg(y).arg(length).text(text, length);
    if (!drawable(dc, text, length, 0) || (length == 0 && !text)) return trace.done(FALSE);
    dc->device->text(*dc, x, y, std::string(text, std::size_t(length)), std::u16string(), false);
    return trace.done(TRUE);
}

BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int length) {
    SoGDITrace trace("TextOutW");
    trace.context(dc).arg(x).arg(y).arg(length).wideText(text, length);
    if (!drawable(dc, text, length, 0)) return trace.done(FALSE);
    dc->device->text(*dc, x, y, std::string(), std::u16string(text, std::size_t(length)), true);
    return trace.done(TRUE);
}

int StretchDIBits(HDC dc, int xDest, int yDest, int destWidth, int destHeight, int xSource,
                  int ySource, int sourceWidth, int sourceHeight, const void* bits,
                  const BITMAPINFO* info, UINT usage, DWORD rasterOperation) {
    SoGDITrace trace("StretchDIBits");
    trace.context(dc);
    for (long long value :
         {xDest, yDest, destWidth, destHeight, xSource, ySource, sourceWidth, sourceHeight})
        trace.arg(value);
    const std::size_t size = info ? bitsSize(info->bmiHeader) : 0;
    if (info) {
        const BITMAPINFOHEADER& h = info->bmiHeader;
        for (long long value :
             {(long long)h.biSize, (long long)h.biWidth, (long long)h.biHeight,
              (long long)h.biPlanes, (long long)h.biBitCount, (long long)h.biCompression,
              (long long)h.biSizeImage, (long long)h.biXPelsPerMeter, (long long)h.biYPelsPerMeter,
              (long long)h.biClrUsed, (long long)h.biClrImportant})
            trace.arg(value);
    }
    trace.arg(usage).arg(rasterOperation).bytes(bits, size);
    if (!SoGDIObjectTable::isContext(dc) || !bits || size == 0) return trace.done(0);
    const SoGDIStretch stretch{xDest,   yDest,       destWidth,      destHeight, xSource,
                               ySource, sourceWidth, sourceHeight,   info,       bits,
                               size,    usage,       rasterOperation};
    dc->device->stretchDIBits(*dc, stretch);
    return trace.done(info->bmiHeader.biHeight < 0 ? -info->bmiHeader.biHeight
                                                   : info->bmiHeader.biHeight);
}
