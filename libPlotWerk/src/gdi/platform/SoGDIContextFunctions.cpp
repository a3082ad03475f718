// Documents, pages, capabilities and mapping of the GDI layer: each operation checks its
// context, keeps the context's state as GDI does, tells the device, and returns what GDI
// returns, failures included.

#include <PlotWerk/SoGDIPlatform.h>

#include "SoGDIObjectTable.h"
#include "SoGDITrace.h"

namespace {

/// The job number StartDocA gives; a document of a context has one job.
constexpr int kJob = 1;

}  // namespace

BOOL DeleteDC(HDC dc) {
    SoGDITrace trace("DeleteDC");
    trace.context(dc);
    if (!SoGDIObjectTable::isContext(dc)) return trace.done(FALSE);
    const bool closed = dc->device->close();
    SoGDIObjectTable::removeContext(dc);
    return trace.done(closed ? TRUE : FALSE);
}

int StartDocA(HDC dc, const DOCINFOA* document) {
    SoGDITrace trace("StartDocA");
    trace.context(dc);
    if (document) trace.arg(document->cbSize).arg(document->fwType);
    if (document && document->lpszDocName)
        trace.text(document->lpszDocName, int(std::string(document->lpszDocName).size()));
    if (!SoGDIObjectTable::isContext(dc) || !document || dc->documentStarted) return trace.done(0);
    const std::string name = document->lpszDocName ? document->lpszDocName : "";
    if (!dc->device->startDocument(name)) return trace.done(0);
    dc->documentStarted = true;
    return trace.done(kJob);
}

int StartPage(HDC dc) {
    SoGDITrace trace("StartPage");
    trace.context(dc);
    if (!SoGDIObjectTable::isContext(dc) || !dc->documentStarted || dc->pageStarted)
        return trace.done(0);
    dc->pageStarted = dc->device->startPage();
    return trace.done(dc->pageStarted ? 1 : 0);
}

int EndPage(HDC dc) {
    SoGDITrace trace("EndPage");
    trace.context(dc);
    if (!SoGDIObjectTable::isContext(dc) || !dc->pageStarted) return trace.done(0);
    dc->pageStarted = false;
    return trace.done(dc->device->endPage() ? 1 : 0);
}

int EndDoc(HDC dc) {
    SoGDITrace trace("EndDoc");
    trace.context(dc);
    if (!SoGDIObjectTable::isContext(dc) || !dc->documentStarted) return trace.done(0);
    if (dc->pageStarted) dc->device->endPage();
    dc->documentStarted = dc->pageStarted = false;
    return trace.done(dc->device->endDocument() ? 1 : 0);
}

int GetDeviceCaps(HDC dc, int index) {
    SoGDITrace trace("GetDeviceCaps");
    trace.context(dc).arg(index);
    return trace.done(SoGDIObjectTable::isContext(dc) ? dc->device->getCaps(index) : 0);
}

int SetGraphicsMode(HDC dc, int mode) {
    SoGDITrace trace("SetGraphicsMode");
    trace.context(dc).arg(mode);
    if (!SoGDIObjectTable::isContext(dc) || (mode != GM_COMPATIBLE && mode != GM_ADVANCED))
        return trace.done(0);
    const int previous = dc->graphicsMode;
    dc->graphicsMode = mode;
    return trace.done(previous);
}

int SetMapMode(HDC dc, int mode) {
    SoGDITrace trace("SetMapMode");
    trace.context(dc).arg(mode);
    if (!SoGDIObjectTable::isContext(dc) || mode < MM_TEXT || mode > MM_HIMETRIC)
        return trace.done(0);
    const int previous = dc->mapMode;
    dc->mapMode = mode;
    dc->device->stateChanged(*dc, SoGDIDevice::MAP_MODE);
    return trace.done(previous);
}

BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* previous) {
    SoGDITrace trace("SetWindowOrgEx");
    trace.context(dc).arg(x).arg(y);
    if (!SoGDIObjectTable::isContext(dc)) return trace.done(FALSE);
    if (previous) *previous = dc->windowOrigin;
    dc->windowOrigin = {x, y};
    dc->device->stateChanged(*dc, SoGDIDevice::WINDOW_ORIGIN);
    return trace.done(TRUE);
}

BOOL DPtoLP(HDC dc, POINT* points, int count) {
    SoGDITrace trace("DPtoLP");
    trace.context(dc).arg(count).points(points, count);
    if (!SoGDIObjectTable::isContext(dc) || !points || count < 0) return trace.done(FALSE);
    for (int i = 0; i < count; ++i) points[i] = dc->toLogical(points[i]);
    return trace.done(TRUE);
}

BOOL LPtoDP(HDC dc, POINT* points, int count) {
    SoGDITrace trace("LPtoDP");
    trace.context(dc).arg(count).points(points, count);
    if (!SoGDIObjectTable::isContext(dc) || !points || count < 0) return trace.done(FALSE);
    for (int i = 0; i < count; ++i) points[i] = dc->toDevice(points[i]);
    return trace.done(TRUE);
}
