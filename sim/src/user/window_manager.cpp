#include "window_manager.h"

#include <algorithm>

#include "handle_table.h"
#include "process.h"
#include "utf.h"

namespace sim {

namespace {

bool nameMatches(LPCWSTR nameOrAtom, const std::u16string& name, ATOM atom) {
    if (IS_INTRESOURCE(nameOrAtom)) return static_cast<ATOM>(reinterpret_cast<std::uintptr_t>(nameOrAtom)) == atom;
    return equalsIgnoreCase(nameOrAtom, name);
}

}  // namespace

const WindowClass* WindowManager::registerClass(Process& process, const WNDCLASSW& wc, DWORD& error) {
    if (!wc.lpszClassName || IS_INTRESOURCE(wc.lpszClassName) || !wc.lpfnWndProc) {
        error = ERROR_INVALID_PARAMETER;
        return nullptr;
    }
    if (findClass(process, wc.lpszClassName)) {
        error = ERROR_CLASS_ALREADY_EXISTS;
        return nullptr;
    }
    auto cls = std::make_unique<WindowClass>();
    cls->atom = nextAtom_++;
    cls->name = wc.lpszClassName;
    cls->wc = wc;
    cls->wc.lpszClassName = nullptr;
    cls->wc.lpszMenuName = nullptr;
    cls->process = &process;
    classes_.push_back(std::move(cls));
    return classes_.back().get();
}

bool WindowManager::unregisterClass(Process& process, LPCWSTR nameOrAtom) {
    auto it = std::find_if(classes_.begin(), classes_.end(), [&](const auto& c) {
        return c->process == &process && nameMatches(nameOrAtom, c->name, c->atom);
    });
    if (it == classes_.end()) return false;
    const ATOM atom = (*it)->atom;
    for (const auto& [hwnd, window] : windows_)
        if (window.classAtom == atom) return false;  // a class with windows cannot go
    classes_.erase(it);
    return true;
}

const WindowClass* WindowManager::findClass(const Process& process, LPCWSTR nameOrAtom) const {
    if (!nameOrAtom) return nullptr;
    for (const auto& cls : classes_)
        if (cls->process == &process && nameMatches(nameOrAtom, cls->name, cls->atom)) return cls.get();
    return nullptr;
}

Window& WindowManager::add(Window window) {
    const HWND hwnd = window.hwnd;
    const bool topLevel = !window.parent;
    auto [it, inserted] = windows_.emplace(hwnd, std::move(window));
    if (topLevel) zOrder_.insert(zOrder_.begin(), hwnd);
    creationOrder_.push_back(hwnd);
    return it->second;
}

Window* WindowManager::find(HWND hwnd) {
    auto it = windows_.find(hwnd);
    return it == windows_.end() ? nullptr : &it->second;
}

const Window* WindowManager::find(HWND hwnd) const {
    auto it = windows_.find(hwnd);
    return it == windows_.end() ? nullptr : &it->second;
}

void WindowManager::remove(HWND hwnd) {
    auto it = windows_.find(hwnd);
    if (it == windows_.end()) return;
    handles_.release(reinterpret_cast<std::uintptr_t>(hwnd), HandleKind::Window, nullptr);
    windows_.erase(it);
    std::erase(zOrder_, hwnd);
    std::erase(creationOrder_, hwnd);
}

std::vector<const Window*> WindowManager::all() const {
    std::vector<const Window*> out;
    for (HWND hwnd : creationOrder_) out.push_back(&windows_.at(hwnd));
    return out;
}

HWND WindowManager::findTopLevel(LPCWSTR className, LPCWSTR title) const {
    for (HWND hwnd : zOrder_) {
        const Window& w = windows_.at(hwnd);
        if (className && !nameMatches(className, w.className, w.classAtom)) continue;
        if (title && !equalsIgnoreCase(title, w.title)) continue;
        return hwnd;
    }
    return nullptr;
}

std::vector<HWND> WindowManager::windowsOf(const Process& process) const {
    std::vector<HWND> out;
    for (HWND hwnd : creationOrder_)
        if (windows_.at(hwnd).process == &process) out.push_back(hwnd);
    return out;
}

void WindowManager::removeClassesOf(const Process& process) {
    std::erase_if(classes_, [&](const auto& c) { return c->process == &process; });
}

}  // namespace sim
