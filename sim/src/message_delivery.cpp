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
    while (SentMessage* message = thread.queue().takeSent()) {
        Window* window = device.windows.find(message->hwnd);
        if (window && window->thread == &thread)
            message->result = callWindowProc(window->proc, message->hwnd, message->message, message->wParam,
                                             message->lParam);
        message->done = true;
    }
}


std::optional<MSG> takeMessage(Device& device, SimThread& thread, const MessageFilter& filter, bool remove) {
    handleSentMessages(device, thread);
    return thread.queue().take(filter, remove, device.clock.now(), device.clock.tickCount());
}

MSG waitForMessage(Device& device, SimThread& thread, const MessageFilter& filter) {
    for (;;) {
        if (auto msg = takeMessage(device, thread, filter, true)) return *msg;
        device.scheduler.block(
            thread, [&device, &thread, filter] { return thread.queue().ready(filter, device.clock.now()); },
            [&thread, filter] { return thread.queue().nextDue(filter); });
    }
}

LRESULT sendToOtherThread(Device& device, SimThread& sender, SimThread& receiver, HWND hwnd, UINT message,
                          WPARAM wParam, LPARAM lParam) {
    SentMessage sent{hwnd, message, wParam, lParam};
    receiver.queue().enqueueSent(&sent);
    // If the sender is unwound while waiting, the receiver must not keep a pointer to its stack.
    struct Withdraw {
        Device& device;
        SimThread* receiver;
        SentMessage* sent;
        ~Withdraw() {
            if (sent->done) return;
            for (const auto& t : device.scheduler.threads())
                if (t.get() == receiver) receiver->queue().withdrawSent(sent);
        }
    } withdraw{device, &receiver, &sent};
    while (!sent.done) {
        handleSentMessages(device, sender);
        if (sent.done) break;
        device.scheduler.block(sender, [&sent, &sender] { return sent.done || sender.queue().hasSent(); });
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
                thread.queue().postQuit(static_cast<int>(msg->wParam));
                return false;
            }
            dispatchMessage(device, thread, *msg);
            continue;
        }
        device.scheduler.block(
            thread, [&] { return finished() || thread.queue().ready(any, device.clock.now()); },
            [&thread, any] { return thread.queue().nextDue(any); });
    }
}

void abandonSentMessages(SimThread& thread) {
    thread.queue().abandonSent();
}

}  // namespace sim
