// Handles of the kernel and user objects that programs own, counted per process so that leaks show.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace sim {

class Process;

enum class HandleKind { Window, Icon, Menu, DeviceContext, Mutex, RegistryKey, Process, Thread };
inline constexpr std::size_t kHandleKindCount = 8;
std::string_view handleKindName(HandleKind kind);

struct HandleCounts {
    std::array<std::int64_t, kHandleKindCount> live{};
    std::array<std::uint64_t, kHandleKindCount> opened{};
    std::uint64_t badReleases = 0;  // releases of a handle that was not open, or of the wrong kind

    std::int64_t liveOf(HandleKind kind) const { return live[static_cast<std::size_t>(kind)]; }
    std::uint64_t openedOf(HandleKind kind) const { return opened[static_cast<std::size_t>(kind)]; }
};

class HandleTable {
public:
    struct Entry {
        HandleKind kind;
        Process* owner;
    };

    std::uintptr_t allocate(HandleKind kind, Process* owner);
    // False (and a bad release counted on `by`) when the value is not an open handle of that kind.
    bool release(std::uintptr_t value, HandleKind kind, Process* by);
    const Entry* find(std::uintptr_t value) const;
    bool isOpen(std::uintptr_t value, HandleKind kind) const;
    // The system closes what an ended process left open; its counts keep showing the leak.
    void releaseAllOf(Process* owner);
    std::vector<std::uintptr_t> handlesOf(const Process* owner, HandleKind kind) const;

private:
    std::unordered_map<std::uintptr_t, Entry> entries_;
    std::uintptr_t next_ = 0x00010000;
};

}  // namespace sim
