#pragma once

// A scene with a font node, and every primitive it generates, for the text tests.

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/details/SoFaceDetail.h>
#include <Tessara/details/SoLineDetail.h>
#include <Tessara/misc/SoPrimitiveVertex.h>
#include <Tessara/nodes/SoFont.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoText3.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

struct CapturedTriangle {
    SbVec3f p[3], n[3];
    int part, face, material;

    /// Twice the signed area seen from +z.
    float crossZ() const { return (p[1] - p[0]).cross(p[2] - p[0])[2]; }
};

struct CapturedSegment {
    SbVec3f p[2];
    int line;
};

using Triangles = std::vector<CapturedTriangle>;

struct Capture {
    Triangles triangles;
    std::vector<CapturedSegment> segments;
    int points = 0;

    Triangles ofPart(int part, int face = -1) const {
        Triangles result;
        for (const CapturedTriangle& t : triangles)
            if (t.part == part && (face < 0 || t.face == face)) result.push_back(t);
        return result;
    }
    Triangles ofFace(int face) const { return ofPart(0, face); }
};

inline float totalArea(const Triangles& triangles) {
    float sum = 0.0f;
    for (const CapturedTriangle& t : triangles)
        sum += 0.5f * (t.p[1] - t.p[0]).cross(t.p[2] - t.p[0]).length();
    return sum;
}

inline bool sameTriangles(const Triangles& a, const Triangles& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        for (int k = 0; k < 3; ++k)
            if (!(a[i].p[k] == b[i].p[k]) || a[i].face != b[i].face) return false;
    return true;
}

inline SbBox3f boxOf(const Triangles& triangles) {
    SbBox3f box;
    for (const CapturedTriangle& t : triangles)
        for (const SbVec3f& p : t.p) box.extendBy(p);
    return box;
}

class TextTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SoDB::init();
        root = new SoSeparator;
        root->ref();
        font = new SoFont;
        root->addChild(font);
    }
    void TearDown() override {
        root->unref();
        SoDB::finish();
    }

    Capture capture() {
        Capture result;
        SoCallbackAction action;
        action.addTriangleCallback(SoShape::getClassTypeId(), triangle, &result);
        action.addLineSegmentCallback(SoShape::getClassTypeId(), segment, &result);
        action.addPointCallback(SoShape::getClassTypeId(), point, &result);
        action.apply(root);
        return result;
    }

    /// A text node of type T with one string per line, added to the scene.
    template <class T = SoText3>
    T* addText(std::initializer_list<const char*> lines, int justification = T::LEFT) {
        auto* text = new T;
        text->string.setNum(0);
        for (const char* line : lines) text->string.set1Value(text->string.getNum(), line);
        text->justification.setValue(justification);
        root->addChild(text);
        return text;
    }

    /// The primitives of one text alone, added to the scene for the time being.
    Capture captureText(std::initializer_list<const char*> lines,
                        int justification = SoText3::LEFT) {
        SoText3* text = addText(lines, justification);
        Capture result = capture();
        root->removeChild(text);
        return result;
    }

    SoSeparator* root = nullptr;
    SoFont* font = nullptr;

  private:
    static void triangle(void* data, SoCallbackAction*, const SoPrimitiveVertex* a,
                         const SoPrimitiveVertex* b, const SoPrimitiveVertex* c) {
        const auto* detail = dynamic_cast<const SoFaceDetail*>(a->getDetail());
        ASSERT_NE(detail, nullptr);
        static_cast<Capture*>(data)->triangles.push_back(
            CapturedTriangle{{a->getPoint(), b->getPoint(), c->getPoint()},
                             {a->getNormal(), b->getNormal(), c->getNormal()},
                             detail->getPartIndex(),
                             detail->getFaceIndex(),
                             a->getMaterialIndex()});
    }
    static void segment(void* data, SoCallbackAction*, const SoPrimitiveVertex* a,
                        const SoPrimitiveVertex* b) {
        const auto* detail = dynamic_cast<const SoLineDetail*>(a->getDetail());
        ASSERT_NE(detail, nullptr);
        static_cast<Capture*>(data)->segments.push_back(
            CapturedSegment{{a->getPoint(), b->getPoint()}, detail->getLineIndex()});
    }
    static void point(void* data, SoCallbackAction*, const SoPrimitiveVertex*) {
        ++static_cast<Capture*>(data)->points;
    }
};
