// One simulated thread: a fiber on the driver's OS thread that runs only when the scheduler hands
// it the turn.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "fiber.h"
#include "message_queue.h"

namespace sim {

class Process;
class Scheduler;

// Thrown inside a simulated thread to unwind it when the device shuts it down.
struct ThreadAbort {};

enum class ThreadState { Ready, Running, Blocked, Finished };

class SimThread {
public:
    SimThread(Scheduler& scheduler, Process* process, std::uint32_t id, std::string name,
              std::function<void()> body, FiberStack stack);
    ~SimThread();
    SimThread(const SimThread&) = delete;
    SimThread& operator=(const SimThread&) = delete;

    std::uint32_t id() const { return id_; }
    const std::string& name() const { return name_; }
    Process* process() const { return process_; }
    ThreadState state() const { return state_; }
    bool finished() const { return state_ == ThreadState::Finished; }

    MessageQueue& queue() { return queue_; }
    DWORD lastError = 0;
    // Platform calls made since the thread last got the turn; guards against threads that never block.
    std::uint64_t callsThisTurn = 0;
    // Depth of modal loops (menus, message boxes) the thread is in.
    int modalDepth = 0;
    // The call at which the driver stopped the thread; empty while it may run.
    std::string parkedAt;
    // Window procedures the thread is running now, innermost last.
    std::vector<const void*> runningProcs;

private:
    friend class Scheduler;
    void threadMain();
    // Room for the simulation's own frames and the sanitizers'; untouched pages cost nothing.
    static constexpr std::size_t kStackBytes = 1024 * 1024;

    Scheduler& scheduler_;
    Process* process_;
    std::uint32_t id_;
    std::string name_;
    std::function<void()> body_;
    MessageQueue queue_;
    ThreadState state_ = ThreadState::Ready;
    std::function<bool()> canWake_;
    std::function<std::optional<std::uint64_t>()> wakeTime_;
    bool abortRequested_ = false;
    Fiber fiber_;
};

}  // namespace sim
