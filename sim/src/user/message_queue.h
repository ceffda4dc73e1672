// A thread's message queue: messages sent from other threads, posted messages, the quit flag and
// timers. The queue owns that state; every change to it goes through here.
#pragma once

#include <windows.h>

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

namespace sim {

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
    // Posted messages; `time` is the tick count the message carries.
    void post(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, DWORD time);
    // Drops what was posted to a window that goes away.
    void dropPostedFor(HWND hwnd);
    // Sets the quit flag; a later quit replaces the code, as PostQuitMessage does.
    void postQuit(int exitCode);

    // Messages sent from other threads, handled first, in the order they came.
    void enqueueSent(SentMessage* message) { sent_.push_back(message); }
    SentMessage* takeSent();
    bool hasSent() const { return !sent_.empty(); }
    void withdrawSent(SentMessage* message);
    // Answers every sent message still waiting (with 0): its receiver ends.
    void abandonSent();

    // Starts or restarts a timer; a timer is known by its window and identifier.
    void setTimer(HWND hwnd, UINT_PTR id, UINT period, TIMERPROC proc, std::uint64_t now);
    bool killTimer(HWND hwnd, UINT_PTR id);
    void killTimersOf(HWND hwnd);
    const std::vector<Timer>& timers() const { return timers_; }

    // One retrieval in Win32's order, sent messages aside: a posted message the filter accepts,
    // then the quit message, then a due timer (which restarts its period when removed).
    // `tick` stamps the quit and timer messages made here.
    std::optional<MSG> take(const MessageFilter& filter, bool remove, std::uint64_t now, DWORD tick);
    // Whether a wait with this filter would end now: sent messages, or something `take` returns.
    bool ready(const MessageFilter& filter, std::uint64_t now) const;
    // When the earliest timer the filter accepts is due.
    std::optional<std::uint64_t> nextDue(const MessageFilter& filter) const;

private:
    std::deque<SentMessage*> sent_;
    std::deque<MSG> posted_;
    bool quitPosted_ = false;
    int quitCode_ = 0;
    std::vector<Timer> timers_;
};

}  // namespace sim
