#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <tuple>

#include "SoGlyph.h"

/// Tessellated glyphs by face, glyph and outline resolution, least recently used ones
/// dropped beyond a fixed count so that long-running processes with many fonts stay small.
/// Glyphs are shared: one dropped while a caller still holds it lives on until released.
/// Not thread-safe: SoFontLibrary serialises access.
class SoGlyphCache {
  public:
    struct Key {
        uint64_t faceSerial;  // unique per opened face, never reused
        unsigned glyphIndex;
        int segmentsPerCurve;
        bool operator<(const Key& o) const {
            return std::tie(faceSerial, glyphIndex, segmentsPerCurve) <
                   std::tie(o.faceSerial, o.glyphIndex, o.segmentsPerCurve);
        }
    };

    explicit SoGlyphCache(size_t capacity) : capacity_(capacity) {}

    /// The cached glyph, now the most recently used one, or null.
    std::shared_ptr<const SoGlyph> find(const Key& key);
    void insert(const Key& key, std::shared_ptr<const SoGlyph> glyph);
    void clear();
    size_t size() const { return entries_.size(); }

  private:
    using Order = std::list<Key>;
    struct Entry {
        std::shared_ptr<const SoGlyph> glyph;
        Order::iterator position;
    };
    size_t capacity_;
    Order order_;  // most recently used first
    std::map<Key, Entry> entries_;
};
