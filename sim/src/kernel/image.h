// A program image loaded afresh for one process, so that every process has its own globals.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

class Image {
public:
    // WinMain as Windows CE calls it (16-bit command line), and as the desktop does (8-bit).
    using EntryPoint = int(WINAPI*)(HINSTANCE, HINSTANCE, LPWSTR, int);
    using DesktopEntryPoint = int(WINAPI*)(HINSTANCE, HINSTANCE, LPSTR, int);

    // Loads a private copy of `bytes` (a shared object) under `name`; throws std::runtime_error on failure.
    Image(const std::string& name, const std::vector<std::uint8_t>& bytes);
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    EntryPoint entry() const { return reinterpret_cast<EntryPoint>(entry_); }
    DesktopEntryPoint desktopEntry() const { return reinterpret_cast<DesktopEntryPoint>(entry_); }
    // The module's load address, which is also its instance handle.
    HINSTANCE instance() const { return reinterpret_cast<HINSTANCE>(base_); }
    bool contains(const void* address) const;
    // Puts every global back as it was right after loading, so that the image can serve another
    // process as a fresh load would (loading one costs system calls, page faults and relocation).
    void restoreGlobals();

private:
    struct Writable {
        std::uintptr_t start;
        std::vector<std::uint8_t> fresh;
    };
    std::vector<Writable> writable_;
    int fd_ = -1;
    void* handle_ = nullptr;
    void* entry_ = nullptr;
    std::uintptr_t base_ = 0;
    std::uintptr_t low_ = 0;
    std::uintptr_t high_ = 0;
};

}  // namespace sim
