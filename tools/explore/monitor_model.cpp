#include "monitor_model.h"

#include <algorithm>

namespace explore {

namespace {

constexpr std::uint64_t kSamplePeriod = 5000;
constexpr std::uint32_t kAccountingMinTick = 20000;
constexpr std::uint64_t kCounterMask = 0xFFFFFFFFull;

}  // namespace

MonitorModel::StartOutcome MonitorModel::start(std::uint64_t time, const PowerSample& power,
                                               const MonitorFaults& faults) {
    if (faults.mutex) return StartOutcome::Nothing;
    if (running_) {
        // The second copy asks the first to close.
        if (faults.postClose) return StartOutcome::Nothing;
        close(time, faults);
        return StartOutcome::SwitchedOff;
    }
    if (faults.registerClass || faults.createWindow) return StartOutcome::Nothing;

    running_ = true;
    ++instance_;
    count_ = 0;
    loaded_ = false;
    cleared_ = false;
    last_ = PowerSample{};
    lastHours_ = lastMinutes_ = -1;
    notificationId_ = 1;
    iconLoaded_ = false;
    shown_ = false;
    if (auto value = readStored(faults)) {
        count_ = *value;
        loaded_ = true;
    }
    lastTick_ = tickAt(time);
    if (flaw_ == ModelFlaw::CountsWhileStopped && instance_ > 1) lastTick_ = lastSampleTick_;
    sample(time, true, power, faults);
    nextSample_.reset();
    if (!faults.setTimer) nextSample_ = time + kSamplePeriod;
    return StartOutcome::Started;
}

bool MonitorModel::close(std::uint64_t time, const MonitorFaults& faults) {
    if (!running_) return false;
    if (flaw_ == ModelFlaw::NothingLostAtClose && tickAt(time) > kAccountingMinTick) {
        count_ = (count_ + (tickAt(time) - lastTick_)) & kCounterMask;
        stored_ = static_cast<std::uint32_t>(count_);
    }
    shellRemove(notificationId_, faults);
    running_ = false;
    nextSample_.reset();
    return true;
}

void MonitorModel::reset(std::uint64_t time, const PowerSample& power, const MonitorFaults& faults) {
    if (!running_) return;
    shellRemove(notificationId_, faults);
    count_ = 0;
    cleared_ = true;
    lastHours_ = lastMinutes_ = -1;
    lastTick_ = tickAt(time);
    last_ = PowerSample{};
    // The fresh notification shows the icon of the level now, whatever the last one showed.
    iconLoaded_ = false;
    shown_ = false;
    ++notificationId_;
    save(faults);
    sample(time, true, power, faults);
}

void MonitorModel::advanceTo(std::uint64_t time, const PowerSample& power, const MonitorFaults& faults) {
    while (running_ && nextSample_ && *nextSample_ <= time) {
        sample(*nextSample_, false, power, faults);
        *nextSample_ += kSamplePeriod;
    }
}

std::optional<std::uint32_t> MonitorModel::readStored(const MonitorFaults& faults) const {
    if (faults.keyOpen || faults.valueRead) return std::nullopt;
    return stored_.value_or(0);  // a missing value reads as 0
}

void MonitorModel::save(const MonitorFaults& faults) {
    if (!loaded_) {
        // A counter that could not be read at the start is read now, and carried on from.
        auto value = readStored(faults);
        if (!value) return;
        if (!cleared_) count_ = (count_ + *value) & (flaw_ == ModelFlaw::WideCounter ? ~0ull : kCounterMask);
        loaded_ = true;
    }
    if (faults.keyOpen || faults.valueWrite) return;
    stored_ = static_cast<std::uint32_t>(count_);
}

void MonitorModel::sample(std::uint64_t time, bool add, const PowerSample& power, const MonitorFaults& faults) {
    ++samples_;
    const PowerSample s = faults.powerRead ? kUnreadPower : power;
    const std::uint32_t now = tickAt(time);
    if (now > kAccountingMinTick || flaw_ == ModelFlaw::CountsBeforeTick20000) {
        if (onExternalPower(s) && flaw_ != ModelFlaw::KeepsCountOnPower) {
            count_ = 0;
            cleared_ = true;
        } else {
            const std::uint32_t elapsed = now - lastTick_;
            count_ = flaw_ == ModelFlaw::WideCounter ? count_ + elapsed : (count_ + elapsed) & kCounterMask;
        }
        save(faults);
        lastTick_ = now;
    }
    lastSampleTick_ = now;

    const std::uint64_t shown = flaw_ == ModelFlaw::WideCounter ? count_ : (count_ & kCounterMask);
    const int hours = static_cast<int>(shown / 3600000u);  // a 64-bit counter shows more than 1193
    const int minutes = static_cast<int>(shown % 3600000u / 60000u);
    const bool fieldsChanged = s.acLine != last_.acLine || s.percent != last_.percent;
    const bool textChanged = fieldsChanged || s.flag != last_.flag || hours != lastHours_ || minutes != lastMinutes_;
    // The level icon is loaded when the level or the power source changed, or when the monitor has
    // none (a load that failed is tried again at the next sample).
    bool iconGiven = false;
    bool loaded = iconLoaded_;
    if (fieldsChanged || !iconLoaded_) {
        loaded = !faults.iconLoad;
        iconGiven = fieldsChanged || loaded;
    }
    // Until the shell has taken the notification, every sample adds it.
    const bool adding = add || !shown_;
    if (adding || textChanged || iconGiven) {
        notificationText(s, shown / 3600000u, static_cast<std::uint32_t>(minutes), text_);
        const bool taken = adding ? shellAdd(text_, s, loaded, faults)
                                  : shellUpdate(textChanged ? &text_ : nullptr, s, iconGiven, loaded, faults);
        // Refused, the shell keeps what it showed (the monitor its icon), and nothing of this sample
        // is remembered: the next one tries again.
        if (!taken) return;
        shown_ = true;
        if (iconGiven) iconLoaded_ = loaded;
    }
    last_ = s;
    lastHours_ = hours;
    lastMinutes_ = minutes;
}

ExpectedNotification* MonitorModel::find(std::uint32_t id) {
    auto it = std::find_if(notifications_.begin(), notifications_.end(),
                           [id](const ExpectedNotification& n) { return n.id == id; });
    return it == notifications_.end() ? nullptr : &*it;
}

bool MonitorModel::shellAdd(const std::u16string& html, const PowerSample& shown, bool iconLoaded,
                            const MonitorFaults& faults) {
    // The shell keeps one notification per class and id: a leftover under the same id refuses the
    // add, and takes the update the monitor then makes instead.
    if (faults.notifyAdd || find(notificationId_)) return shellUpdate(&html, shown, true, iconLoaded, faults);
    notifications_.push_back(ExpectedNotification{notificationId_, html, instance_, shown, shown, !iconLoaded});
    return true;
}

bool MonitorModel::shellUpdate(const std::u16string* html, const PowerSample& shown, bool icon, bool iconLoaded,
                               const MonitorFaults& faults) {
    if (faults.notifyUpdate) return false;
    ExpectedNotification* n = find(notificationId_);
    if (!n) return false;
    if (html) {
        n->html = *html;
        n->shownFor = shown;
    }
    if (icon) {
        n->iconFor = shown;
        n->iconMayLack = !iconLoaded;
    }
    return true;
}

void MonitorModel::shellRemove(std::uint32_t id, const MonitorFaults& faults) {
    if (faults.notifyRemove) return;
    std::erase_if(notifications_, [id](const ExpectedNotification& n) { return n.id == id; });
}

}  // namespace explore
