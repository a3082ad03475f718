#include "ReaderMemoryLimit.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

#include "CountingFileSystem.h"

namespace {

constexpr std::size_t kAlways = std::size_t(1) << 30;
constexpr unsigned long long kPerByteOpened = 64;

std::atomic<const CountingFileSystem*> watched{nullptr};

// What the importer reports: its own words for a failed allocation say nothing of the file.
class RefusedAllocation : public std::bad_alloc {
  public:
    explicit RefusedAllocation(std::size_t bytes) {
        std::snprintf(text_, sizeof text_,
                      "its reader asked for %zu bytes at once, far more than the file holds",
                      bytes);
    }
    const char* what() const noexcept override { return text_; }

  private:
    char text_[100];  // made without allocating
};

}  // namespace

ReaderMemoryLimit::ReaderMemoryLimit(const CountingFileSystem& files) {
    watched.store(&files);
}

ReaderMemoryLimit::~ReaderMemoryLimit() {
    watched.store(nullptr);
}

bool ReaderMemoryLimit::allows(std::size_t bytes) {
    if (bytes <= kAlways) return true;
    const CountingFileSystem* files = watched.load(std::memory_order_relaxed);
    return !files || bytes / kPerByteOpened <= files->getBytes();
}

// As the standard library's, but for the limit: malloc, and the new-handler while it fails.
// Every form of the plain operators is replaced, so that each allocation meets its own kind
// of release whichever form a library calls (a sanitizer's runtime would otherwise pair one
// of its own with one of these).
void* operator new(std::size_t bytes) {
    if (!ReaderMemoryLimit::allows(bytes)) throw RefusedAllocation(bytes);
    for (;;) {
        if (void* memory = std::malloc(bytes ? bytes : 1)) return memory;
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
    std::free(memory);
}

void operator delete[](void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
