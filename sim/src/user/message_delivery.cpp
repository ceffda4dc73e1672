#include "message_delivery.h"

#include <algorithm>

#include "context.h"
#include "device.h"
#include "sim_thread.h"

namespace sim {

LRESULT callWindowProc(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, Delivery how) {
    // Which procedures each thread is inside: an image they belong to must stay loaded.
    const CallContext& context = currentContext();
    SimThread* thread = context.thread;
    const auto depth = static_cast<std::uint8_t>(thread ? thread->runningProcs.size() : 0);
    if (thread) thread->runningProcs.push_back(reinterpret_cast<const void*>(proc));
    Device* device = context.device;
    const std::uint64_t entry = device ? device->note(DeliveryEntry{hwnd, message, wParam, lParam, 0, how, depth,
                                                                    reinterpret_cast<const void*>(proc), false})
                                       : 0;
    struct Leave {
        SimThread* thread;
        ~Leave() {
            if (thread) thread->runningProcs.pop_back();
        }
    } leave{thread};
    const LRESULT result = proc(hwnd, message, wParam, lParam);
    if (device) device->journal.finishDelivery(entry, result);
    return result;
}

void handleSentMessages(Device& device, SimThread& thread) {
    while (SentMessage* message = thread.queue().takeSent()) {
        Window* window = device.windows.find(message->hwnd);
        if (window && window->thread == &thread)
            message->result = callWindowProc(window->proc, message->hwnd, message->message, message->wParam,
                                             message->lParam, Delivery::Sent);
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
        const auto depth = static_cast<std::uint8_t>(thread.runningProcs.size());
        const std::uint64_t entry = device.note(DeliveryEntry{msg.hwnd, WM_TIMER, msg.wParam, msg.lParam, 0,
                                                              Delivery::Posted, depth, reinterpret_cast<const void*>(timerProc), false});
        timerProc(msg.hwnd, WM_TIMER, static_cast<UINT>(msg.wParam), device.clock.tickCount());
        device.journal.finishDelivery(entry, 0);
        return 0;
    }
    Window* window = device.windows.find(msg.hwnd);
    if (!window || window->thread != &thread) return 0;
    return callWindowProc(window->proc, msg.hwnd, msg.message, msg.wParam, msg.lParam, Delivery::Posted);
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
