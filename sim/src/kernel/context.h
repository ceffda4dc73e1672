// How the platform's entry points find the device and the calling simulated thread.
#pragma once

namespace sim {

class Device;
class SimThread;
class Process;

struct CallContext {
    Device* device = nullptr;
    SimThread* thread = nullptr;
};

// Set on each simulated thread's OS thread; empty on every other thread.
CallContext& currentContext();

// The calling simulated thread's device, thread and process. Calling a platform
// entry point from outside a simulated thread is a usage error and aborts.
Device& currentDevice();
SimThread& currentThread();
Process& currentProcess();

}  // namespace sim
