#include "context.h"

#include <cstdio>
#include <cstdlib>

#include "sim_thread.h"

namespace sim {

namespace {
thread_local CallContext tlsContext;

[[noreturn]] void outsideSimulation() {
    std::fprintf(stderr, "pocketsim: a platform function was called outside a simulated thread\n");
    std::abort();
}
}  // namespace

CallContext& currentContext() { return tlsContext; }

Device& currentDevice() {
    if (!tlsContext.device) outsideSimulation();
    return *tlsContext.device;
}

SimThread& currentThread() {
    if (!tlsContext.thread) outsideSimulation();
    return *tlsContext.thread;
}

Process& currentProcess() { return *currentThread().process(); }

}  // namespace sim
