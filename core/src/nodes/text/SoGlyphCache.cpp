#include "SoGlyphCache.h"

std::shared_ptr<const SoGlyph> SoGlyphCache::find(const Key& key) {
    auto it = entries_.find(key);
    if (it == entries_.end()) return nullptr;
    order_.splice(order_.begin(), order_, it->second.position);
    return it->second.glyph;
}

void SoGlyphCache::insert(const Key& key, std::shared_ptr<const SoGlyph> glyph) {
    auto it = entries_.find(key);
    if (it != entries_.end()) {
        it->second.glyph = std::move(glyph);
        order_.splice(order_.begin(), order_, it->second.position);
        return;
    }
    order_.push_front(key);
    entries_.emplace(key, Entry{std::move(glyph), order_.begin()});
    while (entries_.size() > capacity_ && !order_.empty()) {
        entries_.erase(order_.back());
        order_.pop_back();
    }
}

void SoGlyphCache::clear() {
    entries_.clear();
    order_.clear();
}
