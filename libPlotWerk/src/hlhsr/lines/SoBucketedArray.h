#pragma once

#include <cstddef>
#include <vector>

/// Items filed by a bucket number in one array, counted first and then placed, so that a
/// million buckets cost no allocation each: bucket b holds items[start[b]] up to
/// items[start[b + 1]], in the order the items came.
template <class Item>
struct SoBucketedArray {
    std::vector<size_t> start;
    std::vector<Item> items;

    /// Files itemOf(s) for every s of source under bucketOf(s), one of 0 to buckets - 1.
    template <class Source, class BucketOf, class ItemOf>
    void fill(const Source& source, size_t buckets, BucketOf bucketOf, ItemOf itemOf) {
        start.assign(buckets + 1, 0);
        for (const auto& s : source) ++start[bucketOf(s) + 1];
        for (size_t b = 0; b < buckets; ++b) start[b + 1] += start[b];
        std::vector<size_t> next(start.begin(), start.end() - 1);
        items.resize(start[buckets]);
        for (const auto& s : source) items[next[bucketOf(s)]++] = itemOf(s);
    }
    size_t count(size_t bucket) const { return start[bucket + 1] - start[bucket]; }
};
