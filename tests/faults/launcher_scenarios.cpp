// The setup launcher's paths on a desktop PC: the normal one and those that start nothing.
#include "scenarios.h"

#include "utf.h"

namespace sweep {

namespace {

const std::string kLauncher = "setuplaunch";
const char* const kAppPathsKey = "HKLM\\software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\CEAppMgr.exe";
const char* const kAppManager = "C:\\Program Files\\Windows CE Services\\CEAppMgr.exe";

void registerAppManager(pocket::PocketDevice& pc, const std::u16string& path) {
    std::vector<std::uint8_t> bytes;
    for (char16_t c : path + u'\0') {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(c >> 8));
    }
    pc.setRegistryValue(kAppPathsKey, u"", REG_SZ, bytes);
}

std::size_t started(const pocket::PocketDevice& pc) {
    std::size_t count = 0;
    for (const sim::ProcessLaunch& launch : pc.launches()) count += launch.started();
    return count;
}

// Whatever fails, the launcher asks for nothing but the Application Manager with setup.ini, once.
std::string onlyTheAppManager(const pocket::PocketDevice& pc) {
    if (pc.launches().size() > 1) return std::to_string(pc.launches().size()) + " launches";
    for (const sim::ProcessLaunch& launch : pc.launches())
        if (launch.commandLine != u"/register .\\setup.ini" ||
            launch.applicationName != sim::fromUtf8(kAppManager))
            return "launched something else";
    return "";
}

Scenario launcher(const std::string& name, std::function<void(pocket::PocketDevice&)> setUp, std::size_t starts) {
    Step start = startProgram(kLauncher);
    start.holds = onlyTheAppManager;
    start.achieves = [starts](const pocket::PocketDevice& pc) -> std::string {
        return started(pc) == starts ? "" : std::to_string(started(pc)) + " processes started";
    };
    Scenario s;
    s.program = kLauncher;
    s.name = name;
    s.config = pocket::desktopConfig();
    s.setUp = std::move(setUp);
    s.steps = {start};
    return s;
}

}  // namespace

std::vector<Scenario> launcherScenarios() {
    return {
        launcher("Application Manager registered and installed",
                 [](pocket::PocketDevice& pc) {
                     pc.putFile(kAppManager, {'M', 'Z'});
                     registerAppManager(pc, sim::fromUtf8(kAppManager));
                 },
                 1),
        launcher("nothing registered", nullptr, 0),
        launcher("empty path registered", [](pocket::PocketDevice& pc) { registerAppManager(pc, u""); }, 0),
        launcher("registered but not installed",
                 [](pocket::PocketDevice& pc) { registerAppManager(pc, sim::fromUtf8(kAppManager)); }, 0),
    };
}

}  // namespace sweep
