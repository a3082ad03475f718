#include "SoGDIObjectTable.h"

#include <map>
#include <unordered_map>

namespace {

struct Registry {
    std::unordered_map<HGDIOBJ, std::shared_ptr<SoGDIObject>> objects;
    long lastSerial = 0;
    /// Ordered by creation number, so that devices() visits contexts in a stable order.
    std::unordered_map<HDC, long> contextNumbers;
    std::map<long, std::unique_ptr<SoGDIDeviceContext>> contexts;
    long lastContext = 0;
};

Registry& registry() {
    static Registry instance;
    return instance;
}

std::shared_ptr<SoGDIObject> stock(SoGDIObject::Kind kind, int index, COLORREF color) {
    auto object = std::make_shared<SoGDIObject>();
    object->kind = kind;
    object->stockIndex = index;
    object->color = color;
    if (kind == SoGDIObject::FONT) object->faceName = "System";
    return object;
}

}  // namespace

HGDIOBJ SoGDIObjectTable::create(const SoGDIObject& description) {
    Registry& r = registry();
    auto object = std::make_shared<SoGDIObject>(description);
    object->serial = ++r.lastSerial;
    object->stockIndex = -1;
    r.objects.emplace(object.get(), object);
    return object.get();
}

std::shared_ptr<SoGDIObject> SoGDIObjectTable::find(HGDIOBJ handle) {
    for (const auto* standard : {&stockPen(), &stockBrush(), &stockFont()})
        if (handle == standard->get()) return *standard;
    const auto& objects = registry().objects;
    const auto found = objects.find(handle);
    return found == objects.end() ? nullptr : found->second;
}

bool SoGDIObjectTable::remove(HGDIOBJ handle) {
    if (find(handle) && find(handle)->isStock()) return true;
    return registry().objects.erase(handle) > 0;
}

// The defaults of a new context: BLACK_PEN, WHITE_BRUSH and SYSTEM_FONT.
const std::shared_ptr<SoGDIObject>& SoGDIObjectTable::stockPen() {
    static const std::shared_ptr<SoGDIObject> pen = stock(SoGDIObject::PEN, 7, 0x000000);
    return pen;
}

const std::shared_ptr<SoGDIObject>& SoGDIObjectTable::stockBrush() {
    static const std::shared_ptr<SoGDIObject> brush = stock(SoGDIObject::BRUSH, 0, 0xFFFFFF);
    return brush;
}

const std::shared_ptr<SoGDIObject>& SoGDIObjectTable::stockFont() {
    static const std::shared_ptr<SoGDIObject> font = stock(SoGDIObject::FONT, 13, 0);
    return font;
}

HDC SoGDIObjectTable::addContext(std::unique_ptr<SoGDIDeviceContext> context) {
    Registry& r = registry();
    HDC dc = context.get();
    r.contextNumbers[dc] = ++r.lastContext;
    r.contexts.emplace(r.lastContext, std::move(context));
    return dc;
}

bool SoGDIObjectTable::isContext(HDC dc) {
    return dc && registry().contextNumbers.count(dc) > 0;
}

bool SoGDIObjectTable::removeContext(HDC dc) {
    Registry& r = registry();
    const auto found = r.contextNumbers.find(dc);
    if (!dc || found == r.contextNumbers.end()) return false;
    r.contexts.erase(found->second);
    r.contextNumbers.erase(found);
    return true;
}

std::vector<SoGDIDevice*> SoGDIObjectTable::devices() {
    std::vector<SoGDIDevice*> all;
    for (const auto& entry : registry().contexts) all.push_back(entry.second->device.get());
    return all;
}

long SoGDIObjectTable::contextNumber(HDC dc) {
    const auto& numbers = registry().contextNumbers;
    const auto found = numbers.find(dc);
    return found == numbers.end() ? 0 : found->second;
}
