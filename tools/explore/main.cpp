// pocketexplore: randomized runs of the device programs from seeds, and the soak benchmark.
//   pocketexplore --seed N [--steps M] [--verbose]   one seed, replayed exactly
//   pocketexplore --seeds K [--first S] [--steps M]  many seeds
//   pocketexplore --soak                             the monitor over a whole tick-count period
//   --flaw NAME: the model gets one rule wrong on purpose (the runs must then fail): before-20000,
//   keep-on-power, count-stopped, nothing-lost, wide-counter
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "explorer.h"
#include "soak.h"

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: pocketexplore --seed N [--steps M] [--verbose]\n"
                 "       pocketexplore --seeds K [--first S] [--steps M]\n"
                 "       pocketexplore --soak\n"
                 "  --flaw before-20000|keep-on-power|count-stopped|nothing-lost|wide-counter\n"
                 "         gives the model one wrong accounting rule, which the runs must catch\n");
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
    bool haveSeed = false, soak = false, verbose = false;
    explore::ModelFlaw flaw = explore::ModelFlaw::None;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (arg == "--seed" && number(value, seed)) haveSeed = true, ++i;
        else if (arg == "--seeds" && number(value, seeds)) ++i;
        else if (arg == "--first" && number(value, first)) ++i;
        else if (arg == "--steps" && number(value, steps)) ++i;
        else if (arg == "--verbose") verbose = true;
        else if (arg == "--flaw" && value && explore::flawNamed(value)) flaw = *explore::flawNamed(argv[++i]);
        else if (arg == "--soak") soak = true;
        else return usage();
    }
    if (soak) return explore::runSoak(stdout) ? 0 : 1;
    if (!haveSeed && seeds == 0) return usage();

    const auto begin = std::chrono::steady_clock::now();
    const std::uint64_t from = haveSeed ? seed : first;
    const std::uint64_t count = haveSeed ? 1 : seeds;
    std::uint64_t failed = 0, totalSteps = 0;
    for (std::uint64_t s = from; s < from + count; ++s) {
        explore::ExploreOptions options;
        options.seed = s;
        options.steps = steps;
        options.flaw = flaw;
        if (verbose)
            options.onEvent = [](std::uint64_t step, const std::string& event) {
                std::printf("%6llu  %s\n", static_cast<unsigned long long>(step), event.c_str());
            };
        const explore::ExploreResult result = explore::explore(options);
        totalSteps += result.stepsRun;
        if (!result.passed()) {
            ++failed;
            std::printf("%s", explore::describeFailure(result).c_str());
        } else if (haveSeed) {
            std::printf("seed %llu: %llu steps passed, run hash %016llx\n", static_cast<unsigned long long>(s),
                        static_cast<unsigned long long>(result.stepsRun), static_cast<unsigned long long>(result.hash));
            for (const auto& [name, n] : result.counts)
                std::printf("  %-20s %llu\n", name.c_str(), static_cast<unsigned long long>(n));
        }
        std::fflush(stdout);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    std::printf("%llu seed(s), %llu steps, %llu failed, %.1f s\n", static_cast<unsigned long long>(count),
                static_cast<unsigned long long>(totalSteps), static_cast<unsigned long long>(failed), seconds);
    return failed ? 1 : 0;
}
