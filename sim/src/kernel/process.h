// A running (or ended) program: a fresh load of its image with its own globals.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "handle_table.h"
#include "image.h"
#include "records.h"

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

}  // namespace sim
