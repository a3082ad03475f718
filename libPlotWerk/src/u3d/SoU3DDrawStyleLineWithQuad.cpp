#include "SoU3DDrawStyleLineWithQuad.h"

void SoToU3DActionPrivate::SoU3DDrawStyleLineWithQuad::triangle(const SoPrimitiveVertex* a,
                                                                const SoPrimitiveVertex* b,
                                                                const SoPrimitiveVertex* c) {
    merge(SoU3DTriangleRecord(a, b, c), &SoU3DDrawStyleLineWithQuad::mergedLine);
}

void SoToU3DActionPrivate::SoU3DDrawStyleLineWithQuad::begin(SoCallbackAction* action) {
    SoU3DDrawStyleLine::begin(action);
    pending_ = SoU3DTriangleRecord(true);
}

// The last triangle has no successor to pair with; its edges go out as plain lines even where
// merged edges are offset, since it was never part of a quad.
void SoToU3DActionPrivate::SoU3DDrawStyleLineWithQuad::end() {
    merge(SoU3DTriangleRecord(true), &SoU3DDrawStyleLineWithQuad::plainLine);
    pending_ = SoU3DTriangleRecord(true);
    SoU3DDrawStyleLine::end();
}

void SoToU3DActionPrivate::SoU3DDrawStyleLineWithQuad::mergedLine(const SoPrimitiveVertex* a,
                                                                  const SoPrimitiveVertex* b) {
    line(a, b);
}

// A shape splits a quad (p0, p1, p2, p3) into (p0, p1, p2) and (p0, p2, p3): the second
// triangle's third corner is the quad's fourth, and (p2, p0) is the diagonal left out. A
// triangle without a face cannot be paired; it is replaced by the next one unseen.
void SoToU3DActionPrivate::SoU3DDrawStyleLineWithQuad::merge(const SoU3DTriangleRecord& next,
                                                             Emit emit) {
    if (pending_.hasFace()) {
        const SoPrimitiveVertex* p0 = pending_.vertex(0);
        const SoPrimitiveVertex* p1 = pending_.vertex(1);
        const SoPrimitiveVertex* p2 = pending_.vertex(2);
        if (next.sameFace(pending_)) {
            const SoPrimitiveVertex* p3 = next.vertex(2);
            (this->*emit)(p0, p1);
            (this->*emit)(p1, p2);
            (this->*emit)(p2, p3);
            (this->*emit)(p3, p0);
            pending_ = SoU3DTriangleRecord(true);
            return;
        }
        (this->*emit)(p0, p1);
        (this->*emit)(p1, p2);
        (this->*emit)(p2, p0);
    }
    pending_ = next;
}
