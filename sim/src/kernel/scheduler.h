// Runs the simulated threads one at a time, in a fixed order, so that the same inputs give the same run.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fiber.h"
#include "sim_thread.h"

namespace sim {

class Device;

class Scheduler {
public:
    explicit Scheduler(Device& device);
    ~Scheduler();

    SimThread& spawn(Process* process, std::string name, std::function<void()> body);

    // Driver side: run threads until every live thread is blocked with nothing to wake it.
    void runUntilIdle();
    // Earliest virtual time at which a blocked thread wakes by itself (a timer or a sleep).
    std::optional<std::uint64_t> nextWakeTime() const;
    // Unwinds every thread that has not finished; used when the device shuts down.
    void abortAll();
    // Unwinds one thread the next time it gets the turn.
    void abort(SimThread& thread) { thread.abortRequested_ = true; }

    // Thread side: give up the turn until canWake holds. wakeTime tells the driver when time alone
    // makes canWake true. Throws ThreadAbort when the device shuts the thread down meanwhile.
    void block(SimThread& self, std::function<bool()> canWake,
               std::function<std::optional<std::uint64_t>()> wakeTime = {});

    // The thread that has the turn, or nullptr on the driver.
    SimThread* running() const { return running_; }
    const std::vector<std::unique_ptr<SimThread>>& threads() const { return threads_; }

    // A thread that makes more platform calls than this in one turn is stopped as a runaway.
    std::uint64_t runawayLimit = 5'000'000;

private:
    friend class SimThread;
    SimThread* pickRunnable();
    void runTurn(SimThread& thread);

    Device& device_;
    Fiber driver_;  // the OS thread that calls runUntilIdle
    std::vector<FiberStack> spareStacks_;
    static constexpr std::size_t kSpareStacks = 16;
    std::vector<std::unique_ptr<SimThread>> threads_;
    SimThread* running_ = nullptr;
    std::size_t nextIndex_ = 0;
    std::uint32_t nextThreadId_ = 0x100;
};

}  // namespace sim
