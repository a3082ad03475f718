// Subclasses the installed vectorizing action and checks the trace it prints for a cube.
#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizeAction.h>

#include <cstdio>

#include "CubeScene.h"

namespace {

class TraceAction : public SoVectorizeAction {
  protected:
    void writeHeader() override { std::puts("header"); }
    void writeFooter() override { std::puts("footer"); }
    void setHardwareClip() override {}
    void printBorder() override {}
    void printBackground() override {}
};

}  // namespace

int main() {
    SoPlotWerk::init();
    SoSeparator* root = readCubeScene();
    if (!root) return 1;
    {
        TraceAction action;
        action.apply(root);
    }
    root->unref();
    SoPlotWerk::finish();
    return 0;
}
