#include "seed_runs.h"

#include "failure_script.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <map>
#include <string>
#include <vector>

namespace explore {

namespace {

using Clock = std::chrono::steady_clock;

// What a worker reports of one seed, followed by the failure's text.
struct Record {
    std::uint64_t seed;
    std::uint64_t steps;
    std::uint32_t passed;
    std::uint32_t textBytes;
};

bool writeAll(int fd, const void* data, std::size_t bytes) {
    const auto* p = static_cast<const char*>(data);
    while (bytes > 0) {
        const ssize_t n = write(fd, p, bytes);
        if (n <= 0) return false;
        p += n;
        bytes -= static_cast<std::size_t>(n);
    }
    return true;
}

ExploreOptions optionsFor(const SeedRunOptions& options, std::uint64_t seed) {
    ExploreOptions one;
    one.seed = seed;
    one.steps = options.steps;
    one.flaw = options.flaw;
    one.images = options.images;
    return one;
}

ExploreResult runOne(const SeedRunOptions& options, std::uint64_t seed) { return explore(optionsFor(options, seed)); }

// What a failed seed prints: the failure, and the script it was written as.
std::string report(const SeedRunOptions& options, const ExploreResult& result) {
    if (result.passed()) return "";
    std::string text = describeFailure(result);
    if (!options.scriptDir.empty())
        text += describeScript(writeFailureScript(result, optionsFor(options, result.seed), options.scriptDir));
    return text;
}

[[noreturn]] void worker(const SeedRunOptions& options, unsigned index, int fd) {
    for (std::uint64_t i = index; i < options.count; i += options.jobs) {
        const ExploreResult result = runOne(options, options.first + i);
        const std::string text = report(options, result);
        const Record record{result.seed, result.stepsRun, result.passed() ? 1u : 0u,
                            static_cast<std::uint32_t>(text.size())};
        if (!writeAll(fd, &record, sizeof record) || !writeAll(fd, text.data(), text.size())) _exit(3);
    }
    _exit(0);
}

class Tally {
public:
    Tally(const SeedRunOptions& options) : options_(options), begin_(Clock::now()) {}

    void add(const Record& record, std::string text) {
        ++summary_.seeds;
        summary_.steps += record.steps;
        if (!record.passed) {
            ++summary_.failed;
            failures_[record.seed] = std::move(text);
        }
        if (options_.progress && Clock::now() - lastDrawn_ > std::chrono::milliseconds(250)) draw();
    }

    SeedRunSummary finish(std::FILE* out) {
        if (options_.progress) std::fprintf(stderr, "\r\033[K");
        for (const auto& [seed, text] : failures_) std::fputs(text.c_str(), out);
        summary_.seconds = std::chrono::duration<double>(Clock::now() - begin_).count();
        return summary_;
    }

private:
    void draw() {
        lastDrawn_ = Clock::now();
        const double seconds = std::chrono::duration<double>(lastDrawn_ - begin_).count();
        const double perSecond = seconds > 0 ? static_cast<double>(summary_.seeds) / seconds : 0;
        const double left = perSecond > 0 ? static_cast<double>(options_.count - summary_.seeds) / perSecond : 0;
        std::fprintf(stderr, "\r\033[K%llu/%llu seeds, %llu failed, %.0f steps/s, %.0f s left",
                     static_cast<unsigned long long>(summary_.seeds), static_cast<unsigned long long>(options_.count),
                     static_cast<unsigned long long>(summary_.failed),
                     seconds > 0 ? static_cast<double>(summary_.steps) / seconds : 0.0, left);
        std::fflush(stderr);
    }

    const SeedRunOptions& options_;
    Clock::time_point begin_;
    Clock::time_point lastDrawn_{};
    SeedRunSummary summary_;
    std::map<std::uint64_t, std::string> failures_;
};

// Reads whole records out of a worker's stream as they come.
struct WorkerStream {
    pid_t pid = 0;
    int fd = -1;
    std::string buffer;

    void take(Tally& tally) {
        for (;;) {
            if (buffer.size() < sizeof(Record)) return;
            Record record;
            std::memcpy(&record, buffer.data(), sizeof record);
            if (buffer.size() < sizeof record + record.textBytes) return;
            tally.add(record, buffer.substr(sizeof record, record.textBytes));
            buffer.erase(0, sizeof record + record.textBytes);
        }
    }
};

}  // namespace

SeedRunSummary runSeeds(const SeedRunOptions& options, std::FILE* out) {
    Tally tally(options);
    if (options.jobs <= 1) {
        for (std::uint64_t i = 0; i < options.count; ++i) {
            const ExploreResult result = runOne(options, options.first + i);
            const std::string text = report(options, result);
            tally.add(Record{result.seed, result.stepsRun, result.passed() ? 1u : 0u,
                             static_cast<std::uint32_t>(text.size())},
                      text);
        }
        return tally.finish(out);
    }

    std::fflush(nullptr);
    std::vector<WorkerStream> workers;
    for (unsigned j = 0; j < options.jobs; ++j) {
        int fds[2];
        if (pipe(fds) != 0) break;
        const pid_t pid = fork();
        if (pid == 0) {
            close(fds[0]);
            worker(options, j, fds[1]);
        }
        close(fds[1]);
        if (pid < 0) {
            close(fds[0]);
            break;
        }
        workers.push_back(WorkerStream{pid, fds[0], {}});
    }

    bool workerFailed = workers.size() != options.jobs;
    std::vector<pollfd> polls;
    for (;;) {
        polls.clear();
        for (const WorkerStream& w : workers)
            if (w.fd >= 0) polls.push_back(pollfd{w.fd, POLLIN, 0});
        if (polls.empty()) break;
        if (poll(polls.data(), polls.size(), -1) < 0) continue;
        for (WorkerStream& w : workers) {
            if (w.fd < 0) continue;
            const auto it = std::find_if(polls.begin(), polls.end(), [&](const pollfd& p) { return p.fd == w.fd; });
            if (it == polls.end() || !it->revents) continue;
            char chunk[65536];
            const ssize_t n = read(w.fd, chunk, sizeof chunk);
            if (n > 0) {
                w.buffer.append(chunk, static_cast<std::size_t>(n));
                w.take(tally);
            } else {
                close(w.fd);
                w.fd = -1;
            }
        }
    }
    for (const WorkerStream& w : workers) {
        int status = 0;
        waitpid(w.pid, &status, 0);
        workerFailed |= !WIFEXITED(status) || WEXITSTATUS(status) != 0 || !w.buffer.empty();
    }
    SeedRunSummary summary = tally.finish(out);
    // A worker that died took its remaining seeds with it: count them as failed, loudly.
    if (workerFailed || summary.seeds != options.count) {
        std::fprintf(out, "a worker process ended early: %llu of %llu seeds reported\n",
                     static_cast<unsigned long long>(summary.seeds), static_cast<unsigned long long>(options.count));
        summary.failed += options.count - summary.seeds;
        if (summary.failed == 0) summary.failed = 1;
    }
    return summary;
}

}  // namespace explore
