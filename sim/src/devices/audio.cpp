#include "audio.h"

#include <algorithm>

namespace sim {

std::uint64_t Audio::play(std::uint64_t started, std::uint64_t end, std::uint64_t now) {
    stop(now);
    current_ = Sound{++played_, started, end};
    return current_.number;
}

std::optional<std::uint64_t> Audio::stop(std::uint64_t now) {
    if (!playing(now)) return std::nullopt;
    current_.end = now;
    return current_.started;
}

}  // namespace sim
