#include "message_delivery.h"

#include <algorithm>

#include "context.h"
#include "device.h"
#include "sim_thread.h"

namespace sim {

LRESULT callWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Which procedures each thread is inside: an image they belong to must stay loaded.
    SimThread* thread = currentContext().thread;
    if (thread) thread->runningProcs.push_back(reinterpret_cast<const void*>(proc));
    struct Leave {
        SimThread* thread;
        ~Leave() {
            if (thread) thread->runningProcs.pop_back();
        }
    } leave{thread};
    return proc(hwnd, message, wParam, lParam);
}

void handleSentMessages(Device& device, SimThread& thread) {
    auto& sent = thread.queue().sent;
    while (!sent.empty()) {
        SentMessage* message = sent.front();
        sent.pop_front();
        Window* window = device.windows.find(message->hwnd);
        if (window && window->thread == &thread)
            message->result = callWindowProc(window->proc, message->hwnd, message->message, message->wParam,
                                             message->lParam);
        message->done = true;
    }
}

namespace {

MSG stamped(MSG msg, const Device& device) {
    msg.time = device.clock.tickCount();
    return msg;
}

bool canRetrieve(const Device& device, SimThread& thread, const MessageFilter& filter) {
    MessageQueue& queue = thread.queue();
    if (!queue.sent.empty() || queue.quitPosted) return true;
    for (const MSG& msg : queue.posted)
        if (filter.matches(msg)) return true;
    for (const Timer& timer : queue.timers())
        if (timer.due <= device.clock.now() && filter.acceptsTimer(timer)) return true;
    return false;
}

std::optional<std::uint64_t> nextTimerFor(SimThread& thread, const MessageFilter& filter) {
    std::optional<std::uint64_t> earliest;
    for (const Timer& timer : thread.queue().timers())
        if (filter.acceptsTimer(timer) && (!earliest || timer.due < *earliest)) earliest = timer.due;
    return earliest;
}

}  // namespace

std::optional<MSG> takeMessage(Device& device, SimThread& thread, const MessageFilter& filter, bool remove) {
    handleSentMessages(device, thread);
    MessageQueue& queue = thread.queue();
    if (auto msg = queue.takePosted(filter, remove)) return *msg;
    if (queue.quitPosted) {
        MSG quit{};
        quit.message = WM_QUIT;
        quit.wParam = static_cast<WPARAM>(queue.quitCode);
        if (remove) queue.quitPosted = false;
        return stamped(quit, device);
    }
    if (!remove) {
        for (const Timer& timer : queue.timers())
            if (timer.due <= device.clock.now() && filter.acceptsTimer(timer)) {
                MSG msg{};
                msg.hwnd = timer.hwnd;
                msg.message = WM_TIMER;
                msg.wParam = timer.id;
                msg.lParam = reinterpret_cast<LPARAM>(timer.proc);
                return stamped(msg, device);
            }
        return std::nullopt;
    }
    if (auto msg = queue.takeDueTimer(filter, device.clock.now())) return stamped(*msg, device);
    return std::nullopt;
}

MSG waitForMessage(Device& device, SimThread& thread, const MessageFilter& filter) {
    for (;;) {
        if (auto msg = takeMessage(device, thread, filter, true)) return *msg;
        device.scheduler.block(
            thread, [&device, &thread, filter] { return canRetrieve(device, thread, filter); },
            [&thread, filter] { return nextTimerFor(thread, filter); });
    }
}

LRESULT sendToOtherThread(Device& device, SimThread& sender, SimThread& receiver, HWND hwnd, UINT message,
                          WPARAM wParam, LPARAM lParam) {
    SentMessage sent{hwnd, message, wParam, lParam};
    receiver.queue().sent.push_back(&sent);
    // If the sender is unwound while waiting, the receiver must not keep a pointer to its stack.
    struct Withdraw {
        Device& device;
        SimThread* receiver;
        SentMessage* sent;
        ~Withdraw() {
            if (sent->done) return;
            for (const auto& t : device.scheduler.threads())
                if (t.get() == receiver) std::erase(receiver->queue().sent, sent);
        }
    } withdraw{device, &receiver, &sent};
    while (!sent.done) {
        handleSentMessages(device, sender);
        if (sent.done) break;
        device.scheduler.block(sender, [&sent, &sender] { return sent.done || !sender.queue().sent.empty(); });
    }
    return sent.result;
}

LRESULT dispatchMessage(Device& device, SimThread& thread, const MSG& msg) {
    if (msg.message == WM_TIMER && msg.lParam) {
        auto timerProc = reinterpret_cast<TIMERPROC>(msg.lParam);
        timerProc(msg.hwnd, WM_TIMER, static_cast<UINT>(msg.wParam), device.clock.tickCount());
        return 0;
    }
    Window* window = device.windows.find(msg.hwnd);
    if (!window || window->thread != &thread) return 0;
    return callWindowProc(window->proc, msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

bool runModalLoop(Device& device, SimThread& thread, const std::function<bool()>& finished) {
    ++thread.modalDepth;
    struct Depth {
        SimThread& thread;
        ~Depth() { --thread.modalDepth; }
    } depth{thread};
    const MessageFilter any{};
    for (;;) {
        if (finished()) return true;
        if (auto msg = takeMessage(device, thread, any, true)) {
            if (msg->message == WM_QUIT) {
                thread.queue().quitPosted = true;
                thread.queue().quitCode = static_cast<int>(msg->wParam);
                return false;
            }
            dispatchMessage(device, thread, *msg);
            continue;
        }
        device.scheduler.block(
            thread, [&] { return finished() || canRetrieve(device, thread, any); },
            [&thread, any] { return nextTimerFor(thread, any); });
    }
}

void abandonSentMessages(SimThread& thread) {
    for (SentMessage* message : thread.queue().sent) message->done = true;
    thread.queue().sent.clear();
}

}  // namespace sim
