#pragma once

#include <cairo.h>

#include <string>
#include <vector>

class SoVectorOutput;

/// A PDF document that cairo writes, held until cairo lets its surface go and then written to
/// the backend's output, its triangle meshes made compact (SoPdfTriangleShadings) on the way:
/// those can only be rewritten once the whole document is there. It is held in pieces, so
/// that a document of hundreds of megabytes is never copied as it grows, and joined only when
/// it has a mesh to rewrite. Write failures are the output object's to report, as for the
/// other backends.
class SoPdfDocumentBuffer {
  public:
    /// A PDF surface that writes through a buffer of its own into `output`, which must
    /// outlive the surface.
    static cairo_surface_t* createSurface(SoVectorOutput* output, double widthPoints,
                                          double heightPoints);

  private:
    explicit SoPdfDocumentBuffer(SoVectorOutput* output) : output_(output) {}
    static cairo_status_t append(void* buffer, const unsigned char* data, unsigned int length);
    /// cairo's last word on the surface: the document is complete.
    static void release(void* buffer);
    /// Where `text` first starts in the document, or std::string::npos.
    std::size_t find(const std::string& text) const;
    /// The byte at `offset` in the document, or null past its end.
    char* byteAt(std::size_t offset);
    void stampCreationDate();
    void writeOut();

    SoVectorOutput* output_;
    std::vector<std::string> pieces_;
};
