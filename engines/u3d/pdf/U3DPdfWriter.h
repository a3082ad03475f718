#pragma once

#include <string>

#include "pdf/U3DPdfRequest.h"

namespace u3d {

/// Writes a one-page PDF 1.7 document: a heading and, below it, a 3D annotation that embeds a
/// U3D file, opens with the requested view and shows the poster where 3D is not played.
class U3DPdfWriter {
  public:
    /// Writes `request.pdfFile`. On failure returns false, sets `*error` (when not null) to a
    /// message naming the file at fault and leaves no file behind; never throws.
    bool write(const U3DPdfRequest& request, std::string* error) const;
};

}  // namespace u3d
