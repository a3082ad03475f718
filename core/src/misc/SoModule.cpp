#include <Tessara/base/SoDebugError.h>
#include <Tessara/misc/SoModule.h>

#include <algorithm>
#include <mutex>
#include <vector>

namespace {

struct Registry {
    std::mutex mutex;
    std::vector<const SoModule*> modules;
};

// Made on first use and never destroyed: static SoModule objects in several libraries are built
// and torn down in an order no one controls, and each must still find the record.
Registry& registry() {
    static Registry* instance = new Registry;
    return *instance;
}

}  // namespace

SoModule::SoModule(const char* fileName, const char* version, const char* extraInfo,
                   const char* platform, bool releaseBuild, bool compatible)
    : fileName_(fileName),
      version_(version),
      extraInfo_(extraInfo),
      platform_(platform),
      releaseBuild_(releaseBuild),
      compatible_(compatible) {
    std::lock_guard<std::mutex> lock(registry().mutex);
    registry().modules.push_back(this);
}

SoModule::~SoModule() {
    std::lock_guard<std::mutex> lock(registry().mutex);
    auto& modules = registry().modules;
    modules.erase(std::remove(modules.begin(), modules.end(), this), modules.end());
}

int SoModule::getNumModules() {
    std::lock_guard<std::mutex> lock(registry().mutex);
    return static_cast<int>(registry().modules.size());
}

const SoModule* SoModule::getModule(int index) {
    int count = 0;
    {
        std::lock_guard<std::mutex> lock(registry().mutex);
        const auto& modules = registry().modules;
        count = static_cast<int>(modules.size());
        if (index >= 0 && index < count) return modules[static_cast<std::size_t>(index)];
    }
    // Posted outside the lock: the error handler may well ask for the modules itself.
    SoDebugError::post("SoModule::getModule", "index %d is outside 0..%d", index, count - 1);
    return nullptr;
}

const SoModule* SoModule::find(const char* fileName) {
    if (!fileName) return nullptr;
    const SbString wanted(fileName);
    std::lock_guard<std::mutex> lock(registry().mutex);
    for (const SoModule* module : registry().modules) {
        if (module->fileName_ == wanted) return module;
    }
    return nullptr;
}
