#include "sim_thread.h"

#include "scheduler.h"

namespace sim {

SimThread::SimThread(Scheduler& scheduler, Process* process, std::uint32_t id, std::string name,
                     std::function<void()> body, FiberStack stack)
    : scheduler_(scheduler),
      process_(process),
      id_(id),
      name_(std::move(name)),
      body_(std::move(body)),
      fiber_([this] { threadMain(); }, std::move(stack)) {}

SimThread::~SimThread() = default;

void SimThread::threadMain() {
    if (!abortRequested_) {
        try {
            body_();
        } catch (const ThreadAbort&) {
        }
    }
    state_ = ThreadState::Finished;
}

}  // namespace sim
