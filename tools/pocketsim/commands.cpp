#include "commands.h"

#include <algorithm>
#include <ostream>

#include "arguments.h"
#include "suggest.h"

namespace pocketsim {

const std::vector<CommandEntry>& commandTable() {
    static const std::vector<CommandEntry> table = [] {
        std::vector<CommandEntry> all = actionCommands();
        for (auto part : {showCommands(), expectCommands(), shellCommands(), deviceCommands(), taskbarCommands(),
                          screenCommands(), desktopCommands()})
            all.insert(all.end(), part.begin(), part.end());
        return all;
    }();
    return table;
}

namespace {

thread_local sim::Machine tParsingMachine = sim::Machine::Handheld;

// How a script gets the machine that something needs.
std::string toGet(sim::Machine wanted) {
    return wanted == sim::Machine::Desktop ? "; begin the script with \"boot desktop\""
                                           : ", and this script boots a desktop PC";
}

std::vector<std::string> splitWords(const std::string& text) {
    std::vector<std::string> words;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = std::min(text.find(' ', pos), text.size());
        words.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return words;
}

}  // namespace

CommandEntry onlyOn(sim::Machine machine, CommandEntry entry) {
    entry.machine = machine;
    return entry;
}

std::vector<CommandEntry> onlyOn(sim::Machine machine, std::vector<CommandEntry> entries) {
    for (CommandEntry& entry : entries) entry.machine = machine;
    return entries;
}

sim::Machine parsingMachine() { return tParsingMachine; }

std::string machineName(sim::Machine machine) {
    return machine == sim::Machine::Desktop ? "a desktop PC" : "a handheld";
}

ParsedCommand parseCommand(const std::vector<std::string>& words, sim::Machine machine) {
    if (words.empty()) throw UsageError("empty command");
    const CommandEntry* best = nullptr;
    std::size_t bestLength = 0;
    for (const CommandEntry& entry : commandTable()) {
        const std::vector<std::string> name = splitWords(entry.name);
        if (name.size() > words.size() || name.size() <= bestLength) continue;
        if (std::equal(name.begin(), name.end(), words.begin())) {
            best = &entry;
            bestLength = name.size();
        }
    }
    if (!best) {
        // Names the words that may follow the longest start of a command the line has ("pen down").
        std::size_t matched = 0;
        std::string nexts;
        for (const CommandEntry& entry : commandTable()) {
            const std::vector<std::string> name = splitWords(entry.name);
            std::size_t k = 0;
            while (k + 1 < name.size() && k < words.size() && name[k] == words[k]) ++k;
            if (k == 0 || k < matched) continue;
            if (k > matched) nexts.clear(), matched = k;
            if (nexts.find(" " + name[k] + ",") == std::string::npos) nexts += " " + name[k] + ",";
        }
        if (!nexts.empty()) {
            nexts.pop_back();
            std::string start;
            for (std::size_t k = 0; k < matched; ++k) start += (k ? " " : "") + words[k];
            const std::string what = words.size() > matched ? "\"" + words[matched] + "\"" : std::string("nothing");
            throw UsageError("\"" + start + "\" must be followed by one of" + nexts + " (got " + what + ")");
        }
        std::vector<std::string> firstWords;
        for (const CommandEntry& entry : commandTable()) firstWords.push_back(splitWords(entry.name).front());
        const std::string suggestion = didYouMean(words[0], firstWords);
        throw UsageError("unknown command \"" + words[0] + "\"" +
                         (suggestion.empty() ? " (pocketsim --help lists the commands)" : suggestion));
    }
    if (best->machine && *best->machine != machine)
        throw UsageError("\"" + best->name + "\" is for " + machineName(*best->machine) + toGet(*best->machine));
    const Arguments args(words.begin() + static_cast<std::ptrdiff_t>(bestLength), words.end());
    // For this line only: the arguments' checks ask for it.
    struct MachineScope {
        sim::Machine saved = tParsingMachine;
        explicit MachineScope(sim::Machine m) { tParsingMachine = m; }
        ~MachineScope() { tParsingMachine = saved; }
    } scope(machine);
    ParsedCommand parsed{best, best->parse(args), std::nullopt};
    if (best->bootConfig) parsed.boot = best->bootConfig(args);
    return parsed;
}

void requireCount(const Arguments& args, std::size_t min, std::size_t max, const std::string& usage) {
    if (args.size() < min || args.size() > max)
        throw UsageError((args.size() < min ? "missing arguments; usage: " : "too many arguments; usage: ") + usage);
}

const std::vector<std::string>& programsOf(sim::Machine machine) {
    static const std::vector<std::string> handheld = pocket::PocketDevice::installedPrograms(sim::Machine::Handheld);
    static const std::vector<std::string> desktop = pocket::PocketDevice::installedPrograms(sim::Machine::Desktop);
    return machine == sim::Machine::Desktop ? desktop : handheld;
}

const std::string& requireProgram(const std::string& name) {
    const sim::Machine machine = parsingMachine();
    const std::vector<std::string>& installed = programsOf(machine);
    if (std::find(installed.begin(), installed.end(), name) != installed.end()) return name;
    const sim::Machine other = machine == sim::Machine::Desktop ? sim::Machine::Handheld : sim::Machine::Desktop;
    const std::vector<std::string>& elsewhere = programsOf(other);
    if (std::find(elsewhere.begin(), elsewhere.end(), name) != elsewhere.end())
        throw UsageError(name + " is a program for " + machineName(other) + toGet(other));
    std::string list;
    for (const std::string& program : installed) list += (list.empty() ? "" : ", ") + program;
    throw UsageError("no program named \"" + name + "\" is installed" + didYouMean(name, installed) + " (installed: " +
                     (list.empty() ? "none; is POCKET_IMAGE_DIR right?" : list) + ")");
}

ProcessChoice ProcessChoice::parse(const std::string& text) {
    ProcessChoice choice;
    if (!text.empty() && text[0] >= '0' && text[0] <= '9')
        choice.pid = static_cast<std::uint32_t>(parseNumber(text, 0xFFFFFFFFu, "pid"));
    else
        choice.program = requireProgram(text);
    return choice;
}

std::optional<pocket::ProcessView> ProcessChoice::find(const pocket::PocketDevice& device) const {
    if (program.empty()) return device.process(pid);
    std::optional<pocket::ProcessView> latest;
    for (pocket::ProcessView& p : device.processes())
        if (p.name == program) latest = std::move(p);
    return latest;
}

std::string ProcessChoice::name() const { return program.empty() ? "pid " + std::to_string(pid) : program; }

namespace {

void printEntry(std::ostream& out, const CommandEntry& entry) {
    out << "\n";
    for (const std::string& form : entry.forms) out << "  " << entry.name << (form.empty() ? "" : " ") << form << "\n";
    if (entry.machine) out << "      (" << (*entry.machine == sim::Machine::Desktop ? "desktop PC" : "handheld") << " only)\n";
    out << "      ";
    for (char c : entry.summary) out << c << (c == '\n' ? "      " : "");
    out << "\n";
    for (const std::string& example : entry.examples) out << "      example: " << example << "\n";
}

}  // namespace

bool printHelp(std::ostream& out, const std::string& topic) {
    if (!topic.empty()) {
        // The commands whose name begins with the topic's words ("fail", "expect registry").
        const std::vector<std::string> words = splitWords(topic);
        std::vector<std::string> firstWords;
        bool found = false;
        for (const CommandEntry& entry : commandTable()) {
            firstWords.push_back(splitWords(entry.name).front());
            // Against each form too: "stylus down" is a form of "stylus".
            bool matches = false;
            for (const std::string& form : entry.forms) {
                const std::vector<std::string> full = splitWords(entry.name + " " + form);
                matches |= words.size() <= full.size() && std::equal(words.begin(), words.end(), full.begin());
            }
            if (matches) {
                printEntry(out, entry);
                found = true;
            }
        }
        if (!found)
            throw UsageError("no command begins with \"" + topic + "\"" + didYouMean(words.front(), firstWords));
        return true;
    }
    out << "pocketsim: runs Pocket PC programs on a simulated device, as a script tells it\n"
           "\n"
           "Usage: pocketsim [--check] [--image PROGRAM=PATH]... [--screens DIR] [--report FILE.html] [SCRIPT | -]\n"
           "       pocketsim --interactive [--image PROGRAM=PATH]...\n"
           "       pocketsim --serve [PORT] [--image PROGRAM=PATH]...\n"
           "       pocketsim --help [COMMAND] | --version\n"
           "(--image runs another build of a program where it is installed, with its resources:\n"
           "a deliberately broken copy, say, to see a test catch it)\n"
           "(--screens writes a picture of the screen after each line that changed it, DIR/line-N.png;\n"
           "--report writes an HTML filmstrip of the run: each line, what it did, the screen after it)\n"
           "(--interactive runs one device on the lines standard input gives, one at a time; each\n"
           "answer ends with a line \".ok\", \".failed\" or \".malformed\")\n"
           "(--serve shows the device live in a browser at http://127.0.0.1:PORT/ (default 8080):\n"
           "its screen, the stylus, the remote's keys, the battery, time and programs; what you do\n"
           "there is recorded as a script to download)\n"
           "(--help COMMAND shows only the commands that begin with those words: --help fail)\n"
           "\n"
           "The script (standard input when it is \"-\" or not given) has one command per line.\n"
           "Blank lines are skipped; a '#' that begins a word starts a comment. Words are separated\n"
           "by blanks; double quotes keep blanks together (\"two words\"), and inside quotes \\\" and \\\\\n"
           "stand for a quote and a backslash, \\n, \\r and \\t for a line feed, a carriage return and\n"
           "a tab. Text is UTF-8. Every line is checked before anything runs; --check stops there.\n"
           "\n"
           "The device is a handheld without the shell's taskbar and desktop windows unless the\n"
           "script's first command is \"boot shell\" or \"boot desktop\" (a desktop PC; see below);\n"
           "no other line may boot it. Commands marked \"handheld only\" or \"desktop PC only\" are\n"
           "malformed lines on the other machine.\n"
           "\n"
           "Time is virtual: it moves only with \"advance\". Each line is printed with the time at which\n"
           "it ran, followed by what it shows and by what the programs did meanwhile: menus and boxes\n"
           "opened or closed, processes ended, hot keys taken or released, volume set, sounds played,\n"
           "key events, messages to stand-in windows, the display's power, processes a desktop\n"
           "program asked to start. An expectation that does not hold ends the run.\n"
           "\n"
           "Arguments: DURATION is 5s, 450ms, 2h, 1h30m, 3d or a plain number of milliseconds.\n"
           "Numbers may be given in hex as 0x.... CLSID is {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} or\n"
           "the name of a program whose notification class it is (voltmarap). KEY is a registry path\n"
           "such as HKCU\\Software\\Orvalen\\VoltmaraPPC; VALUE \"\" is the key's default value.\n"
           "A desktop PC's paths begin with a drive (C:\\Tools). In quotes a backslash is written \\\\;\n"
           "in paths and registry keys (not in texts that expectations compare) '/' may stand for it.\n"
           "\n"
           "Exit status: 0 when every line ran, every expectation held and the device reported no\n"
           "error; 1 when an expectation failed, an action could not be done, the device reported\n"
           "an error, or a fault or stop the script asked for never happened; 2 when the script\n"
           "cannot be read or has a malformed line (nothing is run then).\n";
    const std::pair<CommandEntry::Kind, const char*> sections[] = {
        {CommandEntry::Kind::Action, "Actions"},
        {CommandEntry::Kind::Show, "Showing the device"},
        {CommandEntry::Kind::Expectation, "Expectations"},
    };
    for (const auto& [kind, title] : sections) {
        out << "\n" << title << ":\n";
        for (const CommandEntry& entry : commandTable()) {
            if (entry.kind == kind) printEntry(out, entry);
        }
    }
    return true;
}

}  // namespace pocketsim
