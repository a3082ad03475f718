#pragma once

#include <PlotWerk/SoGDIPlatform.h>

#include <string>

/// A pen, brush, font or region of the GDI layer: what its creating call was given. A handle
/// (HGDIOBJ) points at one. Stock objects are the defaults every device context starts with;
/// deleting them does nothing.
struct SoGDIObject {
    enum Kind { PEN, BRUSH, FONT, REGION };

    Kind kind = PEN;
    /// Counts the objects made in this process, from 1; 0 for stock objects. Recordings
    /// name objects by it rather than by their address.
    long serial = 0;
    /// For a stock object, its GetStockObject index (WHITE_BRUSH 0, BLACK_PEN 7, ...).
    int stockIndex = -1;

    // Pens: CreatePen keeps the style, width and colour; ExtCreatePen also the brush style.
    DWORD penStyle = PS_SOLID;
    DWORD penWidth = 0;
    bool extendedPen = false;
    UINT brushStyle = BS_SOLID;  // also the brush's own style
    COLORREF color = 0;          // pen or brush colour

    // Fonts: the CreateFontA arguments.
    LONG height = 0, width = 0, escapement = 0, orientation = 0, weight = FW_NORMAL;
    BYTE italic = 0, underline = 0, strikeOut = 0, charSet = 0, outputPrecision = 0,
         clipPrecision = 0, quality = 0, pitchAndFamily = 0;
    std::string faceName;

    // Regions: one rectangle in device units, right and bottom excluded.
    RECT rect{0, 0, 0, 0};

    bool isStock() const { return stockIndex >= 0; }
};
