// The device contexts of the GDI layer's real targets: enhanced-metafile files, printers
// reached through the print service, and displays that draw nowhere.

#include <PlotWerk/SoGDIPlatform.h>
#include <Tessara/base/SbString.h>

#include <cstring>
#include <memory>
#include <set>
#include <string>

#include "SoGDIBlankDevice.h"
#include "SoGDIMetafileDevice.h"
#include "SoGDIObjectTable.h"
#include "SoGDIPrintQueue.h"
#include "SoGDIPrinterDevice.h"
#include "SoGDITrace.h"

/// A finished metafile; the file stays when the handle is deleted.
struct SoGDIMetafileHandle {};

namespace {

std::set<std::unique_ptr<SoGDIMetafileHandle>>& metafiles() {
    static std::set<std::unique_ptr<SoGDIMetafileHandle>> handles;
    return handles;
}

/// A description ends at its first two consecutive zero characters.
template <class Char>
std::basic_string<Char> doubleZeroString(const Char* text) {
    std::basic_string<Char> result;
    if (!text) return result;
    for (std::size_t i = 0; text[i] || text[i + 1]; ++i) result += text[i];
    return result;
}

/// A metafile handle is recorded as 1, none as 0.
HENHMETAFILE recorded(SoGDITrace& trace, HENHMETAFILE metafile) {
    trace.done(metafile ? 1 : 0);
    return metafile;
}

HDC metafileContext(const std::string& path, const RECT* frame, const std::u16string& text) {
    std::unique_ptr<SoGDIDevice> device = SoGDIMetafileDevice::create(path, frame, text);
    if (!device) return nullptr;
    return SoGDIObjectTable::addContext(std::make_unique<SoGDIDeviceContext>(std::move(device)));
}

HDC printerContext(const std::string& queue) {
    std::unique_ptr<SoGDIDevice> device = SoGDIPrinterDevice::create(queue);
    if (!device) return nullptr;
    return SoGDIObjectTable::addContext(std::make_unique<SoGDIDeviceContext>(std::move(device)));
}

}  // namespace

HDC CreateEnhMetaFileA(HDC, LPCSTR fileName, const RECT* frame, LPCSTR description) {
    SoGDITrace trace("CreateEnhMetaFileA");
    const std::string text = doubleZeroString(description);
    trace.text(fileName, fileName ? int(std::strlen(fileName)) : 0);
    if (frame) trace.rect(*frame);
    // Memory metafiles (no file name) are not offered.
    if (!fileName) return trace.done(HDC(nullptr));
    // Latin-1 characters are the first 256 of UTF-16.
    std::u16string wide;
    for (char c : text) wide += char16_t(static_cast<unsigned char>(c));
    return trace.done(metafileContext(SbString::fromLatin1(fileName).getStdString(), frame, wide));
}

HDC CreateEnhMetaFileW(HDC, LPCWSTR fileName, const RECT* frame, LPCWSTR description) {
    SoGDITrace trace("CreateEnhMetaFileW");
    const std::u16string text = doubleZeroString(description);
    if (fileName) trace.wideText(fileName, int(std::char_traits<char16_t>::length(fileName)));
    if (frame) trace.rect(*frame);
    if (!fileName) return trace.done(HDC(nullptr));
    return trace.done(metafileContext(SbString::fromUtf16(fileName).getStdString(), frame, text));
}

HENHMETAFILE CloseEnhMetaFile(HDC dc) {
    SoGDITrace trace("CloseEnhMetaFile");
    trace.context(dc);
    auto* metafile = SoGDIObjectTable::isContext(dc)
                         ? dynamic_cast<SoGDIMetafileDevice*>(dc->device.get())
                         : nullptr;
    if (!metafile) return recorded(trace, nullptr);
    const bool written = metafile->close();
    auto handle = std::make_unique<SoGDIMetafileHandle>();
    SoGDIObjectTable::removeContext(dc);
    if (!written) return recorded(trace, nullptr);
    HENHMETAFILE result = handle.get();
    metafiles().insert(std::move(handle));
    return recorded(trace, result);
}

BOOL DeleteEnhMetaFile(HENHMETAFILE metafile) {
    SoGDITrace trace("DeleteEnhMetaFile");
    trace.arg(metafile ? 1 : 0);
    auto& handles = metafiles();
    for (auto it = handles.begin(); it != handles.end(); ++it)
        if (it->get() == metafile) {
            handles.erase(it);
            return trace.done(TRUE);
        }
    return trace.done(FALSE);
}

BOOL PrintDlgA(PRINTDLGA* dialog) {
    SoGDITrace trace("PrintDlgA");
    if (dialog) trace.arg(dialog->lStructSize).arg(dialog->Flags);
    if (!dialog || dialog->lStructSize != sizeof(PRINTDLGA)) return trace.done(FALSE);
    dialog->hDC = nullptr;
    const std::string queue = SoGDIPrintQueue::chosen();
    if (queue.empty()) return trace.done(FALSE);
    if (dialog->Flags & PD_RETURNDC) dialog->hDC = printerContext(queue);
    trace.arg(SoGDIObjectTable::contextNumber(dialog->hDC));
    return trace.done(dialog->hDC || !(dialog->Flags & PD_RETURNDC) ? TRUE : FALSE);
}

HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR, const void*) {
    SoGDITrace trace("CreateDCA");
    trace.text(driver, driver ? int(std::strlen(driver)) : 0);
    if (driver && std::strcmp(driver, "DISPLAY") == 0)
        return trace.done(SoGDIObjectTable::addContext(std::make_unique<SoGDIDeviceContext>(
            std::make_unique<SoGDIBlankDevice>(DT_RASDISPLAY, 96, 508, 381))));
    if (!device || (driver && std::strcmp(driver, "WINSPOOL") != 0))
        return trace.done(HDC(nullptr));
    return trace.done(printerContext(device));
}
