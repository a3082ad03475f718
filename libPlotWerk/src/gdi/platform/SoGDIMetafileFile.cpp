// libUEMF keeps a metafile's records in memory until the file is closed and then writes them
// in one go; for large drawings that buffer grows to the whole file, so this class writes it
// out whenever it holds a few megabytes and completes the header, whose counts and bounds
// are known only at the end, in place when the file is closed. libUEMF's own checks stop
// short in places this class covers:
// - emf_append loses its buffer when memory runs out; after that nothing more is appended
//   and closing reports the loss instead of writing a truncated file.
// - U_EMREOF_set closes the end record with the file's length instead of the record's size.
// - emf_finish neither looks at what fwrite and fclose return nor says whether the file
//   was written; a second descriptor on the same open file tells how far writing got (its
//   offset is shared) and, closed last, reports errors that only show at closing.

#include "SoGDIMetafileFile.h"

#include <Tessara/base/SoDebugError.h>
#include <uemf_safe.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

/// Records start in a buffer of this size, which grows by as much again when full.
constexpr std::uint32_t kBufferBytes = 1u << 16;
/// The buffer is written out when it holds this much.
constexpr std::uint32_t kFlushBytes = 4u << 20;
/// Object slots the table starts with and adds when full.
constexpr std::uint32_t kSlots = 32;

struct RecordDeleter {
    void operator()(char* record) const { std::free(record); }
};

}  // namespace

std::unique_ptr<SoGDIMetafileFile> SoGDIMetafileFile::open(const std::string& path) {
    EMFTRACK* track = nullptr;
    if (emf_start(path.c_str(), kBufferBytes, kBufferBytes, &track) != 0) return nullptr;
    EMFHANDLES* slots = nullptr;
    if (emf_htable_create(kSlots, kSlots, &slots) != 0) {
        std::fclose(track->fp);
        track->fp = nullptr;
        emf_free(&track);
        return nullptr;
    }
    return std::unique_ptr<SoGDIMetafileFile>(new SoGDIMetafileFile(path, track, slots));
}

SoGDIMetafileFile::SoGDIMetafileFile(std::string path, EMFTRACK* track, EMFHANDLES* handles)
    : path_(std::move(path)), track_(track), handles_(handles) {}

SoGDIMetafileFile::~SoGDIMetafileFile() {
    release();
}

bool SoGDIMetafileFile::append(char* record, const char* what) {
    const std::unique_ptr<char, RecordDeleter> owned(record);
    if (!track_ || broken_) return false;
    if (!record) {
        SoDebugError::post("SoGDIMetafileFile::append", "%s: the record could not be made", what);
        return false;
    }
    if (!U_emf_record_safe(record)) {
        SoDebugError::post("SoGDIMetafileFile::append", "%s: the record is not well formed", what);
        return false;
    }
    const std::uint32_t size = reinterpret_cast<const U_EMR*>(record)->nSize;
    // The header counts the file's bytes in 32 bits.
    if (flushed_ + track_->used + size > UINT32_MAX) {
        SoDebugError::post("SoGDIMetafileFile::append",
                           "%s: metafile '%s' would grow past 4 GiB; the record is left out", what,
                           path_.c_str());
        return false;
    }
    if (emf_append(reinterpret_cast<U_ENHMETARECORD*>(record), track_, 0) != 0) {
        SoDebugError::post("SoGDIMetafileFile::append", "%s: out of memory for metafile '%s'", what,
                           path_.c_str());
        broken_ = true;
        return false;
    }
    if (track_->used >= kFlushBytes) flush();
    return true;
}

void SoGDIMetafileFile::flush() {
    if (flushed_ == 0) {
        const auto* header = reinterpret_cast<const U_EMR*>(track_->buf);
        header_.assign(track_->buf, header->nSize);
    }
    if (writeError_ == 0 && std::fwrite(track_->buf, 1, track_->used, track_->fp) != track_->used)
        writeError_ = errno != 0 ? errno : EIO;
    flushed_ += track_->used;
    track_->used = 0;
}

bool SoGDIMetafileFile::finishFlushed(const U_RECTL& bounds, const U_RECTL& frame) {
    auto set = [this](std::size_t offset, const void* value, std::size_t size) {
        std::memcpy(&header_[offset], value, size);
    };
    set(offsetof(U_EMRHEADER, rclBounds), &bounds, sizeof bounds);
    set(offsetof(U_EMRHEADER, rclFrame), &frame, sizeof frame);
    const std::uint32_t bytes = static_cast<std::uint32_t>(flushed_ + track_->used);
    const std::uint32_t records = track_->records;
    const std::uint16_t slots = static_cast<std::uint16_t>(handles_->peak + 1);
    set(offsetof(U_EMRHEADER, nBytes), &bytes, sizeof bytes);
    set(offsetof(U_EMRHEADER, nRecords), &records, sizeof records);
    set(offsetof(U_EMRHEADER, nHandles), &slots, sizeof slots);
    flush();
    errno = 0;
    if (writeError_ == 0 &&
        (std::fseek(track_->fp, 0, SEEK_SET) != 0 ||
         std::fwrite(header_.data(), 1, header_.size(), track_->fp) != header_.size() ||
         std::fflush(track_->fp) != 0))
        writeError_ = errno != 0 ? errno : EIO;
    if (std::fclose(track_->fp) != 0 && writeError_ == 0) writeError_ = errno != 0 ? errno : EIO;
    track_->fp = nullptr;
    if (writeError_ != 0)
        SoDebugError::post("SoGDIMetafileFile::finish", "Unable to write metafile '%s': %s",
                           path_.c_str(), std::strerror(writeError_));
    return writeError_ == 0;
}

bool SoGDIMetafileFile::finish(const U_RECTL& bounds, const U_RECTL& frame, bool slotsUsed) {
    if (!track_) return false;
    bool written = false;
    if (broken_) {
        SoDebugError::post("SoGDIMetafileFile::finish",
                           "Unable to write metafile '%s': records were lost for want of memory",
                           path_.c_str());
    } else if (!append(endRecord(), "EMR_EOF")) {
        SoDebugError::post("SoGDIMetafileFile::finish",
                           "Unable to write metafile '%s': its end record could not be made",
                           path_.c_str());
    } else {
        // libUEMF counts slot 1 as used from the start; a metafile without objects has
        // only the reserved slot 0.
        if (!slotsUsed) handles_->peak = 0;
        if (flushed_ > 0) {
            written = finishFlushed(bounds, frame);
        } else {
            std::memcpy(track_->buf + offsetof(U_EMRHEADER, rclBounds), &bounds, sizeof bounds);
            std::memcpy(track_->buf + offsetof(U_EMRHEADER, rclFrame), &frame, sizeof frame);
            written = writeAndCheck();
        }
    }
    release();
    return written;
}

char* SoGDIMetafileFile::endRecord() {
    char* record = U_EMREOF_set(0, nullptr, track_);
    if (!record) return nullptr;
    // The record closes with its own size, so that a reader can walk the file backwards;
    // libUEMF puts the file's length there.
    const std::uint32_t size = reinterpret_cast<const U_EMR*>(record)->nSize;
    std::memcpy(record + size - sizeof size, &size, sizeof size);
    return record;
}

bool SoGDIMetafileFile::writeAndCheck() {
    const std::size_t expected = track_->used;
    const int descriptor = dup(fileno(track_->fp));
    errno = 0;
    bool complete = emf_finish(track_, handles_) == 0;
    int error = errno;
    if (descriptor < 0) {
        complete = complete && error == 0;
    } else {
        const off_t reached = lseek(descriptor, 0, SEEK_CUR);
        // Where the offset means nothing (a pipe), the error fwrite left is all there is.
        complete = complete && (reached < 0 ? error == 0 : std::size_t(reached) == expected);
        if (close(descriptor) != 0 && complete) {
            complete = false;
            error = errno;
        }
    }
    if (!complete)
        SoDebugError::post("SoGDIMetafileFile::finish", "Unable to write metafile '%s': %s",
                           path_.c_str(), std::strerror(error != 0 ? error : EIO));
    return complete;
}

void SoGDIMetafileFile::release() {
    if (track_) {
        // emf_free releases memory only; the file is still open unless emf_finish ran.
        if (track_->fp) std::fclose(track_->fp);
        track_->fp = nullptr;
        emf_free(&track_);
        track_ = nullptr;
    }
    if (handles_) emf_htable_free(&handles_);
    handles_ = nullptr;
}
