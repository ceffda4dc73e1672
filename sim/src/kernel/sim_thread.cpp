#include "sim_thread.h"

#include "context.h"
#include "device.h"
#include "scheduler.h"

namespace sim {

SimThread::SimThread(Scheduler& scheduler, Process* process, std::uint32_t id, std::string name,
                     std::function<void()> body)
    : scheduler_(scheduler), process_(process), id_(id), name_(std::move(name)), body_(std::move(body)) {}

SimThread::~SimThread() {
    if (os_.joinable()) os_.join();
}

void SimThread::start() { os_ = std::thread([this] { threadMain(); }); }

void SimThread::threadMain() {
    scheduler_.pinToDeviceProcessor();
    turn_.acquire();
    currentContext() = CallContext{&scheduler_.device_, this};
    if (!abortRequested_) {
        try {
            body_();
        } catch (const ThreadAbort&) {
        }
    }
    currentContext() = CallContext{};
    state_ = ThreadState::Finished;
    scheduler_.threadGaveUpTurn();
}

}  // namespace sim
