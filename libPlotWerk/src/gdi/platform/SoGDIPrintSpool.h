#pragma once

#include <cairo.h>

#include <string>

/// A print job's document while it is drawn: a PDF file in the temporary folder that cairo
/// writes page by page. The file goes away with the spool, whether it was printed or not.
///
/// Lifecycle: open() once; then a cairo context for each page's drawing and showPage() after
/// it; finish() completes the file, which may then be handed to the print service by path().
class SoGDIPrintSpool {
  public:
    SoGDIPrintSpool() = default;
    ~SoGDIPrintSpool();
    SoGDIPrintSpool(const SoGDIPrintSpool&) = delete;
    SoGDIPrintSpool& operator=(const SoGDIPrintSpool&) = delete;

    /// Creates the file ($TMPDIR, else /tmp) and a PDF surface on it of pages of the given size
    /// in points, titled `title`. False, with a message through SoDebugError, on failure.
    bool open(double widthPoints, double heightPoints, const std::string& title);
    /// The drawing context of the pages, its user space in PDF points; null before open().
    cairo_t* context() const { return context_; }
    /// Ends the page drawn so far and starts the next one.
    bool showPage();
    /// Pages ended so far.
    int pageCount() const { return pages_; }
    /// Writes the rest of the file and closes it. False (said why) when cairo or the file
    /// system failed on the way.
    bool finish();
    const std::string& path() const { return path_; }

  private:
    static cairo_status_t write(void* closure, const unsigned char* data, unsigned int length);
    bool fail(const char* what, const char* why) const;
    void release();

    std::string path_;
    int fd_ = -1;
    bool writeFailed_ = false;
    int writeErrno_ = 0;
    cairo_surface_t* surface_ = nullptr;
    cairo_t* context_ = nullptr;
    int pages_ = 0;
};
