// The stylus on the shell's taskbar, with tap-to-close in front of it or not: every message must
// reach the taskbar's own procedure once, unchanged, and a lift in the close band must close the
// window in front exactly when the rules say it may.
#include "run.h"

namespace explore {

namespace {

std::size_t countOf(const std::vector<sim::ReceivedMessage>& log, UINT message) {
    std::size_t n = 0;
    for (const auto& m : log) n += m.message == message;
    return n;
}

const char* messageName(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN: return "down";
    case WM_LBUTTONUP: return "up";
    default: return "move";
    }
}

}  // namespace

int Run::drawX() {
    const int w = config_.taskbarWidth < 0 ? config_.screenWidth : config_.taskbarWidth;
    switch (rng_.below(14)) {
    case 12:
    case 13: return static_cast<int>(rng_.between(w - 25, w - 1));  // on the close button
    case 0: return w - 26;
    case 1: return w - 25;
    case 2: return w - 24;
    case 3: return w - 1;
    case 4: return w;
    case 5: return w + 1;
    case 6: return 0;
    case 7: return -1;
    case 8: return rng_.pick({-32768, 32767, 65535, 65536, w - 65536 - 10, w + 65536 - 10});
    case 9:
    case 10: return static_cast<int>(rng_.between(0, w + 10));
    default: return static_cast<int>(rng_.between(-70000, 70000));
    }
}

int Run::drawY() {
    const int h = config_.taskbarHeight;
    switch (rng_.below(8)) {
    case 0: return h - 1;
    case 1: return h;
    case 2: return rng_.pick({0, -1, h + 1, -32768, 32767, 65535, h - 65536 - 1});
    case 3: return static_cast<int>(rng_.between(-70000, 70000));
    default: return static_cast<int>(rng_.between(0, h > 0 ? h - 1 : 0));
    }
}

const StandIn* Run::standIn(HWND hwnd) const {
    for (const StandIn& s : standIns_)
        if (s.hwnd == hwnd) return &s;
    return nullptr;
}

WindowTraits Run::traitsOf(HWND hwnd) const {
    WindowTraits traits;
    if (!hwnd || !device_.windowExists(hwnd)) return traits;
    traits.exists = true;
    if (const StandIn* s = standIn(hwnd)) {
        traits.className = s->kind.className;
        traits.style = s->kind.style;
        traits.exStyle = s->kind.exStyle;
        return traits;
    }
    for (const pocket::WindowView& w : device_.windows()) {
        if (w.hwnd != hwnd) continue;
        traits.className = w.className;
        traits.style = w.style;
        traits.exStyle = w.exStyle;
    }
    return traits;
}

void Run::doStylus() {
    const int x = drawX();
    const int y = drawY();
    const std::string at = std::to_string(x) + "," + std::to_string(y);
    switch (rng_.weighted({45, 12, 12, 8, 12, 11})) {
    case 0:
        note("stylus tap at " + at);
        chooseFault(EventKind::Stylus, "");
        stylus(WM_LBUTTONDOWN, x, y);
        stylus(WM_LBUTTONUP, x, y);
        break;
    case 1:
        note("stylus down at " + at);
        chooseFault(EventKind::Stylus, "");
        stylus(WM_LBUTTONDOWN, x, y);
        break;
    case 2:
        note("stylus up at " + at);
        chooseFault(EventKind::Stylus, "");
        stylus(WM_LBUTTONUP, x, y);
        break;
    case 3:
        note("stylus moves to " + at);
        chooseFault(EventKind::Stylus, "");
        stylus(WM_MOUSEMOVE, x, y);
        break;
    default: {
        // Down in one place and up in another: only the lift counts.
        const int x2 = drawX();
        const int y2 = drawY();
        note("stylus down at " + at + ", drawn to " + std::to_string(x2) + "," + std::to_string(y2) + " and lifted");
        chooseFault(EventKind::Stylus, "");
        stylus(WM_LBUTTONDOWN, x, y);
        stylus(WM_MOUSEMOVE, x2, y2);
        stylus(WM_LBUTTONUP, x2, y2);
    }
    }
}

void Run::stylus(UINT message, int x, int y) {
    const int width = config_.taskbarWidth < 0 ? config_.screenWidth : config_.taskbarWidth;
    const int height = config_.taskbarHeight;
    const HWND front = device_.foreground();
    const StandIn* frontStandIn = standIn(front);
    const bool application = front && device_.windowExists(front) && front != device_.taskbar() &&
                             front != device_.desktop();
    const bool sentBack = message == WM_LBUTTONUP && application && shellCloseButtonHit(x, y, width, height);
    const bool goneWhenSentBack = sentBack && frontStandIn && frontStandIn->kind.closesWhenSentBack;
    // Any of its questions about the window in front failing makes tap-to-close leave it alone.
    const bool judged = !faultAffects(EventKind::Stylus, "appshut");
    const bool expectClose = message == WM_LBUTTONUP && tapCloseRunning_ && tapCloseHooked_ && judged &&
                             liftInCloseBand(x, y, width, height) && closableWindow(traitsOf(front)) &&
                             !goneWhenSentBack;
    const std::uint64_t mark = device_.mark();

    inStylus_ = true;
    // A position travels as two 16-bit halves: the script gives what arrives.
    record(std::string("stylus ") + messageName(message) + " " + std::to_string(static_cast<std::int16_t>(x)) + " " +
           std::to_string(static_cast<std::int16_t>(y)));
    if (message == WM_LBUTTONDOWN) device_.stylusDown(x, y);
    else if (message == WM_LBUTTONUP) device_.stylusUp(x, y);
    else device_.stylusMove(x, y);
    ++counts_[std::string("stylus ") + messageName(message)];
    // A lift raced by a stopped thread (tap-to-close halfway through hooking or unhooking, or
    // switched off before the shell got to the lift) may close or not; every message must still
    // reach the taskbar once.
    const bool judgeable = !settleRace();
    inStylus_ = false;

    const std::string what = std::string("stylus ") + messageName(message) + " at " + std::to_string(x) + "," +
                             std::to_string(y);
    const auto log = device_.taskbarReceived(mark);
    if (log.size() != 1) {
        problem(what + ": the taskbar's own procedure received " + std::to_string(log.size()) +
                " messages instead of 1");
    } else {
        const sim::ReceivedMessage& m = log.back();
        const LPARAM packed = MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
        const WPARAM wParam = message == WM_LBUTTONUP ? 0 : 1;
        if (m.message != message || m.wParam != wParam || m.lParam != packed)
            problem(what + ": the taskbar's own procedure received message " + std::to_string(m.message) +
                    " with " + std::to_string(m.wParam) + ", " + std::to_string(m.lParam) + " instead");
    }
    if (message != WM_LBUTTONUP) return;
    const std::size_t sentNow = device_.sentToBackground(mark).size();
    if (judgeable && sentNow != (sentBack ? 1u : 0u))
        problem(what + ": the shell sent " + std::to_string(sentNow) +
                " application(s) to the background, expected " + (sentBack ? "1" : "0"));
    if (frontStandIn && judgeable) {
        const std::size_t closes = countOf(device_.standInMessages(front, mark), WM_CLOSE);
        if (closes != (expectClose ? 1u : 0u))
            problem(what + ": the window in front (" + frontStandIn->kind.className.substr(0, 24) + ") got " +
                    std::to_string(closes) + " WM_CLOSE, expected " + (expectClose ? "1" : "0"));
        if (expectClose) ++counts_["closed by a tap"];
    } else if (expectClose && !frontStandIn) {
        problem(what + ": the rules call a window closable that is not an outside application's");
    }
}

}  // namespace explore
