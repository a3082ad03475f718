// The 3D export engine lives in a module of its own so that the core and the library ship and
// run without it; an application that has one installed gets the export, one that has none
// gets a message when it asks for it. The module is opened with RTLD_NOW, so that a module
// with unresolved symbols fails here, with a message, and not in the middle of an export,
// and with RTLD_LOCAL, so that its symbols and those of its own dependencies never take the
// place of the application's.

#include <Tessara/base/SoDebugError.h>
#include <Tessara/misc/SoLibPdf.h>
#include <Tessara/misc/SoPreferences.h>
#include <dlfcn.h>
#include <sys/stat.h>

#include <memory>
#include <mutex>
#include <vector>

namespace {

const char* const kSetting = "VXN_U3D_ENGINE";

struct State {
    std::mutex mutex;
    std::unique_ptr<SoLibPdf> engine;
    /// The last lookup found nothing: not repeated, nor reported again, until release().
    bool failed = false;
};

// Never destroyed: the engine stays loaded until release(), whatever order statics go in.
State& state() {
    static State* instance = new State;
    return *instance;
}

// The directory of the file the core library was loaded from, with its trailing slash.
std::string coreDirectory() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&SoLibPdf::instance), &info) || !info.dli_fname) {
        return {};
    }
    const std::string file = info.dli_fname;
    const std::size_t slash = file.rfind('/');
    return slash == std::string::npos ? "./" : file.substr(0, slash + 1);
}

// Where to look, in order. A module the user names is the only place: were it to fail,
// taking another engine instead would hide the failure behind a different export.
std::vector<std::string> places() {
    const SbString chosen = SoPreferences::getValue(kSetting);
    if (!chosen.isEmpty()) return {chosen.getStdString()};
    std::vector<std::string> found;
    const std::string core = coreDirectory();
    if (!core.empty()) found.push_back(core + "plotwerk/libplotwerk_u3d.so");
#ifdef TESSARA_ENGINE_BUILD_PATH
    found.push_back(TESSARA_ENGINE_BUILD_PATH);
#endif
    return found;
}

// The entry point called name, or null with `why` saying it is missing (the first one only).
template <class Function>
Function entryPoint(void* handle, const char* name, std::string& why) {
    const auto function = reinterpret_cast<Function>(dlsym(handle, name));
    if (!function && why.empty()) why = std::string("no entry point ") + name;
    return function;
}

}  // namespace

SoLibPdf* SoLibPdf::instance() {
    std::string failure;
    SoLibPdf* engine = nullptr;
    {
        std::lock_guard<std::mutex> lock(state().mutex);
        if (!state().engine && !state().failed) {
            state().engine.reset(lookUp(failure));
            state().failed = !state().engine;
        }
        engine = state().engine.get();
    }
    // Posted unlocked: a handler may well ask for the engine itself.
    if (!failure.empty()) SoDebugError::post("SoLibPdf::instance", "%s", failure.c_str());
    return engine;
}

void SoLibPdf::release() {
    std::unique_ptr<SoLibPdf> engine;
    std::lock_guard<std::mutex> lock(state().mutex);
    engine.swap(state().engine);
    state().failed = false;
}

SoLibPdf::~SoLibPdf() {
    if (handle_) dlclose(handle_);
}

SoLibPdf* SoLibPdf::lookUp(std::string& failure) {
    std::string tried;
    for (const std::string& place : places()) {
        std::string why;
        if (SoLibPdf* engine = load(place, why)) return engine;
        tried += (tried.empty() ? "" : "; ") + place + " (" + why + ")";
    }
    failure = "no 3D export engine found: looked in " + tried + "; set " + kSetting +
              " to an engine module's path to use that one";
    return nullptr;
}

SoLibPdf* SoLibPdf::load(const std::string& path, std::string& why) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) {
        why = "no such file";
        return nullptr;
    }
    // Without a slash dlopen would search the library path instead of opening this file.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* error = dlerror();
        why = error ? error : "not loadable";
        return nullptr;
    }
    std::unique_ptr<SoLibPdf> engine(new SoLibPdf(handle));
    engine->m_so_init_u3d = entryPoint<InitU3D>(handle, "m_so_init_u3d", why);
    engine->m_so_finish_u3d = entryPoint<FinishU3D>(handle, "m_so_finish_u3d", why);
    engine->m_so_write_pdf = entryPoint<WritePdf>(handle, "m_so_write_pdf", why);
    return why.empty() ? engine.release() : nullptr;
}
