// Programs and processes: installing and starting them, their windows, timers and resources,
// stand-ins for outside programs, and what the device says about itself.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "device_core.h"
#include "resources.h"

namespace pocket {

class ProcessesFacet : protected Facet {
public:
    // `currentDirectory` (desktop PC, UTF-8): empty for the program's own folder.
    ProcessView start(const std::string& program, const std::u16string& commandLine = u"",
                      const std::string& currentDirectory = "");
    // A process named `name` whose one thread runs `body` as its program: a test's own code.
    ProcessView startCode(const std::string& name, std::function<int()> body);
    // Ends a process at once, as TerminateProcess would.
    void terminate(std::uint32_t pid, int exitCode);
    // Every process ever started, in start order; a long run may have thousands.
    std::vector<ProcessView> processes() const;
    std::vector<ProcessView> runningProcesses() const;
    // The processes started after the first `count` (in start order).
    std::vector<ProcessView> processesAfter(std::size_t count) const;
    std::optional<ProcessView> process(std::uint32_t pid) const;
    std::vector<std::uint32_t> runningPids(const std::string& program) const;
    std::size_t runningCount(const std::string& program) const { return runningPids(program).size(); }

    // The programs the build produced for a handheld, or for a desktop PC.
    static std::vector<std::string> installedPrograms(sim::Machine machine = sim::Machine::Handheld);
    // One more program, from an image and a resource file the build made, at `installPath`.
    void installProgram(const std::string& name, const std::string& imagePath, const std::string& resourcePath,
                        const std::u16string& installPath);
    // Runs `imagePath` (a variant of the program's code) where `program` is installed, with its resources.
    void replaceImage(const std::string& program, const std::string& imagePath);
    // Moves a program (and the files beside it) to `path`, given in UTF-8 ("D:\\setuplaunch.exe").
    void installAt(const std::string& program, const std::string& path);
    // Where a program is installed (UTF-8), and the folder, without a trailing backslash.
    std::string installPath(const std::string& program) const;
    std::string installFolder(const std::string& program) const;
    // The program installed at a path (UTF-8, any case), if any.
    std::optional<std::string> programAt(const std::string& path) const;
    // A program's resources, as built.
    const sim::ResourceSet& resources(const std::string& program) const;
    // The .res file they were read from.
    std::string resourcePath(const std::string& program) const;

    // Windows and timers.
    std::vector<WindowView> windows() const;
    std::optional<WindowView> findWindow(const std::string& className) const;
    bool windowExists(HWND hwnd) const;
    // Whether a named kernel mutex exists (some process holds a handle to it).
    bool mutexExists(const std::u16string& name) const;
    std::vector<TimerView> timers() const;

    // What the device reports about itself.
    const sim::SystemInfo& system() const;
    void setSystem(DWORD majorVersion, const std::u16string& platformType);
    // Desktop PC: the ANSI code page, and what programs asked CreateProcessA to start, oldest first.
    UINT ansiCodePage() const;
    std::vector<sim::ProcessLaunch> launches() const;

    // Stand-ins for outside programs: a process `program` owning one top-level window of this class
    // and title, which records every message it receives. Closing posts WM_CLOSE: the window is
    // destroyed and the process ends; its record stays readable.
    StandInView createStandIn(const std::string& program, const std::string& className, const std::string& title);
    // An application window of another program, with a given look and behaviour.
    StandInView createApplication(const std::string& program, const std::string& className, const std::string& title,
                                  const sim::StandInOptions& options);
    bool closeStandIn(HWND hwnd);
    // Every stand-in whose window was made, oldest first; their records stay readable after closing.
    std::vector<StandInRecord> standIns() const;
    // What a stand-in received, from `mark` on (a mark from mark()), or all the journal still holds.
    std::vector<sim::ReceivedMessage> standInMessages(HWND hwnd, std::uint64_t mark = 0) const;
    // The procedure of every stand-in window: deliveries to it in the journal are what they received.
    static const void* standInProcedure();

protected:
    ProcessesFacet(sim::Device& device, const DeviceCore& core) : Facet(device), core_(core) {}
    void installEveryProgram();

private:
    using FileList = std::vector<std::pair<std::u16string, std::vector<std::uint8_t>>>;
    FileList programFiles(const std::string& program, const std::string& imageDir,
                          const std::u16string& installPath) const;
    void putProgramFiles(const FileList& files);
    void installProgramFiles(const std::string& program, const std::string& imageDir);
    StandInView record(HWND hwnd, const std::string& program, const std::string& className, const std::string& title);
    const DeviceCore& core_;
    std::vector<StandInRecord> standIns_;
};

}  // namespace pocket
