#include "api_call.h"


namespace sim {

Value valueOf(std::int64_t value) { return Value{Value::Kind::Signed, static_cast<std::uint64_t>(value), {}}; }
Value valueOf(std::uint64_t value) { return Value{Value::Kind::Unsigned, value, {}}; }
Value valueOf(const void* pointer) { return Value{Value::Kind::Pointer, reinterpret_cast<std::uintptr_t>(pointer), {}}; }

Value valueOf(const char16_t* text) {
    if (!text) return valueOf(static_cast<const void*>(nullptr));
    if (IS_INTRESOURCE(text)) return Value{Value::Kind::Resource, reinterpret_cast<std::uintptr_t>(text), {}};
    return Value{Value::Kind::Text, 0, toUtf8(text)};
}

Value valueOf(const char* text) {
    if (!text) return valueOf(static_cast<const void*>(nullptr));
    return Value{Value::Kind::Text, 0, text};
}

ApiCall::~ApiCall() {
    if (!recording_) return;
    device.journal.finishCall(sequence_, std::move(result_), injected_);
}


bool ApiCall::injectFault() {
    if (!call_.canFail) {
        device.reportError(std::string(function_) + " asks whether to fail, but the list of platform calls says it cannot");
        return false;
    }
    injected_ = device.faults.shouldFire(callIndex(), device.codeOwner(thread).name);
    if (injected_) device.note(FaultFired{function_, device.codeOwner(thread).name});
    return injected_;
}

void ApiCall::preemptionPoint() {
    // Every call is counted, so that a stop set later means the same as one set at the start.
    if (!device.preemptions.shouldFire(callIndex(), process.name)) return;
    thread.parkedAt = function_;
    device.scheduler.block(thread, [this] { return thread.parkedAt.empty(); });
}

void ApiCall::runaway() {
    device.reportError("thread " + std::to_string(thread.id()) + " of " + process.name + " made more than " +
                       std::to_string(device.scheduler.runawayLimit) + " platform calls without blocking (last: " +
                       function_ + "); stopped");
    throw ThreadAbort{};
}

}  // namespace sim
