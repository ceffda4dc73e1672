#include "run.h"

#include <sstream>

#include "names.h"
#include "script_lines.h"
#include "utf.h"

namespace explore {

namespace {

// FNV-1a, 64 bits: a stable digest of the run's text.
void mix(std::uint64_t& hash, const std::string& text) {
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 0x100000001B3ull;
    }
    hash ^= 0xFF;
    hash *= 0x100000001B3ull;
}

std::uint32_t drawStartTick(Rng& rng) {
    switch (rng.below(5)) {
    case 0: return 0;  // a fresh boot: the first 20 s are not counted
    case 1: return static_cast<std::uint32_t>(rng.between(1, 30000));
    case 2: return 0xFFFFFFFFu - static_cast<std::uint32_t>(rng.below(120000));  // the wrap comes soon
    case 3: return static_cast<std::uint32_t>(rng.next());
    default: return 60000;
    }
}

}  // namespace

const char* eventName(EventKind kind) {
    static const char* const names[kEventKinds] = {"advance", "start",   "power",    "key",      "tray",  "menu",
                                                   "box",     "notification", "stylus", "foreground", "stand-in",
                                                   "beep",    "registry", "close", "display", "volume"};
    return names[static_cast<std::size_t>(kind)];
}

sim::DeviceConfig Run::drawConfig(Rng& rng) {
    sim::DeviceConfig config;
    config.shell = true;
    config.startTickCount = drawStartTick(rng);
    if (rng.chance(40)) config.taskbarWidth = rng.pick({0, 1, 24, 25, 26, 239, 241, 480, 32767, 40000, 70000});
    if (rng.chance(30)) config.taskbarHeight = rng.pick({0, 1, 25, 27, 100, 320});
    return config;
}

Run::Run(const ExploreOptions& options)
    : options_(options),
      rng_(options.seed),
      config_(drawConfig(rng_)),
      device_(config_),
      monitor_(config_.startTickCount, options.flaw) {
    prepareDevice();
}

void Run::recordSetup() {
    record("# the device as seed " + std::to_string(options_.seed) + " draws it");
    const bool taskbarDrawn = config_.taskbarWidth >= 0 || config_.taskbarHeight != sim::DeviceConfig{}.taskbarHeight;
    const int width = config_.taskbarWidth < 0 ? config_.screenWidth : config_.taskbarWidth;
    record(taskbarDrawn ? "boot shell taskbar " + std::to_string(width) + "x" + std::to_string(config_.taskbarHeight)
                        : std::string("boot shell"));
    record("tick " + std::to_string(config_.startTickCount));
}

void Run::prepareDevice() {
    for (const auto& [program, image] : options_.images) device_.replaceImage(program, image);
    recordSetup();
    // Long runs keep only recent history.
    device_.limitJournal(20000);

    if (rng_.chance(8)) {
        platformIsPocketPc_ = false;
        const bool old = rng_.chance(50);
        const char16_t* platform = old ? u"PocketPC" : rng_.chance(50) ? u"pocketpc" : u"PocketPC2";
        device_.setSystem(old ? 2 : 4, platform);
        record(std::string("system version ") + (old ? "2" : "4"));
        record("system platform " + sim::toUtf8(platform));
    }
    power_ = {static_cast<std::uint8_t>(rng_.chance(70) ? 0 : 1), 0, static_cast<std::uint8_t>(rng_.below(101))};
    device_.setPower({power_.acLine, power_.percent, power_.flag});
    record(powerLine(power_));
    if (rng_.chance(30)) {
        const std::uint32_t value = rng_.chance(50) ? 0xFFFFFFFFu - static_cast<std::uint32_t>(rng_.below(600000))
                                                    : static_cast<std::uint32_t>(rng_.next());
        device_.setDword(kCounterKey, u"BatteryCount", value);
        record("set registry " + kCounterKey + " BatteryCount dword " + std::to_string(value));
        monitor_.setStored(value);
    }
    device_.setVolume(static_cast<DWORD>(rng_.next()));
    record("volume set " + hex(device_.volume()));
    volume_.rebase(device_.volume(), 0, 0);
    const std::string beepPath = device_.installFolder("rcbridge") + "\\beep.wav";
    if (auto bytes = device_.fileBytes(beepPath)) beep_ = *bytes;
    if (rng_.chance(20)) {
        device_.removeFile(beepPath);
        record("file remove rcbridge:beep.wav");
    }
    pocket::DisplayDriverSettings display;
    display.supportsPowerManagement = rng_.chance(80);
    display.powerState = static_cast<ULONG>(rng_.between(1, 4));
    device_.setDisplayDriver(display);
    record(displayLine(display));
}

void Run::note(const std::string& text) { event_ += text; }

ExploreResult Run::go() {
    ExploreResult result;
    result.seed = options_.seed;
    result.flaw = options_.flaw;
    result.images = options_.images;
    std::uint64_t hash = 0xCBF29CE484222325ull;
    {
        std::ostringstream setup;
        setup << "tick " << config_.startTickCount << " taskbar " << config_.taskbarWidth << "x"
              << config_.taskbarHeight << (platformIsPocketPc_ ? "" : " not-pocketpc");
        mix(hash, setup.str());
    }
    for (std::uint64_t step = 0; step < options_.steps; ++step) {
        step_ = step;
        problems_.clear();
        expectations_.clear();
        event_.clear();
        fault_.reset();
        const EventKind kind = chooseKind();
        ++counts_[eventName(kind)];
        const std::size_t comment = script_.size();
        record("");
        chooseRace();
        carryOut(kind);
        settleRace();
        endStepRace();
        endStepFaults();
        if (options_.tamper) options_.tamper(step, device_);
        checkAll();
        if (options_.recordScript) script_[comment] = "# step " + std::to_string(step) + ": " + event_;
        if (options_.onEvent) options_.onEvent(step, event_);
        mix(hash, event_);
        mix(hash, observationDigest());
        result.stepsRun = step + 1;
        if (!problems_.empty()) {
            result.failedStep = step;
            result.event = event_;
            for (const std::string& p : problems_) result.failure += p + "\n";
            result.expectations = expectations_;
            break;
        }
    }
    counts_["samples"] = monitor_.samples();
    counts_["faults injected"] = device_.faultsInjected();
    counts_["processes"] = processesSeen_;
    result.counts = counts_;
    result.hash = hash;
    // What the run left armed would never happen in a script that ends here.
    record("clear-fault calls");
    record("clear-stops");
    result.script = std::move(script_);
    if (options_.recordScript) result.finalState = finalState();
    return result;
}

std::vector<std::string> Run::finalState() const {
    std::vector<std::string> out;
    for (const char* program : {"voltmarap", "rcbridge", "appshut"})
        out.push_back(std::string("expect running ") + program + " " + std::to_string(device_.runningCount(program)));
    const auto stored = device_.dword(kCounterKey, u"BatteryCount");
    out.push_back("expect registry " + kCounterKey + " BatteryCount " +
                  (stored ? "dword " + std::to_string(*stored) : std::string("absent")));
    out.push_back("expect volume " + hex(device_.volume()));
    out.push_back("expect notifications " + std::to_string(device_.notifications().size()));
    out.push_back("expect tray-icons " + std::to_string(device_.trayIcons().size()));
    out.push_back(std::string("expect taskbar ") + (device_.taskbarProcedureIsItsOwn() ? "unhooked" : "hooked"));
    return out;
}

std::string Run::observationDigest() const {
    std::ostringstream out;
    out << device_.now() << ' ' << device_.tickCount() << ' ' << device_.volume() << ' '
        << device_.dword(kCounterKey, u"BatteryCount").value_or(0xDEAD) << ' '
        << device_.notifications().size() << ' '
        << device_.trayIcons().size() << ' ' << device_.displayPowerState() << ' '
        << device_.journal().digest();
    for (const pocket::ProcessView& p : running_) out << ' ' << p.pid;
    return out.str();
}

ExploreResult explore(const ExploreOptions& options) {
    Run run(options);
    return run.go();
}

namespace {

constexpr std::pair<ModelFlaw, const char*> kFlawNames[] = {
    {ModelFlaw::CountsBeforeTick20000, "before-20000"}, {ModelFlaw::KeepsCountOnPower, "keep-on-power"},
    {ModelFlaw::CountsWhileStopped, "count-stopped"},   {ModelFlaw::NothingLostAtClose, "nothing-lost"},
    {ModelFlaw::WideCounter, "wide-counter"},
};

std::string replayArguments(std::uint64_t seed, std::uint64_t step, ModelFlaw flaw,
                            const std::map<std::string, std::string>& images) {
    std::string out = "--seed " + std::to_string(seed) + " --steps " + std::to_string(step + 1);
    if (flaw != ModelFlaw::None) out += " --flaw " + flawName(flaw);
    for (const auto& [program, image] : images) out += " --image " + program + "=" + image;
    return out;
}

}  // namespace

std::string flawName(ModelFlaw flaw) {
    for (const auto& [f, name] : kFlawNames)
        if (f == flaw) return name;
    return "";
}

std::optional<ModelFlaw> flawNamed(const std::string& name) {
    for (const auto& [f, text] : kFlawNames)
        if (name == text) return f;
    return std::nullopt;
}

std::string replayCommand(std::uint64_t seed, std::uint64_t step, ModelFlaw flaw,
                          const std::map<std::string, std::string>& images) {
    return "pocketexplore " + replayArguments(seed, step, flaw, images);
}

std::string describeFailure(const ExploreResult& r) {
    if (r.passed()) return "";
    std::ostringstream out;
    out << "seed " << r.seed << ": step " << r.failedStep << " broke an invariant\n"
        << "  event: " << r.event << "\n";
    std::istringstream lines(r.failure);
    // A problem may go on over several lines (a notification's text): those are indented.
    for (std::string line; std::getline(lines, line);)
        out << (line.starts_with(" ") ? "          " : "  broken: ") << line << "\n";
    out << "  replay: " << replayCommand(r.seed, r.failedStep, r.flaw, r.images) << " --verbose\n"
        << "          (or scripts/explore.sh " << replayArguments(r.seed, r.failedStep, r.flaw, r.images)
        << " --verbose)\n";
    return out.str();
}

}  // namespace explore
