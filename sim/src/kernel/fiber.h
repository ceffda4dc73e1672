// A stack of its own and the registers to resume it: simulated threads take turns on the
// driver's OS thread, so a turn passes with a function call instead of a kernel thread switch.
#pragma once

#include <cstddef>
#include <functional>

#if !defined(__i386__)
#include <ucontext.h>
#endif

namespace sim {

// Memory for a fiber's stack, with an inaccessible page below it. Mapping one costs system calls
// and page faults, so finished threads hand theirs on.
class FiberStack {
public:
    explicit FiberStack(std::size_t bytes);
    ~FiberStack();
    FiberStack(FiberStack&& other) noexcept;
    FiberStack& operator=(FiberStack&& other) noexcept;

    void* bottom() const { return bottom_; }
    std::size_t bytes() const { return bytes_; }

private:
    void* mapping_ = nullptr;
    std::size_t mappingBytes_ = 0;
    void* bottom_ = nullptr;
    std::size_t bytes_ = 0;
};

class Fiber {
public:
    // The calling OS thread's own context: what the driver runs on.
    Fiber() = default;
    // A fiber that runs `body` on a stack of its own from the first resume; when `body` returns, the
    // fiber goes back to whoever resumed it last and must not be resumed again.
    Fiber(std::function<void()> body, FiberStack stack);
    ~Fiber();
    Fiber(const Fiber&) = delete;
    Fiber& operator=(const Fiber&) = delete;

    // Suspends `from`, which must be the running fiber, and runs this one until it suspends.
    void resumeFrom(Fiber& from);
    // Called on this fiber: goes back to the fiber that resumed it.
    void suspend() { switchTo(*resumer_); }
    bool finished() const { return finished_; }
    // A finished fiber's stack, for another one.
    FiberStack takeStack() { return std::move(stack_); }

private:
    static void start(Fiber* self);
    void switchTo(Fiber& to);
    void arrived();  // bookkeeping once running again after a switch

#if defined(__i386__)
    void* stackPointer_ = nullptr;  // saved while suspended
#else
    static void startFromContext(unsigned high, unsigned low);
    ucontext_t context_{};
#endif
    std::function<void()> body_;
    FiberStack stack_{0};
    Fiber* resumer_ = nullptr;
    bool finished_ = false;
    // For AddressSanitizer, which must be told when the stack changes.
    const void* stackBottom_ = nullptr;
    std::size_t stackBytes_ = 0;
    void* fakeStack_ = nullptr;
};

}  // namespace sim
