#include "SoPointMarkers.h"

#include <Tessara/nodes/SoMarkerSet.h>

SoPointMarkers::SoPointMarkers() : node_(new SoMarkerSet) {
    node_->ref();
}

SoPointMarkers::~SoPointMarkers() {
    node_->unref();
}

std::vector<std::int32_t> SoPointMarkers::of(const SoMarkerSet& markerSet, const int* ordinals,
                                             int n) {
    const int listed = markerSet.markerIndex.getNum();
    std::vector<std::int32_t> markers;
    if (listed == 0 || n <= 0) return markers;
    markers.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const int ordinal = ordinals ? ordinals[i] : i;
        markers.push_back(markerSet.markerIndex[(ordinal < 0 ? 0 : ordinal) % listed]);
    }
    return markers;
}

SoMarkerSet* SoPointMarkers::holding(const std::int32_t* markers, int n) {
    node_->markerIndex.setNum(0);
    if (markers && n > 0) node_->markerIndex.setValues(0, n, markers);
    return node_;
}
