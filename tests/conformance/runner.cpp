// proberun: runs a probe on a simulated device, one process per role, and passes its output
// through. The probes' own lines come from the images' printf; this adds each role's exit code.
//
//   proberun [--desktop CODEPAGE] [--at PATH] [--file PATH]... [--wav NAME]
//            [--display plain|x11] IMAGE_DIR PROBE ROLE...
//
// --at installs the probe at that path (UTF-8; "C:" stands for a handheld's root), --file puts an
// empty file at a path, --wav a short WAV file of that name beside the probe, and --display plain
// gives the machine a display driver without the power escapes (--display x11 concerns Wine only).
//
// The roles start in the order given, each after the ones before have come to rest (as they would
// have, on Windows, by the time the next one looks for them). Then virtual time runs, 10 ms at a
// time, until every one has ended.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "pocket_device.h"
#include "utf.h"

namespace {

constexpr std::uint64_t kStepMs = 10;
constexpr std::uint64_t kLimitMs = 120'000;

int usage() {
    std::fprintf(stderr,
                 "usage: proberun [--desktop CODEPAGE] [--at PATH] [--file PATH]... [--wav NAME] [--display plain] "
                 "IMAGE_DIR PROBE ROLE...\n");
    return 2;
}

// 100 ms of silence: 8000 samples a second, 8 bits, one channel. compare.sh writes the same bytes.
std::vector<std::uint8_t> shortWave() {
    const std::uint32_t samples = 800;
    std::vector<std::uint8_t> bytes;
    auto text = [&](const char* four) { bytes.insert(bytes.end(), four, four + 4); };
    auto number = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    text("RIFF"), number(36 + samples, 4), text("WAVE"), text("fmt "), number(16, 4), number(1, 2), number(1, 2);
    number(8000, 4), number(8000, 4), number(1, 2), number(8, 2), text("data"), number(samples, 4);
    bytes.insert(bytes.end(), samples, 0x80);
    return bytes;
}

// A path as the machine names it: a handheld has no drive letters.
std::string onMachine(const sim::DeviceConfig& config, const std::string& path) {
    const bool drive = path.size() >= 2 && (path[0] == 'C' || path[0] == 'c') && path[1] == ':';
    return config.machine == sim::Machine::Desktop || !drive ? path : path.substr(2);
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    sim::DeviceConfig config;
    std::string at;
    std::string wave;
    bool plainDisplay = false;
    std::vector<std::string> files;
    while (args.size() >= 2 && args[0].starts_with("--")) {
        if (args[0] == "--desktop") config = pocket::desktopConfig(static_cast<UINT>(std::stoul(args[1])));
        else if (args[0] == "--at") at = args[1];
        else if (args[0] == "--file") files.push_back(args[1]);
        else if (args[0] == "--wav") wave = args[1];
        else if (args[0] == "--display" && (args[1] == "plain" || args[1] == "x11")) plainDisplay = args[1] == "plain";
        else return usage();
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.size() < 3) return usage();
    // The probes are installed on their own, not among the bundle's programs.
    setenv("POCKET_IMAGE_DIR", args[0].c_str(), 1);
    const std::string probe = args[1];
    const std::vector<std::string> roles(args.begin() + 2, args.end());

    pocket::PocketDevice device(config);
    if (!at.empty()) device.installAt(probe, onMachine(config, at));
    if (plainDisplay) device.setDisplayDriver({.supportsPowerManagement = false});
    std::vector<std::pair<std::string, std::vector<std::uint8_t>>> puts;
    for (const std::string& file : files) puts.emplace_back(onMachine(config, file), std::vector<std::uint8_t>{});
    if (!wave.empty()) {
        const std::string own = device.installPath(probe);
        puts.emplace_back(own.substr(0, own.rfind('\\') + 1) + wave, shortWave());
    }
    for (auto& [path, bytes] : puts)
        if (!device.putFile(path, std::move(bytes))) {
            std::fprintf(stderr, "proberun: cannot put %s\n", path.c_str());
            return 2;
        }
    std::vector<std::uint32_t> pids;
    for (const std::string& role : roles) pids.push_back(device.start(probe, sim::fromUtf8(role)).pid);

    auto anyRunning = [&] {
        for (std::uint32_t pid : pids)
            if (device.process(pid)->running) return true;
        return false;
    };
    for (std::uint64_t waited = 0; anyRunning() && waited < kLimitMs; waited += kStepMs) device.advance(kStepMs);

    int status = 0;
    for (std::size_t i = 0; i < roles.size(); ++i) {
        const pocket::ProcessView process = *device.process(pids[i]);
        if (process.running) {
            std::printf("%s: did not end within %llu ms\n", roles[i].c_str(), static_cast<unsigned long long>(kLimitMs));
            status = 1;
        } else {
            std::printf("%s: exit code %d\n", roles[i].c_str(), process.exitCode.value_or(-1));
        }
    }
    std::fflush(stdout);
    for (const std::string& error : device.errors()) {
        std::fprintf(stderr, "proberun: the simulation reported: %s\n", error.c_str());
        status = 1;
    }
    return status;
}
