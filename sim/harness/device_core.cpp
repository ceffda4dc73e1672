#include "device_core.h"

#include "device.h"

namespace pocket {

DeviceCore::DeviceCore(sim::DeviceConfig config) : owned_(std::make_unique<sim::Device>(config)) {}

DeviceCore::~DeviceCore() = default;

const sim::DeviceConfig& DeviceCore::config() const { return owned_->config; }

void DeviceCore::setTickCount(std::uint32_t tick) { owned_->setTickCount(tick); }
std::uint32_t DeviceCore::tickCount() const { return owned_->clock.tickCount(); }
std::uint64_t DeviceCore::now() const { return owned_->clock.now(); }
void DeviceCore::advance(std::uint64_t milliseconds) { owned_->advance(milliseconds); }
void DeviceCore::advanceUntilStop(std::uint64_t milliseconds) { owned_->advanceUntilStop(milliseconds); }
void DeviceCore::runUntilIdle() { owned_->runUntilIdle(); }

bool DeviceCore::postMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return owned_->postSystemMessage(hwnd, message, wParam, lParam);
}

const sim::Journal& DeviceCore::journal() const { return owned_->journal; }
std::uint64_t DeviceCore::mark() const { return owned_->journal.next(); }
void DeviceCore::limitJournal(std::size_t entries) { owned_->journal.limit(entries); }
void DeviceCore::recordCalls(bool on) { owned_->journal.recordCalls(on); }

std::vector<CallView> DeviceCore::calls(std::uint64_t mark, const std::string& program) const {
    std::vector<CallView> out;
    for (const sim::Entry* entry : journal().since(mark)) {
        const auto* call = entry->as<sim::CallEntry>();
        if (!call) continue;
        const sim::Process* owner = owned_->findProcess(entry->codePid);
        const std::string process = owner ? owner->name : std::string();
        if (!program.empty() && process != program) continue;
        out.push_back(CallView{entry->time, entry->thread, process, call->function, call->args, call->result, call->faulted});
    }
    return out;
}

std::vector<std::string> DeviceCore::callNames(std::uint64_t mark, const std::string& program) const {
    std::vector<std::string> names;
    for (const CallView& call : calls(mark, program)) names.push_back(call.function);
    return names;
}

std::vector<sim::ReceivedMessage> DeviceCore::deliveries(const void* procedure, HWND hwnd, std::uint64_t mark) const {
    std::vector<sim::ReceivedMessage> out;
    for (const sim::Entry* entry : journal().since(mark)) {
        const auto* delivery = entry->as<sim::DeliveryEntry>();
        if (!delivery || delivery->proc != procedure || (hwnd && delivery->hwnd != hwnd)) continue;
        out.push_back(sim::ReceivedMessage{delivery->message, delivery->wParam, delivery->lParam, entry->time});
    }
    return out;
}

std::vector<std::string> DeviceCore::errors() const { return owned_->errors(errorsMark_); }
void DeviceCore::clearErrors() { errorsMark_ = owned_->journal.next(); }

}  // namespace pocket
