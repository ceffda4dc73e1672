// The shell's own windows: the taskbar ("HHTaskBar") across the top of the screen and the desktop
// ("DesktopExplorerWindow"), owned by the shell's process and served by its thread.
#pragma once

#include <windows.h>

#include <cstdint>

#include "device_config.h"

namespace sim {

class Device;

struct ShellWindows {
    HWND taskbar = nullptr;
    HWND desktop = nullptr;
    WNDPROC taskbarProc = nullptr;  // the taskbar's own procedure: what it received is in the journal
    std::uint32_t pid = 0;
    // What the taskbar's own procedure answers to every message (settable by a test).
    LRESULT taskbarResult = 0;
};

// Boots the shell's process with its taskbar (width x height at the top left) and desktop.
void startShell(Device& device, int taskbarWidth, int taskbarHeight);

}  // namespace sim
