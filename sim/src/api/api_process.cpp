// Process creation on the desktop (KERNEL32). The request is checked as Windows checks it,
// recorded, and answered with handles. A program installed on the machine runs as a new process;
// anything else (the Application Manager) lies outside the simulation and does not run.
#include "api_call.h"
#include "code_page.h"
#include "desktop_paths.h"
#include "file_system.h"

using namespace sim;

namespace {

std::optional<std::u16string> optionalFromAnsi(ApiCall& call, LPCSTR text) {
    if (!text) return std::nullopt;
    return ansiToWide(call.device.config.ansiCodePage, text);
}

// The program a creation names: its application name (taken as it is), or else the command
// line's first word, which gets ".exe" when it has neither a folder nor an extension.
std::u16string programPath(const ProcessLaunch& launch) {
    if (launch.applicationName) return *launch.applicationName;
    const std::u16string& line = *launch.commandLine;
    std::u16string path = !line.empty() && line[0] == u'"' ? line.substr(1, line.find(u'"', 1) - 1)
                                                           : line.substr(0, line.find_first_of(u" \t"));
    if (path.find_first_of(u"\\.") == std::u16string::npos) path += u".exe";
    return path;
}

// What the C runtime gives WinMain: the command line after its first word (quoted or not) and
// the blanks that follow it.
std::u16string argumentsOf(const std::u16string& line) {
    std::size_t i = 0;
    if (!line.empty() && line[0] == u'"') {
        const std::size_t close = line.find(u'"', 1);
        i = close == std::u16string::npos ? line.size() : close + 1;
    } else {
        while (i < line.size() && line[i] != u' ' && line[i] != u'\t') ++i;
    }
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t')) ++i;
    return line.substr(i);
}

// Runs the program when the machine has it installed at that path; it starts in the working
// folder as Windows names it ("C:\\bundle", "C:\\").
Process* runIfInstalled(Device& device, const ProcessLaunch& launch, const FileEntry& program) {
    const ProgramInfo* info = device.programs.findByInstallPath(desktopFolderName(program.path));
    if (!info) return nullptr;
    const FileEntry* folder = device.files.find(launch.workingFolder);
    return &device.launch(info->name, argumentsOf(launch.commandLine.value_or(u"")), desktopFolderName(folder->path));
}

DWORD checkLaunch(ApiCall& call, const ProcessLaunch& launch) {
    const FileLookup program = call.device.files.lookup(fullDesktopPath(call.process, programPath(launch)));
    if (!program.entry) return program.error;
    if (program.entry->isFolder()) return ERROR_ACCESS_DENIED;
    if (launch.currentDirectory) {
        const FileLookup folder = call.device.files.lookup(launch.workingFolder);
        if (!folder.entry || !folder.entry->isFolder()) return ERROR_DIRECTORY;
    }
    if (call.injectFault()) return ERROR_NOT_ENOUGH_MEMORY;
    return ERROR_SUCCESS;
}

}  // namespace

BOOL WINAPI CreateProcessA(LPCSTR applicationName, LPSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                           BOOL inheritHandles, DWORD creationFlags, LPVOID environment, LPCSTR currentDirectory,
                           LPSTARTUPINFOA startup, LPPROCESS_INFORMATION information) {
    ApiCall call("CreateProcessA", applicationName, commandLine, inheritHandles, creationFlags, currentDirectory);
    Device& device = call.device;
    ProcessLaunch launch;
    launch.parentPid = call.process.pid;
    launch.applicationName = optionalFromAnsi(call, applicationName);
    launch.commandLine = optionalFromAnsi(call, commandLine);
    launch.currentDirectory = optionalFromAnsi(call, currentDirectory);
    launch.workingFolder = fullDesktopPath(call.process, launch.currentDirectory.value_or(call.process.currentDirectory));
    launch.inheritHandles = inheritHandles;
    launch.creationFlags = creationFlags;
    launch.environmentGiven = environment != nullptr;

    // Windows may write into the command line while parsing it: a string literal in read-only
    // memory faults here, as it would there.
    if (commandLine && *commandLine) {
        volatile char* first = commandLine;
        *first = *first;
    }

    DWORD error = ERROR_SUCCESS;
    if (!startup || !information)
        error = ERROR_NOACCESS;  // Windows faults on them
    else if (!launch.applicationName && !launch.commandLine)
        error = ERROR_INVALID_PARAMETER;
    else
        error = checkLaunch(call, launch);
    launch.error = error;
    if (error != ERROR_SUCCESS) {
        device.note(launch);
        return call.fail(error, BOOL{FALSE});
    }

    const FileEntry& program = *device.files.find(fullDesktopPath(call.process, programPath(launch)));
    if (Process* child = runIfInstalled(device, launch, program)) {
        launch.processId = child->pid;
        launch.threadId = child->mainThread->id();
    } else {
        launch.processId = device.newProcessId();
        launch.threadId = device.newProcessId();
    }
    information->hProcess = reinterpret_cast<HANDLE>(device.handles.allocate(HandleKind::Process, &call.process));
    information->hThread = reinterpret_cast<HANDLE>(device.handles.allocate(HandleKind::Thread, &call.process));
    information->dwProcessId = launch.processId;
    information->dwThreadId = launch.threadId;
    device.note(launch);
    return call.ret(BOOL{TRUE});
}
