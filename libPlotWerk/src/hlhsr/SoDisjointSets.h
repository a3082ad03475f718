#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <numeric>
#include <utility>
#include <vector>

/// Items numbered from 0, in sets joined two at a time (a union-find). A set is named by its
/// smallest item, so that the sets come out the same whatever the order of the joins.
class SoDisjointSets {
  public:
    /// count items, each in a set of its own.
    void reset(std::size_t count) {
        parent_.resize(count);
        std::iota(parent_.begin(), parent_.end(), std::int32_t{0});
    }
    /// The smallest item of i's set; every item on the way then points to it.
    std::int32_t find(std::int32_t i) {
        std::int32_t root = i;
        while (parent_[root] != root) root = parent_[root];
        while (parent_[i] != root) i = std::exchange(parent_[i], root);
        return root;
    }
    void join(std::int32_t a, std::int32_t b) {
        a = find(a), b = find(b);
        if (a != b) parent_[std::max(a, b)] = std::min(a, b);
    }

  private:
    std::vector<std::int32_t> parent_;
};
