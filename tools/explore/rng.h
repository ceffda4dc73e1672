// A small fixed generator: the same seed gives the same run on every machine and build.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace explore {

// SplitMix64: tiny, fast, and good enough to pick events; its output is part of what a seed means,
// so it must never change.
class Rng {
public:
    explicit Rng(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // Uniform in [0, bound); 0 when bound is 0. The slight bias of the modulo does not matter here.
    std::uint64_t below(std::uint64_t bound) { return bound ? next() % bound : 0; }
    // Uniform in [low, high].
    std::int64_t between(std::int64_t low, std::int64_t high) {
        return low + static_cast<std::int64_t>(below(static_cast<std::uint64_t>(high - low) + 1));
    }
    bool chance(unsigned percent) { return below(100) < percent; }
    std::uint8_t byte() { return static_cast<std::uint8_t>(next()); }

    template <class T>
    const T& pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(below(items.size()))];
    }
    template <class T>
    T pick(std::initializer_list<T> items) {
        return items.begin()[below(items.size())];
    }
    // An index drawn with the given weights (all zero: 0).
    std::size_t weighted(const std::vector<unsigned>& weights) {
        std::uint64_t total = 0;
        for (unsigned w : weights) total += w;
        std::uint64_t r = below(total);
        for (std::size_t i = 0; i < weights.size(); ++i) {
            if (r < weights[i]) return i;
            r -= weights[i];
        }
        return 0;
    }

private:
    std::uint64_t state_;
};

}  // namespace explore
