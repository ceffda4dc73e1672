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

void MessageQueue::post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD time) {
    MSG msg{};
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = time;
    posted_.push_back(msg);
}

void MessageQueue::dropPostedFor(HWND hwnd) {
    std::erase_if(posted_, [hwnd](const MSG& msg) { return msg.hwnd == hwnd; });
}

void MessageQueue::postQuit(int exitCode) {
    quitPosted_ = true;
    quitCode_ = exitCode;
}

SentMessage* MessageQueue::takeSent() {
    if (sent_.empty()) return nullptr;
    SentMessage* message = sent_.front();
    sent_.pop_front();
    return message;
}

void MessageQueue::withdrawSent(SentMessage* message) { std::erase(sent_, message); }

void MessageQueue::abandonSent() {
    for (SentMessage* message : sent_) message->done = true;
    sent_.clear();
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

std::optional<MSG> MessageQueue::take(const MessageFilter& filter, bool remove, std::uint64_t now, DWORD tick) {
    auto found = std::find_if(posted_.begin(), posted_.end(), [&](const MSG& m) { return filter.matches(m); });
    if (found != posted_.end()) {
        MSG msg = *found;
        if (remove) posted_.erase(found);
        return msg;
    }
    MSG msg{};
    msg.time = tick;
    if (quitPosted_) {
        msg.message = WM_QUIT;
        msg.wParam = static_cast<WPARAM>(quitCode_);
        if (remove) quitPosted_ = false;
        return msg;
    }
    Timer* due = nullptr;
    for (Timer& timer : timers_) {
        if (timer.due > now || !filter.acceptsTimer(timer)) continue;
        // Without removal the first due timer is shown; with it, the one due longest.
        if (!remove) {
            due = &timer;
            break;
        }
        if (!due || timer.due < due->due) due = &timer;
    }
    if (!due) return std::nullopt;
    // Expiries missed while the thread was busy fold into one WM_TIMER; the period restarts now.
    if (remove) due->due = now + std::max<UINT>(due->period, 1);
    msg.hwnd = due->hwnd;
    msg.message = WM_TIMER;
    msg.wParam = due->id;
    msg.lParam = reinterpret_cast<LPARAM>(due->proc);
    return msg;
}

bool MessageQueue::ready(const MessageFilter& filter, std::uint64_t now) const {
    if (!sent_.empty() || quitPosted_) return true;
    if (std::any_of(posted_.begin(), posted_.end(), [&](const MSG& m) { return filter.matches(m); })) return true;
    return std::any_of(timers_.begin(), timers_.end(),
                       [&](const Timer& t) { return t.due <= now && filter.acceptsTimer(t); });
}

std::optional<std::uint64_t> MessageQueue::nextDue(const MessageFilter& filter) const {
    std::optional<std::uint64_t> earliest;
    for (const Timer& timer : timers_)
        if (filter.acceptsTimer(timer) && (!earliest || timer.due < *earliest)) earliest = timer.due;
    return earliest;
}

}  // namespace sim
