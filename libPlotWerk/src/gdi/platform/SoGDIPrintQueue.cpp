#include "SoGDIPrintQueue.h"

#include <Tessara/base/SoDebugError.h>
#include <Tessara/misc/SoPreferences.h>
#include <cups/cups.h>

#include <cstdlib>
#include <memory>

// Every question goes to the print service named by the usual CUPS configuration (the
// environment variable CUPS_SERVER, client.conf), through libcups' default connection. A
// service that cannot be reached answers like one without queues: no queue exists and there
// is no default, so printing fails with a message instead of waiting.

namespace {

struct DestinationFree {
    void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
using Destination = std::unique_ptr<cups_dest_t, DestinationFree>;

struct DestinationInfoFree {
    void operator()(cups_dinfo_t* info) const { cupsFreeDestInfo(info); }
};

/// The named queue, or the service's default one for an empty name; null when there is none.
Destination destination(const std::string& queue) {
    return Destination(
        cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.empty() ? nullptr : queue.c_str(), nullptr));
}

/// The queue the user named, the setting before the environment; empty when none is named.
std::string namedQueue() {
    const std::string setting = SoPreferences::getValue("VXN_PWGDI_PRINTER").getStdString();
    if (!setting.empty()) return setting;
    const char* printer = std::getenv("PRINTER");
    return printer ? printer : "";
}

/// Whether the service's description of a sheet is one a page can be laid out on.
bool plausible(const cups_size_t& size) {
    return size.width > 0 && size.length > 0 && size.left >= 0 && size.right >= 0 &&
           size.top >= 0 && size.bottom >= 0 && size.left + size.right < size.width &&
           size.top + size.bottom < size.length;
}

/// The sheet the queue prints on when a job asks for none: the user's own default for the
/// queue, else the printer's. cupsGetDestMediaDefault alone is not enough: it may answer with
/// the locale's usual sheet (US Letter) while the printer's default is another.
bool defaultSize(cups_dest_t* dest, cups_dinfo_t* info, cups_size_t& size) {
    const char* name = cupsGetOption("media", dest->num_options, dest->options);
    if (!name) {
        ipp_attribute_t* printerDefault =
            cupsFindDestDefault(CUPS_HTTP_DEFAULT, dest, info, "media");
        name = printerDefault ? ippGetString(printerDefault, 0, nullptr) : nullptr;
    }
    if (name && cupsGetDestMediaByName(CUPS_HTTP_DEFAULT, dest, info, name,
                                       CUPS_MEDIA_FLAGS_DEFAULT, &size))
        return true;
    return cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, dest, info, CUPS_MEDIA_FLAGS_DEFAULT,
                                   &size) != 0;
}

}  // namespace

std::string SoGDIPrintQueue::chosen() {
    const std::string named = namedQueue();
    if (!named.empty()) {
        if (exists(named)) return named;
        SoDebugError::post("SoGDIPrintQueue::chosen", "The print queue \"%s\" does not exist (%s)",
                           named.c_str(), cupsLastErrorString());
        return "";
    }
    const Destination fallback = destination("");
    if (!fallback) {
        SoDebugError::post("SoGDIPrintQueue::chosen",
                           "No print queue is named and the print service has no default (%s)",
                           cupsLastErrorString());
        return "";
    }
    return fallback->name;
}

bool SoGDIPrintQueue::exists(const std::string& queue) {
    return !queue.empty() && destination(queue) != nullptr;
}

SoGDIPrintMedia SoGDIPrintQueue::defaultMedia(const std::string& queue) {
    SoGDIPrintMedia media;
    const Destination dest = destination(queue);
    if (!dest) return media;
    const std::unique_ptr<cups_dinfo_t, DestinationInfoFree> info(
        cupsCopyDestInfo(CUPS_HTTP_DEFAULT, dest.get()));
    cups_size_t size{};
    if (!info || !defaultSize(dest.get(), info.get(), size) || !plausible(size)) return media;
    media.width = size.width;
    media.length = size.length;
    media.left = size.left;
    media.top = size.top;
    media.right = size.right;
    media.bottom = size.bottom;
    return media;
}
