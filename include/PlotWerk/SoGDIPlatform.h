#pragma once

// The part of the Windows GDI the GDI backend draws with: its types, constants and
// operations under their Windows names and with their Windows meanings. On Windows this is
// the system's own GDI; elsewhere PlotWerk provides it, with real devices behind a device
// context: an enhanced-metafile file (CreateEnhMetaFileA/W), a printer reached through the
// system's print service (PrintDlgA, CreateDCA), and devices that draw nothing, for
// application-controlled drawings and for recording (SoGDIRecorder).
//
// Only what the backend uses is here; an application may use the same operations on the
// device contexts it hands to the backend.

#ifdef _WIN32
#include <windows.h>
#else

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using BOOL = int;
using FLOAT = float;
using COLORREF = DWORD;
using WCHAR = char16_t;  // UTF-16 code units, as on Windows
using LPCSTR = const char*;
using LPCWSTR = const WCHAR*;
using LPARAM = std::intptr_t;
constexpr BOOL FALSE = 0;
constexpr BOOL TRUE = 1;

/// Device contexts and GDI objects are opaque handles.
struct SoGDIDeviceContext;
struct SoGDIObject;
struct SoGDIMetafileHandle;
using HDC = SoGDIDeviceContext*;
using HGDIOBJ = SoGDIObject*;
using HPEN = SoGDIObject*;
using HBRUSH = SoGDIObject*;
using HFONT = SoGDIObject*;
using HRGN = SoGDIObject*;
using HENHMETAFILE = SoGDIMetafileHandle*;
using HWND = void*;
using HGLOBAL = void*;
using HINSTANCE = void*;

struct POINT {
    LONG x;
    LONG y;
};

struct RECT {
    LONG left;
    LONG top;
    LONG right;
    LONG bottom;
};

struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    std::uintptr_t lbHatch;
};

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

struct DOCINFOA {
    int cbSize;
    LPCSTR lpszDocName;
    LPCSTR lpszOutput;
    LPCSTR lpszDatatype;
    DWORD fwType;
};

struct PRINTDLGA {
    DWORD lStructSize;
    HWND hwndOwner;
    HGLOBAL hDevMode;
    HGLOBAL hDevNames;
    HDC hDC;
    DWORD Flags;
    WORD nFromPage;
    WORD nToPage;
    WORD nMinPage;
    WORD nMaxPage;
    WORD nCopies;
    HINSTANCE hInstance;
    LPARAM lCustData;
    void* lpfnPrintHook;
    void* lpfnSetupHook;
    LPCSTR lpPrintTemplateName;
    LPCSTR lpSetupTemplateName;
    HGLOBAL hPrintTemplate;
    HGLOBAL hSetupTemplate;
};

// The structure sizes that callers pass, as on 64-bit Windows.
static_assert(sizeof(DOCINFOA) == 40, "DOCINFOA as on 64-bit Windows");
static_assert(sizeof(PRINTDLGA) == 120, "PRINTDLGA as on 64-bit Windows");
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER as in the file formats");

// Pen styles, end caps and joins.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_NULL = 5;
constexpr int PS_STYLE_MASK = 0xF;
constexpr int PS_ENDCAP_ROUND = 0x0;
constexpr int PS_ENDCAP_SQUARE = 0x100;
constexpr int PS_ENDCAP_FLAT = 0x200;
constexpr int PS_ENDCAP_MASK = 0xF00;
constexpr int PS_JOIN_ROUND = 0x0;
constexpr int PS_JOIN_BEVEL = 0x1000;
constexpr int PS_JOIN_MITER = 0x2000;
constexpr int PS_JOIN_MASK = 0xF000;
constexpr int PS_COSMETIC = 0x0;
constexpr int PS_GEOMETRIC = 0x10000;
constexpr int PS_TYPE_MASK = 0xF0000;
constexpr UINT BS_SOLID = 0;
constexpr UINT BS_NULL = 1;

// Mapping and graphics modes.
constexpr int MM_TEXT = 1;
constexpr int MM_LOMETRIC = 2;
constexpr int MM_HIMETRIC = 3;
constexpr int GM_COMPATIBLE = 1;
constexpr int GM_ADVANCED = 2;

// Device capabilities.
constexpr int TECHNOLOGY = 2;
constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int PHYSICALWIDTH = 110;
constexpr int PHYSICALHEIGHT = 111;
constexpr int PHYSICALOFFSETX = 112;
constexpr int PHYSICALOFFSETY = 113;
constexpr int DT_PLOTTER = 0;
constexpr int DT_RASDISPLAY = 1;
constexpr int DT_RASPRINTER = 2;
constexpr int DT_METAFILE = 5;

// Text.
constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr DWORD ANSI_CHARSET = 0;
constexpr DWORD OUT_DEFAULT_PRECIS = 0;
constexpr DWORD CLIP_DEFAULT_PRECIS = 0;
constexpr DWORD CLIP_LH_ANGLES = 0x10;
constexpr DWORD PROOF_QUALITY = 2;
constexpr DWORD DEFAULT_PITCH = 0;

// Bitmaps.
constexpr DWORD BI_RGB = 0;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr DWORD SRCCOPY = 0xCC0020;

// Regions and the print dialog.
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr int RGN_COPY = 5;
constexpr DWORD PD_RETURNDC = 0x100;

// Device contexts, documents and pages.
HDC CreateEnhMetaFileA(HDC reference, LPCSTR fileName, const RECT* frame, LPCSTR description);
HDC CreateEnhMetaFileW(HDC reference, LPCWSTR fileName, const RECT* frame, LPCWSTR description);
HENHMETAFILE CloseEnhMetaFile(HDC dc);
BOOL DeleteEnhMetaFile(HENHMETAFILE metafile);
/// Without a window system the dialog asks no one: it takes the print queue named by the
/// setting "VXN_PWGDI_PRINTER", else by the environment variable PRINTER, else the
/// system's default queue; with none, it returns 0 as a cancelled dialog does.
BOOL PrintDlgA(PRINTDLGA* dialog);
/// "DISPLAY" gives a display context (drawing nowhere); "WINSPOOL" or a null driver with a
/// queue name as `device` gives a printer context for that queue.
HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR output, const void* initData);
BOOL DeleteDC(HDC dc);
int StartDocA(HDC dc, const DOCINFOA* document);
int StartPage(HDC dc);
int EndPage(HDC dc);
int EndDoc(HDC dc);
int GetDeviceCaps(HDC dc, int index);

// Mapping.
int SetGraphicsMode(HDC dc, int mode);
int SetMapMode(HDC dc, int mode);
BOOL SetWindowOrgEx(HDC dc, int x, int y, POINT* previous);
BOOL DPtoLP(HDC dc, POINT* points, int count);
BOOL LPtoDP(HDC dc, POINT* points, int count);

// Objects.
HRGN CreateRectRgn(int left, int top, int right, int bottom);
int SelectClipRgn(HDC dc, HRGN region);
HPEN CreatePen(int style, int width, COLORREF color);
HPEN ExtCreatePen(DWORD style, DWORD width, const LOGBRUSH* brush, DWORD styleCount,
                  const DWORD* styles);
HBRUSH CreateSolidBrush(COLORREF color);
HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                  DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outputPrecision,
                  DWORD clipPrecision, DWORD quality, DWORD pitchAndFamily, LPCSTR faceName);
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
BOOL DeleteObject(HGDIOBJ object);

// Attributes and drawing.
BOOL SetMiterLimit(HDC dc, FLOAT limit, FLOAT* previous);
COLORREF SetTextColor(HDC dc, COLORREF color);
UINT SetTextAlign(HDC dc, UINT align);
int SetBkMode(HDC dc, int mode);
BOOL Polyline(HDC dc, const POINT* points, int count);
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL MoveToEx(HDC dc, int x, int y, POINT* previous);
BOOL LineTo(HDC dc, int x, int y);
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length);
BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int length);
int StretchDIBits(HDC dc, int xDest, int yDest, int destWidth, int destHeight, int xSource,
                  int ySource, int sourceWidth, int sourceHeight, const void* bits,
                  const BITMAPINFO* info, UINT usage, DWORD rasterOperation);

#endif
