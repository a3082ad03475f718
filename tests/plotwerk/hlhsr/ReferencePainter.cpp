#include "ReferencePainter.h"

#include "HlhsrFixture.h"

namespace hlhsr {

namespace {

bool boxesApart(SoGraphicPrimitive* P, SoGraphicPrimitive* Q) {
    const SbBox2f& p = *P->getBBox();
    const SbBox2f& q = *Q->getBBox();
    return p.getMax()[0] <= q.getMin()[0] || q.getMax()[0] <= p.getMin()[0] ||
           p.getMax()[1] <= q.getMin()[1] || q.getMax()[1] <= p.getMin()[1];
}

bool isPolygon(SoGraphicPrimitive* record) {
    return record->getType() == SoGraphicPrimitive::POLYGON;
}

// Returns true when pieces were made (the list grew by one).
bool split(SoGraphicPrimitiveList& list, int i, int j) {
    SoGraphicPrimitive* P = list.getPrimitive(i);
    SoGraphicPrimitive* Q = list.getPrimitive(j);
    if (isPolygon(Q)) {
        const auto& cutter = *static_cast<SoPolygon*>(Q);
        SoGraphicPrimitive* front = nullptr;
        SoGraphicPrimitive* back = nullptr;
        if (P->getType() == SoGraphicPrimitive::POLYGON) {
            SoPolygon *f, *b;
            if (static_cast<SoPolygon*>(P)->split(cutter, f, b)) front = f, back = b;
        } else if (P->getType() == SoGraphicPrimitive::POLYLINE) {
            SoPolyLine *f, *b;
            if (static_cast<SoPolyLine*>(P)->split(cutter, f, b)) front = f, back = b;
        }
        if (front) {
            delete P;
            Q->moveCount = 0;
            list.set(i, back);
            list.add(front);
            return true;
        }
    }
    if (isPolygon(P) && !isPolygon(Q) && Q->getType() == SoGraphicPrimitive::POLYLINE) {
        SoPolyLine *front, *back;
        if (static_cast<SoPolyLine*>(Q)->split(*static_cast<SoPolygon*>(P), front, back)) {
            delete Q;
            P->moveCount = 0;
            list.set(j, back);
            list.add(front);
            list.swap(i, j);
            return true;
        }
    }
    return false;
}

}  // namespace

long long referenceOrder(SoGraphicPrimitiveList& list) {
    list.sort(0);
    long long swaps = 0;
    for (int i = 0; i < list.getLength(); ++i) {
        for (int k = i; k < list.getLength(); ++k) list.getPrimitive(k)->moveCount = 0;
        for (int j = i + 1; j < list.getLength(); ++j) {
            SoGraphicPrimitive* P = list.getPrimitive(i);
            SoGraphicPrimitive* Q = list.getPrimitive(j);
            if (boxesApart(P, Q)) continue;
            if (SoHLHSRPainter::projectionsDisjoint(P, Q, 1)) continue;
            if (P->getZMin() >= Q->getZMax()) continue;
            int r = P->getZMax() <= Q->getZMin() ? 0 : SoHLHSRPainter::classify(Q, P, 0);
            if (r == 1 || r == 2) continue;
            if (r == 0) {
                int s = 1;
                if (Q->moveCount != 0) s = SoHLHSRPainter::classify(P, Q, 1);
                if (s == 1) {
                    if (Q->moveCount > 1) continue;
                    ++P->moveCount;
                    list.swap(i, j);
                    ++swaps;
                    j = i;  // the loop's increment restarts at i + 1
                    continue;
                }
                if (s == 2 || s == 3) {
                    Q->moveCount = 0;
                    continue;
                }
                r = 3;
            }
            split(list, i, j);
        }
    }
    return swaps;
}

}  // namespace hlhsr
