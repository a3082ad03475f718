#pragma once

// A scene with a font node, and measures of the glyph triangles it generates, for the text
// tests.

#include <Tessara/nodes/SoFont.h>
#include <Tessara/nodes/SoText3.h>

#include <initializer_list>
#include <vector>

#include "core/shapes/ShapeTestSupport.h"

using shapetest::Primitive;
using Triangles = std::vector<Primitive>;

/// The triangles of one part, and of one face of it when `face` is given.
inline Triangles ofPart(const Triangles& triangles, int part, int face = -1) {
    Triangles result;
    for (const Primitive& t : triangles)
        if (t.part == part && (face < 0 || t.face == face)) result.push_back(t);
    return result;
}

/// The front triangles of character `face`.
inline Triangles ofFace(const Triangles& triangles, int face) {
    return ofPart(triangles, 0, face);
}

inline float totalArea(const Triangles& triangles) {
    float sum = 0.0f;
    for (const Primitive& t : triangles) sum += 0.5f * t.geometricNormal().length();
    return sum;
}

inline bool sameTriangles(const Triangles& a, const Triangles& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        for (int k = 0; k < 3; ++k)
            if (!(a[i].v[k].point == b[i].v[k].point) || a[i].face != b[i].face) return false;
    return true;
}

inline SbBox3f boxOf(const std::vector<Primitive>& primitives) {
    SbBox3f box;
    for (const Primitive& t : primitives)
        for (const shapetest::Vertex& v : t.v) box.extendBy(v.point);
    return box;
}

class TextTest : public shapetest::ShapeTest {
  protected:
    void SetUp() override {
        ShapeTest::SetUp();
        font = add(new SoFont);
    }

    /// A text node of type T with one string per line, added to the scene.
    template <class T = SoText3>
    T* addText(std::initializer_list<const char*> lines, int justification = T::LEFT) {
        auto* text = add(new T);
        text->string.setNum(0);
        for (const char* line : lines) text->string.set1Value(text->string.getNum(), line);
        text->justification.setValue(justification);
        return text;
    }

    /// The triangles of one text alone, added to the scene for the time being.
    Triangles captureText(std::initializer_list<const char*> lines,
                          int justification = SoText3::LEFT) {
        SoText3* text = addText(lines, justification);
        Triangles result = triangles();
        root->removeChild(text);
        return result;
    }

    SoFont* font = nullptr;
};
