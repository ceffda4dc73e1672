// Races drawn from the seed: a thread of a program stops right after one of its platform calls has
// had its effect, the rest of the device goes on meanwhile (other programs started, close
// requests, taps), and then it resumes. No virtual time passes while it is stopped, so the models'
// clocks stay right; what the programs do in between is what the invariants judge.
#include <functional>

#include "run.h"

namespace explore {

namespace {

constexpr const char* kRacers[] = {"voltmarap", "rcbridge", "appshut", "shell"};
constexpr const char* kBundle[] = {"voltmarap", "rcbridge", "appshut"};
// Long enough for tap-to-close's wait for the taskbar's calls to end (it looks every 50 ms).
constexpr std::uint64_t kSettleMs = 100;
// A stop not reached within this many steps is dropped.
constexpr std::uint64_t kStopLastsSteps = 20;

}  // namespace

void Run::chooseRace() {
    if (race_ || inRaceWindow_ || !rng_.chance(12)) return;
    const std::string process = kRacers[rng_.weighted({25, 25, 30, 20})];
    // Only calls the program has made: a stop elsewhere could never be reached.
    const auto made = device_.callsMadeBy(process);
    if (made.empty()) return;
    // Half the time a call drawn by how often it is made, half the time any call it makes.
    auto it = made.begin();
    if (rng_.chance(50)) {
        std::uint64_t total = 0;
        for (const auto& [function, count] : made) total += count;
        for (std::uint64_t r = rng_.below(total); r >= it->second; ++it) r -= it->second;
    } else {
        std::advance(it, static_cast<std::ptrdiff_t>(rng_.below(made.size())));
    }
    const std::uint64_t occurrence = it->second + 1 + rng_.below(2);
    race_ = Race{process, it->first, occurrence, step_ + kStopLastsSteps};
    device_.stopAt(it->first, occurrence, process);
    record("stop call " + it->first + " " + std::to_string(occurrence) + " " + process);
    ++counts_["races armed"];
    note(" [" + process + " stops after " + it->first + " #" + std::to_string(occurrence) + "]");
}

// What may happen while a thread is stopped. The models apply an event's effect at once, while a
// stopped program gets to it only when it goes on: so a program may take part in one event of the
// window at most, and a second copy that is only starting has not had its effect yet: nothing
// that involves that program happens meanwhile. The shell's thread delivers the stylus,
// tray, menu and bubble: none of those while it is stopped.
std::vector<Run::MeanwhileEvent> Run::meanwhileEvents(const std::string& stopped,
                                                      const std::set<std::string>& involved) {
    const bool secondCopy = device_.runningPids(stopped).size() > 1;
    // A first copy stopped on its way up has not done yet what the models credit it with; only
    // another start or a close request may meet it there, which the models follow.
    const bool firstCopyStarting = !secondCopy && startingProgram_ == stopped;
    auto free = [&](const std::string& program) {
        return !involved.count(program) && !(secondCopy && program == stopped);
    };
    auto freeToUse = [&](const std::string& program) {
        return free(program) && !(firstCopyStarting && program == stopped);
    };
    std::vector<MeanwhileEvent> events;
    for (const char* program : kBundle) {
        if (!free(program)) continue;
        // One that was asked to close and has not got to it yet would take a new start for a
        // second one, which the models cannot foresee.
        if (device_.runningPids(program).size() == (expectedToRun(program) ? 1u : 0u))
            events.push_back({program, [this, program] { doStart(program); }});
        events.push_back({program, [this, program] { doCloseRequest(program); }});
    }
    events.push_back({"", [this] { doForeground(); }});
    // A bridge on its way up looks for the real player's window after taking its mutex: the
    // models decided at its start whether that window was there.
    if (!(firstCopyStarting && stopped == "rcbridge")) events.push_back({"", [this] { doStandIn(); }});
    if (stopped == "shell") return events;
    // A stylus message raced within another's delivery would be counted as that one's.
    if (freeToUse("appshut") && !inStylus_) events.push_back({"appshut", [this] { doStylus(); }});
    if (freeToUse("voltmarap")) events.push_back({"voltmarap", [this] { doNotification(); }});
    if (freeToUse("rcbridge")) {
        events.push_back({"rcbridge", [this] { doTrayPen(); }});
        events.push_back({"rcbridge", [this] { doMenu(); }});
    }
    return events;
}

bool Run::expectedToRun(const std::string& program) const {
    if (program == "voltmarap") return monitor_.running();
    if (program == "appshut") return tapCloseRunning_;
    for (const BridgeRun& b : bridges_)
        if (!b.ended && !b.closeRequested) return true;
    return false;
}

bool Run::settleRace() {
    if (!race_ || inRaceWindow_ || device_.stoppedThreads().empty()) return false;
    const Race race = *race_;
    race_.reset();
    ++counts_["races run"];
    ++counts_["race " + race.process + " " + race.function];
    note(" {" + race.process + " stopped after " + race.function + "; meanwhile:");
    inRaceWindow_ = true;
    const std::uint64_t count = 1 + rng_.below(3);
    // The step's own event counts: a tap on the bubble already applied, say.
    std::set<std::string> involved{stepInvolves_};
    for (std::uint64_t i = 0; i < count; ++i) {
        const std::vector<MeanwhileEvent> events = meanwhileEvents(race.process, involved);
        const MeanwhileEvent& event = events[rng_.below(events.size())];
        note(" ");
        event.carryOut();
        note(";");
        involved.insert(event.program);
    }
    inRaceWindow_ = false;
    record("resume");
    device_.resumeStopped();
    note(" resumed}");
    advance(kSettleMs);
    return true;
}

void Run::endStepRace() {
    if (race_ && step_ + 1 < race_->until) return;
    if (race_) record("clear-stops");
    race_.reset();
    device_.clearStops();
}

}  // namespace explore
