// The metafile's records live in memory until the file is closed, as libUEMF keeps them, and
// go to disk in one write. libUEMF's own checks stop short in two places this class covers:
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
    if (std::uint64_t(track_->used) + size > UINT32_MAX) {
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
    return true;
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
        std::memcpy(track_->buf + offsetof(U_EMRHEADER, rclBounds), &bounds, sizeof bounds);
        std::memcpy(track_->buf + offsetof(U_EMRHEADER, rclFrame), &frame, sizeof frame);
        // libUEMF counts slot 1 as used from the start; a metafile without objects has
        // only the reserved slot 0.
        if (!slotsUsed) handles_->peak = 0;
        written = writeAndCheck();
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
