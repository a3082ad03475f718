#include "SoPdfDocumentBuffer.h"

#include <PlotWerk/SoVectorOutput.h>
#include <cairo-pdf.h>

#include <algorithm>
#include <new>

#include "SoPdfTriangleShadings.h"

namespace {

const cairo_user_data_key_t kBufferKey{};
constexpr std::size_t kPieceBytes = 4u << 20;

}  // namespace

cairo_surface_t* SoPdfDocumentBuffer::createSurface(SoVectorOutput* output, double widthPoints,
                                                    double heightPoints) {
    auto* buffer = new SoPdfDocumentBuffer(output);
    cairo_surface_t* surface =
        cairo_pdf_surface_create_for_stream(append, buffer, widthPoints, heightPoints);
    // A surface cairo could not make (it then writes nothing) keeps no user data.
    if (cairo_surface_set_user_data(surface, &kBufferKey, buffer, release) != CAIRO_STATUS_SUCCESS)
        delete buffer;
    return surface;
}

cairo_status_t SoPdfDocumentBuffer::append(void* buffer, const unsigned char* data,
                                           unsigned int length) {
    std::vector<std::string>& pieces = static_cast<SoPdfDocumentBuffer*>(buffer)->pieces_;
    try {
        while (length > 0) {
            if (pieces.empty() || pieces.back().size() == kPieceBytes) {
                pieces.emplace_back();
                pieces.back().reserve(kPieceBytes);
            }
            const std::size_t taken =
                std::min<std::size_t>(length, kPieceBytes - pieces.back().size());
            pieces.back().append(reinterpret_cast<const char*>(data), taken);
            data += taken;
            length -= static_cast<unsigned int>(taken);
        }
        return CAIRO_STATUS_SUCCESS;
    } catch (const std::bad_alloc&) {
        return CAIRO_STATUS_NO_MEMORY;
    }
}

bool SoPdfDocumentBuffer::holds(const std::string& text) const {
    for (std::size_t i = 0; i < pieces_.size(); ++i) {
        if (pieces_[i].find(text) != std::string::npos) return true;
        // Where two pieces meet.
        if (i + 1 == pieces_.size()) break;
        const std::string& piece = pieces_[i];
        const std::size_t reach = std::min(piece.size(), text.size() - 1);
        const std::string seam =
            piece.substr(piece.size() - reach) + pieces_[i + 1].substr(0, reach);
        if (seam.find(text) != std::string::npos) return true;
    }
    return false;
}

void SoPdfDocumentBuffer::writeOut() {
    if (holds(SoPdfTriangleShadings::meshMarker())) {
        std::size_t size = 0;
        for (const std::string& piece : pieces_) size += piece.size();
        std::string whole, compact;
        whole.reserve(size);  // the one allocation that may fail: the pieces are still whole
        for (std::string& piece : pieces_) {
            whole += piece;
            std::string().swap(piece);
        }
        output_->write(SoPdfTriangleShadings::rewrite(whole, compact) ? compact : whole);
        return;
    }
    for (const std::string& piece : pieces_) output_->write(piece);
}

void SoPdfDocumentBuffer::release(void* buffer) {
    auto* self = static_cast<SoPdfDocumentBuffer*>(buffer);
    try {
        self->writeOut();
    } catch (const std::bad_alloc&) {
        // No room to join the pieces: written as cairo made them.
        for (const std::string& piece : self->pieces_) self->output_->write(piece);
    }
    delete self;
}
