#include "menus.h"

#include <algorithm>

#include "handle_table.h"

namespace sim {

HMENU MenuTable::create(const std::vector<MenuItem>& items, Process* owner, HMENU parent) {
    const HMENU menu = reinterpret_cast<HMENU>(handles_.allocate(HandleKind::Menu, owner));
    MenuObject object;
    object.items = items;
    object.parent = parent;
    object.owner = owner;
    for (const MenuItem& item : items)
        object.popups.push_back(item.popup.empty() && !(item.flags & MF_POPUP) ? nullptr
                                                                               : create(item.popup, owner, menu));
    menus_[menu] = std::move(object);
    return menu;
}

const MenuObject* MenuTable::find(HMENU menu) const {
    auto it = menus_.find(menu);
    return it == menus_.end() ? nullptr : &it->second;
}

bool MenuTable::destroy(HMENU menu, Process* by) {
    auto it = menus_.find(menu);
    if (it == menus_.end()) {
        handles_.release(reinterpret_cast<std::uintptr_t>(menu), HandleKind::Menu, by);  // counts the bad release
        return false;
    }
    const std::vector<HMENU> popups = it->second.popups;
    const HMENU parent = it->second.parent;
    menus_.erase(it);
    handles_.release(reinterpret_cast<std::uintptr_t>(menu), HandleKind::Menu, by);
    for (HMENU popup : popups)
        if (popup) destroy(popup, by);
    if (auto p = menus_.find(parent); p != menus_.end())
        std::replace(p->second.popups.begin(), p->second.popups.end(), menu, HMENU{nullptr});
    return true;
}

void MenuTable::forgetAllOf(const Process* owner) {
    std::erase_if(menus_, [&](const auto& entry) { return entry.second.owner == owner; });
}

}  // namespace sim
