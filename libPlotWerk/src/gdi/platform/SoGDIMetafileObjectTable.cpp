// Slots follow libUEMF's handle table, which hands out the most recently freed slot first and
// keeps slot 0 for the metafile itself. A create record that fails its layout check gives
// its slot back at once, so the file never names a slot that playback did not fill.

#include "SoGDIMetafileObjectTable.h"

#include <cstdlib>
#include <memory>

namespace {

struct FreeDeleter {
    void operator()(void* memory) const { std::free(memory); }
};

/// The face name as LOGFONTW holds it: Latin-1 bytes widened one by one, NUL-terminated.
void widenFace(const std::string& face, std::uint16_t (&wide)[U_LF_FACESIZE]) {
    std::size_t i = 0;
    for (; i < face.size() && i + 1 < U_LF_FACESIZE && face[i] != '\0'; ++i)
        wide[i] = static_cast<unsigned char>(face[i]);
    for (; i < U_LF_FACESIZE; ++i) wide[i] = 0;
}

const char* createName(const SoGDIObject& object) {
    switch (object.kind) {
        case SoGDIObject::PEN:
            return object.extendedPen ? "EMR_EXTCREATEPEN" : "EMR_CREATEPEN";
        case SoGDIObject::BRUSH:
            return "EMR_CREATEBRUSHINDIRECT";
        default:
            return "EMR_EXTCREATEFONTINDIRECTW";
    }
}

}  // namespace

void SoGDIMetafileObjectTable::select(const SoGDIObject& object) {
    // A region selected as an object is a clip, which reaches the device as one.
    if (object.kind == SoGDIObject::REGION) return;
    std::uint32_t handle = 0;
    if (object.isStock()) {
        handle = U_STOCK_OBJECT | std::uint32_t(object.stockIndex);
    } else {
        const auto held = slots_.find(object.serial);
        handle = held != slots_.end() ? held->second : create(object);
        if (handle == 0) return;
    }
    file_.append(selectobject_set(handle, file_.handles()), "EMR_SELECTOBJECT");
}

void SoGDIMetafileObjectTable::remove(const SoGDIObject& object) {
    const auto held = slots_.find(object.serial);
    if (object.isStock() || held == slots_.end()) return;
    std::uint32_t slot = held->second;
    slots_.erase(held);
    file_.append(deleteobject_set(&slot, file_.handles()), "EMR_DELETEOBJECT");
}

std::uint32_t SoGDIMetafileObjectTable::create(const SoGDIObject& object) {
    std::uint32_t slot = 0;
    char* record = nullptr;
    if (object.kind == SoGDIObject::PEN) {
        record = penRecord(object, slot);
    } else if (object.kind == SoGDIObject::BRUSH) {
        const U_LOGBRUSH brush = logbrush_set(object.brushStyle, colour(object.color), 0);
        record = createbrushindirect_set(&slot, file_.handles(), brush);
    } else if (object.kind == SoGDIObject::FONT) {
        record = fontRecord(object, slot);
    }
    if (!file_.append(record, createName(object))) {
        if (slot != 0) emf_htable_delete(&slot, file_.handles());
        return 0;
    }
    slots_[object.serial] = slot;
    slotsUsed_ = true;
    return slot;
}

char* SoGDIMetafileObjectTable::penRecord(const SoGDIObject& pen, std::uint32_t& slot) {
    const U_COLORREF penColour = colour(pen.color);
    if (!pen.extendedPen) {
        const U_POINT width{static_cast<std::int32_t>(pen.penWidth), 0};
        return createpen_set(&slot, file_.handles(), logpen_set(pen.penStyle, width, penColour));
    }
    // ExtCreatePen pens carry their brush; the layer offers no user dash styles.
    const std::unique_ptr<U_EXTLOGPEN, FreeDeleter> extended(
        extlogpen_set(pen.penStyle, pen.penWidth, pen.brushStyle, penColour, 0, 0, nullptr));
    if (!extended) return nullptr;
    return extcreatepen_set(&slot, file_.handles(), nullptr, 0, nullptr, extended.get());
}

char* SoGDIMetafileObjectTable::fontRecord(const SoGDIObject& font, std::uint32_t& slot) {
    std::uint16_t face[U_LF_FACESIZE];
    widenFace(font.faceName, face);
    const U_LOGFONT logical =
        logfont_set(font.height, font.width, font.escapement, font.orientation, font.weight,
                    font.italic, font.underline, font.strikeOut, font.charSet, font.outputPrecision,
                    font.clipPrecision, font.quality, font.pitchAndFamily, face);
    // The plain LOGFONTW form: the font as the application described it, nothing more.
    return extcreatefontindirectw_set(&slot, file_.handles(),
                                      reinterpret_cast<const char*>(&logical), nullptr);
}

U_COLORREF SoGDIMetafileObjectTable::colour(COLORREF value) {
    return colorref3_set(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}
