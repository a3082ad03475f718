#include "SoGraphicPrimitiveList.h"

#include <Tessara/base/SoDebugError.h>

#include <utility>
#include <vector>

#include "SoGraphicPrimitive.h"

namespace {
// What the sort moves: the key read once per record instead of once per comparison.
struct SortEntry {
    float zMax;
    int id;
    void* record;
};

template <class Before>
void siftDown(SortEntry* a, int root, int n, Before before) {
    for (;;) {
        int child = 2 * root + 1;
        if (child >= n) return;
        // The heap keeps the entry that sorts last on top.
        if (child + 1 < n && before(a[child], a[child + 1])) ++child;
        if (!before(a[root], a[child])) return;
        std::swap(a[root], a[child]);
        root = child;
    }
}

// In-place heap sort: a strict order where before(x, y) means x comes first. Needs no extra
// memory and stays n log n whatever the input (a list already in depth order included).
template <class Before>
void heapSort(SortEntry* a, int n, Before before) {
    for (int root = n / 2 - 1; root >= 0; --root) siftDown(a, root, n, before);
    for (int end = n - 1; end > 0; --end) {
        std::swap(a[0], a[end]);
        siftDown(a, 0, end, before);
    }
}
}  // namespace

SoGraphicPrimitiveList::~SoGraphicPrimitiveList() {
    for (int i = 0; i < count_; ++i) delete static_cast<SoGraphicPrimitive*>(items_[i]);
}

void SoGraphicPrimitiveList::remove(int start, int n) {
    const int end = removalEnd(start, n);
    for (int i = start; i < end; ++i) {
        delete static_cast<SoGraphicPrimitive*>(items_[i]);
        items_[i] = nullptr;
    }
    if (end > start) bboxValid_ = 0;
    PiPList::remove(start, n);
}

void SoGraphicPrimitiveList::add(SoGraphicPrimitive* record) {
    if (!record) {
        SoDebugError::post("SoGraphicPrimitiveList::add", "Null record: not added");
        return;
    }
    append(record);
    bboxValid_ = 0;
    types_.insert(record->getType());
}

const SbBox3f& SoGraphicPrimitiveList::getBBox() {
    if (bboxValid_) return bbox3D_;
    bbox3D_.makeEmpty();
    for (int i = 0; i < count_; ++i) {
        SoGraphicPrimitive* record = getPrimitive(i);
        const SbBox2f& box = *record->getBBox();
        bbox3D_.extendBy(SbBox3f(box.getMin()[0], box.getMin()[1], record->getZMin(),
                                 box.getMax()[0], box.getMax()[1], record->getZMax()));
    }
    bboxValid_ = 1;
    return bbox3D_;
}

void SoGraphicPrimitiveList::swap(int i, int j) {
    if (i < 0 || j < 0 || i >= count_ || j >= count_) {
        SoDebugError::post("SoGraphicPrimitiveList::swap", "Index %d or %d out of 0..%d", i, j,
                           count_ - 1);
        return;
    }
    std::swap(items_[i], items_[j]);
}

void SoGraphicPrimitiveList::removeAt(int i) {
    if (i < 0 || i >= count_) {
        SoDebugError::post("SoGraphicPrimitiveList::removeAt", "Index %d out of 0..%d", i,
                           count_ - 1);
        return;
    }
    delete static_cast<SoGraphicPrimitive*>(items_[i]);
    PiPList::remove(i, 1);
    bboxValid_ = 0;
}

int SoGraphicPrimitiveList::removeMarked(const std::vector<char>& gone) {
    int kept = 0;
    for (int i = 0; i < count_; ++i) {
        if (i < static_cast<int>(gone.size()) && gone[i]) {
            delete static_cast<SoGraphicPrimitive*>(items_[i]);
        } else {
            items_[kept++] = items_[i];
        }
    }
    const int removed = count_ - kept;
    for (int i = kept; i < count_; ++i) items_[i] = nullptr;
    count_ = kept;
    if (removed > 0) bboxValid_ = 0;
    return removed;
}

// A heap sort by depth, then a heap sort by id of every run of equal depth: heap sort alone
// would leave records of equal depth in an arbitrary order.
void SoGraphicPrimitiveList::sort(int from) {
    if (from < 0) from = 0;
    const int n = count_ - from;
    if (n < 2) return;
    std::vector<SortEntry> entries(n);
    for (int k = 0; k < n; ++k) {
        SoGraphicPrimitive* record = getPrimitive(from + k);
        entries[k] = SortEntry{record->getZMax(), record->id, record};
    }
    heapSort(entries.data(), n,
             [](const SortEntry& a, const SortEntry& b) { return a.zMax > b.zMax; });
    for (int start = 0; start < n;) {
        int end = start + 1;
        while (end < n && entries[end].zMax == entries[start].zMax) ++end;
        if (end - start > 1) {
            heapSort(entries.data() + start, end - start,
                     [](const SortEntry& a, const SortEntry& b) { return a.id < b.id; });
        }
        start = end;
    }
    for (int k = 0; k < n; ++k) items_[from + k] = entries[k].record;
}
