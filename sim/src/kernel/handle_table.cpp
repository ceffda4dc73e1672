#include "handle_table.h"

#include <iterator>

#include "process.h"

namespace sim {

std::string_view handleKindName(HandleKind kind) {
    switch (kind) {
    case HandleKind::Window: return "window";
    case HandleKind::Icon: return "icon";
    case HandleKind::Menu: return "menu";
    case HandleKind::DeviceContext: return "dc";
    case HandleKind::Mutex: return "mutex";
    case HandleKind::RegistryKey: return "hkey";
    case HandleKind::Process: return "process";
    case HandleKind::Thread: return "thread";
    }
    return "?";
}

std::uintptr_t HandleTable::allocate(HandleKind kind, Process* owner) {
    const std::uintptr_t value = next_;
    next_ += 4;
    entries_.emplace(value, Entry{kind, owner});
    if (owner) {
        ++owner->handles.live[static_cast<std::size_t>(kind)];
        ++owner->handles.opened[static_cast<std::size_t>(kind)];
    }
    return value;
}

bool HandleTable::release(std::uintptr_t value, HandleKind kind, Process* by) {
    auto it = entries_.find(value);
    if (it == entries_.end() || it->second.kind != kind) {
        if (by) ++by->handles.badReleases;
        return false;
    }
    if (Process* owner = it->second.owner) --owner->handles.live[static_cast<std::size_t>(kind)];
    entries_.erase(it);
    return true;
}

const HandleTable::Entry* HandleTable::find(std::uintptr_t value) const {
    auto it = entries_.find(value);
    return it == entries_.end() ? nullptr : &it->second;
}

bool HandleTable::isOpen(std::uintptr_t value, HandleKind kind) const {
    const Entry* entry = find(value);
    return entry && entry->kind == kind;
}

void HandleTable::releaseAllOf(Process* owner) {
    for (auto it = entries_.begin(); it != entries_.end();)
        it = it->second.owner == owner ? entries_.erase(it) : std::next(it);
}

}  // namespace sim

namespace sim {

std::vector<std::uintptr_t> HandleTable::handlesOf(const Process* owner, HandleKind kind) const {
    std::vector<std::uintptr_t> out;
    for (const auto& [value, entry] : entries_)
        if (entry.owner == owner && entry.kind == kind) out.push_back(value);
    return out;
}

}  // namespace sim
