#include "failure_script.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>
#include <vector>

#include "script_runner.h"

namespace explore {

namespace {

// One step's lines (its comment first), or the set-up before the first step.
using Block = std::vector<std::string>;

std::vector<Block> blocksOf(const std::vector<std::string>& script) {
    std::vector<Block> blocks(1);
    for (const std::string& line : script) {
        if (line.rfind("# step ", 0) == 0) blocks.emplace_back();
        blocks.back().push_back(line);
    }
    return blocks;
}

// A step left with its comment alone says nothing.
std::string joined(const std::vector<Block>& blocks, const std::vector<std::string>& tail) {
    std::string text;
    for (const Block& block : blocks) {
        if (block.size() == 1 && block.front().rfind("# step ", 0) == 0) continue;
        for (const std::string& line : block) text += line + "\n";
    }
    for (const std::string& line : tail) text += line + "\n";
    return text;
}

bool isCommand(const std::string& line) { return !line.empty() && line[0] != '#'; }

// Whether pocketsim fails a script as the run failed: the same device error, or the same
// expectation failing on what the run found. Each call replays the script from the start.
class Oracle {
public:
    Oracle(const ExploreOptions& options, std::string key, bool expectation)
        : key_(std::move(key)), expectation_(expectation) {
        options_.images = options.images;
    }

    // The whole replay sets what counts as the same: for an expectation, what pocketsim found.
    bool learnFrom(const std::string& script) {
        const std::string report = run(script);
        if (report.empty()) return false;
        if (expectation_) found_ = expectationFound(report);
        return failsTheSameWay(report);
    }

    bool failsTheSameWayOn(const std::string& script) {
        const std::string report = run(script);
        return !report.empty() && failsTheSameWay(report);
    }

    const std::string& found() const { return found_; }

    bool spent() const {
        return runs_ >= kMostRuns || std::chrono::steady_clock::now() - begin_ > std::chrono::seconds(kMostSeconds);
    }

private:
    // pocketsim's complaints when it failed the script, empty when it did not.
    std::string run(const std::string& script) {
        ++runs_;
        std::istringstream in(script);
        std::ostringstream out, err;
        if (pocketsim::runScript("shrinking", in, out, err, options_) != pocketsim::kFailed) return "";
        return err.str();
    }

    // "expectation failed: HKCU\T "v" = dword 5 (0x00000005)" of the complaint at our line.
    std::string expectationFound(const std::string& report) const {
        const std::size_t line = report.find("| " + key_ + "\n");
        if (line == std::string::npos) return "";
        const std::size_t at = report.rfind("expectation failed: ", line);
        return at == std::string::npos ? "" : report.substr(at, report.find('\n', at) - at);
    }

    bool failsTheSameWay(const std::string& report) const {
        if (!expectation_) return report.find(key_) != std::string::npos;
        const std::string found = expectationFound(report);
        return !found.empty() && found == found_;
    }

    static constexpr std::size_t kMostRuns = 1500;
    static constexpr int kMostSeconds = 60;
    pocketsim::RunOptions options_;
    std::string key_;
    bool expectation_;
    std::string found_;
    std::size_t runs_ = 0;
    std::chrono::steady_clock::time_point begin_ = std::chrono::steady_clock::now();
};

// Whole steps first, in halves, quarters, ... single steps (the set-up and the failing step stay).
void dropSteps(std::vector<Block>& blocks, const std::vector<std::string>& tail, Oracle& oracle) {
    for (std::size_t chunk = (blocks.size() - 1) / 2; chunk >= 1 && !oracle.spent(); chunk /= 2) {
        for (std::size_t i = 1; i + 1 < blocks.size() && !oracle.spent();) {
            std::vector<Block> fewer(blocks.begin(), blocks.begin() + static_cast<std::ptrdiff_t>(i));
            const std::size_t end = std::min(blocks.size() - 1, i + chunk);
            fewer.insert(fewer.end(), blocks.begin() + static_cast<std::ptrdiff_t>(end), blocks.end());
            if (oracle.failsTheSameWayOn(joined(fewer, tail))) blocks = std::move(fewer);
            else i = end;
        }
    }
}

// Then single commands, and waits made shorter.
void dropLines(std::vector<Block>& blocks, const std::vector<std::string>& tail, Oracle& oracle) {
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        for (std::size_t l = 0; l < blocks[b].size() && !oracle.spent();) {
            const std::string line = blocks[b][l];
            if (!isCommand(line) || line.rfind("boot ", 0) == 0) {
                ++l;
                continue;
            }
            blocks[b].erase(blocks[b].begin() + static_cast<std::ptrdiff_t>(l));
            if (oracle.failsTheSameWayOn(joined(blocks, tail))) continue;
            blocks[b].insert(blocks[b].begin() + static_cast<std::ptrdiff_t>(l), line);
            if (line.rfind("advance ", 0) == 0) {
                for (std::uint64_t ms = std::stoull(line.substr(8)) / 2; ms > 0 && !oracle.spent(); ms /= 2) {
                    const std::string kept = blocks[b][l];
                    blocks[b][l] = "advance " + std::to_string(ms) + "ms";
                    if (!oracle.failsTheSameWayOn(joined(blocks, tail))) {
                        blocks[b][l] = kept;
                        break;
                    }
                }
            }
            ++l;
        }
    }
}

// A text as an extended regular expression that matches just it.
std::string literalPattern(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (std::string_view("\\^$.|?*+()[]{}").find(c) != std::string_view::npos) out += '\\';
        out += c;
    }
    return out;
}

std::string commandLine(const ExploreOptions& options, const std::string& path) {
    std::string out = "pocketsim";
    for (const auto& [program, image] : options.images) out += " --image " + program + "=" + image;
    return out + " " + path;
}

}  // namespace

FailureScript writeFailureScript(const ExploreResult& failed, const ExploreOptions& options, const std::string& dir) {
    FailureScript result;
    ExploreOptions again = options;
    again.steps = failed.failedStep + 1;
    again.recordScript = true;
    again.onEvent = nullptr;
    const ExploreResult replayed = explore(again);
    result.steps = replayed.stepsRun;

    // What pocketsim must report: a device error as the run saw it, else the first expectation.
    std::string key;
    bool expectation = false;
    std::string wantStderr;
    const std::string marker = "simulation error: ";
    if (const std::size_t at = replayed.failure.find(marker); at != std::string::npos) {
        key = replayed.failure.substr(at + marker.size(), replayed.failure.find('\n', at) - at - marker.size());
    } else if (!replayed.expectations.empty()) {
        key = replayed.expectations.front();
        expectation = true;
    }

    // What the run left armed is cleared at the end, and stays so: a fault or stop that never
    // happened would fail the script for a reason of its own.
    std::vector<std::string> script = replayed.script;
    std::vector<std::string> tail;
    while (!script.empty() && (script.back() == "clear-fault calls" || script.back() == "clear-stops")) {
        tail.insert(tail.begin(), script.back());
        script.pop_back();
    }
    if (expectation) tail.push_back(key);
    std::vector<Block> blocks = blocksOf(script);
    if (key.empty()) {
        result.how = "pocketsim has no check for this invariant: the script replays the run up to it";
    } else {
        Oracle oracle(options, key, expectation);
        if (!oracle.learnFrom(joined(blocks, tail))) {
            result.how = "pocketsim does not fail the replayed run as the explorer did";
        } else {
            result.failsTheSameWay = true;
            dropSteps(blocks, tail, oracle);
            dropLines(blocks, tail, oracle);
            result.how = expectation ? key + " fails: " + oracle.found().substr(std::string("expectation failed: ").size())
                                     : "the device reports: " + key;
            wantStderr = expectation ? oracle.found() : key;
        }
    }

    std::error_code ignored;
    std::filesystem::create_directories(dir, ignored);
    const std::string path = (std::filesystem::path(dir) / ("seed-" + std::to_string(failed.seed) + ".pocket")).string();
    std::ofstream file(path);
    if (!file) return result;
    std::istringstream failure(failed.failure);
    std::string first;
    std::getline(failure, first);
    file << "# Seed " << failed.seed << " of pocketexplore, step " << failed.failedStep << ": " << first << "\n"
         << "# " << result.how << "\n"
         << "# run: " << commandLine(options, path) << "\n";
    if (result.failsTheSameWay)
        file << "# want-exit: 1\n# want-stderr: " << literalPattern(wantStderr) << "\n";
    const std::string body = joined(blocks, tail);
    file << body;
    result.path = path;
    result.command = commandLine(options, path);
    std::istringstream lines(body);
    for (std::string line; std::getline(lines, line);) result.commands += isCommand(line);
    return result;
}

std::string describeScript(const FailureScript& script) {
    if (script.path.empty()) return "  script: none could be written\n";
    std::string out = "  script: " + script.path + ", " + std::to_string(script.commands) + " commands from " +
                      std::to_string(script.steps) + " steps\n";
    if (script.failsTheSameWay) return out + "          fails the same way (" + script.how + "): " + script.command + "\n";
    return out + "          " + script.how + "\n";
}

}  // namespace explore
