#pragma once

// The scene that a target's input holds, when it is one a target can take: scenes that
// expand, through shared nodes, into more nodes than a drawing could need are left out, since
// their cost is the size of the graph, not a fault.

#include <PlotWerk/SoPlotWerk.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/base/SoNodeList.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoSeparator.h>

#include <cstdint>
#include <unordered_map>

#include "FuzzTarget.h"

namespace fuzz_scene {

constexpr double kMostNodes = 2000;

/// Nodes as a traversal meets them: a shared node counts once per use. Saturates early, so
/// that graphs of exponential size are counted in time linear in their distinct nodes.
inline double expandedSize(const SoNode* node, std::unordered_map<const SoNode*, double>& known) {
    if (auto found = known.find(node); found != known.end()) return found->second;
    double size = 1;
    if (const SoNodeList* children = node->getChildren())
        for (int i = 0; i < children->getLength() && size <= kMostNodes; ++i)
            size += expandedSize((*children)[i], known);
    known[node] = size;
    return size;
}

}  // namespace fuzz_scene

/// The scene read from the bytes, referenced (the caller unrefs it), or null when the bytes
/// are no scene or one too large. Sets the library up, quiet, on the first call.
inline SoSeparator* readFuzzScene(const std::uint8_t* data, std::size_t size) {
    static const bool ready = (SoPlotWerk::init(), silenceDebugMessages(), true);
    (void)ready;
    SoInput input;
    input.setBuffer(data, size);
    SoSeparator* scene = SoDB::readAll(&input);
    if (!scene) return nullptr;
    scene->ref();
    std::unordered_map<const SoNode*, double> known;
    if (fuzz_scene::expandedSize(scene, known) <= fuzz_scene::kMostNodes) return scene;
    scene->unref();
    return nullptr;
}
