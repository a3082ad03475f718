#pragma once

#include <Tessara/nodes/SoNode.h>
#include <Tessara/nodes/SoSeparator.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

// Shared helpers of the scene-file tests.
namespace iotest {

extern const char* const kHeader;  // "#Tessara V1.0 ascii\n"

/// Releases a node held by a test.
struct Unref {
    void operator()(const SoBase* base) const {
        if (base) base->unref();
    }
};
template <class T>
using Held = std::unique_ptr<T, Unref>;

/// Takes a reference on `node` (which may be null) for the scope of the holder.
template <class T>
Held<T> hold(T* node) {
    if (node) node->ref();
    return Held<T>(node);
}

/// Reads text held in memory with SoDB::readAll, as the file "<buffer>".
Held<SoSeparator> readText(const std::string& text);
/// Reads `body` behind the header.
Held<SoSeparator> readScene(const std::string& body);
/// What SoWriteAction writes for `node`.
std::string writeText(SoNode* node);
/// The text a field writes.
std::string fieldText(const SoField* field);

/// Same types, same field values (and default flags), same children, and the same sharing:
/// a node met twice in one graph is met at the same places in the other.
::testing::AssertionResult sameGraph(SoNode* a, SoNode* b);

}  // namespace iotest
