// The common frame of every platform entry point: finds the caller, counts the call for the
// runaway guard, asks the fault plan, and records the call in the journal when calls are recorded.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <type_traits>

#include "calls.h"
#include "context.h"
#include "device.h"
#include "process.h"
#include "sim_thread.h"
#include "utf.h"

namespace sim {

// An argument or a result as the journal keeps it.
Value valueOf(std::int64_t value);
Value valueOf(std::uint64_t value);
Value valueOf(const void* pointer);
Value valueOf(const char16_t* text);
Value valueOf(const char* text);

template <class T>
Value argValue(const T& value) {
    if constexpr (std::is_same_v<T, const char16_t*> || std::is_same_v<T, char16_t*>) {
        return valueOf(static_cast<const char16_t*>(value));
    } else if constexpr (std::is_same_v<T, const char*> || std::is_same_v<T, char*>) {
        return valueOf(static_cast<const char*>(value));
    } else if constexpr (std::is_pointer_v<T>) {
        return valueOf(reinterpret_cast<const void*>(value));
    } else if constexpr (std::is_enum_v<T>) {
        return valueOf(static_cast<std::int64_t>(value));
    } else if constexpr (std::is_signed_v<T>) {
        return valueOf(static_cast<std::int64_t>(value));
    } else if constexpr (std::is_convertible_v<T, std::string>) {
        return Value{Value::Kind::Text, 0, std::string(value)};
    } else {
        return valueOf(static_cast<std::uint64_t>(value));
    }
}

class ApiCall {
public:
    template <class... Args>
    explicit ApiCall(PlatformCallName function, const Args&... args)
        : device(currentDevice()),
          thread(currentThread()),
          process(*thread.process()),
          function_(function.name),
          call_(kPlatformCalls[function.index]) {
        if (++thread.callsThisTurn > device.scheduler.runawayLimit) runaway();
        if (device.journal.recordingCalls()) {
            recording_ = true;
            CallEntry entry{function_, {}, {}, false, false};
            entry.args.reserve(sizeof...(args));
            (entry.args.push_back(argValue(args)), ...);
            sequence_ = device.note(std::move(entry));
        }
    }
    ~ApiCall();
    ApiCall(const ApiCall&) = delete;
    ApiCall& operator=(const ApiCall&) = delete;

    // Whether the driver makes this call fail; only calls that can really fail with the caller's
    // arguments ask, so the count of occurrences is the count of failure points.
    bool injectFault();

    // Records the result (for the journal) and returns it.
    template <class T>
    T ret(T value) {
        if (recording_) result_ = argValue(value);
        preemptionPoint();
        return value;
    }
    // Sets the thread's last error and returns `value`.
    template <class T>
    T fail(DWORD error, T value) {
        thread.lastError = error;
        return ret(value);
    }

    Device& device;
    SimThread& thread;
    Process& process;

private:
    [[noreturn]] void runaway();
    // The call has had its effect but not returned yet: where the driver may stop the thread.
    void preemptionPoint();

    const char* function_;
    const PlatformCall& call_;
    std::size_t callIndex() const { return static_cast<std::size_t>(&call_ - kPlatformCalls.data()); }
    bool recording_ = false;
    bool injected_ = false;
    std::uint64_t sequence_ = 0;
    Value result_;
};

}  // namespace sim
