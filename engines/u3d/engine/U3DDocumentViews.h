#pragma once

#include <deque>
#include <mutex>
#include <optional>
#include <string>

#include "U3DViewpoint.h"
#include "pdf/U3DPdfRequest.h"

namespace u3d {

/// What the PDF writer needs of an exported scene beyond its entry point's arguments: the
/// default view's camera and the poster. The engine leaves them here under the U3D file's
/// name when it closes the file; the PDF writer, called after the engine is gone, takes them.
/// Only the latest few are kept: a file exported without a PDF leaves one that nobody takes.
class U3DDocumentViews {
  public:
    struct Entry {
        U3DViewpoint view;
        U3DPdfPoster poster;
    };

    static void put(const std::string& u3dFile, Entry entry);
    /// The entry of `u3dFile`, removed; none for a file this module did not write.
    static std::optional<Entry> take(const std::string& u3dFile);

  private:
    static std::mutex mutex_;
    static std::deque<std::pair<std::string, Entry>> entries_;
};

}  // namespace u3d
