// wavgen: writes a short sine beep as a PCM WAVE file (8-bit unsigned, mono).
//
//   wavgen [--rate HZ] [--frequency HZ] [--duration MS] [--fade MS] [--level PERCENT] <out.wav>
//
// Defaults: 11025 Hz sampling, 1760 Hz tone, 120 ms, 10 ms fades, 60 % of full scale.
// The tone fades in and out (raised cosine) so that it starts and ends without a click.
// Nothing is written when an argument is wrong.

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

struct Beep {
    long rate = 11025;
    long frequency = 1760;
    long durationMs = 120;
    long fadeMs = 10;
    long levelPercent = 60;
};

[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "wavgen: %s\n", message.c_str());
    std::exit(1);
}

long number(const char* option, const char* text, long low, long high) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != 0 || errno != 0 || value < low || value > high)
        fail(std::string(option) + " takes a whole number from " + std::to_string(low) + " to " +
             std::to_string(high) + ", not \"" + text + "\"");
    return value;
}

std::vector<std::uint8_t> samples(const Beep& beep) {
    const long count = beep.rate * beep.durationMs / 1000;
    const long fade = beep.rate * beep.fadeMs / 1000;
    const double amplitude = 127.0 * beep.levelPercent / 100.0;
    std::vector<std::uint8_t> out(static_cast<std::size_t>(count));
    for (long i = 0; i < count; ++i) {
        double envelope = 1.0;
        const long edge = std::min(i, count - 1 - i);
        if (edge < fade) envelope = 0.5 - 0.5 * std::cos(std::numbers::pi * edge / fade);
        const double phase = 2.0 * std::numbers::pi * beep.frequency * i / beep.rate;
        out[static_cast<std::size_t>(i)] =
            static_cast<std::uint8_t>(std::lround(128.0 + amplitude * envelope * std::sin(phase)));
    }
    return out;
}

void put16(std::vector<std::uint8_t>& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void putTag(std::vector<std::uint8_t>& b, const char* tag) { b.insert(b.end(), tag, tag + 4); }

std::vector<std::uint8_t> waveFile(const Beep& beep, const std::vector<std::uint8_t>& data) {
    const auto dataSize = static_cast<std::uint32_t>(data.size());
    const std::uint32_t padded = dataSize + (dataSize & 1);  // chunks keep to even sizes
    std::vector<std::uint8_t> b;
    putTag(b, "RIFF");
    put32(b, 4 + (8 + 16) + (8 + padded));
    putTag(b, "WAVE");
    putTag(b, "fmt ");
    put32(b, 16);
    put16(b, 1);  // PCM
    put16(b, 1);  // mono
    put32(b, static_cast<std::uint32_t>(beep.rate));
    put32(b, static_cast<std::uint32_t>(beep.rate));  // bytes per second: one byte a sample
    put16(b, 1);                                      // block align
    put16(b, 8);                                      // bits per sample
    putTag(b, "data");
    put32(b, dataSize);
    b.insert(b.end(), data.begin(), data.end());
    if (padded != dataSize) b.push_back(0);
    return b;
}

}  // namespace

int main(int argc, char** argv) {
    Beep beep;
    const char* out = nullptr;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--rate" && hasValue) {
            beep.rate = number("--rate", argv[++i], 4000, 48000);
        } else if (arg == "--frequency" && hasValue) {
            beep.frequency = number("--frequency", argv[++i], 20, 20000);
        } else if (arg == "--duration" && hasValue) {
            beep.durationMs = number("--duration", argv[++i], 1, 10000);
        } else if (arg == "--fade" && hasValue) {
            beep.fadeMs = number("--fade", argv[++i], 0, 5000);
        } else if (arg == "--level" && hasValue) {
            beep.levelPercent = number("--level", argv[++i], 1, 100);
        } else if (arg.rfind("--", 0) == 0) {
            fail("unknown option or missing value: " + arg);
        } else if (out == nullptr) {
            out = argv[i];
        } else {
            fail("one output file only");
        }
    }
    if (out == nullptr)
        fail("usage: wavgen [--rate HZ] [--frequency HZ] [--duration MS] [--fade MS] [--level PERCENT] <out.wav>");
    // Above half the sampling rate the tone would fold back as a lower one.
    if (2 * beep.frequency >= beep.rate) fail("the frequency must stay below half the sampling rate");
    if (2 * beep.fadeMs > beep.durationMs) fail("the fades in and out must fit in the duration");

    const std::vector<std::uint8_t> file = waveFile(beep, samples(beep));
    std::ofstream stream(out, std::ios::binary | std::ios::trunc);
    stream.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    stream.close();
    if (!stream) {
        std::remove(out);
        fail(std::string("cannot write ") + out);
    }
    return 0;
}
