#pragma once

#include <Tessara/base/SbString.h>

/// One loaded module (the core itself or a plug-in library), listed in a process-wide record so
/// that diagnostics can say exactly which builds are in the process. A module usually declares
/// one static SoModule; constructing it registers the module, destroying it unregisters it.
/// Safe to construct during static initialisation. Thread-safe.
class SoModule {
  public:
    /// releaseBuild: the module was built with optimisation and without assertions (NDEBUG).
    /// compatible: the module was built against the same major version of the core as the one
    /// it runs with. Null texts are stored as empty.
    SoModule(const char* fileName, const char* version, const char* extraInfo, const char* platform,
             bool releaseBuild, bool compatible);
    ~SoModule();
    SoModule(const SoModule&) = delete;
    SoModule& operator=(const SoModule&) = delete;

    /// The library file name, e.g. "libtessara.so.10".
    const SbString& getFileName() const { return fileName_; }
    const SbString& getVersion() const { return version_; }
    /// Free text such as the compiler or the build date.
    const SbString& getExtraInfo() const { return extraInfo_; }
    /// e.g. "Linux x86_64".
    const SbString& getPlatform() const { return platform_; }
    bool isReleaseBuild() const { return releaseBuild_; }
    bool isCompatible() const { return compatible_; }

    /// Modules alive now, in the order they registered.
    static int getNumModules();
    /// An index outside 0..getNumModules()-1 posts an error and gives null.
    static const SoModule* getModule(int index);
    /// The first registered module with exactly this file name, or null.
    static const SoModule* find(const char* fileName);

  private:
    SbString fileName_;
    SbString version_;
    SbString extraInfo_;
    SbString platform_;
    bool releaseBuild_;
    bool compatible_;
};
