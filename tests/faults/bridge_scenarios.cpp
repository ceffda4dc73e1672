// The remote-control bridge's scenarios: starts, its tray menu, About, Exit and the remote's keys.
#include "scenarios.h"

namespace sweep {

namespace {

const std::string kBridge = "rcbridge";
constexpr UINT kAbout = 40006;
constexpr UINT kExit = 40005;
constexpr UINT kMultiKey = 140;
constexpr std::uint64_t kQuickGap = 100;  // well inside the multi-press window
constexpr std::uint64_t kGroupEnd = 5000;  // past it, and past the beeps its action plays
constexpr DWORD kStartVolume = 0x80008000;

Check runs(bool expected) {
    return [expected](const pocket::PocketDevice& device) -> std::string {
        const bool running = device.runningCount(kBridge) > 0;
        return running == expected ? "" : std::string("the bridge ") + (running ? "runs" : "does not run");
    };
}

// The pen on the bridge's icon; nothing to tap when the icon never made it to the tray.
Step tapIcon() {
    Step step{"tap the tray icon", [](pocket::PocketDevice& device) {
                  if (auto icon = device.trayIconOf(kBridge)) device.tapTrayIcon(icon->hwnd, icon->id);
              }};
    step.achieves = [](const pocket::PocketDevice& device) { return device.openMenu() ? "" : "no menu open"; };
    return step;
}

Step choose(const std::string& what, UINT item, Check achieves) {
    Step step{"choose " + what, [item](pocket::PocketDevice& device) {
                  if (device.openMenu()) device.chooseMenuItem(item);
              }};
    step.achieves = std::move(achieves);
    return step;
}

Step dismissAbout() {
    Step step{"dismiss the About box", [](pocket::PocketDevice& device) {
                  if (device.messageBox()) device.dismissMessageBox();
              }};
    step.holds = [](const pocket::PocketDevice& device) { return device.messageBox() ? "a message box is open" : ""; };
    return step;
}

// WM_COMMAND identifiers the player's stand-in has received.
std::vector<WPARAM> playerCommands(const pocket::PocketDevice& device) {
    std::vector<WPARAM> out;
    for (const pocket::StandInRecord& s : device.standIns())
        if (s.program == "tunelark")
            for (const auto& m : device.standInMessages(s.hwnd))
                if (m.message == WM_COMMAND) out.push_back(m.wParam);
    return out;
}

Check playerGot(WPARAM command) {
    return [command](const pocket::PocketDevice& device) -> std::string {
        const auto got = playerCommands(device);
        return !got.empty() && got.back() == command ? "" : "the player did not get " + std::to_string(command);
    };
}

Step press(UINT vk, Check achieves) {
    Step step{"press key " + std::to_string(vk), [vk](pocket::PocketDevice& device) { device.pressKey(vk); }};
    step.achieves = std::move(achieves);
    return step;
}

// `count` presses of the multi-press key in one group, and the group's end. Whatever fails, a
// group of one or two never switches the device off.
Step multiPress(int count, Check achieves) {
    Step step{std::to_string(count) + " press(es) of key 140", [count](pocket::PocketDevice& device) {
                  std::vector<pocket::KeyPress> presses;
                  for (int i = 0; i < count; ++i) presses.push_back({kMultiKey, i == 0 ? 0 : kQuickGap});
                  device.pressKeys(presses);
                  device.advance(kGroupEnd);
              }};
    step.achieves = std::move(achieves);
    if (count < 3)
        step.holds = [](const pocket::PocketDevice& device) {
            return device.isSwitchedOn() ? "" : "the device was switched off";
        };
    return step;
}

Check volumeIs(DWORD expected) {
    return [expected](const pocket::PocketDevice& device) -> std::string {
        return device.volume() == expected ? "" : "volume " + std::to_string(device.volume());
    };
}

std::vector<Step> everyKey() {
    Step start = startProgram(kBridge);
    start.achieves = [](const pocket::PocketDevice& device) -> std::string {
        return device.hotKeys().size() == 7 && device.trayIconOf(kBridge) ? "" : "no icon or not every key";
    };
    constexpr DWORD kStep = 1092;
    return {start,
            press(136, volumeIs(kStartVolume - (kStep << 16 | kStep))),
            press(137, volumeIs(kStartVolume)),
            press(138, playerGot(40038)),
            press(139, playerGot(40037)),
            press(141, playerGot(40027)),
            press(142, playerGot(40027)),
            multiPress(1, playerGot(40036)),
            multiPress(2,
                       [](const pocket::PocketDevice& device) {
                           return device.displayPowerState() == VideoPowerOff ? "" : "the display is still on";
                       }),
            multiPress(3,
                       [](const pocket::PocketDevice& device) {
                           return device.isSwitchedOn() ? "the device is still on" : "";
                       }),
            closeFromOutside(kBridge)};
}

Scenario bridge(const std::string& name, std::function<void(pocket::PocketDevice&)> setUp, std::vector<Step> steps) {
    Scenario s;
    s.program = kBridge;
    s.name = name;
    s.setUp = [setUp](pocket::PocketDevice& device) {
        device.setVolume(kStartVolume);
        if (setUp) setUp(device);
    };
    s.steps = std::move(steps);
    return s;
}

void playerPresent(pocket::PocketDevice& device) { device.createStandIn("tunelark", "TUNELARK", "Tunelark"); }

}  // namespace

std::vector<Scenario> bridgeScenarios() {
    Step start = startProgram(kBridge);
    start.achieves = runs(true);
    Step refused = startProgram(kBridge);
    refused.holds = runs(false);
    Step second = startProgram(kBridge, "second start of");
    second.holds = [](const pocket::PocketDevice& device) {
        return device.trayIcons().size() <= 1 ? "" : "more than one tray icon";
    };
    Step closed = closeFromOutside(kBridge);
    closed.achieves = runs(false);
    return {
        bridge("start", nullptr, {start, closed}),
        bridge("start beside Windows Media Player's window",
               [](pocket::PocketDevice& device) {
                   device.createStandIn("wmplayer", "WMP7.5 for Pocket PC", "Windows Media");
               },
               {refused}),
        bridge("tray tap, menu, About, dismiss", nullptr,
               {start, tapIcon(),
                choose("About", kAbout,
                       [](const pocket::PocketDevice& device) { return device.messageBox() ? "" : "no About box"; }),
                dismissAbout(), tapIcon(), choose("Exit", kExit, runs(false))}),
        bridge("menu, Exit", nullptr, {start, tapIcon(), choose("Exit", kExit, runs(false))}),
        bridge("every key, with the player and beep.wav", playerPresent, everyKey()),
        bridge("every key, with the player and no beep.wav",
               [](pocket::PocketDevice& device) {
                   playerPresent(device);
                   device.removeFile(device.installFolder(kBridge) + "\\beep.wav");
               },
               everyKey()),
        bridge("second start", nullptr, {start, second, closed}),
        bridge("WM_CLOSE from outside while the menu is open", nullptr, {start, tapIcon(), closed}),
        bridge("WM_CLOSE from outside while the About box is open", nullptr,
               {start, tapIcon(),
                choose("About", kAbout,
                       [](const pocket::PocketDevice& device) { return device.messageBox() ? "" : "no About box"; }),
                closed, dismissAbout()}),
    };
}

}  // namespace sweep
