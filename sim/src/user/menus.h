// Menu objects loaded from resources: a menu and the popups it holds, each with its own handle.
#pragma once

#include <windows.h>

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "resources.h"

namespace sim {

class HandleTable;
class Process;

struct MenuObject {
    std::vector<MenuItem> items;
    std::vector<HMENU> popups;  // per item: the popup's handle, or NULL
    HMENU parent = nullptr;
    Process* owner = nullptr;
};

class MenuTable {
public:
    explicit MenuTable(HandleTable& handles) : handles_(handles) {}

    HMENU create(const std::vector<MenuItem>& items, Process* owner, HMENU parent = nullptr);
    const MenuObject* find(HMENU menu) const;
    // Destroys a menu with its popups; false when the handle is not a menu.
    bool destroy(HMENU menu, Process* by);
    void forgetAllOf(const Process* owner);

private:
    HandleTable& handles_;
    std::unordered_map<HMENU, MenuObject> menus_;
};

}  // namespace sim
