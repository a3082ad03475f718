#include "SoCoveredCopies.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "SoBitsHash.h"
#include "SoGraphicPrimitiveList.h"
#include "SoPolyLine.h"
#include "SoPolygon.h"

namespace {

constexpr unsigned short kSolidLine = 0xFFFF;

// What a record may hide, and what it hides: a filled area, or a line of a width.
struct Cover {
    bool fill = false;
    float lineWidth = -1.0f;  // below every width: no line
};

Cover coverOf(const SoGraphicPrimitive& record) {
    Cover cover;
    if (record.getType() == SoGraphicPrimitive::POLYLINE) {
        const auto& line = static_cast<const SoPolyLine&>(record);
        if (line.linePattern == kSolidLine) cover.lineWidth = line.lineWidth;
    } else if (record.getType() == SoGraphicPrimitive::POLYGON) {
        const auto& polygon = static_cast<const SoPolygon&>(record);
        if (polygon.drawStyle == 0) cover.fill = !polygon.isPatternedFill();
        if (polygon.drawStyle == 1 && polygon.linePattern == kSolidLine)
            cover.lineWidth = polygon.lineWidth;
    }
    return cover;
}

bool isHiddenBy(const SoGraphicPrimitive& record, const Cover& later) {
    if (record.getType() == SoGraphicPrimitive::POLYLINE)
        return static_cast<const SoPolyLine&>(record).lineWidth <= later.lineWidth;
    const auto& polygon = static_cast<const SoPolygon&>(record);
    if (polygon.drawStyle == 0) return later.fill;
    return polygon.drawStyle == 1 && polygon.lineWidth <= later.lineWidth;
}

bool canBeCopy(const SoGraphicPrimitive* record) {
    const int type = record->getType();
    return (type == SoGraphicPrimitive::POLYGON || type == SoGraphicPrimitive::POLYLINE) &&
           record->getNumPoints() > 0;
}

const SoPrimitiveMultiPoints& pointsOf(const SoGraphicPrimitive* record) {
    return *static_cast<const SoPrimitiveMultiPoints*>(record);
}

// Copies are equal to the bit, so the bits are what is hashed and compared. Half the hash
// is enough to group them, and keeps the table of a big drawing small.
std::uint32_t hashPoints(const SoPrimitiveMultiPoints& record) {
    SoBitsHash hash(static_cast<std::uint64_t>(record.getType()));
    hash.add(record.points.get(), sizeof(SbVec4f) * static_cast<std::size_t>(record.numPoints));
    return static_cast<std::uint32_t>(hash.value() ^ hash.value() >> 32);
}

bool samePoints(const SoPrimitiveMultiPoints& a, const SoPrimitiveMultiPoints& b) {
    return a.getType() == b.getType() && a.numPoints == b.numPoints &&
           std::memcmp(a.points.get(), b.points.get(), sizeof(SbVec4f) * a.numPoints) == 0;
}

struct Entry {
    std::uint32_t hash;
    int index;
};

// Walks one run of equal hashes from the last record to the first, so that every record meets
// the cover of all the copies printed after it. A run holds one set of points but for a hash
// collision, so the distinct sets are few.
void markRun(const SoGraphicPrimitiveList& records, const Entry* run, int n,
             std::vector<char>& hidden) {
    struct Seen {
        const SoPrimitiveMultiPoints* points;
        Cover cover;
    };
    std::vector<Seen> seen;
    for (int k = n - 1; k >= 0; --k) {
        const SoGraphicPrimitive* record = records.getPrimitive(run[k].index);
        const SoPrimitiveMultiPoints& points = pointsOf(record);
        auto same = std::find_if(seen.begin(), seen.end(),
                                 [&](const Seen& s) { return samePoints(*s.points, points); });
        if (same == seen.end()) {
            seen.push_back({&points, coverOf(*record)});
            continue;
        }
        if (isHiddenBy(*record, same->cover)) {
            hidden[run[k].index] = 1;
            continue;
        }
        const Cover mine = coverOf(*record);
        same->cover.fill = same->cover.fill || mine.fill;
        same->cover.lineWidth = std::max(same->cover.lineWidth, mine.lineWidth);
    }
}

}  // namespace

int SoCoveredCopies::remove(SoGraphicPrimitiveList& records) {
    std::vector<Entry> entries;
    entries.reserve(records.getLength());
    for (int i = 0; i < records.getLength(); ++i) {
        const SoGraphicPrimitive* record = records.getPrimitive(i);
        if (canBeCopy(record)) entries.push_back({hashPoints(pointsOf(record)), i});
    }
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return a.hash != b.hash ? a.hash < b.hash : a.index < b.index;
    });
    std::vector<char> hidden(records.getLength(), 0);
    for (std::size_t start = 0; start < entries.size();) {
        std::size_t end = start + 1;
        while (end < entries.size() && entries[end].hash == entries[start].hash) ++end;
        if (end - start > 1)
            markRun(records, entries.data() + start, static_cast<int>(end - start), hidden);
        start = end;
    }
    return records.removeMarked(hidden);
}
