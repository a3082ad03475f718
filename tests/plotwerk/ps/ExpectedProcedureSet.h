#pragma once

// The procedure set every document carries, typed in line by line (without the line feeds)
// so that the tests compare the backend's output against an independent copy. Header lines
// that writeHeader patches keep their template text here ("x.0", "xxxx yyyy").

#include <string>
#include <vector>

namespace expected {

/// Comments and general procedures of colour documents.
extern const std::vector<std::string> kColorHeader;
/// Text, bitmap and image procedures: the last block of colour documents.
extern const std::vector<std::string> kColorTextAndImage;
extern const std::vector<std::string> kColorPolygonLevel1;
/// Polygon procedures of levels 2 and 3.
extern const std::vector<std::string> kColorPolygonLevel23;
/// Smooth shading, level 3 only.
extern const std::vector<std::string> kColorSmooth;

/// Comments and procedures of grey documents, text and bitmap procedures included.
extern const std::vector<std::string> kGreyHeader;
extern const std::vector<std::string> kGreyPolygonLevel1;
extern const std::vector<std::string> kGreyPolygonLevel23;
extern const std::vector<std::string> kGreySmooth;
/// The last block of grey documents.
extern const std::vector<std::string> kGreyImage;

/// The lines a document starts with, up to the page set-up: header block with its first
/// lines patched as given, the level's polygon blocks, then the last block.
std::vector<std::string> procedureSet(bool colored, unsigned int level,
                                      const std::string& adobeLine,
                                      const std::string& boundingBoxLine,
                                      const std::string& orientationLine);

}  // namespace expected
