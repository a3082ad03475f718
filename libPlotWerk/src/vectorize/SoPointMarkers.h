#pragma once

#include <cstdint>
#include <vector>

class SoMarkerSet;

/// The markers that the points of a marker set take, point by point, and a marker set node
/// of one's own to hand them to a backend. Backends walk a marker set's indices from its
/// first point; once clipping has dropped points, or the hidden-surface modes print marks
/// one at a time and in another order, the node's own list would give the surviving points
/// other points' markers.
class SoPointMarkers {
  public:
    SoPointMarkers();
    ~SoPointMarkers();
    SoPointMarkers(const SoPointMarkers&) = delete;
    SoPointMarkers& operator=(const SoPointMarkers&) = delete;

    /// The marker of each of n points: point i is point ordinals[i] of markerSet (i itself
    /// when ordinals is null), and the node's list starts again past its end. Empty when the
    /// node lists no marker.
    static std::vector<std::int32_t> of(const SoMarkerSet& markerSet, const int* ordinals, int n);

    /// A node whose list holds exactly the n markers given: point i of a print takes markers[i].
    SoMarkerSet* holding(const std::int32_t* markers, int n);

  private:
    SoMarkerSet* node_;
};
