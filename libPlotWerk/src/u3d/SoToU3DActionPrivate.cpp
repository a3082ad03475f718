#include <PlotWerk/SoPdfLog.h>
#include <PlotWerk/SoToU3DActionPrivate.h>
#include <PlotWerk/SoU3DShapeDispatcher.h>
#include <Tessara/misc/SoLibPdf.h>

SoToU3DActionPrivate::~SoToU3DActionPrivate() = default;

SoToU3DActionPrivate* SoToU3DActionPrivate::init(SoToU3DAction* action) {
    if (SoPdfLog::getLogLevel() >= 2) SoPdfLog::post("initializing u3d...");
    SoLibPdf* module = SoLibPdf::instance();
    SoToU3DActionPrivate* engine = module ? module->m_so_init_u3d() : nullptr;
    if (engine) {
        if (SoPdfLog::getLogLevel() >= 2) SoPdfLog::post("u3d init done.");
        engine->shapeDispatcher = new SoU3DShapeDispatcher(action);
    } else if (SoPdfLog::getLogLevel() >= 1) {
        SoPdfLog::post("u3d init failed.");
    }
    return engine;
}

void SoToU3DActionPrivate::finish(SoToU3DActionPrivate* engine) {
    if (!engine) return;
    delete engine->shapeDispatcher;
    engine->shapeDispatcher = nullptr;
    if (SoLibPdf* module = SoLibPdf::instance()) {
        if (SoPdfLog::getLogLevel() >= 2) SoPdfLog::post("unloading u3d...");
        module->m_so_finish_u3d(engine);
    }
    if (SoPdfLog::getLogLevel() >= 2) SoPdfLog::post("u3d unloaded.");
}
