#include "U3DDocumentViews.h"

#include <algorithm>

namespace u3d {
namespace {

// More than enough for the exports of a few threads at once.
constexpr std::size_t kKept = 8;

}  // namespace

std::mutex U3DDocumentViews::mutex_;
std::deque<std::pair<std::string, U3DDocumentViews::Entry>> U3DDocumentViews::entries_;

void U3DDocumentViews::put(const std::string& u3dFile, Entry entry) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (entries_.size() == kKept) entries_.pop_front();
    entries_.emplace_back(u3dFile, std::move(entry));
}

std::optional<U3DDocumentViews::Entry> U3DDocumentViews::take(const std::string& u3dFile) {
    std::lock_guard<std::mutex> lock(mutex_);
    // The latest entry of the file counts: it may have been written more than once.
    const auto found = std::find_if(entries_.rbegin(), entries_.rend(),
                                    [&](const auto& entry) { return entry.first == u3dFile; });
    if (found == entries_.rend()) return std::nullopt;
    Entry entry = std::move(found->second);
    entries_.erase(std::next(found).base());
    return entry;
}

}  // namespace u3d
