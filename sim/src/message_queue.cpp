#include "message_queue.h"

#include <algorithm>

namespace sim {

bool MessageFilter::matches(const MSG& msg) const {
    if (hwnd && msg.hwnd != hwnd) return false;
    if (min == 0 && max == 0) return true;
    return msg.message >= min && msg.message <= max;
}

bool MessageFilter::acceptsTimer(const Timer& timer) const {
    MSG msg{};
    msg.hwnd = timer.hwnd;
    msg.message = WM_TIMER;
    return matches(msg);
}

void MessageQueue::setTimer(HWND hwnd, UINT_PTR id, UINT period, TIMERPROC proc, std::uint64_t now) {
    killTimer(hwnd, id);
    timers_.push_back(Timer{hwnd, id, period, proc, now + period});
}

bool MessageQueue::killTimer(HWND hwnd, UINT_PTR id) {
    auto it = std::find_if(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.hwnd == hwnd && t.id == id; });
    if (it == timers_.end()) return false;
    timers_.erase(it);
    return true;
}

void MessageQueue::killTimersOf(HWND hwnd) {
    std::erase_if(timers_, [&](const Timer& t) { return t.hwnd == hwnd; });
}

std::optional<MSG> MessageQueue::takeDueTimer(const MessageFilter& filter, std::uint64_t now) {
    Timer* chosen = nullptr;
    for (Timer& timer : timers_) {
        if (timer.due > now || !filter.acceptsTimer(timer)) continue;
        if (!chosen || timer.due < chosen->due) chosen = &timer;
    }
    if (!chosen) return std::nullopt;
    // Expiries missed while the thread was busy fold into one WM_TIMER; the period restarts now.
    chosen->due = now + std::max<UINT>(chosen->period, 1);
    MSG msg{};
    msg.hwnd = chosen->hwnd;
    msg.message = WM_TIMER;
    msg.wParam = chosen->id;
    msg.lParam = reinterpret_cast<LPARAM>(chosen->proc);
    return msg;
}

std::optional<std::uint64_t> MessageQueue::earliestDue() const {
    std::optional<std::uint64_t> earliest;
    for (const Timer& timer : timers_)
        if (!earliest || timer.due < *earliest) earliest = timer.due;
    return earliest;
}

bool MessageQueue::hasDueTimer(std::uint64_t now) const {
    return std::any_of(timers_.begin(), timers_.end(), [&](const Timer& t) { return t.due <= now; });
}

std::optional<MSG> MessageQueue::takePosted(const MessageFilter& filter, bool remove) {
    auto it = std::find_if(posted.begin(), posted.end(), [&](const MSG& m) { return filter.matches(m); });
    if (it == posted.end()) return std::nullopt;
    MSG msg = *it;
    if (remove) posted.erase(it);
    return msg;
}

}  // namespace sim
