// A hosted process with one window that runs what the test hands it, on its own thread, and
// records the messages it receives; for checking platform calls whose caller matters.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "context.h"
#include "inside.h"
#include "inside.h"
#include "pocket_device.h"

namespace probe {

inline constexpr UINT kRunMessage = WM_APP + 1;

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    std::uint64_t time;
};

inline std::map<HWND, std::vector<Received>> received;
inline std::function<int()> pending;
inline std::optional<int> lastResult;

inline LRESULT CALLBACK ProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kRunMessage) {
        lastResult.reset();
        const std::function<int()> action = pending;  // the test may hand over the next one meanwhile
        const int result = action ? action() : 0;
        lastResult = result;
        return result;
    }
    received[hwnd].push_back({message, wParam, lParam, sim::currentDevice().clock.now()});
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

struct Probe {
    HWND hwnd = nullptr;
    std::uint32_t pid = 0;
};

// Starts process `name` with a window of class `className` and runs its message loop.
inline Probe start(pocket::PocketDevice& device, const std::string& name, std::u16string className = u"PROBE") {
    sim::Process& process = inside(device).startHosted(name, [className] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = ProbeProc;
        wc.lpszClassName = className.c_str();
        RegisterClassW(&wc);
        CreateWindowExW(0, className.c_str(), u"probe", 0, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                        nullptr, nullptr);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
        return 0;
    });
    const auto windows = inside(device).windows.windowsOf(process);
    return Probe{windows.empty() ? nullptr : windows.front(), process.pid};
}

// Runs `action` inside the probe's window procedure and returns what it returned, or nothing while
// the action still waits (for a sound played to its end, say; lastResult has it once time moves on).
inline std::optional<int> run(pocket::PocketDevice& device, const Probe& p, std::function<int()> action) {
    pending = std::move(action);
    lastResult.reset();
    inside(device).postSystemMessage(p.hwnd, kRunMessage, 0, 0);
    inside(device).runUntilIdle();
    return lastResult;
}

inline std::vector<Received> messagesOf(HWND hwnd, UINT message) {
    std::vector<Received> out;
    for (const Received& r : received[hwnd])
        if (r.message == message) out.push_back(r);
    return out;
}

// Clears the records between tests.
inline void reset() {
    received.clear();
    pending = nullptr;
    lastResult.reset();
}

}  // namespace probe
