#include <PlotWerk/SoGDIRecorder.h>

#include <algorithm>
#include <memory>

#include "SoGDIBlankDevice.h"
#include "SoGDIObjectTable.h"

namespace {

std::vector<SoGDIRecorder*>& recorders() {
    static std::vector<SoGDIRecorder*> active;
    return active;
}

}  // namespace

SoGDIRecorder::SoGDIRecorder() {
    recorders().push_back(this);
}

SoGDIRecorder::~SoGDIRecorder() {
    auto& active = recorders();
    active.erase(std::remove(active.begin(), active.end(), this), active.end());
}

std::vector<SoGDICall> SoGDIRecorder::getCalls(const char* name) const {
    std::vector<SoGDICall> named;
    for (const SoGDICall& call : calls_)
        if (call.name == name) named.push_back(call);
    return named;
}

HDC SoGDIRecorder::createDevice(int technology, int dotsPerInch, int widthMm, int heightMm) {
    return SoGDIObjectTable::addContext(std::make_unique<SoGDIDeviceContext>(
        std::make_unique<SoGDIBlankDevice>(technology, dotsPerInch, widthMm, heightMm)));
}

bool SoGDIRecorder::isRecording() {
    return !recorders().empty();
}

void SoGDIRecorder::add(const SoGDICall& call) {
    for (SoGDIRecorder* recorder : recorders()) recorder->calls_.push_back(call);
}
