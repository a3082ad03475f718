#include "SoGDIPrintSpool.h"

#include <Tessara/base/SoDebugError.h>
#include <cairo-pdf.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

// cairo writes through a stream callback rather than to a path of its own, so that a write
// error (a full disk) is seen here, with its errno, and not only as cairo's generic status.

namespace {

std::string temporaryFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder ? folder : "/tmp";
}

}  // namespace

SoGDIPrintSpool::~SoGDIPrintSpool() {
    release();
    if (!path_.empty()) unlink(path_.c_str());
}

bool SoGDIPrintSpool::fail(const char* what, const char* why) const {
    SoDebugError::post("SoGDIPrintSpool", "Cannot %s the print spool file \"%s\": %s", what,
                       path_.c_str(), why);
    return false;
}

bool SoGDIPrintSpool::open(double widthPoints, double heightPoints, const std::string& title) {
    const std::string pattern = temporaryFolder() + "/plotwerk-print-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    fd_ = mkstemp(name.data());
    if (fd_ < 0) {
        SoDebugError::post("SoGDIPrintSpool::open",
                           "Cannot create a print spool file in \"%s\": %s",
                           temporaryFolder().c_str(), std::strerror(errno));
        return false;
    }
    path_ = name.data();
    surface_ = cairo_pdf_surface_create_for_stream(&SoGDIPrintSpool::write, this, widthPoints,
                                                   heightPoints);
    if (cairo_surface_status(surface_) != CAIRO_STATUS_SUCCESS)
        return fail("start", cairo_status_to_string(cairo_surface_status(surface_)));
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_TITLE, title.c_str());
    cairo_pdf_surface_set_metadata(surface_, CAIRO_PDF_METADATA_CREATOR, "PlotWerk");
    context_ = cairo_create(surface_);
    if (cairo_status(context_) != CAIRO_STATUS_SUCCESS)
        return fail("start", cairo_status_to_string(cairo_status(context_)));
    return true;
}

bool SoGDIPrintSpool::showPage() {
    if (!context_) return false;
    cairo_show_page(context_);
    ++pages_;
    if (cairo_status(context_) != CAIRO_STATUS_SUCCESS)
        return fail("draw a page into", cairo_status_to_string(cairo_status(context_)));
    return !writeFailed_ || fail("write", std::strerror(writeErrno_));
}

bool SoGDIPrintSpool::finish() {
    if (!surface_) return false;
    const cairo_status_t drawn = cairo_status(context_);
    cairo_destroy(context_);
    context_ = nullptr;
    cairo_surface_finish(surface_);
    const cairo_status_t written = cairo_surface_status(surface_);
    release();
    if (writeFailed_) return fail("write", std::strerror(writeErrno_));
    if (drawn != CAIRO_STATUS_SUCCESS) return fail("draw into", cairo_status_to_string(drawn));
    if (written != CAIRO_STATUS_SUCCESS) return fail("write", cairo_status_to_string(written));
    return true;
}

void SoGDIPrintSpool::release() {
    if (context_) cairo_destroy(context_);
    context_ = nullptr;
    // Destroying the surface finishes it, which still writes through the descriptor.
    if (surface_) cairo_surface_destroy(surface_);
    surface_ = nullptr;
    if (fd_ >= 0 && ::close(fd_) != 0 && !writeFailed_) {
        writeFailed_ = true;
        writeErrno_ = errno;
    }
    fd_ = -1;
}

cairo_status_t SoGDIPrintSpool::write(void* closure, const unsigned char* data,
                                      unsigned int length) {
    auto* self = static_cast<SoGDIPrintSpool*>(closure);
    while (length > 0 && !self->writeFailed_) {
        const ssize_t written = ::write(self->fd_, data, length);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            self->writeFailed_ = true;
            self->writeErrno_ = written < 0 ? errno : ENOSPC;
            break;
        }
        data += written;
        length -= static_cast<unsigned int>(written);
    }
    return self->writeFailed_ ? CAIRO_STATUS_WRITE_ERROR : CAIRO_STATUS_SUCCESS;
}
