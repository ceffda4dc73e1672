// pocketexplore: randomized runs of the device programs from seeds, and the soak benchmark.
//   pocketexplore --seed N [--steps M] [--verbose]   one seed, replayed exactly
//   pocketexplore --seeds K [--first S] [--steps M] [--jobs N]  many seeds, N processes at once
//   pocketexplore --soak                             the monitor over a whole tick-count period
//   --image PROGRAM=PATH: runs a variant of a program's code (a deliberately broken copy)
//   --flaw NAME: the model gets one rule wrong on purpose (the runs must then fail): before-20000,
//   keep-on-power, count-stopped, nothing-lost, wide-counter
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include <unistd.h>

#include "explorer.h"
#include "failure_script.h"
#include "seed_runs.h"
#include "soak.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: pocketexplore --seed N [--steps M] [--verbose]\n"
                 "       pocketexplore --seeds K [--first S] [--steps M] [--jobs N]\n"
                 "         (N worker processes; by default one per processor)\n"
                 "       pocketexplore --soak\n"
                 "  --flaw before-20000|keep-on-power|count-stopped|nothing-lost|wide-counter\n"
                 "         gives the model one wrong accounting rule, which the runs must catch\n"
                 "  --failures DIR   where a failing seed is written as a shrunk pocketsim script\n"
                 "                   (explore-failures by default; \"\" for nowhere)\n"
                 "  --script FILE    with --seed: the run as a pocketsim script\n"
                 "  --image PROGRAM=PATH\n"
                 "         runs that image as PROGRAM (e.g. build/default/mutants/appshut-uncounted.image)\n");
    return 2;
}

bool number(const char* text, std::uint64_t& out) {
    if (!text || !*text) return false;
    char* end = nullptr;
    out = std::strtoull(text, &end, 10);
    return *end == 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::uint64_t seed = 0, seeds = 0, first = 1, steps = 5000;
    const long processors = sysconf(_SC_NPROCESSORS_ONLN);
    std::uint64_t jobs = processors > 0 ? static_cast<std::uint64_t>(processors) : 1;
    bool haveSeed = false, soak = false, verbose = false;
    explore::ModelFlaw flaw = explore::ModelFlaw::None;
    std::map<std::string, std::string> images;
    std::string scriptPath;
    std::string scriptDir = "explore-failures";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--seed" && number(value, seed)) haveSeed = true, ++i;
        else if (arg == "--seeds" && number(value, seeds)) ++i;
        else if (arg == "--first" && number(value, first)) ++i;
        else if (arg == "--steps" && number(value, steps)) ++i;
        else if (arg == "--jobs" && number(value, jobs) && jobs > 0 && jobs <= 256) ++i;
        else if (arg == "--verbose") verbose = true;
        else if (arg == "--flaw" && value && explore::flawNamed(value)) flaw = *explore::flawNamed(argv[++i]);
        else if (arg == "--image" && value && std::strchr(value + 1, '=')) {
            const std::string given = argv[++i];
            images[given.substr(0, given.find('='))] = given.substr(given.find('=') + 1);
        } else if (arg == "--script" && value) {
            scriptPath = argv[++i];
        } else if (arg == "--failures" && value) {
            scriptDir = argv[++i];
        } else if (arg == "--soak") soak = true;
        else return usage();
    }
    if (soak) return explore::runSoak(stdout) ? 0 : 1;
    if (!haveSeed && seeds == 0) return usage();

    if (!haveSeed) {
        explore::SeedRunOptions options;
        options.first = first;
        options.count = seeds;
        options.steps = steps;
        options.flaw = flaw;
        options.images = images;
        options.scriptDir = scriptDir;
        options.jobs = static_cast<unsigned>(std::min(jobs, seeds));
        options.progress = isatty(STDERR_FILENO);
        const explore::SeedRunSummary s = explore::runSeeds(options, stdout);
        const double rate = s.seconds > 0 ? static_cast<double>(s.steps) / s.seconds : 0;
        std::printf("%llu seed(s), %llu steps, %llu failed, %.1f s: %.0f steps/s in %u process(es), %.0f each\n",
                    static_cast<unsigned long long>(s.seeds), static_cast<unsigned long long>(s.steps),
                    static_cast<unsigned long long>(s.failed), s.seconds, rate, options.jobs, rate / options.jobs);
        return s.failed ? 1 : 0;
    }

    explore::ExploreOptions options;
    options.seed = seed;
    options.steps = steps;
    options.flaw = flaw;
    options.images = images;
    options.recordScript = !scriptPath.empty();
    if (verbose)
        options.onEvent = [](std::uint64_t step, const std::string& event) {
            std::printf("%6llu  %s\n", static_cast<unsigned long long>(step), event.c_str());
        };
    const explore::ExploreResult result = explore::explore(options);
    if (!scriptPath.empty()) {
        std::FILE* file = std::fopen(scriptPath.c_str(), "w");
        if (!file) return std::fprintf(stderr, "pocketexplore: cannot write %s\n", scriptPath.c_str()), 2;
        for (const std::string& line : result.script) std::fprintf(file, "%s\n", line.c_str());
        std::fprintf(file, "# the device as the run left it\n");
        for (const std::string& line : result.finalState) std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
    if (!result.passed()) {
        std::printf("%s", explore::describeFailure(result).c_str());
        if (!scriptDir.empty())
            std::printf("%s", explore::describeScript(explore::writeFailureScript(result, options, scriptDir)).c_str());
        return 1;
    }
    std::printf("seed %llu: %llu steps passed, run hash %016llx\n", static_cast<unsigned long long>(seed),
                static_cast<unsigned long long>(result.stepsRun), static_cast<unsigned long long>(result.hash));
    for (const auto& [name, n] : result.counts)
        std::printf("  %-20s %llu\n", name.c_str(), static_cast<unsigned long long>(n));
    return 0;
}
