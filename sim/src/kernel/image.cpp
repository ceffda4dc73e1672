#include "image.h"

#include <dlfcn.h>
#include <link.h>
#include <sys/mman.h>
#include <unistd.h>

#include <stdexcept>

namespace sim {

namespace {

struct RangeQuery {
    std::uintptr_t base;
    std::uintptr_t low = UINTPTR_MAX;
    std::uintptr_t high = 0;
};

int findRange(dl_phdr_info* info, size_t, void* data) {
    auto* query = static_cast<RangeQuery*>(data);
    if (info->dlpi_addr != query->base) return 0;
    for (int i = 0; i < info->dlpi_phnum; ++i) {
        const auto& ph = info->dlpi_phdr[i];
        if (ph.p_type != PT_LOAD) continue;
        const std::uintptr_t start = info->dlpi_addr + ph.p_vaddr;
        query->low = std::min(query->low, start);
        query->high = std::max(query->high, static_cast<std::uintptr_t>(start + ph.p_memsz));
    }
    return 1;
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
    RangeQuery query{base_};
    dl_iterate_phdr(findRange, &query);
    low_ = query.low;
    high_ = query.high;
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
