// The touch screen's driver: the stylus down, moved and lifted at a window's point reaches the
// window as the mouse messages, and the journal records each touch.
#pragma once

#include <windows.h>

namespace sim {

class Device;

// `message` is WM_LBUTTONDOWN, WM_MOUSEMOVE or WM_LBUTTONUP, at (x, y) of `target`'s client
// area (negative coordinates too). False when the message cannot be posted.
bool touch(Device& device, HWND target, UINT message, int x, int y);

}  // namespace sim
