#pragma once

#include <Tessara/base/SbString.h>
#include <Tessara/math/SbColor.h>

#include <string>

// Defined by the library that drives the engine; the core only passes it through.
class SoToU3DActionPrivate;

/// The 3D export engine, a module loaded at run time: one per process, loaded by the first
/// instance() and kept until release(). The module is looked for, in this order:
///   1. the setting VXN_U3D_ENGINE (SoPreferences): the full path of the module file; when it
///      is set, it is the only place looked, so an explicit choice never falls back to another;
///   2. plotwerk/libplotwerk_u3d.so in the directory of the loaded core library (installed);
///   3. the engine of the build tree the core was built in.
/// The first file that loads and has all three entry points is taken.
class SoLibPdf {
  public:
    // The entry points' types, as an engine module declares them.
    using InitU3D = SoToU3DActionPrivate* (*)();
    using FinishU3D = void (*)(SoToU3DActionPrivate* engine);
    using WritePdf = bool (*)(const SbString& pdfFile, const SbString& password1,
                              const SbString& password2, const SbString& title,
                              const SbString& text, const SbString& u3dFile,
                              const SbString& mainViewName, bool flagA, float valueB, float valueC,
                              bool flagD, const SbColor& backgroundColor, bool landscape);

    /// The loaded engine; null when none loads, which posts one error naming every place
    /// looked. A failed lookup is not repeated until release(). Thread-safe.
    static SoLibPdf* instance();
    /// Unloads the engine (every pointer from it becomes invalid) and forgets a failed lookup,
    /// so the next instance() looks again.
    static void release();

    ~SoLibPdf();
    SoLibPdf(const SoLibPdf&) = delete;
    SoLibPdf& operator=(const SoLibPdf&) = delete;

    /// Makes a new engine object; the module owns it until m_so_finish_u3d.
    InitU3D m_so_init_u3d = nullptr;
    /// Hands an engine object back to the module that made it.
    FinishU3D m_so_finish_u3d = nullptr;
    /// Writes a PDF document that embeds a U3D file; false when it could not.
    WritePdf m_so_write_pdf = nullptr;

  private:
    explicit SoLibPdf(void* handle) : handle_(handle) {}
    /// The engine from the first place that has one, or null with the message in `failure`.
    static SoLibPdf* lookUp(std::string& failure);
    /// The engine in the module file at path, or null with the reason in `why`.
    static SoLibPdf* load(const std::string& path, std::string& why);

    void* handle_;
};
