#include <Tessara/nodes/SoMarkerSet.h>

#include "markers/SoMarkerLibrary.h"

SO_NODE_SOURCE(SoMarkerSet, SoPointSet)

SoMarkerSet::SoMarkerSet() {
    SO_NODE_CONSTRUCTOR(SoMarkerSet);
    addField("markerIndex", markerIndex);
}

SoMarkerSet::~SoMarkerSet() = default;

bool SoMarkerSet::getMarker(int index, SbVec2s& size, const unsigned char*& bytes,
                            bool& isLSBFirst) {
    return SoMarkerLibrary::instance().get(index, size, bytes, isLSBFirst);
}

bool SoMarkerSet::isMarkerBitSet(int index, int bitNumber) {
    return SoMarkerLibrary::instance().isBitSet(index, bitNumber);
}

void SoMarkerSet::addMarker(int index, const SbVec2s& size, const unsigned char* bytes,
                            bool isLSBFirst, bool isUpToDown) {
    SoMarkerLibrary::instance().add(index, size, bytes, isLSBFirst, isUpToDown);
}

bool SoMarkerSet::removeMarker(int index) {
    return SoMarkerLibrary::instance().remove(index);
}

int SoMarkerSet::getNumDefinedMarkers() {
    return SoMarkerLibrary::instance().getNumDefined();
}
