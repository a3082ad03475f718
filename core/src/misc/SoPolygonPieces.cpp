// Borders lie between the values of two corners, so that no corner lies on one: a corner on
// a border would belong to both pieces, and the corners of many edges that end on it (a
// comb's teeth) would make long runs back and forth along the border, for nothing. Only
// crossings lie on borders, each made once and shared by the pieces on both sides.

#include "SoPolygonPieces.h"

std::vector<std::vector<SoPolygonPieces::Contour>> SoPolygonPieces::cut(
    std::vector<Corner>& corners, const std::vector<Contour>& contours,
    const SoPolygonBorders& borders) {
    if (borders.getPieceCount() < 2) return {};
    SoPolygonPieces pieces(corners, borders);
    for (const Contour& contour : contours) pieces.cutContour(contour);
    return std::move(pieces.pieces_);
}

SoPolygonPieces::SoPolygonPieces(std::vector<Corner>& corners, const SoPolygonBorders& borders)
    : corners_(corners),
      borders_(borders),
      firstMade_(corners.size()),
      pieces_(std::size_t(borders.getPieceCount())),
      isTouched_(pieces_.size(), 0) {}

void SoPolygonPieces::cutContour(const Contour& contour) {
    if (contour.size() < 3) return;
    previous_ = -1;
    for (std::size_t k = 0; k < contour.size(); ++k) {
        append(borders_.pieceOf(contour[k]), contour[k]);
        previous_ = contour[k];
        addCrossings(contour[k], contour[k + 1 == contour.size() ? 0 : k + 1]);
    }
    closeContours();
}

void SoPolygonPieces::addCrossings(int from, int to) {
    crossings_.clear();
    borders_.cross(from, to, crossings_);
    for (const SoPolygonBorders::Crossing& crossing : crossings_) {
        corners_.push_back(crossing.corner);
        borderOf_.push_back(crossing.border);
        const int corner = static_cast<int>(corners_.size()) - 1;
        const auto [before, after] = borders_.piecesBeside(crossing.border);
        append(before, corner);
        append(after, corner);
        previous_ = corner;
    }
}

void SoPolygonPieces::append(int piece, int corner) {
    std::vector<Contour>& contours = pieces_[std::size_t(piece)];
    if (!isTouched_[std::size_t(piece)]) {
        isTouched_[std::size_t(piece)] = 1;
        touched_.push_back(piece);
        contours.emplace_back();
    }
    Contour& contour = contours.back();
    if (!contour.empty() && contour.back() != previous_ && goesRound(contour.back(), corner))
        contour.push_back(borders_.getMeetingCorner());
    if (contour.empty() || contour.back() != corner) contour.push_back(corner);
}

// A contour that left a piece over one border and came back over another went round the
// corner where they meet: between two bands it would have crossed the band.
bool SoPolygonPieces::goesRound(int a, int b) const {
    if (std::size_t(a) < firstMade_ || std::size_t(b) < firstMade_) return false;
    if (borders_.getMeetingCorner() < 0) return false;
    return borderOf_[std::size_t(a) - firstMade_] != borderOf_[std::size_t(b) - firstMade_];
}

void SoPolygonPieces::closeContours() {
    for (const int piece : touched_) {
        std::vector<Contour>& contours = pieces_[std::size_t(piece)];
        Contour& contour = contours.back();
        if (contour.size() > 1 && goesRound(contour.back(), contour.front()))
            contour.push_back(borders_.getMeetingCorner());
        if (contour.size() > 1 && contour.front() == contour.back()) contour.pop_back();
        if (contour.size() < 3) contours.pop_back();
        isTouched_[std::size_t(piece)] = 0;
    }
    touched_.clear();
}
