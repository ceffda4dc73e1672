#include "script_runner.h"

#include <chrono>
#include <istream>
#include <memory>
#include <ostream>

#include "arguments.h"
#include "commands.h"
#include "device_terms.h"
#include "format.h"
#include "journal_report.h"
#include "tokenizer.h"
#include "utf.h"

namespace pocketsim {

namespace {

struct Line {
    std::size_t number = 0;
    std::string text;
    ParsedCommand command;
};

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// "name:12: what\n    12 | the line": where and what, as compilers say it. A line of binary bytes
// is shown escaped and cut, never as it came.
void complain(std::ostream& err, const std::string& name, const Line& line, const std::string& what) {
    err << name << ":" << line.number << ": " << sim::printableUtf8(what, 400) << "\n    " << line.number << " | "
        << sim::printableUtf8(line.text, 160) << "\n";
}


}  // namespace

int runScript(const std::string& name, std::istream& script, std::ostream& out, std::ostream& err,
              const RunOptions& options) {
    std::vector<Line> lines;
    bool malformed = false;
    std::size_t commandsSeen = 0;
    sim::Machine machine = sim::Machine::Handheld;  // the boot line may choose another
    std::string raw;
    for (std::size_t number = 1; std::getline(script, raw); ++number) {
        if (number == 1 && raw.rfind("\xEF\xBB\xBF", 0) == 0) raw.erase(0, 3);
        Line line{number, trimmed(raw), {}};
        try {
            if (!isValidUtf8(raw)) throw SyntaxError("the line is not UTF-8 text (is the file saved in another encoding?)");
            const std::vector<std::string> words = tokenize(raw);
            if (words.empty()) continue;
            const bool first = commandsSeen++ == 0;
            line.command = parseCommand(words, machine);
            if (line.command.boot && first) machine = line.command.boot->machine;
            // The device is made before the first line runs; a later boot would throw away what came before.
            if (line.command.boot && !first)
                throw UsageError("\"" + line.command.entry->name +
                                 "\" must be the script's first command: it chooses the device the script runs on");
        } catch (const SyntaxError& e) {
            complain(err, name, line, std::string("error: ") + e.what());
            malformed = true;
        } catch (const UsageError& e) {
            complain(err, name, line, std::string("error: ") + e.what());
            malformed = true;
        }
        lines.push_back(std::move(line));
    }
    if (script.bad()) {
        err << name << ": cannot read the script\n";
        return kMalformed;
    }
    if (malformed) return kMalformed;
    if (commandsSeen == 0) err << name << ": warning: the script has no commands\n";
    if (options.checkOnly) {
        out << name << ": " << lines.size() << " commands, all well-formed\n";
        return kSuccess;
    }

    std::unique_ptr<pocket::PocketDevice> device;
    try {
        const bool booted = !lines.empty() && lines.front().command.boot;
        device = std::make_unique<pocket::PocketDevice>(booted ? *lines.front().command.boot : sim::DeviceConfig{});
        for (const auto& [program, image] : options.images) device->replaceImage(program, image);
    } catch (const std::exception& e) {
        err << "pocketsim: cannot set up the device: " << e.what() << "\n";
        return kMalformed;
    }
    ScriptState state;
    const std::string indent(kStampWidth, ' ');
    for (const Line& line : lines) {
        const CommandEntry& entry = *line.command.entry;
        const std::string stamp = timeStamp(device->now());
        const std::size_t errorsBefore = device->errors().size();
        JournalReport report(*device, state);
        const bool expectation = entry.kind == CommandEntry::Kind::Expectation;
        if (entry.echoLine && !expectation) out << stamp << " " << line.text << "\n" << std::flush;

        Session session{*device, state, {}, [&report] { return report.next(); }, {}};
        auto lastDrawn = std::chrono::steady_clock::now();
        bool drawn = false;
        if (options.progress)
            session.progress = [&](std::uint64_t done, std::uint64_t total) {
                const auto now = std::chrono::steady_clock::now();
                if (now - lastDrawn < std::chrono::milliseconds(200)) return;
                lastDrawn = now;
                drawn = true;
                err << "\r\033[K" << line.text << ": " << timeStamp(done) << " of " << timeStamp(total) << std::flush;
            };
        try {
            line.command.action(session);
        } catch (const ExpectationFailed& e) {
            out << stamp << " " << line.text << "  FAILED\n" << std::flush;
            complain(err, name, line, std::string("expectation failed: ") + e.what());
            return kFailed;
        } catch (const std::exception& e) {
            out << std::flush;
            complain(err, name, line, std::string("error: ") + e.what());
            return kFailed;
        }

        if (drawn) err << "\r\033[K" << std::flush;
        if (expectation) out << stamp << " " << line.text << "  ok\n";
        // What the device says may hold any text a program gave it: printed as valid UTF-8.
        for (std::size_t i = 0; i < session.details.size(); ++i)
            out << (!entry.echoLine && i == 0 ? stamp + " " : indent) << sim::printableUtf8(session.details[i]) << "\n";
        // What the command brought about without naming it: a menu or box the program showed,
        // a sound, a second start that ends the first copy.
        for (const std::string& change : report.next()) out << indent << sim::printableUtf8(change) << "\n";
        out << std::flush;
        if (device->errors().size() > errorsBefore)
            complain(err, name, line, "the device reported an error while this line ran");
    }
    int status = kSuccess;
    if (!device->errors().empty()) {
        err << name << ": the device reported " << device->errors().size()
            << (device->errors().size() == 1 ? " error" : " errors") << ":\n";
        for (const std::string& e : device->errors()) err << "    " << e << "\n";
        status = kFailed;
    }
    // A fault or stop that never happened leaves the script testing nothing of what it meant to.
    for (const std::string& fault : device->faultsNeverFired()) {
        err << name << ": a fault asked for never happened: " << fault << "\n";
        status = kFailed;
    }
    for (const std::string& stop : device->stopsNeverReached()) {
        err << name << ": a stop asked for was never reached: " << stop << "\n";
        status = kFailed;
    }
    return status;
}

}  // namespace pocketsim
