#include "scheduler.h"

#include <algorithm>

#include "context.h"
#include "device.h"

namespace sim {

Scheduler::Scheduler(Device& device) : device_(device) {}

Scheduler::~Scheduler() { abortAll(); }

SimThread& Scheduler::spawn(Process* process, std::string name, std::function<void()> body) {
    FiberStack stack{0};
    if (spareStacks_.empty()) {
        stack = FiberStack(SimThread::kStackBytes);
    } else {
        stack = std::move(spareStacks_.back());
        spareStacks_.pop_back();
    }
    threads_.push_back(
        std::make_unique<SimThread>(*this, process, nextThreadId_, std::move(name), std::move(body), std::move(stack)));
    nextThreadId_ += 4;
    return *threads_.back();
}

SimThread* Scheduler::pickRunnable() {
    const std::size_t count = threads_.size();
    for (std::size_t step = 0; step < count; ++step) {
        SimThread& thread = *threads_[(nextIndex_ + step) % count];
        const bool runnable = thread.state_ == ThreadState::Ready ||
                              (thread.state_ == ThreadState::Blocked && (thread.abortRequested_ || thread.canWake_()));
        if (runnable) {
            nextIndex_ = (nextIndex_ + step + 1) % count;
            return &thread;
        }
    }
    return nullptr;
}

void Scheduler::runTurn(SimThread& thread) {
    thread.state_ = ThreadState::Running;
    thread.callsThisTurn = 0;
    running_ = &thread;
    const CallContext driverContext = currentContext();
    currentContext() = CallContext{&device_, &thread};
    thread.fiber_.resumeFrom(driver_);
    currentContext() = driverContext;
    running_ = nullptr;
    if (thread.state_ == ThreadState::Finished) {
        device_.threadFinished(thread);
        if (spareStacks_.size() < kSpareStacks) spareStacks_.push_back(thread.fiber_.takeStack());
        auto it = std::find_if(threads_.begin(), threads_.end(), [&](const auto& t) { return t.get() == &thread; });
        const auto index = static_cast<std::size_t>(it - threads_.begin());
        threads_.erase(it);
        if (nextIndex_ > index) --nextIndex_;
        if (!threads_.empty()) nextIndex_ %= threads_.size();
        else nextIndex_ = 0;
    }
}

void Scheduler::runUntilIdle() {
    while (SimThread* thread = pickRunnable()) runTurn(*thread);
}

std::optional<std::uint64_t> Scheduler::nextWakeTime() const {
    std::optional<std::uint64_t> earliest;
    for (const auto& thread : threads_) {
        if (thread->state_ != ThreadState::Blocked || !thread->wakeTime_) continue;
        if (auto when = thread->wakeTime_(); when && (!earliest || *when < *earliest)) earliest = when;
    }
    return earliest;
}

void Scheduler::abortAll() {
    for (auto& thread : threads_) thread->abortRequested_ = true;
    while (!threads_.empty()) {
        SimThread& thread = *threads_.front();
        nextIndex_ = 0;
        runTurn(thread);
    }
}

void Scheduler::block(SimThread& self, std::function<bool()> canWake,
                      std::function<std::optional<std::uint64_t>()> wakeTime) {
    if (self.abortRequested_) throw ThreadAbort{};
    self.canWake_ = std::move(canWake);
    self.wakeTime_ = std::move(wakeTime);
    self.state_ = ThreadState::Blocked;
    self.fiber_.suspend();
    self.canWake_ = nullptr;
    self.wakeTime_ = nullptr;
    if (self.abortRequested_) throw ThreadAbort{};
}

}  // namespace sim
