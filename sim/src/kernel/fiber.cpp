#include "fiber.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <utility>

#if defined(__SANITIZE_ADDRESS__)
#define POCKET_FIBERS_TELL_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define POCKET_FIBERS_TELL_ASAN 1
#endif
#endif

#ifdef POCKET_FIBERS_TELL_ASAN
#include <sanitizer/asan_interface.h>
#include <sanitizer/common_interface_defs.h>
#endif

#if defined(__i386__)
// Saves the callee-saved registers on the running stack, stores its pointer in *save, and returns
// on the stack `next` with the registers it saved. swapcontext would do the same plus two system
// calls for the signal mask, which nothing here changes; those calls were most of a turn's cost.
extern "C" void pocketSwitchStack(void** save, void* next);
asm(R"(
    .text
    .globl pocketSwitchStack
    .type pocketSwitchStack, @function
pocketSwitchStack:
    pushl %ebp
    pushl %ebx
    pushl %esi
    pushl %edi
    movl 20(%esp), %eax
    movl %esp, (%eax)
    movl 24(%esp), %esp
    popl %edi
    popl %esi
    popl %ebx
    popl %ebp
    ret
    .size pocketSwitchStack, .-pocketSwitchStack
)");
#endif

namespace sim {

namespace {

[[noreturn]] void fiberFailure(const char* what) {
    std::fprintf(stderr, "pocketsim: %s\n", what);
    std::abort();
}

}  // namespace

FiberStack::FiberStack(std::size_t bytes) {
    if (bytes == 0) return;
    const std::size_t page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
    mappingBytes_ = (bytes + page - 1) / page * page + page;
    mapping_ = mmap(nullptr, mappingBytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (mapping_ == MAP_FAILED) fiberFailure("no memory for a simulated thread's stack");
    // The lowest page stays inaccessible: an overflow faults instead of writing over other memory.
    mprotect(mapping_, page, PROT_NONE);
    bottom_ = static_cast<char*>(mapping_) + page;
    bytes_ = mappingBytes_ - page;
}

FiberStack::~FiberStack() {
    if (mapping_) munmap(mapping_, mappingBytes_);
}

FiberStack::FiberStack(FiberStack&& other) noexcept { *this = std::move(other); }

FiberStack& FiberStack::operator=(FiberStack&& other) noexcept {
    std::swap(mapping_, other.mapping_);
    std::swap(mappingBytes_, other.mappingBytes_);
    std::swap(bottom_, other.bottom_);
    std::swap(bytes_, other.bytes_);
    return *this;
}

Fiber::Fiber(std::function<void()> body, FiberStack stack) : body_(std::move(body)), stack_(std::move(stack)) {
    stackBottom_ = stack_.bottom();
    stackBytes_ = stack_.bytes();
#ifdef POCKET_FIBERS_TELL_ASAN
    // A stack handed on still carries the poison of its last owner's frames.
    __asan_unpoison_memory_region(stackBottom_, stackBytes_);
#endif

#if defined(__i386__)
    // What pocketSwitchStack pops on the first switch: four registers, then start's address as the
    // return address, under which start finds a null return address and its argument. The argument
    // sits 16-byte aligned, as a call leaves it.
    auto* top = reinterpret_cast<std::uintptr_t*>(
        (reinterpret_cast<std::uintptr_t>(stackBottom_) + stackBytes_ - 16) & ~std::uintptr_t{15});
    top[0] = reinterpret_cast<std::uintptr_t>(this);
    top[-1] = 0;
    top[-2] = reinterpret_cast<std::uintptr_t>(&Fiber::start);
    for (int i = 3; i <= 6; ++i) top[-i] = 0;
    stackPointer_ = top - 6;
#else
    if (getcontext(&context_) != 0) fiberFailure("getcontext failed");
    context_.uc_stack.ss_sp = const_cast<void*>(stackBottom_);
    context_.uc_stack.ss_size = stackBytes_;
    context_.uc_link = nullptr;
    // makecontext passes ints: the pointer goes in two halves.
    const auto self = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(this));
    makecontext(&context_, reinterpret_cast<void (*)()>(&Fiber::startFromContext), 2,
                static_cast<unsigned>(self >> 32), static_cast<unsigned>(self));
#endif
}

Fiber::~Fiber() = default;

#if !defined(__i386__)
void Fiber::startFromContext(unsigned high, unsigned low) {
    start(reinterpret_cast<Fiber*>(static_cast<std::uintptr_t>((static_cast<std::uint64_t>(high) << 32) | low)));
}
#endif

void Fiber::start(Fiber* self) {
    self->arrived();
    self->body_();
    self->finished_ = true;
    self->suspend();
    fiberFailure("a finished simulated thread was resumed");
}

void Fiber::resumeFrom(Fiber& from) {
    if (finished_) fiberFailure("a finished simulated thread was resumed");
    resumer_ = &from;
    from.switchTo(*this);
}

void Fiber::switchTo(Fiber& to) {
#ifdef POCKET_FIBERS_TELL_ASAN
    // A finished fiber's fake stack frames can go.
    __sanitizer_start_switch_fiber(finished_ ? nullptr : &fakeStack_, to.stackBottom_, to.stackBytes_);
#endif
#if defined(__i386__)
    pocketSwitchStack(&stackPointer_, to.stackPointer_);
#else
    if (swapcontext(&context_, &to.context_) != 0) fiberFailure("swapcontext failed");
#endif
    arrived();
}

void Fiber::arrived() {
#ifdef POCKET_FIBERS_TELL_ASAN
    const void* previousBottom = nullptr;
    std::size_t previousBytes = 0;
    __sanitizer_finish_switch_fiber(fakeStack_, &previousBottom, &previousBytes);
    // The driver's stack is learnt from the first switch away from it.
    if (resumer_ && !resumer_->stackBottom_) {
        resumer_->stackBottom_ = previousBottom;
        resumer_->stackBytes_ = previousBytes;
    }
#endif
}

}  // namespace sim
