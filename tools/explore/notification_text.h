// What the battery monitor's notification should show for a power sample and a counter, written
// down from the monitor's rules on its own (not read from the program's resources), so that a
// wrong string, suffix or number in the program shows.
#pragma once

#include <cstdint>
#include <string>

namespace explore {

// The three fields of a power status that the monitor looks at.
struct PowerSample {
    std::uint8_t acLine = 0;
    std::uint8_t flag = 0;
    std::uint8_t percent = 0;

    bool operator==(const PowerSample&) const = default;
};

// What a sample holds when the power status cannot be read: on the battery, level not known.
inline constexpr PowerSample kUnreadPower{255, 255, 255};

inline bool onExternalPower(const PowerSample& s) { return s.acLine == 1; }

// The level icon's resource for a sample.
unsigned levelIcon(const PowerSample& sample);

inline std::uint32_t shownHours(std::uint32_t count) { return count / 3600000u; }
inline std::uint32_t shownMinutes(std::uint32_t count) { return count % 3600000u / 60000u; }

// The bubble's HTML. `out` is overwritten; its capacity is reused, so a caller that keeps one
// string makes no allocation per call.
void notificationText(const PowerSample& sample, std::uint32_t count, std::u16string& out);
std::u16string notificationText(const PowerSample& sample, std::uint32_t count);
// The same with the time already split; hours and minutes as shown.
void notificationText(const PowerSample& sample, std::uint64_t hours, std::uint32_t minutes, std::u16string& out);

}  // namespace explore
