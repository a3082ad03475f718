#pragma once

#include <PlotWerk/SoToU3DActionPrivate.h>
#include <Tessara/math/SbMatrix.h>

#include <optional>
#include <string>
#include <vector>

#include "U3DMeshBuilder.h"
#include "U3DStrokeBuilder.h"
#include "U3DViewpoint.h"
#include "format/U3DScene.h"

/// The engine of the 3D export: builds a U3D scene from the traversal and writes it when the
/// file is closed.
///
/// Separators become group nodes (identity transforms, so a group only shows structure); each
/// shape becomes a model node under its group with the shape's world transform, a mesh of its
/// triangles in the shape's own coordinates, a material and a lit shader. Shapes drawn with the
/// base colour get an unlit shader and per-vertex colours brightened by the pseudo lighting.
/// Lines and points become thin solids of their own in world coordinates (see
/// U3DStrokeBuilder). The first camera becomes the default view "DefaultView"; without one the
/// view faces the scene from the front.
///
/// The queries the PDF writer is given:
/// - flag A (slot 4): the default view is orthographic;
/// - value B (slot 5): its vertical field of view in degrees, or its height when orthographic;
/// - value C (slot 6): the distance from the camera to the centre of orbit (its focal distance);
/// - flag D (slot 7): the scene has lights of its own (else the viewer's light is wanted).
/// A shape is done (slots 20-22: no triangles, no lines, no points) when it sent nothing; then
/// its end is not reported and nothing is made of it.
class U3DEngine : public SoToU3DActionPrivate {
  public:
    U3DEngine() = default;
    ~U3DEngine() override;

    void openU3D(const SbString& fileName) override;
    void closeU3D() override;
    SbString getMainViewName() override;
    bool getFlagA() override;
    float getValueB() override;
    float getValueC() override;
    bool getFlagD() override;
    SbColor getBackgroundColor() override;
    Response separatorPre(SoCallbackAction* action, const SoNode* node) override;
    Response separatorPost(SoCallbackAction* action, const SoNode* node) override;
    Response environmentPre(SoCallbackAction* action, const SoNode* node) override;
    Response lightPre(SoCallbackAction* action, const SoNode* node) override;
    Response cameraPre(SoCallbackAction* action, const SoNode* node) override;
    Response shapePre(SoCallbackAction* action, const SoNode* node) override;
    Response shapePost(SoCallbackAction* action, const SoNode* node) override;
    void addTriangle(SoCallbackAction* action, const SoPrimitiveVertex* a,
                     const SoPrimitiveVertex* b, const SoPrimitiveVertex* c) override;
    void addLine(SoCallbackAction* action, const SoPrimitiveVertex* a,
                 const SoPrimitiveVertex* b) override;
    void addPoint(SoCallbackAction* action, const SoPrimitiveVertex* a) override;
    bool isShapeDoneA() override;
    bool isShapeDoneB() override;
    bool isShapeDoneC() override;
    void addOffsetLine(SoCallbackAction* action, const SoPrimitiveVertex* a,
                       const SoPrimitiveVertex* b) override;

  private:
    /// The shape being received.
    struct Shape {
        // Declared here, defaulted in the source: clang asks whether a nested class with
        // member initialisers can be built before the enclosing class is complete.
        Shape();
        std::string name, parent;
        SbMatrix modelMatrix;
        u3d::Material material;
        bool lit = true;
        int materialIndex = -1;  ///< the index `color` belongs to
        u3d::Rgba color{1, 1, 1, 1};
        std::size_t triangles = 0, lines = 0, points = 0;
        u3d::U3DMeshBuilder mesh;
        u3d::U3DStrokeBuilder strokes;
    };
    /// A shape's lines and points, built once the scene's size is known.
    struct Strokes {
        std::string name, parent;
        u3d::U3DStrokeBuilder strokes;
    };

    std::string nextName(const char* kind);
    std::string currentGroup() const;
    void captureRoot(SoCallbackAction* action);
    void beginShape(SoCallbackAction* action);
    void reserveFor(SoCallbackAction* action);
    void finishShape();
    void addModel(const std::string& name, const std::string& parent, const u3d::Matrix& transform,
                  u3d::Mesh mesh, const u3d::Material& material, bool lit);
    void extendBounds(const u3d::Mesh& mesh, const SbMatrix& modelMatrix);
    const u3d::Rgba& colorOf(SoCallbackAction* action, const SoPrimitiveVertex* vertex);
    u3d::U3DMeshBuilder::Vertex vertexOf(SoCallbackAction* action, const SoPrimitiveVertex* v);
    void addStroke(SoCallbackAction* action, const SoPrimitiveVertex* a, const SoPrimitiveVertex* b,
                   float offset);
    void buildStrokes();
    void addDefaultView();
    void writeFile();

    std::string fileName_;
    u3d::Scene scene_;
    std::vector<std::string> groups_;
    int names_ = 0;
    std::optional<Shape> shape_;
    std::vector<Strokes> strokes_;
    std::optional<u3d::U3DViewpoint> viewpoint_;
    bool hasLights_ = false;
    SbVec3f low_{1e30f, 1e30f, 1e30f}, high_{-1e30f, -1e30f, -1e30f};
    SoNode* root_ = nullptr;
    bool forPdf_ = false;
};
