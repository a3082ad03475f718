#pragma once

// The recording engine: a 3D export engine module for tests, built as a shared library of its
// own (libplotwerk_recording_engine.so) and loaded through SoLibPdf as a real engine is: set
// the setting VXN_U3D_ENGINE to its path, which test programs get as RECORDING_ENGINE. It
// writes no file. Every call it gets becomes one line of a log; what it answers is chosen by
// the test.
//
// The test steers it through settings (SoPreferences), which the module reads at the moment
// it needs them. The test program and the module share the core's store, so a test may set
// them before the module is loaded, and the log outlives the module's release(). An engine's
// lines reach the log when it is finished.
//
// The log, one line a call:
//   init                                  m_so_init_u3d made an engine
//   1 openU3D <file name>
//   <slot> <name>                         slots 2-8 and 20-22
//   <slot> <name> <node type name>        slots 9-15 ("null" for no node)
//   <slot> <name> x y z | x y z | x y z   slots 17-19 and 23: each vertex's point
//                                         ("null" for no vertex)
//   finish                                m_so_finish_u3d, which then deletes the engine
//   writePdf <pdf file> | <password1> | <password2> | <title> | <text> | <u3d file> |
//            <main view name> | <flagA> | <valueB> | <valueC> | <flagD> | r g b | <landscape>
// Numbers as printf's %g, truth values as true and false.

#include <Tessara/misc/SoPreferences.h>

#include <sstream>
#include <string>
#include <vector>

namespace recording_engine {

/// The log, lines separated by '\n'. Written by the module only.
inline constexpr char kLog[] = "RECORDING_ENGINE_LOG";

/// The slot whose call throws SoU3DException with this place, after it is logged (unset: none).
inline constexpr char kThrowSlot[] = "RECORDING_ENGINE_THROW_SLOT";
inline constexpr char kThrowWhere[] = "RECORDING_ENGINE_THROW_WHERE";

/// N: the abort marker is set in the N-th shapePre, after it is logged; 0: at init.
inline constexpr char kAbortAfterShapes[] = "RECORDING_ENGINE_ABORT_AFTER_SHAPES";
/// The engine's defaultEnvironment and firstShape when it is made (default false).
inline constexpr char kDefaultEnvironment[] = "RECORDING_ENGINE_DEFAULT_ENVIRONMENT";
inline constexpr char kFirstShape[] = "RECORDING_ENGINE_FIRST_SHAPE";
/// What m_so_write_pdf returns (default true).
inline constexpr char kWritePdfResult[] = "RECORDING_ENGINE_WRITE_PDF_RESULT";

/// The setting that holds the answer of query slot 3-8 or 20-22 (default empty, false or 0,
/// and for slot 8 the engine's backgroundColor; a colour is written "r g b").
inline std::string answer(int slot) {
    return "RECORDING_ENGINE_ANSWER_" + std::to_string(slot);
}

/// The log, one entry a line.
inline std::vector<std::string> log() {
    std::istringstream text(SoPreferences::getValue(kLog).getStdString());
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

/// Forgets the log and every control.
inline void reset() {
    for (const char* name : {kLog, kThrowSlot, kThrowWhere, kAbortAfterShapes, kDefaultEnvironment,
                             kFirstShape, kWritePdfResult})
        SoPreferences::removeValue(name);
    for (int slot : {3, 4, 5, 6, 7, 8, 20, 21, 22})
        SoPreferences::removeValue(answer(slot).c_str());
}

}  // namespace recording_engine
