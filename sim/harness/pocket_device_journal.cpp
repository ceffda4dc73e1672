// The harness's views of the journal.
#include "pocket_device.h"

namespace pocket {

std::vector<CallView> PocketDevice::calls(std::uint64_t mark, const std::string& program) const {
    std::vector<CallView> out;
    for (const sim::Entry* entry : journal().since(mark)) {
        const auto* call = entry->as<sim::CallEntry>();
        if (!call) continue;
        const sim::Process* owner = device_.findProcess(entry->codePid);
        const std::string process = owner ? owner->name : std::string();
        if (!program.empty() && process != program) continue;
        out.push_back(CallView{entry->time, entry->thread, process, call->function, call->args, call->result, call->faulted});
    }
    return out;
}

std::vector<std::string> PocketDevice::callNames(std::uint64_t mark, const std::string& program) const {
    std::vector<std::string> names;
    for (const CallView& call : calls(mark, program)) names.push_back(call.function);
    return names;
}

std::vector<sim::ReceivedMessage> PocketDevice::received(const void* proc, HWND hwnd, std::uint64_t mark) const {
    std::vector<sim::ReceivedMessage> out;
    for (const sim::Entry* entry : journal().since(mark)) {
        const auto* delivery = entry->as<sim::DeliveryEntry>();
        if (!delivery || delivery->proc != proc || (hwnd && delivery->hwnd != hwnd)) continue;
        out.push_back(sim::ReceivedMessage{delivery->message, delivery->wParam, delivery->lParam, entry->time});
    }
    return out;
}

std::vector<HWND> PocketDevice::sentToBackground(std::uint64_t mark) const {
    std::vector<HWND> out;
    for (const sim::SentToBackground& sent : journal().all<sim::SentToBackground>(mark)) out.push_back(sent.window);
    return out;
}

}  // namespace pocket
