// A program image loaded afresh for one process, so that every process has its own globals.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sim {

class Image {
public:
    using EntryPoint = int(WINAPI*)(HINSTANCE, HINSTANCE, LPWSTR, int);

    // Loads a private copy of `bytes` (a shared object) under `name`; throws std::runtime_error on failure.
    Image(const std::string& name, const std::vector<std::uint8_t>& bytes);
    ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    EntryPoint entry() const { return entry_; }
    // The module's load address, which is also its instance handle.
    HINSTANCE instance() const { return reinterpret_cast<HINSTANCE>(base_); }
    bool contains(const void* address) const;

private:
    int fd_ = -1;
    void* handle_ = nullptr;
    EntryPoint entry_ = nullptr;
    std::uintptr_t base_ = 0;
    std::uintptr_t low_ = 0;
    std::uintptr_t high_ = 0;
};

}  // namespace sim
