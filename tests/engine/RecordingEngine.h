#pragma once

// The recording engine: a 3D export engine module for tests, built as a shared library of its
// own (libplotwerk_recording_engine.so) and loaded through SoLibPdf as a real engine is: set
// the setting VXN_U3D_ENGINE to its path, which test programs get as RECORDING_ENGINE. It
// writes no file. Every call it gets becomes one line of a log; what it answers is chosen by
// the test.
//
// The test steers it through settings (SoPreferences), which the module reads at the moment
// it needs them. The test program and the module share the core's store, so a test may set
// them before the module is loaded, and the log outlives the module's release().
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

/// The slot whose call throws SoU3DException, after it is logged (unset: none throws).
inline constexpr char kThrowSlot[] = "RECORDING_ENGINE_THROW_SLOT";
/// Which call of that slot throws, counted per engine from 1 (default 1).
inline constexpr char kThrowCall[] = "RECORDING_ENGINE_THROW_CALL";
/// The exception's code (default 1) and place (default the slot's name).
inline constexpr char kThrowCode[] = "RECORDING_ENGINE_THROW_CODE";
inline constexpr char kThrowWhere[] = "RECORDING_ENGINE_THROW_WHERE";

/// N: the abort marker is set in the N-th shapePre, after it is logged; 0: at init.
inline constexpr char kAbortAfterShapes[] = "RECORDING_ENGINE_ABORT_AFTER_SHAPES";
/// The engine's defaultEnvironment and firstShape when it is made (default false).
inline constexpr char kDefaultEnvironment[] = "RECORDING_ENGINE_DEFAULT_ENVIRONMENT";
inline constexpr char kFirstShape[] = "RECORDING_ENGINE_FIRST_SHAPE";

// The answers of slots 3-8 (default empty, false, 0, 0, false, the engine's backgroundColor)
// and 20-22 (default false). The colour is written "r g b".
inline constexpr char kMainViewName[] = "RECORDING_ENGINE_MAIN_VIEW_NAME";
inline constexpr char kFlagA[] = "RECORDING_ENGINE_FLAG_A";
inline constexpr char kValueB[] = "RECORDING_ENGINE_VALUE_B";
inline constexpr char kValueC[] = "RECORDING_ENGINE_VALUE_C";
inline constexpr char kFlagD[] = "RECORDING_ENGINE_FLAG_D";
inline constexpr char kBackgroundColor[] = "RECORDING_ENGINE_BACKGROUND_COLOR";
inline constexpr char kShapeDoneA[] = "RECORDING_ENGINE_SHAPE_DONE_A";
inline constexpr char kShapeDoneB[] = "RECORDING_ENGINE_SHAPE_DONE_B";
inline constexpr char kShapeDoneC[] = "RECORDING_ENGINE_SHAPE_DONE_C";

/// What m_so_write_pdf returns (default true).
inline constexpr char kWritePdfResult[] = "RECORDING_ENGINE_WRITE_PDF_RESULT";

/// The log, one entry a line.
inline std::vector<std::string> log() {
    std::istringstream text(SoPreferences::getValue(kLog).getStdString());
    std::vector<std::string> lines;
    for (std::string line; std::getline(text, line);) lines.push_back(line);
    return lines;
}

/// Forgets the log and every control.
inline void reset() {
    for (const char* name :
         {kLog, kThrowSlot, kThrowCall, kThrowCode, kThrowWhere, kAbortAfterShapes,
          kDefaultEnvironment, kFirstShape, kMainViewName, kFlagA, kValueB, kValueC, kFlagD,
          kBackgroundColor, kShapeDoneA, kShapeDoneB, kShapeDoneC, kWritePdfResult}) {
        SoPreferences::removeValue(name);
    }
}

}  // namespace recording_engine
