// A running (or ended) program: a fresh load of its image with its own globals.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "handle_table.h"
#include "image.h"

namespace sim {

class ResourceSet;
class SimThread;
struct ProgramInfo;

class Process {
public:
    std::uint32_t pid = 0;
    std::string name;            // the program's name, e.g. "voltmarap"
    std::u16string modulePath;   // where the program is installed, as GetModuleFileNameW reports it
    std::u16string commandLine;
    // Desktop: the folder relative paths start from ("C:\\Tools"); a drive's name alone ("C:")
    // stands for it when it is on that drive.
    std::u16string currentDirectory;
    const ProgramInfo* program = nullptr;
    std::unique_ptr<Image> image;
    HINSTANCE instance = nullptr;
    SimThread* mainThread = nullptr;
    HandleCounts handles;
    // Handles still open when the process ended, by kind: what the program leaked.
    std::optional<HandleCounts> handlesAtExit;
    std::optional<int> exitCode;

    bool running() const { return !exitCode.has_value(); }
    const ResourceSet& resources() const;
};

// A process a program asked the system to create (CreateProcessA on the desktop). What it starts
// lies outside the simulation: the request is recorded, and the new process does not run.
struct ProcessLaunch {
    std::uint32_t parentPid = 0;
    // As the caller gave them, converted from its ANSI code page; empty optional for NULL.
    std::optional<std::u16string> applicationName;
    std::optional<std::u16string> commandLine;
    std::optional<std::u16string> currentDirectory;
    std::u16string workingFolder;  // where the new process starts: the current directory resolved
    BOOL inheritHandles = FALSE;
    DWORD creationFlags = 0;
    bool environmentGiven = false;
    DWORD error = ERROR_SUCCESS;  // why the creation failed; ERROR_SUCCESS when it was made
    std::uint32_t processId = 0;
    std::uint32_t threadId = 0;

    bool started() const { return error == ERROR_SUCCESS; }
};

}  // namespace sim
