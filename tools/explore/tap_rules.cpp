#include "tap_rules.h"

namespace explore {

namespace {

constexpr const char* kSystemClasses[] = {"HHTaskBar",  "SipWndClass", "menu_worker", "Explore",     "Worker",
                                          "DesktopExplorerWindow", "MSPOutlook", "MS_SIPBUTTON", "static"};

}  // namespace

bool closableWindow(const WindowTraits& w) {
    if (!w.exists || !(w.style & kVisible) || (w.style & kDisabled)) return false;
    // The program reads at most 63 characters of the name: a longer one matches nothing.
    for (const char* name : kSystemClasses)
        if (w.className == name) return false;
    if (w.exStyle & kNoActivate) return false;
    if (w.className == "Dialog") return false;
    return !(w.exStyle & kCaptionOk);
}

bool liftInCloseBand(int x, int y, int width, int height) {
    const int ux = x & 0xFFFF;
    const int uy = y & 0xFFFF;
    return ux >= width - 25 && ux < width && uy < height;
}

bool shellCloseButtonHit(int x, int y, int width, int height) {
    const int sx = static_cast<std::int16_t>(x & 0xFFFF);
    const int sy = static_cast<std::int16_t>(y & 0xFFFF);
    return sx >= width - 25 && sx < width && sy >= 0 && sy < height;
}

}  // namespace explore
