// An independent model of the battery monitor's accounting and of what it leaves in the registry
// and the shell: the counter grows by the time between samples on the battery once the tick
// count has passed 20000, drops to 0 on external power and at a reset, wraps at 2^32, is counted
// only while the monitor runs (a start counts from that moment), and loses what followed the last
// sample at each close. Pure: no simulation in here, so the rules can be checked on their own.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "notification_text.h"

namespace explore {

// Which of the monitor's platform calls fail while one event is carried out.
struct MonitorFaults {
    bool mutex = false;          // CreateMutexW
    bool registerClass = false;  // RegisterClassW
    bool createWindow = false;   // CreateWindowExW (before WM_CREATE)
    bool postClose = false;      // PostMessageW: a second start's close request
    bool keyOpen = false;        // RegCreateKeyExW
    bool valueRead = false;      // RegQueryValueExW
    bool valueWrite = false;     // RegSetValueExW
    bool powerRead = false;      // GetSystemPowerStatusEx
    bool notifyAdd = false;      // SHNotificationAdd
    bool notifyUpdate = false;   // SHNotificationUpdate
    bool notifyRemove = false;   // SHNotificationRemove
    bool setTimer = false;       // SetTimer
    bool iconLoad = false;       // LoadImageW
};

// A notification of the monitor's class as the shell should hold it.
struct ExpectedNotification {
    std::uint32_t id = 0;
    std::u16string html;
    int owner = 0;            // the monitor instance that added it (1, 2, ... in start order)
    PowerSample shownFor;     // the sample its text was made from
    PowerSample iconFor;      // the sample its icon was chosen for (a failed update leaves both behind)
    bool iconMayLack = false; // an icon load failed (or none was due) when it last changed
};

// Deliberately wrong rules, one at a time: the explorer's tests use them to show that the random
// runs really exercise each rule (a model with a flaw must be caught).
enum class ModelFlaw {
    None,
    CountsBeforeTick20000,  // accounts even while the tick count is 20000 or less
    KeepsCountOnPower,      // does not clear the counter on external power
    CountsWhileStopped,     // counts the time the monitor was not running
    NothingLostAtClose,     // stores the time since the last sample when the monitor closes
    WideCounter,            // never wraps (64-bit arithmetic)
};

class MonitorModel {
public:
    // `startTick`: the tick count at virtual time 0.
    explicit MonitorModel(std::uint32_t startTick, ModelFlaw flaw = ModelFlaw::None)
        : startTick_(startTick), flaw_(flaw) {}

    std::uint32_t tickAt(std::uint64_t time) const { return static_cast<std::uint32_t>(startTick_ + time); }

    enum class StartOutcome { Nothing, Started, SwitchedOff };
    // A start of the program at `time`: a first start runs the monitor, a second switches it off.
    StartOutcome start(std::uint64_t time, const PowerSample& power, const MonitorFaults& faults);
    // A close request reaching the running monitor's window at `time`. False when none runs.
    bool close(std::uint64_t time, const MonitorFaults& faults);
    // The notification's reset button, tapped while the monitor runs.
    void reset(std::uint64_t time, const PowerSample& power, const MonitorFaults& faults);
    // Time moves to `time`: every sample due until then is taken, all with `power`.
    void advanceTo(std::uint64_t time, const PowerSample& power, const MonitorFaults& faults);
    // Someone else wrote or deleted the registry value.
    void setStored(std::optional<std::uint32_t> value) { stored_ = value; }

    bool running() const { return running_; }
    int instance() const { return running_ ? instance_ : 0; }
    std::optional<std::uint64_t> nextSample() const { return nextSample_; }
    std::optional<std::uint32_t> stored() const { return stored_; }
    std::uint32_t counter() const { return static_cast<std::uint32_t>(count_); }
    std::uint32_t notificationId() const { return notificationId_; }
    // Power reads the monitor has made, over all its runs: one per sample.
    std::uint64_t samples() const { return samples_; }
    const std::vector<ExpectedNotification>& notifications() const { return notifications_; }
    const PowerSample& lastSample() const { return last_; }

private:
    void sample(std::uint64_t time, bool add, const PowerSample& power, const MonitorFaults& faults);
    std::optional<std::uint32_t> readStored(const MonitorFaults& faults) const;
    void save(const MonitorFaults& faults);
    ExpectedNotification* find(std::uint32_t id);
    // Whether the shell took the add (or, refused, the update that follows it), or the update.
    bool shellAdd(const std::u16string& html, const PowerSample& shown, bool iconLoaded, const MonitorFaults& faults);
    bool shellUpdate(const std::u16string* html, const PowerSample& shown, bool icon, bool iconLoaded,
                     const MonitorFaults& faults);
    void shellRemove(std::uint32_t id, const MonitorFaults& faults);

    std::uint32_t startTick_;
    ModelFlaw flaw_;

    // The registry value "BatteryCount"; empty while it does not exist.
    std::optional<std::uint32_t> stored_;
    std::vector<ExpectedNotification> notifications_;
    std::uint64_t samples_ = 0;

    // The running monitor.
    bool running_ = false;
    int instance_ = 0;
    std::optional<std::uint64_t> nextSample_;
    std::uint64_t count_ = 0;     // kept wide only for ModelFlaw::WideCounter; 32-bit otherwise
    std::uint32_t lastTick_ = 0;
    bool loaded_ = false;         // the stored counter was read (or found missing)
    bool cleared_ = false;        // the counter was cleared since the start
    PowerSample last_{};          // the previous sample; all zero at the start and after a reset
    bool iconLoaded_ = false;     // the monitor holds a level icon (a failed load is tried again)
    bool shown_ = false;          // the shell took the notification under notificationId_
    int lastHours_ = -1;
    int lastMinutes_ = -1;
    std::uint32_t notificationId_ = 1;
    std::uint32_t lastSampleTick_ = 0;  // for ModelFlaw::CountsWhileStopped
    std::u16string text_;               // reused: most samples change nothing
};

}  // namespace explore
