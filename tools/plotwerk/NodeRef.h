#pragma once

#include <utility>

/// Holds one reference on a scene-graph object for as long as it lives, so that a scene
/// built halfway is released when an error leaves the function that built it.
template <class Node>
class NodeRef {
  public:
    NodeRef() = default;
    explicit NodeRef(Node* node) : node_(node) {
        if (node) node->ref();
    }
    ~NodeRef() {
        if (node_) node_->unref();
    }
    NodeRef(const NodeRef&) = delete;
    NodeRef& operator=(const NodeRef&) = delete;
    NodeRef(NodeRef&& other) noexcept : node_(std::exchange(other.node_, nullptr)) {}
    NodeRef& operator=(NodeRef&& other) noexcept {
        std::swap(node_, other.node_);
        return *this;
    }

    Node* get() const { return node_; }
    Node* operator->() const { return node_; }
    explicit operator bool() const { return node_ != nullptr; }
    /// Gives the node up without deleting it: back to the count it had before this holder.
    Node* release() {
        Node* released = std::exchange(node_, nullptr);
        if (released) released->unrefNoDelete();
        return released;
    }

  private:
    Node* node_ = nullptr;
};
