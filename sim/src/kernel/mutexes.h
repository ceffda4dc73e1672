// Named kernel mutexes, shared by every process of the device.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>

namespace sim {

class MutexTable {
public:
    // Opens the named object (creating it when new); `existed` tells which. An empty name makes a private one.
    std::uint32_t open(const std::u16string& name, bool& existed);
    void addHandle(std::uintptr_t handle, std::uint32_t object);
    // Closes one handle; the object goes when its last handle closes.
    bool closeHandle(std::uintptr_t handle);
    bool exists(const std::u16string& name) const { return byName_.count(name) != 0; }
    std::size_t handleCount(const std::u16string& name) const;

    // Ownership: a thread owns a mutex as many times as it took it, and only it can give it back.
    void takeInitialOwnership(std::uint32_t object, std::uint32_t thread);
    // False when `handle` is no mutex (`known` false) or `thread` does not own it.
    bool release(std::uintptr_t handle, std::uint32_t thread, bool& known);

private:
    struct Object {
        std::u16string name;
        std::size_t handles = 0;
        std::uint32_t owner = 0;  // thread id; 0 while nobody owns it
        std::size_t ownedTimes = 0;
    };
    std::map<std::uint32_t, Object> objects_;
    std::map<std::u16string, std::uint32_t> byName_;
    std::unordered_map<std::uintptr_t, std::uint32_t> handles_;
    std::uint32_t nextObject_ = 1;
};

}  // namespace sim
