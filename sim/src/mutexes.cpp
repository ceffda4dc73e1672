#include "mutexes.h"

namespace sim {

std::uint32_t MutexTable::open(const std::u16string& name, bool& existed) {
    if (!name.empty()) {
        if (auto it = byName_.find(name); it != byName_.end()) {
            existed = true;
            return it->second;
        }
    }
    existed = false;
    const std::uint32_t id = nextObject_++;
    objects_[id] = Object{name, 0};
    if (!name.empty()) byName_[name] = id;
    return id;
}

void MutexTable::addHandle(std::uintptr_t handle, std::uint32_t object) {
    handles_[handle] = object;
    ++objects_.at(object).handles;
}

bool MutexTable::closeHandle(std::uintptr_t handle) {
    auto it = handles_.find(handle);
    if (it == handles_.end()) return false;
    auto obj = objects_.find(it->second);
    handles_.erase(it);
    if (--obj->second.handles == 0) {
        if (!obj->second.name.empty()) byName_.erase(obj->second.name);
        objects_.erase(obj);
    }
    return true;
}

std::size_t MutexTable::handleCount(const std::u16string& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? 0 : objects_.at(it->second).handles;
}

}  // namespace sim
