#include "SoPdfDocumentBuffer.h"

#include <PlotWerk/SoVectorOutput.h>
#include <Tessara/base/SoDebugError.h>
#include <cairo-pdf.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <new>

#include "SoPdfTriangleShadings.h"

namespace {

const cairo_user_data_key_t kBufferKey{};
constexpr std::size_t kPieceBytes = 4u << 20;

// The time SOURCE_DATE_EPOCH fixes, as the digits of a date in UTC (YYYYMMDDHHmmSS); none
// where it is not set, nor, with a warning, where it is not a time.
std::string fixedDateDigits() {
    const char* epoch = std::getenv("SOURCE_DATE_EPOCH");
    if (epoch == nullptr) return std::string();
    char* end = nullptr;
    errno = 0;
    const long long seconds = std::strtoll(epoch, &end, 10);
    const std::time_t time = static_cast<std::time_t>(seconds);
    std::tm utc{};
    char digits[16];
    if (*epoch != '\0' && *end == '\0' && errno == 0 && seconds >= 0 &&
        gmtime_r(&time, &utc) != nullptr &&
        std::strftime(digits, sizeof(digits), "%Y%m%d%H%M%S", &utc) == 14)
        return digits;
    SoDebugError::postWarning("SoVectorizePDFAction::writeFooter",
                              "SOURCE_DATE_EPOCH is not a number of seconds since 1970 within "
                              "the year 9999: the document is dated by the clock");
    return std::string();
}

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

std::size_t SoPdfDocumentBuffer::find(const std::string& text) const {
    std::size_t start = 0;
    for (std::size_t i = 0; i < pieces_.size(); start += pieces_[i].size(), ++i) {
        const std::string& piece = pieces_[i];
        const std::size_t at = piece.find(text);
        if (at != std::string::npos) return start + at;
        // Where two pieces meet.
        if (i + 1 == pieces_.size() || text.empty()) break;
        const std::size_t reach = std::min(piece.size(), text.size() - 1);
        const std::size_t across =
            (piece.substr(piece.size() - reach) + pieces_[i + 1].substr(0, reach)).find(text);
        if (across != std::string::npos) return start + piece.size() - reach + across;
    }
    return std::string::npos;
}

char* SoPdfDocumentBuffer::byteAt(std::size_t offset) {
    for (std::string& piece : pieces_) {
        if (offset < piece.size()) return &piece[offset];
        offset -= piece.size();
    }
    return nullptr;
}

// cairo dates each document by the clock, so two runs never write the same file. Where the
// environment fixes the time, as reproducible builds do with SOURCE_DATE_EPOCH, the date
// is that time in UTC instead, written over cairo's in as many bytes so that the offsets of
// the cross-reference table stay right: the digits, then the zone ("Z" or "+HH'mm'") as
// "Z00'00'" cut to its length.
void SoPdfDocumentBuffer::stampCreationDate() {
    const std::string digits = fixedDateDigits();
    if (digits.empty()) return;
    const std::string marker = "/CreationDate (D:";
    const std::size_t found = find(marker);
    if (found == std::string::npos) return;
    const std::size_t first = found + marker.size();
    std::string dated;  // cairo's date up to its closing parenthesis
    for (const char* c = byteAt(first); c != nullptr && *c != ')' && dated.size() < 21;
         c = byteAt(first + dated.size()))
        dated += *c;
    const std::size_t zone = dated.size() - std::min<std::size_t>(dated.size(), 14);
    if ((zone != 1 && zone != 6 && zone != 7) || dated.find_first_not_of("0123456789") != 14)
        return;
    const std::string stamp = digits + std::string("Z00'00'", zone);
    for (std::size_t k = 0; k < stamp.size(); ++k) *byteAt(first + k) = stamp[k];
}

void SoPdfDocumentBuffer::writeOut() {
    stampCreationDate();
    if (find(SoPdfTriangleShadings::meshMarker()) != std::string::npos) {
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
