#include "invariants.h"

namespace sweep {

namespace {

const char* const kCounterKey = "HKCU\\Software\\Orvalen\\VoltmaraPPC";
const char16_t* const kCounterValue = u"BatteryCount";
constexpr std::uint64_t kCounterPeriod = std::uint64_t{1} << 32;

std::optional<DWORD> storedCounter(const pocket::PocketDevice& device) { return device.dword(kCounterKey, kCounterValue); }

}  // namespace

Invariants::Invariants(const pocket::PocketDevice& device, std::optional<FaultPoint> fault)
    : fault_(std::move(fault)), counter_(storedCounter(device)), counterSeenSince_(device.now()) {}

std::vector<std::string> Invariants::check(const pocket::PocketDevice& device, const Step& step,
                                           std::uint64_t stepStart) {
    std::vector<std::string> out;
    const auto& errors = device.errors();
    for (; errorsSeen_ < errors.size(); ++errorsSeen_) out.push_back("simulation error: " + errors[errorsSeen_]);
    checkProcesses(device, out);
    checkCounter(device, step, stepStart, out);
    checkTaskbar(device, out);
    return out;
}

void Invariants::checkProcesses(const pocket::PocketDevice& device, std::vector<std::string>& out) const {
    for (const std::string& exit : pocket::nonZeroExits(device)) out.push_back(exit);
    for (const pocket::Leftover& leftover : pocket::leftoversOfEndedProcesses(device))
        if (!tolerated(leftover)) out.push_back(leftover.describe());
    for (const std::string& copies : pocket::duplicateCopies(device)) out.push_back(copies);
}

// The one thing a program cannot help leaving: the notification whose removal itself failed.
bool Invariants::tolerated(const pocket::Leftover& leftover) const {
    return fault_ && fault_->function == "SHNotificationRemove" && leftover.what == "notification" &&
           leftover.process == fault_->program;
}

// The counter only grows, by no more than the time that passed, except when it is cleared (to 0)
// or wraps after 2^32 ms.
void Invariants::checkCounter(const pocket::PocketDevice& device, const Step& step, std::uint64_t stepStart,
                              std::vector<std::string>& out) {
    const std::optional<DWORD> now = storedCounter(device);
    if (now == counter_) return;
    if (!now) {
        out.push_back("the stored battery counter went away (it was " + std::to_string(*counter_) + ")");
    } else if (counter_) {
        const std::uint64_t before = *counter_;
        const std::uint64_t reach = before + (device.now() - counterSeenSince_);  // the most it can have become
        const bool cleared = *now == 0 && step.mayClearCounter;
        const bool wrapped = reach >= kCounterPeriod && *now <= reach - kCounterPeriod;
        if (*now < before && !cleared && !wrapped)
            out.push_back("the stored battery counter went down from " + std::to_string(before) + " to " +
                          std::to_string(*now));
        if (*now > reach)
            out.push_back("the stored battery counter grew from " + std::to_string(before) + " to " +
                          std::to_string(*now) + ", more than the " +
                          std::to_string(device.now() - counterSeenSince_) + " ms that passed");
    }
    counter_ = now;
    counterSeenSince_ = stepStart;
}

void Invariants::checkTaskbar(const pocket::PocketDevice& device, std::vector<std::string>& out) const {
    if (!device.taskbar() || device.runningCount("appshut") != 0) return;
    if (!device.taskbarProcedureIsItsOwn()) out.push_back("no appshut runs, yet the taskbar's procedure is not its own");
}

}  // namespace sweep
