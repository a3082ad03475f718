#include "reading/ReaderMemoryLimit.h"

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "reading/CountingFileSystem.h"

namespace {

constexpr std::size_t kAlways = std::size_t(1) << 30;
constexpr unsigned long long kPerByteOpened = 64;

std::atomic<const CountingFileSystem*> watched{nullptr};
/// What the reader holds: bytes allocated less bytes freed since the limit began. Memory made
/// before and freed since counts against it, so it may fall below 0.
std::atomic<long long> held{0};

std::size_t heldNow() {
    return static_cast<std::size_t>(std::max(0LL, held.load(std::memory_order_relaxed)));
}

void count(void* memory, long long sign) {
    if (memory && watched.load(std::memory_order_relaxed))
        held.fetch_add(sign * static_cast<long long>(malloc_usable_size(memory)),
                       std::memory_order_relaxed);
}

// What the importer reports: its own words for a failed allocation say nothing of the file.
class RefusedAllocation : public std::bad_alloc {
  public:
    explicit RefusedAllocation(std::size_t bytes) {
        if (const std::size_t holding = heldNow(); holding > bytes)
            std::snprintf(text_, sizeof text_,
                          "its reader held %zu bytes and asked for %zu more, far more than the "
                          "file holds",
                          holding, bytes);
        else
            std::snprintf(text_, sizeof text_,
                          "its reader asked for %zu bytes at once, far more than the file holds",
                          bytes);
    }
    const char* what() const noexcept override { return text_; }

  private:
    char text_[128];  // made without allocating
};

}  // namespace

ReaderMemoryLimit::ReaderMemoryLimit(const CountingFileSystem& files) {
    held.store(0);
    watched.store(&files);
}

ReaderMemoryLimit::~ReaderMemoryLimit() {
    watched.store(nullptr);
}

bool ReaderMemoryLimit::allows(std::size_t bytes) {
    const CountingFileSystem* files = watched.load(std::memory_order_relaxed);
    if (!files) return true;
    const std::size_t holding = heldNow() + bytes;
    if (holding < bytes) return false;  // past the largest size
    return holding <= kAlways || holding / kPerByteOpened <= files->getBytes();
}

// As the standard library's, but for the limit: malloc, and the new-handler while it fails.
// Every form of the plain operators is replaced, so that each allocation meets its own kind
// of release whichever form a library calls (a sanitizer's runtime would otherwise pair one
// of its own with one of these).
void* operator new(std::size_t bytes) {
    if (!ReaderMemoryLimit::allows(bytes)) throw RefusedAllocation(bytes);
    for (;;) {
        if (void* memory = std::malloc(bytes ? bytes : 1)) {
            count(memory, +1);
            return memory;
        }
        const std::new_handler handler = std::get_new_handler();
        if (!handler) throw std::bad_alloc();
        handler();
    }
}

void* operator new[](std::size_t bytes) {
    return ::operator new(bytes);
}

void* operator new(std::size_t bytes, const std::nothrow_t&) noexcept {
    try {
        return ::operator new(bytes);
    } catch (...) {
        return nullptr;
    }
}

void* operator new[](std::size_t bytes, const std::nothrow_t&) noexcept {
    return ::operator new(bytes, std::nothrow);
}

void operator delete(void* memory) noexcept {
    count(memory, -1);
    std::free(memory);
}

void operator delete[](void* memory) noexcept {
    count(memory, -1);
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    count(memory, -1);
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept {
    count(memory, -1);
    std::free(memory);
}

void operator delete(void* memory, const std::nothrow_t&) noexcept {
    count(memory, -1);
    std::free(memory);
}

void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    count(memory, -1);
    std::free(memory);
}
