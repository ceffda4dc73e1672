// A thread's message queue: messages sent from other threads, posted messages, the quit flag and timers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace sim {

class SimThread;

// A message sent from another thread; the sender waits until `done`.
struct SentMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
    bool done = false;
};

struct Timer {
    HWND hwnd;
    UINT_PTR id;
    UINT period;
    TIMERPROC proc;
    std::uint64_t due;
};

struct MessageFilter {
    HWND hwnd = nullptr;
    UINT min = 0;
    UINT max = 0;

    bool matches(const MSG& msg) const;
    bool acceptsTimer(const Timer& timer) const;
};

class MessageQueue {
public:
    std::deque<SentMessage*> sent;
    std::deque<MSG> posted;
    bool quitPosted = false;
    int quitCode = 0;

    // Starts or restarts a timer; a timer is known by its window and identifier.
    void setTimer(HWND hwnd, UINT_PTR id, UINT period, TIMERPROC proc, std::uint64_t now);
    bool killTimer(HWND hwnd, UINT_PTR id);
    void killTimersOf(HWND hwnd);
    const std::vector<Timer>& timers() const { return timers_; }

    // The due timer that GetMessageW would turn into WM_TIMER next; restarts its period.
    std::optional<MSG> takeDueTimer(const MessageFilter& filter, std::uint64_t now);
    std::optional<std::uint64_t> earliestDue() const;
    bool hasDueTimer(std::uint64_t now) const;

    // Removes the first posted message the filter accepts.
    std::optional<MSG> takePosted(const MessageFilter& filter, bool remove = true);

    bool hasInput(std::uint64_t now) const { return !sent.empty() || !posted.empty() || quitPosted || hasDueTimer(now); }

private:
    std::vector<Timer> timers_;
};

}  // namespace sim
