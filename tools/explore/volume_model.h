// The wave-out volume as the remote's volume keys should leave it: each press handled moves both
// channels one step (1092) up or down, clamped to 0..65535, unless reading or writing the volume
// failed. Presses wait in the bridge's queue while it plays a sound or pauses, so the model is
// tied to what the bridge has handled so far: the calls it made, counted by the platform.
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace explore {

std::uint32_t stepVolume(std::uint32_t volume, bool up);

class VolumeModel {
public:
    // Starts afresh from `volume`, with the bridge's volume calls counted so far.
    void rebase(std::uint32_t volume, std::uint64_t getCalls, std::uint64_t setCalls);
    // A volume key reached the bridge.
    void press(bool up) { presses_.push_back(up); }
    // The bridge's n-th call (counted from the device's start) failed.
    void failGet(std::uint64_t occurrence) { failedGets_.insert(occurrence); }
    void failSet(std::uint64_t occurrence) { failedSets_.insert(occurrence); }

    struct Expectation {
        bool consistent = true;  // the calls made fit the presses
        std::string why;
        std::uint32_t volume = 0;
        std::size_t pending = 0;  // presses not handled yet
    };
    Expectation expect(std::uint64_t getCalls, std::uint64_t setCalls) const;

private:
    std::uint32_t base_ = 0;
    std::uint64_t getBase_ = 0;
    std::uint64_t setBase_ = 0;
    std::vector<bool> presses_;
    std::set<std::uint64_t> failedGets_;
    std::set<std::uint64_t> failedSets_;
};

}  // namespace explore
