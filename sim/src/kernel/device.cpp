#include "device.h"

#include <algorithm>
#include <stdexcept>

#include "context.h"
#include "message_delivery.h"
#include "sim_thread.h"
#include "utf.h"
#include "resources.h"

namespace sim {

const ResourceSet& Process::resources() const {
    static const ResourceSet none;
    return program ? *program->resources : none;
}

Device::Device(DeviceConfig cfg) : config(cfg) {
    if (!isSupportedCodePage(cfg.ansiCodePage))
        throw std::invalid_argument("unsupported ANSI code page " + std::to_string(cfg.ansiCodePage));
    clock.setTickCount(cfg.startTickCount);
    if (cfg.shell) startShell(*this, cfg.taskbarWidth < 0 ? cfg.screenWidth : cfg.taskbarWidth, cfg.taskbarHeight);
}

Device::~Device() { scheduler.abortAll(); }

Process& Device::start(const std::string& program, const std::u16string& commandLine,
                       const std::u16string& currentDirectory) {
    Process& process = launch(program, commandLine, currentDirectory);
    runUntilIdle();
    return process;
}

Process& Device::launch(const std::string& program, const std::u16string& commandLine,
                        const std::u16string& currentDirectory) {
    const ProgramInfo* info = programs.find(program);
    if (!info) throw std::invalid_argument("no program named " + program + " is installed");
    auto process = std::make_unique<Process>();
    process->pid = newProcessId();
    process->name = program;
    process->modulePath = info->installPath;
    process->commandLine = commandLine;
    process->currentDirectory = currentDirectory;
    if (!currentDirectory.empty()) {
        const FileEntry* folder = files.find(currentDirectory);
        if (!folder || !folder->isFolder())
            throw std::invalid_argument("no folder " + toUtf8(currentDirectory) + " to start " + program + " in");
    } else {
        const std::size_t separator = info->installPath.rfind(u'\\');
        // A drive's root keeps its backslash.
        const bool root = separator == 2 && info->installPath[1] == u':';
        process->currentDirectory =
            separator == std::u16string::npos ? u"" : info->installPath.substr(0, root ? 3 : separator);
    }
    process->program = info;
    if (info->spareImages.empty()) {
        process->image = std::make_unique<Image>(program, info->imageBytes);
    } else {
        process->image = std::move(info->spareImages.back());
        info->spareImages.pop_back();
        process->image->restoreGlobals();
    }
    process->instance = process->image->instance();
    Process& ref = *process;
    processes_.push_back(std::move(process));
    note(ProcessStarted{ref.pid, program});
    ref.mainThread = &scheduler.spawn(&ref, program, [this, &ref] {
        // WinMain may write into its command line: it gets a copy.
        int code = 0;
        if (ref.program->kind == ProgramKind::Desktop) {
            std::string commandLineCopy = wideToAnsi(config.ansiCodePage, ref.commandLine);
            code = ref.image->desktopEntry()(ref.instance, nullptr, commandLineCopy.data(), SW_SHOW);
        } else {
            std::u16string commandLineCopy = ref.commandLine;
            code = ref.image->entry()(ref.instance, nullptr, commandLineCopy.data(), SW_SHOW);
        }
        ref.exitCode = code;
    });
    return ref;
}

Process& Device::startHosted(const std::string& name, std::function<int()> body) {
    auto process = std::make_unique<Process>();
    process->pid = newProcessId();
    process->name = name;
    Process& ref = *process;
    processes_.push_back(std::move(process));
    note(ProcessStarted{ref.pid, name});
    ref.mainThread = &scheduler.spawn(&ref, name, [&ref, body = std::move(body)] { ref.exitCode = body(); });
    runUntilIdle();
    return ref;
}

void Device::runUntilIdle() { scheduler.runUntilIdle(); }

bool Device::terminate(std::uint32_t pid, int exitCode) {
    Process* process = findProcess(pid);
    if (!process || !process->running() || !process->mainThread) return false;
    process->exitCode = exitCode;
    scheduler.abort(*process->mainThread);
    runUntilIdle();
    return true;
}

void Device::advance(std::uint64_t milliseconds) { advanceTo(clock.now() + milliseconds, false); }
void Device::advanceUntilStop(std::uint64_t milliseconds) { advanceTo(clock.now() + milliseconds, true); }

bool Device::anyThreadStopped() const {
    for (const auto& thread : scheduler.threads())
        if (!thread->parkedAt.empty()) return true;
    return false;
}

void Device::advanceTo(std::uint64_t target, bool untilStop) {
    runUntilIdle();
    if (untilStop && anyThreadStopped()) return;
    while (auto next = scheduler.nextWakeTime()) {
        if (*next > target) break;
        // After a full run nothing may be due any more; if it is, a wait is wrongly built.
        if (*next <= clock.now()) {
            reportError("a thread waits for a time that has come without waking");
            break;
        }
        clock.advanceTo(*next);
        runUntilIdle();
        if (untilStop && anyThreadStopped()) return;
    }
    clock.advanceTo(target);
    runUntilIdle();
}

Process* Device::findProcess(std::uint32_t pid) const {
    // Pids only grow, so the list is in pid order.
    auto it = std::lower_bound(processes_.begin(), processes_.end(), pid,
                               [](const std::unique_ptr<Process>& p, std::uint32_t id) { return p->pid < id; });
    return it != processes_.end() && (*it)->pid == pid ? it->get() : nullptr;
}

std::vector<Process*> Device::running(const std::string& program) const {
    std::vector<Process*> out;
    for (const auto& p : processes_)
        if (p->running() && (program.empty() || p->name == program)) out.push_back(p.get());
    return out;
}

std::uint64_t Device::note(EntryData data) {
    Entry entry;
    entry.time = clock.now();
    const CallContext& context = currentContext();
    if (context.device == this && context.thread) {
        const SimThread& thread = *context.thread;
        entry.thread = thread.id();
        entry.pid = thread.process() ? thread.process()->pid : 0;
        entry.codePid = thread.process() ? codeOwner(thread).pid : 0;
    }
    entry.data = std::move(data);
    return journal.add(std::move(entry));
}

const Process& Device::codeOwner(const SimThread& thread) const {
    const Process& process = *thread.process();
    if (thread.runningProcs.empty()) return process;
    const void* proc = thread.runningProcs.back();
    if (process.image && process.image->contains(proc)) return process;
    for (const auto& other : processes_)
        if (other->running() && other->image && other->image->contains(proc)) return *other;
    return process;
}

void Device::reportError(const std::string& message) { note(SimulationError{message}); }

std::vector<std::string> Device::errors(std::uint64_t mark) const {
    std::vector<std::string> out;
    if (journal.total<SimulationError>() == 0) return out;  // the usual case, and long runs ask often
    for (const SimulationError& e : journal.all<SimulationError>(mark)) out.push_back(e.message);
    return out;
}

bool Device::postSystemMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = windows.find(hwnd);
    if (!window || !window->thread) return false;
    window->thread->queue().post(hwnd, message, wParam, lParam, clock.tickCount());
    return true;
}

void Device::releaseHotKeys(HWND owner, std::uint32_t threadId) {
    for (const HotKey& key : hotKeys.removeAllOf(owner, threadId)) note(HotKeyReleased{key});
}

void Device::threadFinished(SimThread& thread) {
    abandonSentMessages(thread);
    releaseHotKeys(nullptr, thread.id());
    Process* process = thread.process();
    if (!process || process->mainThread != &thread) return;
    // A thread stopped by the simulation (a runaway, a device shutdown) never returned from WinMain.
    endProcess(*process, process->exitCode.value_or(-1));
}

void Device::endProcess(Process& process, int exitCode) {
    process.exitCode = exitCode;
    process.mainThread = nullptr;
    note(ProcessEnded{process.pid, process.name, exitCode});
    for (HWND hwnd : windows.windowsOf(process)) {
        releaseHotKeys(hwnd, 0);
        windows.remove(hwnd);
    }
    windows.removeClassesOf(process);
    std::vector<std::uintptr_t> released;
    registry.unbindAllOf(process.pid, released);
    for (auto it = icons.begin(); it != icons.end();) it = it->second.owner == &process ? icons.erase(it) : std::next(it);
    menus.forgetAllOf(&process);
    process.handlesAtExit = process.handles;
    for (std::uintptr_t handle : handles.handlesOf(&process, HandleKind::Mutex)) mutexes.closeHandle(handle);
    handles.releaseAllOf(&process);
    unloadImage(process);
}

void Device::unloadImage(Process& process) {
    if (!process.image) return;
    for (const auto& thread : scheduler.threads()) {
        for (const void* proc : thread->runningProcs) {
            if (process.image->contains(proc)) {
                reportError("image of " + process.name + " cannot be unloaded: a thread of " +
                            (thread->process() ? thread->process()->name : std::string("the system")) +
                            " is running its code");
                keptImages_.push_back(std::move(process.image));
                return;
            }
        }
    }
    for (const Window* window : windows.all()) {
        if (process.image->contains(reinterpret_cast<const void*>(window->proc))) {
            reportError("image of " + process.name + " cannot be unloaded: the procedure of a window of " +
                        (window->process ? window->process->name : std::string("the system")) +
                        " points into it");
            keptImages_.push_back(std::move(process.image));
            return;
        }
    }
    if (process.program && process.program->spareImages.size() < kSpareImages)
        process.program->spareImages.push_back(std::move(process.image));
    process.image.reset();
}

}  // namespace sim
