#include "nodes/shapes/SoIndexRuns.h"

void SoIndexRuns::count(const SoMFInt32& field, int numCoords, SoShapeCounts& counts) {
    counts = SoShapeCounts();
    const int num = field.getNum();
    if (num == 0) return;
    SoIndexRuns runs(field.getValues(0), num);
    int largest = -1;
    while (runs.next()) {
        ++counts.faces;
        counts.vertices += runs.getLength();
        for (int i = runs.getStart(); i < runs.getStart() + runs.getLength(); ++i) {
            const int index = field[i];
            if (index < numCoords && index > largest) largest = index;
        }
    }
    counts.parts = counts.faces;
    counts.coordsUsed = largest + 1;
}

void SoIndexRuns::buildFaceList(const SoMFInt32& field, std::vector<int32_t>& corners,
                                std::vector<int32_t>& starts) {
    corners.clear();
    starts.assign(1, 0);
    const int num = field.getNum();
    if (num == 0) return;
    corners.reserve(num);
    SoIndexRuns runs(field.getValues(0), num);
    while (runs.next()) {
        const int32_t* run = field.getValues(runs.getStart());
        corners.insert(corners.end(), run, run + runs.getLength());
        starts.push_back(static_cast<int32_t>(corners.size()));
    }
}
