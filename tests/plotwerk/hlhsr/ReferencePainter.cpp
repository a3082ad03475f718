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

// How a cut left position i: unchanged, P's own far piece there, or Q's far piece there.
enum Cut { NONE, P_CUT, Q_CUT };

// Some point of record lies beyond 0.0001 on either side of polygon's plane.
bool straddles(SoGraphicPrimitive* polygon, SoGraphicPrimitive* record) {
    if (!isPolygon(polygon)) return false;
    const auto& g = *static_cast<SoPolygon*>(polygon);
    double lo = 0.0, hi = 0.0;
    for (int k = 0; k < record->getNumPoints(); ++k) {
        double d = 0.0;
        for (int c = 0; c < 3; ++c)
            d += g.normal[c] * (double((*record->getPoint(k))[c]) - g.points[0][c]);
        lo = std::min(lo, d), hi = std::max(hi, d);
    }
    return lo < -0.0001 && hi > 0.0001;
}

// The record at k is cut by cutter's plane if it straddles it: far piece at k, near one last.
bool cutAt(SoGraphicPrimitiveList& list, int k, SoGraphicPrimitive* cutter) {
    SoGraphicPrimitive *front, *back, *record = list.getPrimitive(k);
    if (!straddles(cutter, record) || !record->cutBy(*static_cast<SoPolygon*>(cutter), front, back))
        return false;
    delete record;
    list.set(k, back);
    list.add(front);
    return true;
}

Cut split(SoGraphicPrimitiveList& list, int i, int j) {
    SoGraphicPrimitive* P = list.getPrimitive(i);
    SoGraphicPrimitive* Q = list.getPrimitive(j);
    if (isPolygon(Q) && cutAt(list, i, Q)) return P_CUT;
    if (!isPolygon(P) || Q->getType() != SoGraphicPrimitive::POLYLINE || !cutAt(list, j, P))
        return NONE;
    list.swap(i, j);
    return Q_CUT;
}

// chain: the records that came to position i in turn, each to print before the one before.
// Cuts the link P-Q, else the links back along the chain to Q.
bool breakCycle(SoGraphicPrimitiveList& list, int i, int j,
                const std::vector<SoGraphicPrimitive*>& chain) {
    auto at = [&](SoGraphicPrimitive* record) {
        for (int k = 0;; ++k)
            if (list.getPrimitive(k) == record) return k;
    };
    auto link = [&](int earlier, int later) {
        SoGraphicPrimitive* X = list.getPrimitive(earlier);
        return cutAt(list, earlier, list.getPrimitive(later)) || cutAt(list, later, X);
    };
    if (link(i, j)) return true;
    for (size_t t = chain.size() - 1; t > 0 && chain[t] != list.getPrimitive(j); --t)
        if (link(at(chain[t - 1]), at(chain[t]))) return true;
    return false;
}

}  // namespace

long long referenceOrder(SoGraphicPrimitiveList& list) {
    list.sort(0);
    long long swaps = 0;
    std::vector<SoGraphicPrimitive*> chain;
    for (int i = 0; i < list.getLength(); ++i) {
        // At the start of a step and after every cut: no moves, a chain of the record at i.
        auto restart = [&] {
            for (int k = i; k < list.getLength(); ++k) list.getPrimitive(k)->moveCount = 0;
            chain.assign(1, list.getPrimitive(i));
        };
        restart();
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
                    if (Q->moveCount > 1) {
                        if (breakCycle(list, i, j, chain)) restart(), j = i;
                        continue;
                    }
                    ++P->moveCount;
                    list.swap(i, j);
                    chain.push_back(list.getPrimitive(i));
                    ++swaps;
                    j = i;  // the loop's increment restarts at i + 1
                    continue;
                }
                if (s == 2) {
                    Q->moveCount = 0;
                    continue;
                }
            }
            const Cut made = split(list, i, j);
            if (made != NONE) restart();
            if (made == Q_CUT) j = i;
        }
    }
    return swaps;
}

}  // namespace hlhsr
