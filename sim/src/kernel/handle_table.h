// Handles of the kernel and user objects that programs own, counted per process so that leaks show.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "device_config.h"

namespace sim {

class Process;

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
