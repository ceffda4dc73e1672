// Window classes and windows of every process, and the z-order of the top-level windows.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace sim {

class Process;
class SimThread;
class HandleTable;

struct WindowClass {
    ATOM atom = 0;
    std::u16string name;
    WNDCLASSW wc{};
    Process* process = nullptr;
};

struct Window {
    HWND hwnd = nullptr;
    Process* process = nullptr;
    SimThread* thread = nullptr;
    ATOM classAtom = 0;
    std::u16string className;
    std::u16string title;
    DWORD style = 0;
    DWORD exStyle = 0;
    WNDPROC proc = nullptr;
    RECT rect{};
    HWND parent = nullptr;
    LONG userData = 0;
    bool destroying = false;
};

class WindowManager {
public:
    explicit WindowManager(HandleTable& handles) : handles_(handles) {}

    // Classes belong to the process that registered them.
    const WindowClass* registerClass(Process& process, const WNDCLASSW& wc, DWORD& error);
    bool unregisterClass(Process& process, LPCWSTR nameOrAtom);
    const WindowClass* findClass(const Process& process, LPCWSTR nameOrAtom) const;

    Window& add(Window window);
    Window* find(HWND hwnd);
    const Window* find(HWND hwnd) const;
    void remove(HWND hwnd);
    // Top-level windows, front first.
    const std::vector<HWND>& zOrder() const { return zOrder_; }
    std::vector<const Window*> all() const;
    // FindWindowW: class (name or atom) and title, either may be NULL; both compared without case.
    HWND findTopLevel(LPCWSTR className, LPCWSTR title) const;
    std::vector<HWND> windowsOf(const Process& process) const;
    void removeClassesOf(const Process& process);

private:
    HandleTable& handles_;
    std::vector<std::unique_ptr<WindowClass>> classes_;
    std::unordered_map<HWND, Window> windows_;
    std::vector<HWND> zOrder_;
    std::vector<HWND> creationOrder_;
    ATOM nextAtom_ = 0xC000;
};

}  // namespace sim
