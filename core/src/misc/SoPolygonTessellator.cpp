#include <GL/glu.h>
#include <Tessara/base/SoDebugError.h>
#include <Tessara/misc/SoPolygonTessellator.h>

#ifndef CALLBACK
#define CALLBACK
#endif

struct SoPolygonTessellator::Callbacks {
    static void CALLBACK vertex(void* vertexData, void* polygonData) {
        auto* self = static_cast<SoPolygonTessellator*>(polygonData);
        self->pending_.push_back(*static_cast<int*>(vertexData));
        if (self->pending_.size() == 3) {
            self->triangles_.insert(self->triangles_.end(), self->pending_.begin(),
                                    self->pending_.end());
            self->pending_.clear();
        }
    }
    static void CALLBACK begin(GLenum, void* polygonData) {
        static_cast<SoPolygonTessellator*>(polygonData)->pending_.clear();
    }
    // Registering an edge-flag callback makes GLU emit separate triangles only.
    static void CALLBACK edgeFlag(GLboolean, void*) {}
    static void CALLBACK combine(GLdouble coords[3], void* vertexData[4], GLfloat weight[4],
                                 void** outData, void* polygonData) {
        auto* self = static_cast<SoPolygonTessellator*>(polygonData);
        CombinedVertex v;
        v.point.setValue(static_cast<float>(coords[0]), static_cast<float>(coords[1]),
                         static_cast<float>(coords[2]));
        for (int i = 0; i < 4; ++i) {
            v.sources[i] = vertexData[i] ? *static_cast<int*>(vertexData[i]) : -1;
            v.weights[i] = vertexData[i] ? weight[i] : 0.0f;
        }
        self->combined_.push_back(v);
        const int id = self->getNumInputVertices() + static_cast<int>(self->combined_.size()) - 1;
        self->vertexIds_.push_back(id);
        *outData = &self->vertexIds_.back();
    }
    static void CALLBACK error(GLenum code, void* polygonData) {
        auto* self = static_cast<SoPolygonTessellator*>(polygonData);
        self->failed_ = true;
        SoDebugError::postWarning("SoPolygonTessellator",
                                  "The polygon could not be tessellated: %s",
                                  reinterpret_cast<const char*>(gluErrorString(code)));
    }
};

SoPolygonTessellator::SoPolygonTessellator(Winding winding) : winding_(winding) {
    GLUtesselator* tess = gluNewTess();
    tess_ = tess;
    if (!tess) return;
    using Fn = void(CALLBACK*)();
    gluTessCallback(tess, GLU_TESS_BEGIN_DATA, reinterpret_cast<Fn>(&Callbacks::begin));
    gluTessCallback(tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<Fn>(&Callbacks::vertex));
    gluTessCallback(tess, GLU_TESS_EDGE_FLAG_DATA, reinterpret_cast<Fn>(&Callbacks::edgeFlag));
    gluTessCallback(tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<Fn>(&Callbacks::combine));
    gluTessCallback(tess, GLU_TESS_ERROR_DATA, reinterpret_cast<Fn>(&Callbacks::error));
    gluTessProperty(tess, GLU_TESS_WINDING_RULE,
                    winding_ == ODD ? GLU_TESS_WINDING_ODD : GLU_TESS_WINDING_NONZERO);
}

SoPolygonTessellator::~SoPolygonTessellator() {
    if (tess_) gluDeleteTess(static_cast<GLUtesselator*>(tess_));
}

void SoPolygonTessellator::beginPolygon() {
    points_.clear();
    coords_.clear();
    combined_.clear();
    triangles_.clear();
    pending_.clear();
    vertexIds_.clear();
    failed_ = false;
    if (tess_) gluTessBeginPolygon(static_cast<GLUtesselator*>(tess_), this);
}

void SoPolygonTessellator::beginContour() {
    if (tess_) gluTessBeginContour(static_cast<GLUtesselator*>(tess_));
}

void SoPolygonTessellator::addVertex(const SbVec3f& point) {
    points_.push_back(point);
    coords_.push_back({point[0], point[1], point[2]});
    vertexIds_.push_back(static_cast<int>(points_.size()) - 1);
    if (tess_)
        gluTessVertex(static_cast<GLUtesselator*>(tess_), coords_.back().data(),
                      &vertexIds_.back());
}

void SoPolygonTessellator::endContour() {
    if (tess_) gluTessEndContour(static_cast<GLUtesselator*>(tess_));
}

bool SoPolygonTessellator::endPolygon() {
    if (!tess_) return false;
    gluTessEndPolygon(static_cast<GLUtesselator*>(tess_));
    if (failed_) triangles_.clear();
    return !failed_;
}

const SbVec3f& SoPolygonTessellator::getPoint(int n) const {
    return n < getNumInputVertices() ? points_[n] : getCombined(n).point;
}
