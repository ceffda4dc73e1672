#include "api_call.h"

#include <cinttypes>
#include <cstdio>

namespace sim {

std::string describe(std::int64_t value) { return std::to_string(value); }
std::string describe(std::uint64_t value) { return std::to_string(value); }

std::string describe(const void* pointer) {
    if (!pointer) return "NULL";
    char text[24];
    std::snprintf(text, sizeof text, "0x%" PRIxPTR, reinterpret_cast<std::uintptr_t>(pointer));
    return text;
}

std::string describe(const char16_t* text) {
    if (!text) return "NULL";
    if (IS_INTRESOURCE(text)) return "#" + std::to_string(reinterpret_cast<std::uintptr_t>(text));
    return "\"" + toUtf8(text) + "\"";
}

std::string describe(const char* text) {
    if (!text) return "NULL";
    return "\"" + std::string(text) + "\"";
}

ApiCall::~ApiCall() {
    if (!tracing_) return;
    device.trace.finish(sequence_, std::move(result_), injected_);
}

namespace {

// The program whose code makes the call. A procedure that one program puts on another's window
// runs on that window's thread, yet what it calls is its own program's doing, and fails as such.
const std::string& callingProgram(const Device& device, const SimThread& thread, const Process& process) {
    if (thread.runningProcs.empty()) return process.name;
    const void* proc = thread.runningProcs.back();
    if (process.image && process.image->contains(proc)) return process.name;
    for (const auto& other : device.processes())
        if (other->running() && other->image && other->image->contains(proc)) return other->name;
    return process.name;
}

}  // namespace

bool ApiCall::injectFault() {
    injected_ = device.faults.shouldFail(function_, callingProgram(device, thread, process));
    return injected_;
}

void ApiCall::preemptionPoint() {
    if (!device.preemptions.shouldStop(function_, process.name)) return;
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
