#pragma once

// The names of the settings that shape the 3D export's primitives, read through SoPreferences
// when a shape dispatcher is made. Kept in one place so that whoever sets them (an application,
// a test) names exactly what the dispatcher reads.
namespace SoU3DExportSettings {

/// 0: every shape filled; 1: the draw style honoured; 2: also line-style quads outlined
/// without their diagonal.
inline constexpr char kWithDrawStyle[] = "VXN_U3DEXPORT_WITH_DRAWSTYLE";
/// 0: the old pseudo lighting; 1: the new one; anything else: none.
inline constexpr char kUsePseudoLighting[] = "VXN_U3DEXPORT_USE_PSEUDO_LIGHTING";
/// How far the engine lifts wireframe lines off their faces; 0: not at all.
inline constexpr char kWireframeNormalOffset[] = "VXN_U3DEXPORT_WIREFRAME_NORMAL_OFFSET";

}  // namespace SoU3DExportSettings
