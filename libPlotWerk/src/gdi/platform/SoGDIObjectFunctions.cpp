// Pens, brushes, fonts and clip regions of the GDI layer. An object is what its creating
// call was given; selecting it into a context hands it to the device, deleting it tells
// every device, and a context keeps a deleted object it still has selected.

#include <PlotWerk/SoGDIPlatform.h>

#include <algorithm>
#include <cstring>

#include "SoGDIObjectTable.h"
#include "SoGDITrace.h"

namespace {

SoGDIObject penOf(DWORD style, DWORD width, COLORREF color, bool extended) {
    SoGDIObject pen;
    pen.kind = SoGDIObject::PEN;
    pen.penStyle = style;
    pen.penWidth = width;
    pen.color = color;
    pen.extendedPen = extended;
    return pen;
}

/// Makes `region` the context's clip (a copy: the region may be deleted after), or removes
/// the clip for none.
void selectClip(HDC dc, const SoGDIObject* region) {
    if (region)
        dc->clip = region->rect;
    else
        dc->clip.reset();
    dc->device->clipSelected(*dc);
}

}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
    SoGDITrace trace("CreateRectRgn");
    trace.arg(left).arg(top).arg(right).arg(bottom);
    SoGDIObject region;
    region.kind = SoGDIObject::REGION;
    region.rect = {std::min(left, right), std::min(top, bottom), std::max(left, right),
                   std::max(top, bottom)};
    return trace.done(SoGDIObjectTable::create(region));
}

int SelectClipRgn(HDC dc, HRGN region) {
    SoGDITrace trace("SelectClipRgn");
    trace.context(dc).object(region);
    const auto object = SoGDIObjectTable::find(region);
    if (!SoGDIObjectTable::isContext(dc) ||
        (region && (!object || object->kind != SoGDIObject::REGION)))
        return trace.done(0);
    selectClip(dc, object.get());
    return trace.done(object ? SIMPLEREGION : NULLREGION);
}

HPEN CreatePen(int style, int width, COLORREF color) {
    SoGDITrace trace("CreatePen");
    trace.arg(style).arg(width).arg(color);
    if (style < PS_SOLID || style > PS_NULL + 1 || width < 0) return trace.done(HPEN(nullptr));
    return trace.done(SoGDIObjectTable::create(penOf(DWORD(style), DWORD(width), color, false)));
}

HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount,
                  const DWORD* styles) {
    SoGDITrace trace("ExtCreatePen");
    trace.arg(style).arg(width);
    if (brush)
        trace.arg(brush->lbStyle).arg(brush->lbColor).arg(static_cast<long long>(brush->lbHatch));
    trace.arg(styleCount);
    // Custom dash styles are not offered: the backend dashes in software.
    if (!brush || styleCount != 0 || styles || width > 0x7FFFFFFF) return trace.done(HPEN(nullptr));
    SoGDIObject pen = penOf(style, width, brush->lbColor, true);
    pen.brushStyle = brush->lbStyle;
    return trace.done(SoGDIObjectTable::create(pen));
}

HBRUSH CreateSolidBrush(COLORREF color) {
    SoGDITrace trace("CreateSolidBrush");
    trace.arg(color);
    SoGDIObject brush;
    brush.kind = SoGDIObject::BRUSH;
    brush.brushStyle = BS_SOLID;
    brush.color = color;
    return trace.done(SoGDIObjectTable::create(brush));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outputPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR faceName) {
    SoGDITrace trace("CreateFontA");
    for (long long value :
         {(long long)height, (long long)width, (long long)escapement, (long long)orientation,
          (long long)weight, (long long)italic, (long long)underline, (long long)strikeOut,
          (long long)charSet, (long long)outputPrecision, (long long)clipPrecision,
          (long long)quality, (long long)pitchAndFamily})
        trace.arg(value);
    // A face name holds at most 31 characters, as in the font's logical description.
    const std::string face = faceName ? std::string(faceName, strnlen(faceName, 31)) : "";
    trace.text(face.c_str(), int(face.size()));
    SoGDIObject font;
    font.kind = SoGDIObject::FONT;
    font.height = height, font.width = width, font.escapement = escapement;
    font.orientation = orientation, font.weight = weight;
    font.italic = BYTE(italic), font.underline = BYTE(underline), font.strikeOut = BYTE(strikeOut);
    font.charSet = BYTE(charSet), font.outputPrecision = BYTE(outputPrecision);
    font.clipPrecision = BYTE(clipPrecision), font.quality = BYTE(quality);
    font.pitchAndFamily = BYTE(pitchAndFamily);
    font.faceName = face;
    return trace.done(SoGDIObjectTable::create(font));
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ handle) {
    SoGDITrace trace("SelectObject");
    trace.context(dc).object(handle);
    const auto object = SoGDIObjectTable::find(handle);
    if (!SoGDIObjectTable::isContext(dc) || !object) return trace.done(HGDIOBJ(nullptr));
    if (object->kind == SoGDIObject::REGION) {
        selectClip(dc, object.get());
        return trace.done(HGDIOBJ(nullptr));
    }
    std::shared_ptr<SoGDIObject>& slot = object->kind == SoGDIObject::PEN     ? dc->pen
                                         : object->kind == SoGDIObject::BRUSH ? dc->brush
                                                                              : dc->font;
    const std::shared_ptr<SoGDIObject> previous = slot;
    slot = object;
    dc->device->objectSelected(*dc, *object);
    return trace.done(previous.get());
}

BOOL DeleteObject(HGDIOBJ handle) {
    SoGDITrace trace("DeleteObject");
    trace.object(handle);
    const auto object = SoGDIObjectTable::find(handle);
    if (!object) return trace.done(FALSE);
    if (object->isStock()) return trace.done(TRUE);
    for (SoGDIDevice* device : SoGDIObjectTable::devices()) device->objectDeleted(*object);
    return trace.done(SoGDIObjectTable::remove(handle) ? TRUE : FALSE);
}
