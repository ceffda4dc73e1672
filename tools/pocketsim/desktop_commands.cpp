// Where a program is installed, and what a desktop program asked the system to start.
#include "arguments.h"
#include "code_page.h"
#include "commands.h"
#include "device_terms.h"
#include "device_path.h"
#include "format.h"
#include "utf.h"

namespace pocketsim {

namespace {

using Kind = CommandEntry::Kind;

std::string launchCount(std::size_t n) { return std::to_string(n) + (n == 1 ? " launch" : " launches"); }

// A handheld's full path ("\Windows\a.exe"), or a desktop PC's ("D:\Setup\a.exe"), canonical.
std::string parseInstallPath(const std::string& text) {
    if (parsingMachine() == sim::Machine::Desktop) return parseDrivePath(text, false, "install path");
    if (hasDrive(text)) throw UsageError("install path " + quote(text) + " has a drive; a handheld's paths begin with \\");
    if (text.empty() || (text[0] != '\\' && text[0] != '/'))
        throw UsageError("install path " + quote(text) + " is not a full path, such as \\Windows\\a.exe");
    const auto path = sim::normaliseDevicePath(sim::fromUtf8(text));
    if (!path) throw UsageError("install path " + quote(text) + " climbs above the root");
    if (*path == u"\\") throw UsageError("install path " + quote(text) + " is the root");
    return sim::toUtf8(*path);
}

// Whether a file can be put at `path`: it is no folder, and no folder above it is a file.
bool canHoldFile(const pocket::PocketDevice& device, const std::u16string& path) {
    const std::u16string normal = sim::normaliseDevicePath(path).value_or(u"\\");
    for (std::size_t slash = normal.find(u'\\', 1); slash != std::u16string::npos; slash = normal.find(u'\\', slash + 1))
        if (device.fileExists(sim::toUtf8(normal.substr(0, slash)))) return false;
    return !device.folderExists(sim::toUtf8(normal));
}

CommandEntry install() {
    const std::string usage = "install PROGRAM at PATH";
    return {"install", {"PROGRAM at PATH"},
            "Moves PROGRAM, and the files that come with it, to PATH: the module path it will see.\n"
            "PATH is a full path (D:\\Setup\\setup.exe on a desktop PC). A running program cannot\n"
            "be moved. On a desktop PC, says what the 8-bit functions see when the ANSI code page\n"
            "cannot write every character of PATH.",
            {"install setuplaunch at D:\\setuplaunch.exe", "install setuplaunch at \"E:\\\\My Setup\\\\setup.exe\""},
            Kind::Action, [usage](const Arguments& args) -> Action {
                requireCount(args, 3, 3, usage);
                const std::string program = requireProgram(args[0]);
                if (args[1] != "at") throw UsageError("install takes at, not " + quote(args[1]) + "; usage: " + usage);
                const std::string path = parseInstallPath(args[2]);
                return [program, path](Session& s) {
                    if (s.device.runningCount(program) > 0)
                        throw ActionFailed(program + " is running; a running program's file cannot be moved");
                    const std::u16string wide = sim::fromUtf8(path);
                    if (const auto there = s.device.programAt(path); there && *there != program)
                        throw ActionFailed(*there + " is installed at " + path);
                    if (!canHoldFile(s.device, wide))
                        throw ActionFailed("cannot put a file at " + path + ": it is a folder or lies below a file");
                    s.device.installAt(program, path);
                    s.print(program + " installed at " + path);
                    if (s.device.config().machine != sim::Machine::Desktop) return;
                    bool lossy = false;
                    const std::string ansi = sim::wideToAnsi(s.device.ansiCodePage(), wide, &lossy);
                    if (lossy)
                        s.print("code page " + std::to_string(s.device.ansiCodePage()) +
                                " cannot write all of it: 8-bit functions see " +
                                sim::toUtf8(sim::ansiToWide(s.device.ansiCodePage(), ansi)));
                };
            }};
}

CommandEntry showLaunches() {
    return {"show launches", {""},
            "Lists the processes programs asked the system to create (CreateProcessA), numbered from\n"
            "1: who asked, the application name, command line and current folder as given (NULL when\n"
            "not given), the folder the process would work in, and whether it was made (its pid) or\n"
            "why not (the Win32 error). What it would run lies outside the simulation.",
            {"show launches"}, Kind::Show, [](const Arguments& args) -> Action {
                requireCount(args, 0, 0, "show launches");
                return [](Session& s) {
                    const auto& launches = s.device.launches();
                    if (launches.empty()) s.print("no launches");
                    for (std::size_t i = 0; i < launches.size(); ++i) s.print(launchText(s.device, i + 1, launches[i]));
                };
            }};
}

CommandEntry expectLaunchCount() {
    return {"expect launches", {"N"}, "Checks how many processes programs asked to create, made or not.",
            {"expect launches 0"}, Kind::Expectation, [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "expect launches N");
                const std::uint64_t want = parseNumber(args[0], kDwordMax, "count");
                return [want](Session& s) {
                    const auto& launches = s.device.launches();
                    std::string found = launchCount(launches.size()) + " asked for";
                    for (std::size_t i = 0; i < launches.size(); ++i)
                        found += "; " + launchText(s.device, i + 1, launches[i]);
                    check(launches.size() == want, found);
                };
            }};
}

// What "expect launch" compares; an empty optional is not looked at.
struct LaunchCheck {
    bool started = true;
    std::optional<std::uint32_t> error;
    std::optional<std::string> app, command, folder;
};

bool matches(const std::optional<std::string>& want, const std::optional<std::u16string>& got) {
    return !want || (got && sim::toUtf8(*got) == *want);
}

CommandEntry expectLaunch() {
    const std::string usage =
        "expect launch N|last started|failed [ERROR] [app TEXT] [command TEXT] [folder TEXT]";
    return {"expect launch", {"N|last started [app TEXT] [command TEXT] [folder TEXT]",
                              "N|last failed [ERROR] [app TEXT] [command TEXT] [folder TEXT]"},
            "Checks the process a program asked to create, the Nth (from 1) or the last: that it was\n"
            "made, or refused (with ERROR, a number or a name such as FILE_NOT_FOUND); its\n"
            "application name and command line, exactly as given; and the folder it would work in.",
            {"expect launch 1 started command \"/register .\\\\setup.ini\" folder \"D:\\\\\"",
             "expect launch last failed FILE_NOT_FOUND app \"C:\\\\Gone\\\\CEAppMgr.exe\""},
            Kind::Expectation, [usage](const Arguments& args) -> Action {
                requireCount(args, 2, kAny, usage);
                const bool last = args[0] == "last";
                const std::size_t number =
                    last ? 0 : static_cast<std::size_t>(parseNumber(args[0], kDwordMax, "launch number"));
                if (!last && number == 0) throw UsageError("launches are numbered from 1");
                LaunchCheck want;
                if (args[1] != "started" && args[1] != "failed")
                    throw UsageError("bad check " + quote(args[1]) + "; usage: " + usage);
                want.started = args[1] == "started";
                std::size_t i = 2;
                if (!want.started && i < args.size() && args[i] != "app" && args[i] != "command" && args[i] != "folder")
                    want.error = parseErrorCode(args[i++]);
                for (; i < args.size(); i += 2) {
                    std::optional<std::string>* field = args[i] == "app"       ? &want.app
                                                        : args[i] == "command" ? &want.command
                                                        : args[i] == "folder"  ? &want.folder
                                                                               : nullptr;
                    if (!field) throw UsageError("unknown check " + quote(args[i]) + "; usage: " + usage);
                    if (*field) throw UsageError(quote(args[i]) + " is given twice");
                    if (i + 1 >= args.size()) throw UsageError("missing text after " + args[i] + "; usage: " + usage);
                    *field = args[i + 1];
                }
                return [last, number, want](Session& s) {
                    const auto& launches = s.device.launches();
                    if (launches.empty()) throw ExpectationFailed("no launch was asked for");
                    if (!last && number > launches.size())
                        throw ExpectationFailed("no launch " + std::to_string(number) + ": only " +
                                                launchCount(launches.size()) + " asked for");
                    const std::size_t index = last ? launches.size() - 1 : number - 1;
                    const sim::ProcessLaunch& launch = launches[index];
                    const bool holds = launch.started() == want.started && (!want.error || launch.error == *want.error) &&
                                       matches(want.app, launch.applicationName) &&
                                       matches(want.command, launch.commandLine) &&
                                       matches(want.folder, std::optional(launch.workingFolder));
                    check(holds, launchText(s.device, index + 1, launch));
                };
            }};
}

}  // namespace

std::vector<CommandEntry> desktopCommands() {
    std::vector<CommandEntry> all = onlyOn(sim::Machine::Desktop, {showLaunches(), expectLaunchCount(), expectLaunch()});
    all.insert(all.begin(), install());
    return all;
}

}  // namespace pocketsim
