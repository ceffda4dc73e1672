// Faults at random points: the catalogue of calls the explorer makes fail, each with the events
// whose outcome it can change, and what the models are told about it.
#include "run.h"

namespace explore {

namespace {

constexpr unsigned bit(EventKind kind) { return 1u << static_cast<unsigned>(kind); }

constexpr unsigned kAdvance = bit(EventKind::Advance);
constexpr unsigned kStart = bit(EventKind::Start);
constexpr unsigned kKey = bit(EventKind::Key);  // a key comes after a gap: time moves too
constexpr unsigned kTray = bit(EventKind::TrayPen);
constexpr unsigned kMenu = bit(EventKind::Menu);
constexpr unsigned kReset = bit(EventKind::Notification);
constexpr unsigned kClose = bit(EventKind::CloseRequest);
constexpr unsigned kStylus = bit(EventKind::Stylus);
constexpr unsigned kSampling = kAdvance | kKey;

struct CatalogueEntry {
    const char* program;
    const char* function;
    unsigned events;  // the events during which the failure can change something
};

// Every call here is one the program examines, or one whose failure the models account for.
constexpr CatalogueEntry kCatalogue[] = {
    {"voltmarap", "CreateMutexW", kStart},
    {"voltmarap", "RegisterClassW", kStart},
    {"voltmarap", "CreateWindowExW", kStart},
    {"voltmarap", "PostMessageW", kStart},
    {"voltmarap", "RegCreateKeyExW", kStart | kSampling | kReset},
    {"voltmarap", "RegQueryValueExW", kStart | kSampling | kReset},
    {"voltmarap", "RegSetValueExW", kStart | kSampling | kReset},
    {"voltmarap", "GetSystemPowerStatusEx", kStart | kSampling | kReset},
    // A notification the shell refused is added again at the next sample; a refused add is
    // followed by an update.
    {"voltmarap", "SHNotificationAdd", kStart | kReset | kSampling},
    {"voltmarap", "SHNotificationUpdate", kStart | kReset | kSampling},
    {"voltmarap", "SHNotificationRemove", kStart | kReset | kClose},
    {"voltmarap", "SetTimer", kStart},
    {"voltmarap", "LoadImageW", kStart | kSampling | kReset},
    {"rcbridge", "CreateMutexW", kStart},
    {"rcbridge", "RegisterClassW", kStart},
    {"rcbridge", "CreateWindowExW", kStart},
    {"rcbridge", "LoadImageW", kStart},
    {"rcbridge", "RegisterHotKey", kStart},
    {"rcbridge", "Shell_NotifyIcon", kStart | kMenu | kClose},
    {"rcbridge", "LoadMenuW", kTray},
    {"rcbridge", "TrackPopupMenuEx", kTray},
    {"rcbridge", "MessageBoxW", kMenu},
    {"rcbridge", "PostMessageW", kMenu | kSampling},
    {"rcbridge", "GetModuleFileNameW", kSampling},
    {"rcbridge", "GetFileAttributesW", kSampling},
    {"rcbridge", "PlaySoundW", kSampling},
    {"rcbridge", "GetDC", kSampling},
    {"rcbridge", "ExtEscape", kSampling},
    {"rcbridge", "SetTimer", kKey},
    {"rcbridge", "GetWindow", kSampling},
    {"rcbridge", "GetClassNameW", kSampling},
    {"appshut", "GetVersionExW", kStart},
    {"appshut", "SystemParametersInfoW", kStart},
    {"appshut", "CreateMutexW", kStart},
    {"appshut", "RegisterClassW", kStart},
    {"appshut", "CreateWindowExW", kStart},
    {"appshut", "LoadIconW", kStart},
    {"appshut", "PostMessageW", kStart | kStylus},
    {"appshut", "SetWindowLongW", kStart | kClose},
    {"appshut", "GetWindowLongW", kStart | kStylus},
    // Its taskbar procedure's calls, made on the shell's thread but as tap-to-close's own.
    {"appshut", "GetWindowRect", kStylus},
    {"appshut", "GetForegroundWindow", kStylus},
    {"appshut", "IsWindowVisible", kStylus},
    {"appshut", "IsWindowEnabled", kStylus},
    {"appshut", "GetClassNameW", kStylus},
    {"appshut", "IsWindow", kStylus},
};

// The bridge's volume calls fail one at a time, whenever the bridge gets to them.
constexpr const char* kVolumeCalls[] = {"waveOutGetVolume", "waveOutSetVolume"};

}  // namespace

void Run::chooseFault(EventKind kind, const std::string& program) {
    // A fault of an event that happens while a thread is stopped would outlive the step's.
    if (inRaceWindow_) return;
    // Only calls the platform has been asked whether to fail so far: those that really can.
    auto faultable = [this](const std::string& function) { return device_.callCount(function) > 0; };

    if (kind == EventKind::Key && rng_.chance(10)) {
        const std::string function = kVolumeCalls[rng_.below(2)];
        bool armed = false;
        for (const PendingFault& p : pending_) armed |= p.function == function;
        if (!armed && faultable(function)) {
            const std::uint64_t next = device_.callCount(function, "rcbridge") + 1 + rng_.below(3);
            pending_.push_back({function, next});
            device_.failCall(function, next, 1, "rcbridge");
            record("fail call " + function + " " + std::to_string(next) + " 1 rcbridge");
            ++counts_["faults armed"];
            ++counts_["fault rcbridge " + function];
            note(" [rcbridge " + function + " #" + std::to_string(next) + " fails]");
        }
    }
    if (!rng_.chance(15)) return;
    std::vector<const CatalogueEntry*> candidates;
    for (const CatalogueEntry& entry : kCatalogue) {
        if (!(entry.events & bit(kind)) || !faultable(entry.function)) continue;
        if (!program.empty() && program != entry.program) continue;
        // Only a start brings a program that is not running to make calls.
        if (kind != EventKind::Start && runningPid(entry.program) == 0) continue;
        candidates.push_back(&entry);
    }
    if (candidates.empty()) return;
    const CatalogueEntry& chosen = *rng_.pick(candidates);
    fault_ = StepFault{chosen.program, chosen.function};
    faultBase_ = device_.callCount(chosen.function, chosen.program);
    device_.failCall(chosen.function, faultBase_ + 1, 0, chosen.program);
    record(std::string("fail call ") + chosen.function + " " + std::to_string(faultBase_ + 1) + " 0 " + chosen.program);
    ++counts_["faults armed"];
    ++counts_[std::string("fault ") + chosen.program + " " + chosen.function];
    note(std::string(" [every ") + chosen.program + " " + chosen.function + " fails]");
}

bool Run::faultAffects(EventKind kind, const std::string& program) const {
    if (!fault_ || fault_->program != program) return false;
    for (const CatalogueEntry& entry : kCatalogue)
        if (entry.program == program && entry.function == fault_->function) return (entry.events & bit(kind)) != 0;
    return false;
}

bool Run::faulting(const std::string& program, const std::string& function) const {
    return fault_ && fault_->program == program && fault_->function == function;
}

MonitorFaults Run::monitorFaults() const {
    MonitorFaults f;
    if (!fault_ || fault_->program != "voltmarap") return f;
    const std::string& fn = fault_->function;
    f.mutex = fn == "CreateMutexW";
    f.registerClass = fn == "RegisterClassW";
    f.createWindow = fn == "CreateWindowExW";
    f.postClose = fn == "PostMessageW";
    f.keyOpen = fn == "RegCreateKeyExW";
    f.valueRead = fn == "RegQueryValueExW";
    f.valueWrite = fn == "RegSetValueExW";
    f.powerRead = fn == "GetSystemPowerStatusEx";
    f.notifyAdd = fn == "SHNotificationAdd";
    f.notifyUpdate = fn == "SHNotificationUpdate";
    f.notifyRemove = fn == "SHNotificationRemove";
    f.setTimer = fn == "SetTimer";
    f.iconLoad = fn == "LoadImageW";
    return f;
}

// The step's fault stays known to the checks that follow; only the platform forgets it.
void Run::endStepFaults() {
    if (fault_ || !pending_.empty()) record("clear-fault calls");
    device_.clearFaults();
    // Volume faults that fired are known to the volume model; the others wait for their call.
    std::vector<PendingFault> still;
    for (const PendingFault& p : pending_) {
        if (device_.callCount(p.function, "rcbridge") >= p.occurrence) {
            if (p.function == "waveOutGetVolume") volume_.failGet(p.occurrence);
            else volume_.failSet(p.occurrence);
        } else {
            still.push_back(p);
        }
    }
    pending_ = std::move(still);
    armPendingFaults();
}

void Run::armPendingFaults() {
    for (const PendingFault& p : pending_) {
        device_.failCall(p.function, p.occurrence, 1, "rcbridge");
        record("fail call " + p.function + " " + std::to_string(p.occurrence) + " 1 rcbridge");
    }
}

}  // namespace explore
