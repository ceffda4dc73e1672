// The device's keys, sound, display, power switch and files, and the windows of programs from
// outside the bundle: what the user or a test does with them, what they show, and expectations.
#include <algorithm>
#include <limits>

#include "arguments.h"
#include "wave.h"
#include "commands.h"
#include "device_terms.h"
#include "device_path.h"
#include "format.h"
#include "shell_terms.h"
#include "utf.h"

namespace pocketsim {

namespace {

using Kind = CommandEntry::Kind;

std::string stamped(std::uint64_t time, const std::string& text) { return timeStamp(time) + " " + text; }

// The optional LAST of the show commands that list a history.
std::size_t parseLast(const Arguments& args, std::size_t at) {
    return args.size() > at ? static_cast<std::size_t>(parseNumber(args[at], kDwordMax, "count of lines")) : kAny;
}

std::size_t firstOfLast(std::size_t size, std::size_t last) { return size > last ? size - last : 0; }

std::string fileDescription(const std::vector<std::uint8_t>& bytes) {
    std::string text = countOf(bytes.size(), "byte");
    if (const auto wave = sim::parseWave(bytes))
        text += ", WAVE " + std::to_string(wave->samplesPerSecond) + " Hz, " + std::to_string(wave->durationMs) + " ms";
    return text;
}

// ---- keys ----

std::string pressOutcome(const pocket::PocketDevice& device, const std::optional<pocket::HotKeyView>& holder,
                         bool switchedOff) {
    std::string text = holder ? "-> " + ownerText(device, holder->pid) + " as hot key " + std::to_string(holder->id)
                              : std::string("reached no one");
    return text + (switchedOff ? " (the device is switched off)" : "");
}

CommandEntry press() {
    return {"press", {"VK[+GAP][*COUNT]..."},
            "Presses keys of the device (a remote's keys included) one after the other. VK is a\n"
            "virtual-key code, 1 to 255; +GAP lets that much virtual time pass before the press\n"
            "(a DURATION); *COUNT presses the key COUNT times, each after its gap. A press goes to\n"
            "whoever holds the key as a hot key, as WM_HOTKEY, and the device runs until every\n"
            "thread waits. Prints where each press went.",
            {"press 137", "press 140 140+300ms 140+300ms", "press 0x89*3", "press 140+300ms*2"}, Kind::Action,
            [](const Arguments& args) -> Action {
                return [runs = parseKeyPresses(args)](Session& s) {
                    for (const PressRun& run : runs) {
                        std::uint64_t first = 0;
                        // Outcomes in the order they first came, with how often each came.
                        std::vector<std::pair<std::string, std::uint64_t>> outcomes;
                        for (std::uint64_t k = 0; k < run.count; ++k) {
                            s.device.advance(run.press.gapMs);
                            if (k == 0) first = s.device.now();
                            const bool off = !s.device.isSwitchedOn();
                            const std::string outcome =
                                pressOutcome(s.device, s.device.pressKey(run.press.vk, run.press.modifiers), off);
                            auto it = std::find_if(outcomes.begin(), outcomes.end(),
                                                   [&](const auto& o) { return o.first == outcome; });
                            if (it == outcomes.end()) outcomes.push_back({outcome, 1});
                            else ++it->second;
                        }
                        std::string line = "key " + keyText(run.press.vk);
                        if (run.count > 1)
                            line += " pressed " + std::to_string(run.count) + " times until " + timeStamp(s.device.now());
                        if (outcomes.size() == 1) {
                            line += " " + outcomes.front().first;
                        } else {
                            std::string parts;
                            for (const auto& [outcome, n] : outcomes)
                                parts += (parts.empty() ? ": " : ", ") + countOf(n, "time") + " " + outcome;
                            line += parts;
                        }
                        s.print(stamped(first, line));
                        if (s.happened)
                            for (std::string& change : s.happened()) s.print("  " + change);
                    }
                };
            }};
}

CommandEntry showKeys() {
    return {"show keys", {""},
            "Lists the hot keys held: the key with its modifiers, the program and window that hold\n"
            "it, and the id it was registered under.",
            {"show keys"}, Kind::Show, [](const Arguments& args) -> Action {
                requireCount(args, 0, 0, "show keys");
                return [](Session& s) {
                    const auto keys = s.device.hotKeys();
                    if (keys.empty()) s.print("no hot keys held");
                    for (const pocket::HotKeyView& key : keys) s.print(hotKeyText(s.device, key));
                };
            }};
}

CommandEntry showPresses() {
    return {"show presses", {"[LAST]"},
            "Lists the key presses made so far (the LAST ones when given): when, the key, and who\n"
            "got it.",
            {"show presses", "show presses 3"}, Kind::Show, [](const Arguments& args) -> Action {
                requireCount(args, 0, 1, "show presses [LAST]");
                const std::size_t last = parseLast(args, 0);
                return [last](Session& s) {
                    const auto& presses = s.device.keyPresses();
                    if (presses.empty()) s.print("no keys pressed");
                    for (std::size_t i = firstOfLast(presses.size(), last); i < presses.size(); ++i) {
                        const sim::HotKeyPress& p = presses[i];
                        std::string to = "reached no one";
                        if (p.receiver) to = "-> " + ownerText(s.device, p.receiver->pid) + " as hot key " + std::to_string(p.receiver->id);
                        s.print(stamped(p.time, "key " + keyText(p.vk) + ", modifiers " + modifierText(p.modifiers) + " " + to));
                    }
                };
            }};
}

CommandEntry expectKeys() {
    return {"expect keys", {"N [PROGRAM]"}, "Checks how many hot keys are held (by PROGRAM's processes only).",
            {"expect keys 7 rcbridge", "expect keys 0"}, Kind::Expectation, [](const Arguments& args) -> Action {
                requireCount(args, 1, 2, "expect keys N [PROGRAM]");
                const std::uint64_t want = parseNumber(args[0], kDwordMax, "count");
                const std::string program = args.size() == 2 ? requireProgram(args[1]) : std::string();
                return [want, program](Session& s) {
                    std::size_t n = 0;
                    std::string list;
                    for (const pocket::HotKeyView& key : s.device.hotKeys()) {
                        const auto holder = s.device.process(key.pid);
                        if (!program.empty() && (!holder || holder->name != program)) continue;
                        ++n;
                        list += (list.empty() ? ": " : ", ") + std::to_string(key.vk);
                    }
                    check(n == want, countOf(n, "hot key") + " held" + (program.empty() ? "" : " by " + program) + list);
                };
            }};
}

// ---- power switch and keyboard events ----

CommandEntry switchOn() {
    return {"switch on", {""},
            "Switches the device on again after a program switched it off (keybd_event with VK_OFF\n"
            "pressed and released), as the user's power button would.",
            {"switch on"}, Kind::Action, [](const Arguments& args) -> Action {
                requireCount(args, 0, 0, "switch on");
                return [](Session& s) {
                    if (s.device.isSwitchedOn()) return s.print("the device is on already");
                    s.device.switchOn();
                    s.print("the device is switched on");
                };
            }};
}

CommandEntry showKeyboard() {
    return {"show keyboard", {"[LAST]"},
            "Shows whether the device is switched on, and the keyboard events that programs made\n"
            "with keybd_event (the LAST ones when given): when, who, the key, up or down, flags\n"
            "and extra information.",
            {"show keyboard", "show keyboard 2"}, Kind::Show, [](const Arguments& args) -> Action {
                requireCount(args, 0, 1, "show keyboard [LAST]");
                const std::size_t last = parseLast(args, 0);
                return [last](Session& s) {
                    s.print(std::string("the device is switched ") + (s.device.isSwitchedOn() ? "on" : "off"));
                    const auto& events = s.device.keyboardEvents();
                    if (events.empty()) s.print("no keyboard events");
                    for (std::size_t i = firstOfLast(events.size(), last); i < events.size(); ++i)
                        s.print(stamped(events[i].time, keyboardEventText(s.device, events[i])));
                };
            }};
}

CommandEntry expectSwitched() {
    return {"expect switched", {"on", "off"}, "Checks whether the device is switched on.",
            {"expect switched off", "expect switched on"}, Kind::Expectation, [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "expect switched on|off");
                if (args[0] != "on" && args[0] != "off")
                    throw UsageError("expect switched takes on or off, not \"" + args[0] + "\"");
                const bool wanted = args[0] == "on";
                return [wanted](Session& s) {
                    const bool on = s.device.isSwitchedOn();
                    check(on == wanted, std::string("the device is switched ") + (on ? "on" : "off"));
                };
            }};
}

CommandEntry expectKeyboard() {
    return {"expect keyboard", {"N"}, "Checks how many keyboard events programs have made with keybd_event.",
            {"expect keyboard 2"}, Kind::Expectation, [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "expect keyboard N");
                const std::uint64_t want = parseNumber(args[0], kDwordMax, "count");
                return [want](Session& s) {
                    const auto& events = s.device.keyboardEvents();
                    std::string found = countOf(events.size(), "keyboard event");
                    if (!events.empty()) found += ", the last: " + keyboardEventText(s.device, events.back());
                    check(events.size() == want, found);
                };
            }};
}

// ---- volume and sounds ----

CommandEntry setVolume() {
    return {"volume set", {"LEFT RIGHT", "WORD"},
            "Sets the volume of wave-out device 0, as another program or the user would: LEFT and\n"
            "RIGHT are 0 to 65535, or WORD is the 32-bit value with the left channel in its low\n"
            "half. No program is told.",
            {"volume set 32768 32768", "volume set 0xFFFF0000"}, Kind::Action, [](const Arguments& args) -> Action {
                requireCount(args, 1, 2, "volume set LEFT RIGHT | WORD");
                const DWORD volume = parseVolume(args);
                return [volume](Session& s) {
                    s.device.setVolume(volume);
                    s.print("volume " + volumeText(volume));
                };
            }};
}

CommandEntry showVolume() {
    return {"show volume", {""},
            "Shows the volume of wave-out device 0 (each channel in decimal, and the 32-bit word) and\n"
            "how often programs set it.",
            {"show volume"}, Kind::Show, [](const Arguments& args) -> Action {
                requireCount(args, 0, 0, "show volume");
                return [](Session& s) {
                    s.print("volume " + volumeText(s.device.volume()));
                    const auto& writes = s.device.volumeWrites();
                    if (writes.empty()) return s.print("no program has set it");
                    s.print("set " + countOf(writes.size(), "time") + " by programs, the last by " +
                            ownerText(s.device, writes.back().pid) + " at " + timeStamp(writes.back().time));
                };
            }};
}

CommandEntry expectVolume() {
    return {"expect volume", {"LEFT RIGHT", "WORD"}, "Checks the volume of wave-out device 0, as \"volume set\" gives it.",
            {"expect volume 33860 33860", "expect volume 0xFFFFFFFF"}, Kind::Expectation, [](const Arguments& args) -> Action {
                requireCount(args, 1, 2, "expect volume LEFT RIGHT | WORD");
                const DWORD want = parseVolume(args);
                return [want](Session& s) {
                    check(s.device.volume() == want, "the volume is " + volumeText(s.device.volume()));
                };
            }};
}

CommandEntry showSounds() {
    return {"show sounds", {"[LAST]"},
            "Lists the sounds played so far (the LAST ones when given), numbered from 1: the file as\n"
            "the program named it, who played it, async or waited for, when it started and ended,\n"
            "and whether it played to its end, was cut short by a later sound, or still plays.",
            {"show sounds", "show sounds 1"}, Kind::Show, [](const Arguments& args) -> Action {
                requireCount(args, 0, 1, "show sounds [LAST]");
                const std::size_t last = parseLast(args, 0);
                return [last](Session& s) {
                    const auto sounds = s.device.sounds();
                    if (sounds.empty()) s.print("no sounds played");
                    for (std::size_t i = firstOfLast(sounds.size(), last); i < sounds.size(); ++i)
                        s.print(std::to_string(i + 1) + ": " + soundText(s.device, sounds[i]));
                };
            }};
}

CommandEntry expectSounds() {
    return {"expect sounds", {"N"}, "Checks how many sounds have been played since the device started.",
            {"expect sounds 0", "expect sounds 4"}, Kind::Expectation, [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "expect sounds N");
                const std::uint64_t want = parseNumber(args[0], kDwordMax, "count");
                return [want](Session& s) {
                    const auto sounds = s.device.sounds();
                    std::string found = countOf(sounds.size(), "sound") + " played";
                    if (!sounds.empty()) found += ", the last: " + soundText(s.device, sounds.back());
                    check(sounds.size() == want, found);
                };
            }};
}

CommandEntry expectSound() {
    const std::string usage = "expect sound last|N async | sync | whole | cut | playing | path PATH";
    return {"expect sound",
            {"last|N async", "last|N sync", "last|N whole", "last|N cut", "last|N playing", "last|N path PATH"},
            "Checks the last sound played, or the N-th (from 1): played async or waited for; played\n"
            "to its end (whole), cut short by a later sound, or playing now; or its file, compared\n"
            "as the device compares paths.",
            {"expect sound last async", "expect sound 2 whole", "expect sound last path rcbridge:beep.wav"},
            Kind::Expectation, [usage](const Arguments& args) -> Action {
                requireCount(args, 2, 3, usage);
                const bool last = args[0] == "last";
                const std::size_t index = last ? 0 : static_cast<std::size_t>(parseNumber(args[0], kDwordMax, "sound number"));
                if (!last && index == 0) throw UsageError("sounds are numbered from 1");
                const std::string what = args[1];
                static const std::vector<std::string> kStates{"async", "sync", "whole", "cut", "playing"};
                const bool state = std::find(kStates.begin(), kStates.end(), what) != kStates.end();
                if (!(state && args.size() == 2) && !(what == "path" && args.size() == 3))
                    throw UsageError("bad check; usage: " + usage);
                const std::optional<DevicePath> path = what == "path" ? std::optional(DevicePath::parse(args[2])) : std::nullopt;
                return [last, index, what, path](Session& s) {
                    const auto sounds = s.device.sounds();
                    if (sounds.empty()) throw ExpectationFailed("no sounds played");
                    if (!last && index > sounds.size())
                        throw ExpectationFailed("only " + countOf(sounds.size(), "sound") + " played");
                    const pocket::SoundView& sound = sounds[last ? sounds.size() - 1 : index - 1];
                    const std::string found = "sound " + std::to_string(last ? sounds.size() : index) + ": " + soundText(s.device, sound);
                    const bool playing = !sound.cut && sound.actualEnd > s.device.now();
                    if (what == "async") check(sound.async, found);
                    else if (what == "sync") check(!sound.async, found);
                    else if (what == "whole") check(!sound.cut && !playing, found);
                    else if (what == "cut") check(sound.cut, found);
                    else if (what == "playing") check(playing, found);
                    else
                        check(sim::equalsIgnoreCase(sim::normaliseDevicePath(sim::fromUtf8(sound.path)).value_or(u""),
                                                    sim::fromUtf8(path->resolve(s.device))),
                              found);
                };
            }};
}

// ---- display ----

std::string driverText(const pocket::DisplayDriverSettings& driver) {
    return std::string("display driver: SETPOWERMANAGEMENT ") +
           (driver.supportsPowerManagement ? "supported" : "not supported") + ", power " +
           displayStateText(driver.powerState) + ", answers with Length " + std::to_string(driver.reportedLength);
}

CommandEntry displayDriver() {
    const std::string usage = "display driver [power-management on|off] [state STATE] [length N]";
    return {"display driver", {"[power-management on|off] [state on|standby|suspend|off|N] [length N]"},
            "Changes the display driver: whether it supports the power-management escapes, the\n"
            "panel's power state, and the Length it writes into its GETPOWERMANAGEMENT answers (12\n"
            "is the record's size; a driver may claim more). What is not given stays.",
            {"display driver power-management off", "display driver state off", "display driver state on length 64"},
            Kind::Action, [usage](const Arguments& args) -> Action {
                if (args.empty() || args.size() % 2 != 0) throw UsageError("give options in pairs; usage: " + usage);
                std::optional<bool> supports;
                std::optional<ULONG> state, length;
                for (std::size_t i = 0; i < args.size(); i += 2) {
                    const std::string& option = args[i];
                    const std::string& value = args[i + 1];
                    if (option == "power-management" && !supports) {
                        if (value != "on" && value != "off")
                            throw UsageError("power-management takes on or off, not \"" + value + "\"");
                        supports = value == "on";
                    } else if (option == "state" && !state) {
                        state = parseDisplayState(value);
                    } else if (option == "length" && !length) {
                        length = static_cast<ULONG>(parseNumber(value, kDwordMax, "length"));
                    } else {
                        throw UsageError("unexpected or repeated \"" + option + "\"; usage: " + usage);
                    }
                }
                return [supports, state, length](Session& s) {
                    const pocket::DisplayDriverSettings now = s.device.displayDriver();
                    s.device.setDisplayDriver({supports.value_or(now.supportsPowerManagement), state.value_or(now.powerState),
                                               length.value_or(now.reportedLength)});
                    s.print(driverText(s.device.displayDriver()));
                };
            }};
}

CommandEntry showDisplay() {
    return {"show display", {"[LAST]"},
            "Shows the display driver (power-management support, the panel's power state, the Length\n"
            "it answers with) and the escapes programs sent it (the LAST ones when given).",
            {"show display", "show display 3"}, Kind::Show, [](const Arguments& args) -> Action {
                requireCount(args, 0, 1, "show display [LAST]");
                const std::size_t last = parseLast(args, 0);
                return [last](Session& s) {
                    s.print(driverText(s.device.displayDriver()));
                    const auto& escapes = s.device.displayEscapes();
                    if (escapes.empty()) s.print("no escapes sent");
                    for (std::size_t i = firstOfLast(escapes.size(), last); i < escapes.size(); ++i)
                        s.print(stamped(escapes[i].time, escapeText(s.device, escapes[i])));
                };
            }};
}

CommandEntry expectDisplay() {
    return {"expect display", {"on|standby|suspend|off|N"}, "Checks the display's power state.",
            {"expect display off", "expect display on"}, Kind::Expectation, [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "expect display on|standby|suspend|off|N");
                const ULONG want = parseDisplayState(args[0]);
                return [want](Session& s) {
                    const ULONG state = s.device.displayPowerState();
                    check(state == want, "the display's power is " + displayStateText(state));
                };
            }};
}

// ---- files ----

CommandEntry putFile() {
    const std::string usage = "file put PATH wav DURATION | hex HEX...";
    return {"file put", {"PATH wav DURATION", "PATH hex HEX..."},
            "Puts a file on the device, replacing one of that name and making its folders: a silent\n"
            "WAVE file that plays for DURATION (10 minutes at most), or the given bytes (\"\" for\n"
            "none). PATH is a device path such as \\Temp\\a.wav (on a desktop PC with its drive, such\n"
            "as C:\\Temp\\a.txt), or PROGRAM:NAME for a file in the folder the program is installed in.",
            {"file put rcbridge:beep.wav wav 2s", "file put \\Temp\\broken.wav hex 52494646"}, Kind::Action,
            [usage](const Arguments& args) -> Action {
                requireCount(args, 3, kAny, usage);
                const DevicePath path = DevicePath::parse(args[0]);
                std::vector<std::uint8_t> bytes;
                if (args[1] == "wav" && args.size() == 3) {
                    const std::uint64_t ms = parseDuration(args[2]);
                    if (ms > 10 * 60 * 1000) throw UsageError("a WAVE file of more than 10 minutes is not made");
                    bytes = silentWave(ms);
                } else if (args[1] == "hex") {
                    bytes = parseHexBytes(Arguments(args.begin() + 2, args.end()));
                } else {
                    throw UsageError("bad contents; usage: " + usage);
                }
                return [path, bytes](Session& s) {
                    const std::string where = path.resolve(s.device);
                    if (!s.device.putFile(where, bytes))
                        throw ActionFailed("cannot put a file at " + where + ": it is a folder or lies below a file");
                    s.print("put " + where + ", " + fileDescription(bytes));
                };
            }};
}

CommandEntry copyFile() {
    return {"file copy", {"FROM TO"},
            "Copies a file on the device, replacing TO. Paths as for \"file put\".",
            {"file copy rcbridge:beep.wav \\Temp\\beep.wav", "file copy \\Temp\\beep.wav rcbridge:beep.wav"},
            Kind::Action, [](const Arguments& args) -> Action {
                requireCount(args, 2, 2, "file copy FROM TO");
                const DevicePath from = DevicePath::parse(args[0]);
                const DevicePath to = DevicePath::parse(args[1]);
                return [from, to](Session& s) {
                    const std::string source = from.resolve(s.device);
                    const std::string target = to.resolve(s.device);
                    const auto bytes = s.device.fileBytes(source);
                    if (!bytes) throw ActionFailed("no file " + source);
                    if (!s.device.putFile(target, *bytes))
                        throw ActionFailed("cannot put a file at " + target + ": it is a folder or lies below a file");
                    s.print("copied " + source + " to " + target + ", " + fileDescription(*bytes));
                };
            }};
}

CommandEntry removeFile() {
    return {"file remove", {"PATH"}, "Removes a file from the device. Paths as for \"file put\".",
            {"file remove rcbridge:beep.wav"}, Kind::Action, [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "file remove PATH");
                const DevicePath path = DevicePath::parse(args[0]);
                return [path](Session& s) {
                    const std::string where = path.resolve(s.device);
                    if (!s.device.removeFile(where)) throw ActionFailed("no file " + where + " to remove");
                    s.print("removed " + where);
                };
            }};
}

CommandEntry showFiles() {
    return {"show files", {"[FOLDER|PROGRAM]"},
            "Lists the device's files and folders, all of them or those below FOLDER (or below the\n"
            "folder PROGRAM is installed in), with their sizes; WAVE files with their length.",
            {"show files", "show files rcbridge", "show files \\Temp"}, Kind::Show, [](const Arguments& args) -> Action {
                requireCount(args, 0, 1, "show files [FOLDER|PROGRAM]");
                std::string program;
                std::optional<DevicePath> folder;
                if (!args.empty()) {
                    const auto& installed = programsOf(parsingMachine());
                    if (std::find(installed.begin(), installed.end(), args[0]) != installed.end()) program = args[0];
                    else folder = DevicePath::parse(args[0]);
                }
                return [program, folder](Session& s) {
                    const std::string where = !program.empty() ? s.device.installFolder(program)
                                              : folder           ? folder->resolve(s.device)
                                                                 : std::string("\\");
                    // As the file system keeps it: a drive is a folder at the top ("\D:\Setup").
                    const std::u16string top = sim::normaliseDevicePath(sim::fromUtf8(where)).value_or(u"\\");
                    const std::u16string prefix = top == u"\\" ? top : top + u"\\";
                    std::size_t shown = 0;
                    for (const pocket::FileView& entry : s.device.files()) {
                        if (entry.path.size() <= prefix.size() ||
                            !sim::equalsIgnoreCase(entry.path.substr(0, prefix.size()), prefix))
                            continue;
                        ++shown;
                        const std::string name = shownPath(entry.path);  // "D:\" has its backslash
                        if (!entry.folder) s.print(name + ", " + fileDescription(entry.bytes));
                        else s.print(name.back() == '\\' ? name : name + "\\");
                    }
                    if (shown == 0) s.print("no files below " + shownPath(top));
                };
            }};
}

CommandEntry expectFile() {
    return {"expect file", {"PATH exists", "PATH absent"},
            "Checks whether a file is on the device. Paths as for \"file put\".",
            {"expect file rcbridge:beep.wav exists", "expect file \\Temp\\a.wav absent"}, Kind::Expectation,
            [](const Arguments& args) -> Action {
                requireCount(args, 2, 2, "expect file PATH exists|absent");
                const DevicePath path = DevicePath::parse(args[0]);
                if (args[1] != "exists" && args[1] != "absent")
                    throw UsageError("expect file takes exists or absent, not \"" + args[1] + "\"");
                const bool wanted = args[1] == "exists";
                return [path, wanted](Session& s) {
                    const std::string where = path.resolve(s.device);
                    const auto bytes = s.device.fileBytes(where);
                    check(bytes.has_value() == wanted,
                          bytes ? where + " exists, " + fileDescription(*bytes) : "there is no file " + where);
                };
            }};
}

// ---- windows of outside programs ----

CommandEntry addWindow() {
    return {"window add", {"PROGRAM CLASS TITLE"},
            "Starts a stand-in for a program from outside the bundle: a process named PROGRAM that\n"
            "owns one top-level window of CLASS and TITLE, in front of the others. It records every\n"
            "message it receives and closes on WM_CLOSE.",
            {"window add tunelark TUNELARK Tunelark", "window add wmplayer \"WMP7.5 for Pocket PC\" \"Windows Media\""},
            Kind::Action, [](const Arguments& args) -> Action {
                requireCount(args, 3, 3, "window add PROGRAM CLASS TITLE");
                const std::string program = args[0], className = args[1], title = args[2];
                const auto installed = pocket::PocketDevice::installedPrograms();
                if (std::find(installed.begin(), installed.end(), program) != installed.end())
                    throw UsageError(program + " is a program of the bundle; a stand-in plays one from outside");
                if (program.empty() || className.empty()) throw UsageError("a stand-in needs a program name and a class");
                return [program, className, title](Session& s) {
                    const pocket::StandInView made = s.device.createStandIn(program, className, title);
                    if (!made.hwnd) throw ActionFailed("the stand-in window of class " + quote(className) + " could not be made");
                    s.print(program + " (pid " + std::to_string(made.pid) + ") shows hwnd " + handleText(made.hwnd) +
                            " class " + quote(className) + " title " + quote(title));
                };
            }};
}

CommandEntry closeWindow() {
    return {"window close", {"CLASS", "hwnd=HANDLE"},
            "Closes the open stand-in window of CLASS, or of that handle (posts it WM_CLOSE); its\n"
            "program ends.",
            {"window close TUNELARK", "window close \"WMP7.5 for Pocket PC\"", "window close hwnd=0x00010014"},
            Kind::Action,
            [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "window close CLASS");
                const std::string className = args[0];
                return [className](Session& s) {
                    const pocket::StandInRecord standIn = findStandIn(s.device, className);
                    if (!standIn.open) throw ActionFailed("the stand-in " + standInName(standIn) + " is closed already");
                    s.device.closeStandIn(standIn.hwnd);
                    s.print("closed " + standInName(standIn));
                };
            }};
}

CommandEntry showReceived() {
    return {"show received", {"CLASS [LAST]"},
            "Lists the messages that the stand-in window of CLASS received (the LAST ones when\n"
            "given): when, the message, wParam and lParam. A closed stand-in's list stays.",
            {"show received TUNELARK", "show received TUNELARK 3"}, Kind::Show, [](const Arguments& args) -> Action {
                requireCount(args, 1, 2, "show received CLASS [LAST]");
                const std::string className = args[0];
                const std::size_t last = parseLast(args, 1);
                return [className, last](Session& s) {
                    const pocket::StandInRecord standIn = findStandIn(s.device, className);
                    const auto& log = s.device.standInMessages(standIn.hwnd);
                    s.print(standInName(standIn) + (standIn.open ? "" : ", closed") + ": " + countOf(log.size(), "message"));
                    for (std::size_t i = firstOfLast(log.size(), last); i < log.size(); ++i)
                        s.print(stamped(log[i].time, receivedText(log[i])));
                };
            }};
}

std::string commandList(const std::vector<WPARAM>& commands) {
    std::string list;
    for (WPARAM c : commands) list += (list.empty() ? "" : " ") + std::to_string(c);
    return list.empty() ? "none" : list;
}

CommandEntry expectReceived() {
    const std::string usage = "expect received CLASS command N | commands N... | commands none";
    return {"expect received", {"CLASS command N", "CLASS commands N...", "CLASS commands none"},
            "Checks the WM_COMMAND messages that the stand-in window of CLASS received: that the\n"
            "last one had wParam N, or the wParams of all of them in order (none for no command).",
            {"expect received TUNELARK command 40038", "expect received TUNELARK commands 40038 40037",
             "expect received TUNELARK commands none"},
            Kind::Expectation, [usage](const Arguments& args) -> Action {
                requireCount(args, 3, kAny, usage);
                const std::string className = args[0];
                std::vector<WPARAM> want;
                const bool lastOnly = args[1] == "command";
                if (lastOnly && args.size() == 3) {
                    want.push_back(static_cast<WPARAM>(parseNumber(args[2], kDwordMax, "command")));
                } else if (args[1] == "commands" && !(args.size() == 3 && args[2] == "none")) {
                    for (std::size_t i = 2; i < args.size(); ++i)
                        want.push_back(static_cast<WPARAM>(parseNumber(args[i], kDwordMax, "command")));
                } else if (args[1] != "commands") {
                    throw UsageError("bad check; usage: " + usage);
                }
                return [className, want, lastOnly](Session& s) {
                    const pocket::StandInRecord standIn = findStandIn(s.device, className);
                    std::vector<WPARAM> got;
                    for (const sim::ReceivedMessage& m : s.device.standInMessages(standIn.hwnd))
                        if (m.message == WM_COMMAND) got.push_back(m.wParam);
                    const std::string found = standInName(standIn) + " received the commands " + commandList(got);
                    if (lastOnly) check(!got.empty() && got.back() == want.front(), found);
                    else check(got == want, found);
                };
            }};
}

}  // namespace

std::vector<CommandEntry> deviceCommands() {
    // Files are on both machines; keys, sound, display and stand-in windows on the handheld only.
    return {handheldOnly(press()),        handheldOnly(switchOn()),       handheldOnly(setVolume()),
            handheldOnly(displayDriver()), putFile(),                     copyFile(),
            removeFile(),                 handheldOnly(addWindow()),      handheldOnly(closeWindow()),
            handheldOnly(showKeys()),     handheldOnly(showPresses()),    handheldOnly(showVolume()),
            handheldOnly(showSounds()),   handheldOnly(showDisplay()),    handheldOnly(showKeyboard()),
            showFiles(),                  handheldOnly(showReceived()),   handheldOnly(expectKeys()),
            handheldOnly(expectVolume()), handheldOnly(expectSounds()),   handheldOnly(expectSound()),
            handheldOnly(expectDisplay()), handheldOnly(expectSwitched()), handheldOnly(expectKeyboard()),
            expectFile(),                 handheldOnly(expectReceived())};
}

}  // namespace pocketsim
