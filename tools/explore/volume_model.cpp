#include "volume_model.h"

namespace explore {

namespace {

constexpr std::uint32_t kStep = 1092;
constexpr std::uint32_t kMax = 0xFFFF;

std::uint32_t stepChannel(std::uint32_t level, bool up) {
    if (up) return level + kStep > kMax ? kMax : level + kStep;
    return level < kStep ? 0 : level - kStep;
}

}  // namespace

std::uint32_t stepVolume(std::uint32_t volume, bool up) {
    return stepChannel(volume & 0xFFFF, up) | stepChannel(volume >> 16, up) << 16;
}

void VolumeModel::rebase(std::uint32_t volume, std::uint64_t getCalls, std::uint64_t setCalls) {
    base_ = volume;
    getBase_ = getCalls;
    setBase_ = setCalls;
    presses_.clear();
}

VolumeModel::Expectation VolumeModel::expect(std::uint64_t getCalls, std::uint64_t setCalls) const {
    Expectation e;
    e.volume = base_;
    if (getCalls < getBase_ || getCalls - getBase_ > presses_.size()) {
        e.consistent = false;
        e.why = "the bridge read the volume " + std::to_string(getCalls - getBase_) + " time(s) for " +
                std::to_string(presses_.size()) + " volume key press(es)";
        return e;
    }
    const std::uint64_t handled = getCalls - getBase_;
    std::uint64_t sets = setBase_;
    for (std::uint64_t i = 0; i < handled; ++i) {
        if (failedGets_.count(getBase_ + i + 1)) continue;  // nothing to step from
        if (failedSets_.count(++sets)) continue;
        e.volume = stepVolume(e.volume, presses_[i]);
    }
    if (sets != setCalls) {
        e.consistent = false;
        e.why = "the bridge wrote the volume " + std::to_string(setCalls - setBase_) + " time(s), expected " +
                std::to_string(sets - setBase_);
    }
    e.pending = presses_.size() - handled;
    return e;
}

}  // namespace explore
