#pragma once

#include <PlotWerk/SoActionHeader.h>
#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SbString.h>

class SoToU3DActionPrivate;

/// Exports a scene in 3D: a callback traversal that hands every separator, environment,
/// light, camera, gradient background and shape, and every triangle, line and point the
/// shapes make, to the U3D engine of the module SoLibPdf loads. Use: openFile, one apply,
/// closeFile. Engine failures end the export: the open or close that met one returns false.
class SoToU3DAction : public SoCallbackAction {
    PW_ACTION_HEADER(SoToU3DAction);

  public:
    SoToU3DAction();
    /// Finishes an engine still open, without writing its file.
    ~SoToU3DAction() override;
    SoToU3DAction(const SoToU3DAction&) = delete;
    SoToU3DAction& operator=(const SoToU3DAction&) = delete;

    // clang-format off: the slot numbers line up as a table; PW_ACTION_HEADER declares 0, 10, 19
    void apply(const SoPathList& pathList, int obeysRules = 0) override;  // 2
    void apply(SoPath* path) override;                                    // 3
    void apply(SoNode* node) override;                                    // 4
    void forwardTraversal(SoPath* path) override;                         // 7
    void forwardTraversal(SoNode* node) override;                         // 8
    void beginTraversal(SoNode* node) override;                           // 16
    void invokePreCallbacks(const SoNode* node) override;                 // 20
    void invokePostCallbacks(const SoNode* node) override;                // 21
    /// Starts an engine writing the U3D file; false when one is open or none could start.
    virtual bool openFile(const SbString& fileName);  // 26
    virtual bool openFile(const char* fileName);      // 27
    /// Writes the file and releases the engine; false when none was open or writing failed.
    virtual bool closeFile();  // 28
    // clang-format on

    /// 3D text as polygons (the default) rather than as the engine's own text.
    void forcePolygonalText3(bool force) { polygonalText3Forced_ = force; }
    bool isPolygonalText3Forced() const { return polygonalText3Forced_; }
    /// Whether draggers are exported (the default) or pruned.
    void setExportDraggers(bool exported) { draggersExported_ = exported; }
    bool areDraggersExported() const { return draggersExported_; }
    /// The open engine, or null.
    SoToU3DActionPrivate* getImpl() const { return impl_; }

  protected:
    /// Puts an engine in place without a module: for engines an application makes itself.
    void setImpl(SoToU3DActionPrivate* engine) { impl_ = engine; }

  private:
    void registerCallbacks();
    /// Reports an engine failure and releases the engine.
    void failed(const class SoU3DException& failure);

    SoToU3DActionPrivate* impl_ = nullptr;
    bool polygonalText3Forced_ = true;
    bool draggersExported_ = true;
    bool forwarding_ = false;
};
