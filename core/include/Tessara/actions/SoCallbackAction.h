#pragma once

#include <Tessara/actions/SoAction.h>
#include <Tessara/actions/SoSubAction.h>
#include <Tessara/base/SbName.h>
#include <Tessara/elements/SoComplexityTypeElement.h>
#include <Tessara/elements/SoDrawStyleElement.h>
#include <Tessara/elements/SoLightModelElement.h>
#include <Tessara/elements/SoMaterialBindingElement.h>
#include <Tessara/elements/SoNormalBindingElement.h>
#include <Tessara/elements/SoShapeHintsElement.h>
#include <Tessara/math/SbColor.h>
#include <Tessara/math/SbMatrix.h>
#include <Tessara/math/SbViewVolume.h>
#include <Tessara/math/SbViewportRegion.h>

#include <vector>

class SoPrimitiveVertex;
class SoShape;

/// A traversal that calls the application back: before and after nodes of chosen types,
/// and for every triangle, line segment and point that shapes generate. The callbacks can
/// read the traversal state through the queries below.
class SoCallbackAction : public SoAction {
    SO_ACTION_HEADER(SoCallbackAction);

  public:
    /// What a pre- or post-callback asks of the traversal.
    enum Response { CONTINUE = 0, ABORT = 1, PRUNE = 2 };
    using SoCallbackActionCB = Response(void* userData, SoCallbackAction* action,
                                        const SoNode* node);
    using SoTriangleCB = void(void* userData, SoCallbackAction* action, const SoPrimitiveVertex* v1,
                              const SoPrimitiveVertex* v2, const SoPrimitiveVertex* v3);
    using SoLineSegmentCB = void(void* userData, SoCallbackAction* action,
                                 const SoPrimitiveVertex* v1, const SoPrimitiveVertex* v2);
    using SoPointCB = void(void* userData, SoCallbackAction* action, const SoPrimitiveVertex* v);

    SoCallbackAction();
    explicit SoCallbackAction(const SbViewportRegion& region);
    ~SoCallbackAction() override;

    void setViewportRegion(const SbViewportRegion& region) { viewportRegion_ = region; }
    const SbViewportRegion& getViewportRegion() const { return viewportRegion_; }

    /// Callbacks for nodes of `type` or derived from it, in the order added.
    void addPreCallback(SoType type, SoCallbackActionCB* cb, void* userData);
    void addPostCallback(SoType type, SoCallbackActionCB* cb, void* userData);
    void addTriangleCallback(SoType type, SoTriangleCB* cb, void* userData);
    void addLineSegmentCallback(SoType type, SoLineSegmentCB* cb, void* userData);
    void addPointCallback(SoType type, SoPointCB* cb, void* userData);

    // clang-format off: the slot numbers line up as a table
    // Virtual operations after the base action's, in this order.
    virtual void invokePreCallbacks(const SoNode* node);   // slot 20
    virtual void invokePostCallbacks(const SoNode* node);  // slot 21
    virtual void invokeTriangleCallbacks(const SoShape* shape, const SoPrimitiveVertex* v1,
                                         const SoPrimitiveVertex* v2,
                                         const SoPrimitiveVertex* v3);  // slot 22
    virtual void invokeLineSegmentCallbacks(const SoShape* shape, const SoPrimitiveVertex* v1,
                                            const SoPrimitiveVertex* v2);                 // slot 23
    virtual void invokePointCallbacks(const SoShape* shape, const SoPrimitiveVertex* v);  // 24
    /// Whether `shape` should generate primitives: some callback wants them.
    virtual bool shouldGeneratePrimitives(const SoShape* shape) const;  // slot 25
    // clang-format on

    /// The most primitives (triangles, segments and points) one traversal delivers; 0 sets
    /// no limit. The primitive beyond it ends the traversal (hasTerminated()), with one
    /// warning: a few lines of a scene file can stand for billions of triangles through
    /// shared nodes, long 3D texts or a fine complexity. An action starts with the default.
    void setPrimitiveLimit(long long limit) { primitiveLimit_ = limit > 0 ? limit : 0; }
    long long getPrimitiveLimit() const { return primitiveLimit_; }
    /// The limit that callback actions made from now on start with; none at first.
    static void setDefaultPrimitiveLimit(long long limit);
    static long long getDefaultPrimitiveLimit();

    Response getCurrentResponse() const { return response_; }
    /// The node whose primitives are being delivered.
    const SoNode* getCurrentShape() const { return currentShape_; }

    // State queries.
    const SbMatrix& getModelMatrix();
    const SbMatrix& getViewingMatrix();
    const SbMatrix& getProjectionMatrix();
    const SbViewVolume& getViewVolume();
    const SbViewportRegion& getViewportRegionElement();
    void getMaterial(SbColor& ambient, SbColor& diffuse, SbColor& specular, SbColor& emission,
                     float& shininess, float& transparency, int materialIndex = 0);
    SoLightModelElement::Model getLightModel();
    SoDrawStyleElement::Style getDrawStyle();
    float getLineWidth();
    unsigned short getLinePattern();
    int getLinePatternScaleFactor();
    float getPointSize();
    const SbName& getFontName();
    float getFontSize();
    int getFontRenderStyle();
    SoShapeHintsElement::ShapeType getShapeType();
    SoShapeHintsElement::VertexOrdering getVertexOrdering();
    SoShapeHintsElement::FaceType getFaceType();
    float getCreaseAngle();
    float getComplexity();
    SoComplexityTypeElement::Type getComplexityType();
    SoMaterialBindingElement::Binding getMaterialBinding();
    SoNormalBindingElement::Binding getNormalBinding();
    int getNumCoordinates();
    const SbVec3f& getCoordinate3(int index);
    int getNumNormals();
    const SbVec3f& getNormal(int index);

    /// Sets the viewport region element, then traverses.
    void beginTraversal(SoNode* node) override;

  private:
    template <class CB>
    struct Entry {
        SoType type;
        CB* callback;
        void* userData;
    };
    friend class SoShape;
    void setCurrentShape(const SoNode* shape) { currentShape_ = shape; }
    /// Counts one primitive; false once the traversal has ended or the limit is passed.
    bool takePrimitive();
    void invokeNodeCallbacks(const std::vector<Entry<SoCallbackActionCB>>& list,
                             const SoNode* node);

    SbViewportRegion viewportRegion_;
    std::vector<Entry<SoCallbackActionCB>> preCallbacks_;
    std::vector<Entry<SoCallbackActionCB>> postCallbacks_;
    std::vector<Entry<SoTriangleCB>> triangleCallbacks_;
    std::vector<Entry<SoLineSegmentCB>> lineCallbacks_;
    std::vector<Entry<SoPointCB>> pointCallbacks_;
    Response response_ = CONTINUE;
    const SoNode* currentShape_ = nullptr;
    long long primitiveLimit_ = 0;
    long long primitivesTaken_ = 0;
};
