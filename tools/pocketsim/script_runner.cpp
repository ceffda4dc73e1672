#include "script_runner.h"

#include <chrono>
#include <istream>
#include <ostream>
#include <sstream>

#include "arguments.h"
#include "device_terms.h"
#include "format.h"
#include "journal_report.h"
#include "screen_film.h"
#include "tokenizer.h"
#include "utf.h"

namespace pocketsim {

namespace {

std::string trimmed(const std::string& text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// Reads one raw line into `line`; false when it has no command. Throws SyntaxError or UsageError.
bool readLine(std::size_t number, std::string raw, sim::Machine machine, ScriptLine& line) {
    if (number == 1 && raw.rfind("\xEF\xBB\xBF", 0) == 0) raw.erase(0, 3);
    line = ScriptLine{number, trimmed(raw), {}};
    if (!isValidUtf8(raw)) throw SyntaxError("the line is not UTF-8 text (is the file saved in another encoding?)");
    const std::vector<std::string> words = tokenize(raw);
    if (words.empty()) return false;
    line.command = parseCommand(words, machine);
    return true;
}

std::string bootTooLate(const ScriptLine& line) {
    return "\"" + line.command.entry->name +
           "\" must be the script's first command: it chooses the device the script runs on";
}

}  // namespace

std::string complaint(const std::string& name, std::size_t number, const std::string& text, const std::string& what) {
    // A line of binary bytes is shown escaped and cut, never as it came.
    return name + ":" + std::to_string(number) + ": " + sim::printableUtf8(what, 400) + "\n    " +
           std::to_string(number) + " | " + sim::printableUtf8(text, 160) + "\n";
}

LineRunner::LineRunner(const std::string& name, std::optional<sim::DeviceConfig> boot, const RunOptions& options)
    : name_(name), options_(options) {
    device_ = std::make_unique<pocket::PocketDevice>(boot ? *boot : sim::DeviceConfig{});
    for (const auto& [program, image] : options.images) device_->replaceImage(program, image);
}

LineRunner::~LineRunner() = default;

LineRunner::Result LineRunner::run(const ScriptLine& line, std::ostream* echo, std::ostream& err) {
    Result result;
    const CommandEntry& entry = *line.command.entry;
    const std::string stamp = timeStamp(device_->now());
    const std::size_t errorsBefore = device_->errors().size();
    const std::string indent(kStampWidth, ' ');
    JournalReport report(*device_, state_);
    const bool expectation = entry.kind == CommandEntry::Kind::Expectation;
    if (entry.echoLine && !expectation) {
        result.printed.push_back(stamp + " " + line.text);
        if (echo) {
            *echo << result.printed.back() << "\n" << std::flush;
            result.echoed = 1;
        }
    }

    Session session{*device_, state_, {}, [&report] { return report.next(); }, {}};
    auto lastDrawn = std::chrono::steady_clock::now();
    bool drawn = false;
    if (options_.progress)
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
        result.ran = false;
        result.printed.push_back(stamp + " " + line.text + "  FAILED");
        result.complaint = complaint(name_, line.number, line.text, std::string("expectation failed: ") + e.what());
    } catch (const std::exception& e) {
        result.ran = false;
        result.complaint = complaint(name_, line.number, line.text, std::string("error: ") + e.what());
    }
    if (drawn) err << "\r\033[K" << std::flush;
    if (!result.ran) return result;
    if (expectation) result.printed.push_back(stamp + " " + line.text + "  ok");
    // What the device says may hold any text a program gave it: printed as valid UTF-8.
    for (std::size_t i = 0; i < session.details.size(); ++i)
        result.printed.push_back((!entry.echoLine && i == 0 ? stamp + " " : indent) +
                                 sim::printableUtf8(session.details[i]));
    // What the command brought about without naming it: a menu or box the program showed,
    // a sound, a second start that ends the first copy.
    for (const std::string& change : report.next()) result.printed.push_back(indent + sim::printableUtf8(change));
    if (device_->errors().size() > errorsBefore)
        result.complaint = complaint(name_, line.number, line.text, "the device reported an error while this line ran");
    return result;
}

int LineRunner::finish(std::ostream& err) {
    int status = kSuccess;
    if (!device_->errors().empty()) {
        err << name_ << ": the device reported " << device_->errors().size()
            << (device_->errors().size() == 1 ? " error" : " errors") << ":\n";
        for (const std::string& e : device_->errors()) err << "    " << e << "\n";
        status = kFailed;
    }
    // A fault or stop that never happened leaves the script testing nothing of what it meant to.
    for (const std::string& fault : device_->faultsNeverFired()) {
        err << name_ << ": a fault asked for never happened: " << fault << "\n";
        status = kFailed;
    }
    for (const std::string& stop : device_->stopsNeverReached()) {
        err << name_ << ": a stop asked for was never reached: " << stop << "\n";
        status = kFailed;
    }
    return status;
}

int runScript(const std::string& name, std::istream& script, std::ostream& out, std::ostream& err,
              const RunOptions& options) {
    std::vector<ScriptLine> lines;
    bool malformed = false;
    std::size_t commandsSeen = 0;
    sim::Machine machine = sim::Machine::Handheld;  // the boot line may choose another
    std::string raw;
    for (std::size_t number = 1; std::getline(script, raw); ++number) {
        ScriptLine line;
        try {
            if (!readLine(number, raw, machine, line)) continue;
            const bool first = commandsSeen++ == 0;
            if (line.command.boot && first) machine = line.command.boot->machine;
            // The device is made before the first line runs; a later boot would throw away what came before.
            if (line.command.boot && !first) throw UsageError(bootTooLate(line));
        } catch (const std::runtime_error& e) {  // SyntaxError, UsageError
            err << complaint(name, number, line.text.empty() ? trimmed(raw) : line.text, std::string("error: ") + e.what());
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

    std::unique_ptr<LineRunner> runner;
    try {
        runner = std::make_unique<LineRunner>(name, lines.empty() ? std::nullopt : lines.front().command.boot, options);
    } catch (const std::exception& e) {
        err << "pocketsim: cannot set up the device: " << e.what() << "\n";
        return kMalformed;
    }
    ScreenFilm film(options.screensDir, options.reportPath, name);
    int status = kSuccess;
    for (const ScriptLine& line : lines) {
        LineRunner::Result result = runner->run(line, &out, err);
        for (std::size_t i = result.echoed; i < result.printed.size(); ++i) out << result.printed[i] << "\n";
        out << std::flush;
        err << result.complaint;
        film.add(*runner, line, result, err);
        if (!result.ran) {
            status = kFailed;
            break;
        }
    }
    if (status == kSuccess) status = runner->finish(err);
    return film.finish(status, err);
}

int runInteractive(std::istream& in, std::ostream& out, const RunOptions& options) {
    const std::string name = "<interactive>";
    std::unique_ptr<LineRunner> runner;
    sim::Machine machine = sim::Machine::Handheld;
    bool failed = false;
    bool malformed = false;
    std::string raw;
    for (std::size_t number = 1; std::getline(in, raw); ++number) {
        ScriptLine line;
        try {
            if (!readLine(number, raw, machine, line)) {
                out << ".ok\n" << std::flush;
                continue;
            }
            if (line.command.boot && runner) throw UsageError(bootTooLate(line));
        } catch (const std::runtime_error& e) {  // SyntaxError, UsageError
            out << complaint(name, number, line.text.empty() ? trimmed(raw) : line.text, std::string("error: ") + e.what())
                << ".malformed\n" << std::flush;
            malformed = true;
            continue;
        }
        if (!runner) {
            try {
                runner = std::make_unique<LineRunner>(name, line.command.boot, options);
                if (line.command.boot) machine = line.command.boot->machine;
            } catch (const std::exception& e) {
                out << "pocketsim: cannot set up the device: " << e.what() << "\n.failed\n" << std::flush;
                return kMalformed;
            }
        }
        std::ostringstream complaints;
        const LineRunner::Result result = runner->run(line, nullptr, complaints);
        for (const std::string& printed : result.printed) out << printed << "\n";
        out << complaints.str() << result.complaint << (result.ran ? ".ok" : ".failed") << "\n" << std::flush;
        failed = failed || !result.ran;
    }
    if (malformed) return kMalformed;
    const int status = runner ? runner->finish(out) : kSuccess;
    return failed ? kFailed : status;
}

}  // namespace pocketsim
