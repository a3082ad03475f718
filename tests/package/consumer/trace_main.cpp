// Subclasses the installed vectorizing action and checks the trace it prints for a cube.
#include <PlotWerk/SoPlotWerk.h>
#include <PlotWerk/SoVectorizeAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/io/SoInput.h>
#include <Tessara/nodes/SoSeparator.h>

#include <cstdio>
#include <cstring>

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
    const char scene[] =
        "#Tessara V1.0 ascii\n"
        "Separator { OrthographicCamera { position 0 0 5 } LightModel { model BASE_COLOR }\n"
        "            BaseColor { rgb 1 0 0 } Cube { } }\n";
    SoInput in;
    in.setBuffer(scene, std::strlen(scene));
    SoSeparator* root = SoDB::readAll(&in);
    if (!root) return 1;
    root->ref();
    {
        TraceAction action;
        action.apply(root);
    }
    root->unref();
    SoPlotWerk::finish();
    return 0;
}
