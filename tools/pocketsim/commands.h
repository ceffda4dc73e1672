// The script's commands: what each one takes, how it is checked before the run, and what it does.
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <limits>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "pocket_device.h"

namespace pocketsim {

// What a script made that the device does not list once it is gone: the application windows
// added with "app add", oldest first, so that they can still be named after they close.
struct ScriptState {
    std::vector<pocket::StandInRecord> applications;
    std::uint64_t traceFrom = 0;  // where "trace on" started recording calls
    // Where the pen touched the screen, until it is lifted: the place and what the lift does.
    struct PenOnScreen {
        int x = 0, y = 0, width = 0, height = 0;
        std::string upLine;
        bool liftAnywhere = false;
        bool coordinates = false;  // the lines take the pen's point, and moves are told too
    };
    std::optional<PenOnScreen> pen;
    std::shared_ptr<class ScreenPainter> painter;  // started with the first picture
};

// What one command sees while it runs: the device, and the lines it prints under itself.
struct Session {
    pocket::PocketDevice& device;
    ScriptState& state;
    std::vector<std::string> details;
    // What the journal recorded since the line started, or since the last call. A command that
    // does several things calls it between them; the runner prints the rest.
    std::function<std::vector<std::string>()> happened;
    // Told how far a long action has got (virtual milliseconds done of all); empty when nobody
    // watches (standard error not a terminal).
    std::function<void(std::uint64_t done, std::uint64_t total)> progress;

    void print(std::string line) { details.push_back(std::move(line)); }
};

// The device is not as an expectation says.
struct ExpectationFailed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// An action that the device state does not allow, such as tapping a button nobody shows.
struct ActionFailed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

using Action = std::function<void(Session&)>;
using Arguments = std::vector<std::string>;

struct CommandEntry {
    enum class Kind { Action, Show, Expectation };
    std::string name;                    // one to three words: "advance", "show timers", "pen down tray"
    std::vector<std::string> forms;      // the arguments of each form, as --help shows them
    std::string summary;
    std::vector<std::string> examples;   // whole lines; every one must parse
    Kind kind;
    // Checks the arguments before anything runs (throws UsageError) and binds them to an action.
    std::function<Action(const Arguments&)> parse;
    bool echoLine = true;  // false: only what the command prints is shown, not the line itself
    // Set only for a command that chooses how the device boots; it must come before all others.
    std::function<sim::DeviceConfig(const Arguments&)> bootConfig = nullptr;
    // Set for a command that makes sense on one kind of machine only.
    std::optional<sim::Machine> machine = std::nullopt;
};

const std::vector<CommandEntry>& commandTable();

struct ParsedCommand {
    const CommandEntry* entry = nullptr;
    Action action;
    std::optional<sim::DeviceConfig> boot;  // the device this line asks for, if it is a boot line
};

// Finds the command that `words` name and parses its arguments for a script that runs on
// `machine` (its boot line chose it); throws UsageError.
ParsedCommand parseCommand(const std::vector<std::string>& words, sim::Machine machine = sim::Machine::Handheld);
// While parseCommand reads a line's arguments: the machine the line will run on, which decides
// the programs there are and the paths a file can have.
sim::Machine parsingMachine();

// The whole help, or with `topic` only the commands that begin with its words; an unknown topic
// throws UsageError.
bool printHelp(std::ostream& out, const std::string& topic = "");

// The sections of the table, one file each.
std::vector<CommandEntry> actionCommands();
std::vector<CommandEntry> showCommands();
std::vector<CommandEntry> expectCommands();
// The shell's tray icons, popup menus and message boxes: actions, views and expectations.
std::vector<CommandEntry> shellCommands();
// Keys, volume and sounds, the display, the power switch, files, and outside programs' windows.
std::vector<CommandEntry> deviceCommands();
// Booting with the shell, the stylus on its taskbar, application windows and the foreground,
// what the device says it is.
std::vector<CommandEntry> taskbarCommands();
// The screen: its picture, its elements, and where the pen lands on it.
std::vector<CommandEntry> screenCommands();
// A desktop PC: where a program is installed, and the processes programs asked to create.
std::vector<CommandEntry> desktopCommands();
// Marks a command, or every command of `entries`, as one for that machine only.
CommandEntry onlyOn(sim::Machine machine, CommandEntry entry);
std::vector<CommandEntry> onlyOn(sim::Machine machine, std::vector<CommandEntry> entries);
inline CommandEntry handheldOnly(CommandEntry entry) { return onlyOn(sim::Machine::Handheld, std::move(entry)); }

// Shared by the sections: bounds, the expectation check, and counted nouns.
inline constexpr std::uint64_t kDwordMax = std::numeric_limits<std::uint32_t>::max();
inline constexpr std::size_t kAny = std::numeric_limits<std::size_t>::max();  // no upper bound on arguments

inline void check(bool holds, const std::string& found) {
    if (!holds) throw ExpectationFailed(found);
}

inline std::string countOf(std::size_t n, const std::string& what) {
    const bool sibilant = !what.empty() && (what.back() == 's' || what.back() == 'x');
    return std::to_string(n) + " " + what + (n == 1 ? "" : sibilant ? "es" : "s");
}

// Shared argument checks.
void requireCount(const Arguments& args, std::size_t min, std::size_t max, const std::string& usage);
// Throws UsageError unless a program of that name is installed on the machine being parsed for.
const std::string& requireProgram(const std::string& name);
// The programs a machine has, as the build produced them.
const std::vector<std::string>& programsOf(sim::Machine machine);
// "a handheld", "a desktop PC".
std::string machineName(sim::Machine machine);

// A process an expectation looks at: the most recent one of a program, or one pid.
struct ProcessChoice {
    std::string program;                // empty when a pid is given
    std::uint32_t pid = 0;

    static ProcessChoice parse(const std::string& text);  // a program name, or a pid
    std::optional<pocket::ProcessView> find(const pocket::PocketDevice& device) const;
    std::string name() const;           // "voltmarap" or "pid 4096"
};

}  // namespace pocketsim
