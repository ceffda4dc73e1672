#include "image.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace sim {

namespace {

struct RangeQuery {
    std::uintptr_t base;
    std::uintptr_t low = UINTPTR_MAX;
    std::uintptr_t high = 0;
    std::vector<std::pair<std::uintptr_t, std::uintptr_t>> writable;  // [start, end)
};

std::uintptr_t pageDown(std::uintptr_t address) {
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    return address / page * page;
}

int findRange(dl_phdr_info* info, size_t, void* data) {
    auto* query = static_cast<RangeQuery*>(data);
    if (info->dlpi_addr != query->base) return 0;
    // What the loader made read-only after relocating: whole pages only.
    std::uintptr_t relroStart = 0, relroEnd = 0;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const auto& ph = info->dlpi_phdr[i];
        if (ph.p_type != PT_GNU_RELRO) continue;
        relroStart = pageDown(info->dlpi_addr + ph.p_vaddr);
        relroEnd = pageDown(info->dlpi_addr + ph.p_vaddr + ph.p_memsz);
    }
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const auto& ph = info->dlpi_phdr[i];
        if (ph.p_type != PT_LOAD) continue;
        const std::uintptr_t start = info->dlpi_addr + ph.p_vaddr;
        const std::uintptr_t end = start + ph.p_memsz;
        query->low = std::min(query->low, start);
        query->high = std::max(query->high, end);
        if (!(ph.p_flags & PF_W)) continue;
        std::uintptr_t from = start;
        if (relroStart < relroEnd && relroStart <= from && from < relroEnd) from = relroEnd;
        if (from < end) query->writable.push_back({from, end});
    }
    return 1;
}

// Globals of an image built with AddressSanitizer sit between poisoned red zones, which a copy of
// the whole section must cross: the copy is not checked (and not made a call to memcpy, which is).
#if defined(__clang__) || defined(__GNUC__)
__attribute__((no_sanitize("address")))
#endif
void copyRaw(std::uint8_t* to, const std::uint8_t* from, std::size_t bytes) {
    volatile std::uint8_t* out = to;
    for (std::size_t i = 0; i < bytes; ++i) out[i] = from[i];
}

void copyRaw(std::vector<std::uint8_t>& to, const std::uint8_t* from, std::size_t bytes) {
    to.resize(bytes);
    copyRaw(to.data(), from, bytes);
}

}  // namespace

Image::Image(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    fd_ = memfd_create(name.c_str(), MFD_CLOEXEC);
    if (fd_ < 0) throw std::runtime_error("memfd_create failed for " + name);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd_, bytes.data() + written, bytes.size() - written);
        if (n <= 0) throw std::runtime_error("cannot copy image " + name);
        written += static_cast<std::size_t>(n);
    }
    // The descriptor stays open while the image is loaded: the loader knows the copy by this path,
    // and a reused descriptor number must never name a copy that is still loaded.
    const std::string path = "/proc/self/fd/" + std::to_string(fd_);
    handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle_) {
        close(fd_);
        throw std::runtime_error("cannot load image " + name + ": " + dlerror());
    }
    entry_ = dlsym(handle_, "WinMain");
    if (!entry_) {
        dlclose(handle_);
        close(fd_);
        throw std::runtime_error("image " + name + " has no WinMain");
    }
    Dl_info info{};
    dladdr(entry_, &info);
    base_ = reinterpret_cast<std::uintptr_t>(info.dli_fbase);
    RangeQuery query{base_, UINTPTR_MAX, 0, {}};
    dl_iterate_phdr(findRange, &query);
    low_ = query.low;
    high_ = query.high;
    for (const auto& [start, end] : query.writable) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(start);
        writable_.push_back(Writable{start, {}});
        copyRaw(writable_.back().fresh, bytes, end - start);
    }
}

void Image::restoreGlobals() {
    for (const Writable& w : writable_) copyRaw(reinterpret_cast<std::uint8_t*>(w.start), w.fresh.data(), w.fresh.size());
}

Image::~Image() {
    if (handle_) dlclose(handle_);
    if (fd_ >= 0) close(fd_);
}

bool Image::contains(const void* address) const {
    const auto a = reinterpret_cast<std::uintptr_t>(address);
    return a >= low_ && a < high_;
}

}  // namespace sim
