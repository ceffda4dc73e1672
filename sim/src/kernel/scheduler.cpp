#include "scheduler.h"

#include <pthread.h>

#include <algorithm>

#include "device.h"

namespace sim {

Scheduler::Scheduler(Device& device) : device_(device) {
    const int cpu = sched_getcpu();
    CPU_ZERO(&processor_);
    CPU_SET(cpu < 0 ? 0 : cpu, &processor_);
    // Only one thread of the device runs at a time, so one processor loses nothing.
    if (pthread_getaffinity_np(pthread_self(), sizeof driverAffinity_, &driverAffinity_) == 0 &&
        CPU_ISSET(cpu < 0 ? 0 : cpu, &driverAffinity_))
        driverPinned_ = pthread_setaffinity_np(pthread_self(), sizeof processor_, &processor_) == 0;
}

Scheduler::~Scheduler() {
    abortAll();
    if (driverPinned_) pthread_setaffinity_np(pthread_self(), sizeof driverAffinity_, &driverAffinity_);
}

void Scheduler::pinToDeviceProcessor() const {
    if (driverPinned_) pthread_setaffinity_np(pthread_self(), sizeof processor_, &processor_);
}

SimThread& Scheduler::spawn(Process* process, std::string name, std::function<void()> body) {
    threads_.push_back(std::make_unique<SimThread>(*this, process, nextThreadId_, std::move(name), std::move(body)));
    nextThreadId_ += 4;
    SimThread& thread = *threads_.back();
    thread.start();
    return thread;
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
    thread.turn_.release();
    driverTurn_.acquire();
    running_ = nullptr;
    if (thread.state_ == ThreadState::Finished) {
        thread.os_.join();
        device_.threadFinished(thread);
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
    driverTurn_.release();
    self.turn_.acquire();
    self.canWake_ = nullptr;
    self.wakeTime_ = nullptr;
    if (self.abortRequested_) throw ThreadAbort{};
}

}  // namespace sim
