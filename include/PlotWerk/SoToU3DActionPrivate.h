#pragma once

// The 3D export's engine protocol: what an engine module implements and the library drives.
// An engine module is a shared library exporting the three entry points declared at the end;
// SoLibPdf loads it. This header is installed so that an engine can be built against it.

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SbString.h>
#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbVec3f.h>

#include <cstdint>

class SoNode;
class SoPrimitiveVertex;
class SoToU3DAction;
class SoU3DShapeDispatcher;

/// The engine object: made by the engine module (m_so_init_u3d), driven by SoToU3DAction through
/// its virtual operations, which keep this slot order, and through the data members below,
/// which the library reads and writes directly, in this order. Failures are thrown as
/// SoU3DException. The library defines only the destructor, init and finish.
class SoToU3DActionPrivate {
  public:
    using Response = SoCallbackAction::Response;

    /// How a shape's primitives reach the engine, by draw style; the engine asks the current
    /// one, through the shape dispatcher, what it will send.
    class ISoRenderPrimitivesUsingDrawStyle {
      public:
        // clang-format off: the slot numbers line up as a table
        virtual ~ISoRenderPrimitivesUsingDrawStyle();                                   // 0
        virtual void setAction(SoToU3DAction* action) = 0;                              // 1
        virtual void line(const SoPrimitiveVertex* a, const SoPrimitiveVertex* b) = 0;  // 2
        virtual void triangle(const SoPrimitiveVertex* a, const SoPrimitiveVertex* b,
                              const SoPrimitiveVertex* c) = 0;  // 3
        virtual void begin(SoCallbackAction* action) = 0;       // 4
        virtual void end() = 0;                                 // 5
        virtual bool usesQuads() = 0;                           // 6
        /// Rewrites the counts a shape will deliver into those the engine will be sent.
        virtual void adjustCounts(std::uint32_t* quads, std::uint32_t* triangles,
                                  std::uint32_t* lines, std::uint32_t* points) = 0;  // 7
        virtual float getNormalOffset() = 0;                                         // 8
        // clang-format on
    };

    /// The brightness the engine gives an unlit shape's face, by its normal.
    class IPseudoLighting {
      public:
        virtual float intensity(const SbVec3f& normal) = 0;  // slot 0
        virtual ~IPseudoLighting();                          // slot 1
    };

    // The renderers and lighting variants the library offers, defined in its sources.
    class SoU3DDrawStyleFilled;
    class SoU3DDrawStyleLine;
    class SoU3DDrawStyleLineWithQuad;
    class SoU3DDrawStyleLineWithOffsetQuad;
    class SoU3DDrawStylePoint;
    class SoU3DDrawStyleInvisible;
    class PseudoLigthingOld;
    class PseudoLigthingNew;
    class PseudoLigthingOff;

    // clang-format off: the slot numbers line up as a table
    virtual ~SoToU3DActionPrivate();  // 0
    /// Opens the U3D output.
    virtual void openU3D(const SbString& fileName) = 0;  // 1
    /// Writes and closes the U3D output.
    virtual void closeU3D() = 0;  // 2
    // What the PDF writer is given about the scene.
    virtual SbString getMainViewName() = 0;    // 3
    virtual bool getFlagA() = 0;               // 4
    virtual float getValueB() = 0;             // 5
    virtual float getValueC() = 0;             // 6
    virtual bool getFlagD() = 0;               // 7
    virtual SbColor getBackgroundColor() = 0;  // 8
    // The traversal, node by node.
    virtual Response separatorPre(SoCallbackAction* action, const SoNode* node) = 0;    // 9
    virtual Response separatorPost(SoCallbackAction* action, const SoNode* node) = 0;   // 10
    virtual Response environmentPre(SoCallbackAction* action, const SoNode* node) = 0;  // 11
    virtual Response lightPre(SoCallbackAction* action, const SoNode* node) = 0;        // 12
    virtual Response cameraPre(SoCallbackAction* action, const SoNode* node) = 0;       // 13
    virtual Response shapePre(SoCallbackAction* action, const SoNode* node) = 0;        // 14
    virtual Response shapePost(SoCallbackAction* action, const SoNode* node) = 0;       // 15
    /// Never called by the library: the engine's own.
    virtual void reserved() {}  // 16
    // The primitives, as the shape's renderer sends them.
    virtual void addTriangle(SoCallbackAction* action, const SoPrimitiveVertex* a,
                             const SoPrimitiveVertex* b, const SoPrimitiveVertex* c) = 0;  // 17
    virtual void addLine(SoCallbackAction* action, const SoPrimitiveVertex* a,
                         const SoPrimitiveVertex* b) = 0;                             // 18
    virtual void addPoint(SoCallbackAction* action, const SoPrimitiveVertex* a) = 0;  // 19
    /// When all three answer true, the shape's end is not reported (slot 15).
    virtual bool isShapeDoneA() = 0;  // 20
    virtual bool isShapeDoneB() = 0;  // 21
    virtual bool isShapeDoneC() = 0;  // 22
    virtual void addOffsetLine(SoCallbackAction* action, const SoPrimitiveVertex* a,
                               const SoPrimitiveVertex* b) = 0;  // 23
    // clang-format on

    /// A new engine from the loaded module, with its shape dispatcher attached; null when no
    /// module is loaded or the module made none.
    static SoToU3DActionPrivate* init(SoToU3DAction* action);
    /// Detaches the shape dispatcher and hands the engine back to the module.
    static void finish(SoToU3DActionPrivate* engine);

    // Read and written by the library, in this order.
    SbColor backgroundColor{0.0f, 0.0f, 0.0f};
    /// Non-zero: the engine gave up; every later shape is pruned.
    void* abortMarker = nullptr;
    /// While set, each shape first hands the engine a fresh default environment.
    bool defaultEnvironment = false;
    /// Cleared by the first shape that finds it set.
    bool firstShape = false;
    SoU3DShapeDispatcher* shapeDispatcher = nullptr;
};

// An engine module's entry points, looked up by these names.
extern "C" {
SoToU3DActionPrivate* m_so_init_u3d();
void m_so_finish_u3d(SoToU3DActionPrivate* engine);
bool m_so_write_pdf(const SbString& pdfFile, const SbString& password1, const SbString& password2,
                    const SbString& title, const SbString& text, const SbString& u3dFile,
                    const SbString& mainViewName, bool flagA, float valueB, float valueC,
                    bool flagD, const SbColor& backgroundColor, bool landscape);
}
