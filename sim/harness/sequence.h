// Expected sequences of calls and messages, checked against the journal as Wine's message tests
// check theirs: a table of steps with flags, and the first divergence reported.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>

#include "pocket_device.h"

namespace pocket {

enum StepFlags : unsigned {
    kCall = 1u << 0,      // a platform call, by name
    kSent = 1u << 1,      // a message sent to a window procedure (SendMessageW, WM_CREATE, WM_DESTROY)
    kPosted = 1u << 2,    // a message dispatched from the queue
    kCalled = 1u << 3,    // a message handed on with CallWindowProcW
    kOptional = 1u << 4,  // may be missing
    kWParam = 1u << 5,    // wParam must be as given (else any)
    kLParam = 1u << 6,    // lParam must be as given (else any)
    kResult = 1u << 7,    // the call's or the procedure's result must be as given (else any)
};

struct Step {
    unsigned flags = 0;
    const char* function = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::int64_t result = 0;

    constexpr Step(unsigned f, UINT m, WPARAM w = 0, LPARAM l = 0) : flags(f), message(m), wParam(w), lParam(l) {}
    constexpr Step(unsigned f, const char* name, std::int64_t r = 0) : flags(f), function(name), result(r) {}
};

// The message loop's own calls, which every table would otherwise repeat.
inline constexpr const char* kLoopCalls[] = {"GetMessageW", "PeekMessageW", "TranslateMessage", "DispatchMessageW"};

// Compares what `program`'s code did from `mark` on (its platform calls, less `ignored`, and the
// messages its window procedures received) with `expected`. Empty when they agree; else the
// first divergence, with the step's number, and what came instead.
std::string sequenceMismatch(const PocketDevice& device, std::uint64_t mark, const std::string& program,
                             std::span<const Step> expected, std::span<const char* const> ignored = kLoopCalls);

}  // namespace pocket
