#pragma once

// Scene and primitive capture shared by the text tests.

#include <Tessara/actions/SoCallbackAction.h>
#include <Tessara/base/SoDB.h>
#include <Tessara/details/SoFaceDetail.h>
#include <Tessara/details/SoLineDetail.h>
#include <Tessara/misc/SoPrimitiveVertex.h>
#include <Tessara/nodes/SoFont.h>
#include <Tessara/nodes/SoSeparator.h>
#include <Tessara/nodes/SoText3.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <vector>

struct CapturedTriangle {
    SbVec3f p[3];
    SbVec3f n[3];
    int part;
    int face;
    int material;

    /// Twice the signed area seen from +z.
    float crossZ() const {
        return (p[1][0] - p[0][0]) * (p[2][1] - p[0][1]) -
               (p[1][1] - p[0][1]) * (p[2][0] - p[0][0]);
    }
    float area() const { return 0.5f * (p[1] - p[0]).cross(p[2] - p[0]).length(); }
};

struct CapturedSegment {
    SbVec3f p[2];
    int line;
};

struct Capture {
    std::vector<CapturedTriangle> triangles;
    std::vector<CapturedSegment> segments;
    int points = 0;

    std::vector<CapturedTriangle> ofPart(int part) const {
        std::vector<CapturedTriangle> result;
        for (const CapturedTriangle& t : triangles)
            if (t.part == part) result.push_back(t);
        return result;
    }
    std::vector<CapturedTriangle> ofFace(int face, int part = 0) const {
        std::vector<CapturedTriangle> result;
        for (const CapturedTriangle& t : triangles)
            if (t.face == face && t.part == part) result.push_back(t);
        return result;
    }
};

inline float totalArea(const std::vector<CapturedTriangle>& triangles) {
    float sum = 0.0f;
    for (const CapturedTriangle& t : triangles) sum += t.area();
    return sum;
}

inline SbBox3f boxOf(const std::vector<CapturedTriangle>& triangles) {
    SbBox3f box;
    for (const CapturedTriangle& t : triangles)
        for (const SbVec3f& p : t.p) box.extendBy(p);
    return box;
}

inline void captureTriangle(void* data, SoCallbackAction*, const SoPrimitiveVertex* a,
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

inline void captureSegment(void* data, SoCallbackAction*, const SoPrimitiveVertex* a,
                           const SoPrimitiveVertex* b) {
    const auto* detail = dynamic_cast<const SoLineDetail*>(a->getDetail());
    ASSERT_NE(detail, nullptr);
    static_cast<Capture*>(data)->segments.push_back(
        CapturedSegment{{a->getPoint(), b->getPoint()}, detail->getLineIndex()});
}

inline void capturePoint(void* data, SoCallbackAction*, const SoPrimitiveVertex*) {
    ++static_cast<Capture*>(data)->points;
}

/// A separator holding a font node, to which each test adds its text.
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

    /// Every primitive the scene generates.
    Capture capture() {
        Capture result;
        SoCallbackAction action;
        action.addTriangleCallback(SoShape::getClassTypeId(), captureTriangle, &result);
        action.addLineSegmentCallback(SoShape::getClassTypeId(), captureSegment, &result);
        action.addPointCallback(SoShape::getClassTypeId(), capturePoint, &result);
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

    /// The primitives of one text alone (the scene's other texts removed meanwhile).
    Capture captureText(std::initializer_list<const char*> lines,
                        int justification = SoText3::LEFT) {
        SoText3* text = addText(lines, justification);
        Capture result = capture();
        root->removeChild(text);
        return result;
    }

    SoSeparator* root = nullptr;
    SoFont* font = nullptr;
};
