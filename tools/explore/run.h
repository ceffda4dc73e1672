// One exploration run: the device, the models beside it, the events and the checks.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "explorer.h"
#include "monitor_model.h"
#include "rng.h"
#include "tap_rules.h"
#include "volume_model.h"

namespace explore {

enum class EventKind {
    Advance,
    Start,
    Power,
    Key,
    TrayPen,
    Menu,
    MessageBox,
    Notification,
    Stylus,
    Foreground,
    StandIn,
    BeepFile,
    Registry,
    CloseRequest,
    Display,
    Volume,
};
inline constexpr std::size_t kEventKinds = 16;
const char* eventName(EventKind kind);

// A fault that lasts one step: every call of `function` by `program` fails while the step's
// event is carried out.
struct StepFault {
    std::string program;
    std::string function;
};

// A fault armed for one future call (the bridge's volume calls, which may be handled late).
struct PendingFault {
    std::string function;
    std::uint64_t occurrence = 0;  // counted over all of the bridge's runs
};

// A stop armed for the next steps: the `occurrence`-th call of `function` by a thread of `process`.
struct Race {
    std::string process;
    std::string function;
    std::uint64_t occurrence = 0;
    std::uint64_t until = 0;  // the step from which it is dropped when not reached
};

// A window of an outside program made by the explorer, and how it looks and behaves.
struct StandInKind {
    std::string className;
    std::uint32_t style = kVisible;
    std::uint32_t exStyle = 0;
    bool refusesToClose = false;
    bool closesWhenSentBack = false;
    std::string title = "App";
};

struct StandIn {
    HWND hwnd = nullptr;
    std::uint32_t pid = 0;
    StandInKind kind;
};

// A run of the bridge the explorer saw start.
struct BridgeRun {
    std::uint32_t pid = 0;
    bool trayAddFailed = false;
    bool hotKeysFailed = false;
    bool closeRequested = false;  // Exit chosen, or WM_CLOSE sent: only then may it end
    bool ended = false;
};

class Run {
public:
    explicit Run(const ExploreOptions& options);
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    ExploreResult go();

private:
    // Set-up (run.cpp).
    static sim::DeviceConfig drawConfig(Rng& rng);
    void prepareDevice();

    // Time, power and keys (events.cpp).
    void carryOut(EventKind kind);
    EventKind chooseKind();
    std::uint32_t runningPid(const std::string& program) const;
    void advance(std::uint64_t milliseconds);
    void doAdvance();
    void doPower();
    void doKey();
    void doVolume();
    // The programs started and closed (programs.cpp).
    void doStart(const std::string& program);
    void startMonitor();
    void startBridge();
    void startTapClose();
    void closeTapClose();
    void doCloseRequest(const std::string& program);
    // The user at the shell (shell_events.cpp).
    void doTrayPen();
    void doMenu();
    void doMessageBox();
    void doNotification();
    // The stylus on the taskbar (stylus.cpp).
    void doStylus();
    void stylus(UINT message, int x, int y);
    int drawX();
    int drawY();
    WindowTraits traitsOf(HWND hwnd) const;
    const StandIn* standIn(HWND hwnd) const;
    std::string windowWord(HWND hwnd) const;
    // Around the programs (surroundings.cpp).
    void doForeground();
    void doStandIn();
    void makeStandIn(const StandInKind& kind, bool foreground);
    void doBeepFile();
    void doRegistry();
    void doDisplay();

    // Faults (step_faults.cpp).
    void chooseFault(EventKind kind, const std::string& program);
    bool faulting(const std::string& program, const std::string& function) const;
    // Whether the step's fault is one that can change what `program` does in an event of `kind`.
    bool faultAffects(EventKind kind, const std::string& program) const;
    MonitorFaults monitorFaults() const;
    void endStepFaults();
    void armPendingFaults();

    // Races (races.cpp).
    void chooseRace();
    // Once a thread is stopped: other events meanwhile, then it resumes; true when a race ran.
    bool settleRace();
    struct MeanwhileEvent {
        std::string program;  // the program it involves, "" for none
        std::function<void()> carryOut;
    };
    std::vector<MeanwhileEvent> meanwhileEvents(const std::string& stopped, const std::set<std::string>& involved);
    bool expectedToRun(const std::string& program) const;
    void endStepRace();

    // Checks (checks.cpp).
    void checkAll();
    void takeProcessCensus();
    void checkSimulation();
    void checkPrograms();
    void checkHandles();
    void checkMonitor();
    void checkBridge();
    void checkTapClose();
    void checkShellUi();
    void problem(std::string text) { problems_.push_back(std::move(text)); }
    // A problem a pocketsim expectation sees too: the line that fails the same way.
    void problem(std::string text, std::string expectation) {
        problems_.push_back(std::move(text));
        expectations_.push_back(std::move(expectation));
    }
    // What the step did to the device, as a pocketsim line, when the run is recorded.
    void record(std::string line) {
        if (options_.recordScript) script_.push_back(std::move(line));
    }
    void recordSetup();
    void note(const std::string& text);  // appends to the step's event text

    std::string observationDigest() const;
    std::vector<std::string> finalState() const;

    const ExploreOptions& options_;
    Rng rng_;
    sim::DeviceConfig config_;
    pocket::PocketDevice device_;
    MonitorModel monitor_;
    VolumeModel volume_;
    PowerSample power_;
    bool platformIsPocketPc_ = true;

    std::optional<StepFault> fault_;
    std::uint64_t faultBase_ = 0;  // calls of the faulty function made before the step
    std::vector<PendingFault> pending_;
    std::optional<Race> race_;
    std::uint64_t step_ = 0;
    bool inRaceWindow_ = false;
    bool inStylus_ = false;
    std::string startingProgram_;  // while its start event is carried out
    std::string stepInvolves_;     // the program the step's own user event is for

    std::vector<std::uint32_t> monitorPids_;  // by monitor instance (1, 2, ...): its process
    std::vector<BridgeRun> bridges_;
    bool bridgeStartExpected_ = false;
    bool tapCloseRunning_ = false;
    bool tapCloseHooked_ = false;
    std::set<std::uint32_t> trayLeftoversAllowed_;
    std::map<WPARAM, std::uint64_t> commandsPressed_;  // player commands the keys pressed may send
    std::map<WPARAM, std::uint64_t> commandsReceived_;  // and those the player got, read up to commandsSeenTo_
    std::uint64_t commandsSeenTo_ = 0;
    std::vector<StandIn> standIns_;
    std::vector<std::uint8_t> beep_;

    std::vector<std::string> script_;
    std::vector<std::string> problems_;
    std::vector<std::string> expectations_;
    std::string event_;
    std::map<std::string, std::uint64_t> counts_;
    std::size_t errorsSeen_ = 0;
    std::size_t processesSeen_ = 0;
    std::vector<std::uint32_t> runningBefore_;
    std::vector<pocket::ProcessView> running_;        // after this step
    std::vector<pocket::ProcessView> endedThisStep_;  // a process that started and ended in it too
};

}  // namespace explore
