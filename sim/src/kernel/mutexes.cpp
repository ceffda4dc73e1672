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

void MutexTable::takeInitialOwnership(std::uint32_t object, std::uint32_t thread) {
    Object& mutex = objects_.at(object);
    mutex.owner = thread;
    mutex.ownedTimes = 1;
}

bool MutexTable::release(std::uintptr_t handle, std::uint32_t thread, bool& known) {
    auto it = handles_.find(handle);
    known = it != handles_.end();
    if (!known) return false;
    Object& mutex = objects_.at(it->second);
    if (mutex.owner != thread || mutex.ownedTimes == 0) return false;
    if (--mutex.ownedTimes == 0) mutex.owner = 0;
    return true;
}

std::size_t MutexTable::handleCount(const std::u16string& name) const {
    auto it = byName_.find(name);
    return it == byName_.end() ? 0 : objects_.at(it->second).handles;
}

}  // namespace sim
