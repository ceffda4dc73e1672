#include "touch_screen.h"

#include "device.h"

namespace sim {

bool touch(Device& device, HWND target, UINT message, int x, int y) {
    device.note(StylusEvent{message, target, x, y});
    const WPARAM keys = message == WM_LBUTTONUP ? 0 : 1 /* MK_LBUTTON */;
    return device.postSystemMessage(target, message, keys, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

}  // namespace sim
