// The tap-to-close program's scenarios, on a device with the shell's taskbar.
#include "scenarios.h"

namespace sweep {

namespace {

const std::string kTapClose = "appshut";
constexpr int kInBand = 230;  // in the close band of a 240-pixel taskbar
constexpr int kOutOfBand = 100;
constexpr int kTaskbarY = 10;

sim::DeviceConfig withShell() {
    sim::DeviceConfig config;
    config.shell = true;
    return config;
}

std::size_t closesReceivedBy(const pocket::PocketDevice& device, const std::string& program) {
    std::size_t count = 0;
    for (const pocket::StandInRecord& s : device.standIns())
        if (s.program == program)
            for (const auto& m : device.standInMessages(s.hwnd)) count += m.message == WM_CLOSE;
    return count;
}

Check closes(const std::string& program, std::size_t expected) {
    return [program, expected](const pocket::PocketDevice& device) -> std::string {
        const std::size_t got = closesReceivedBy(device, program);
        if (got == expected) return "";
        return program + " received " + std::to_string(got) + " WM_CLOSE, not " + std::to_string(expected);
    };
}

Check hooked(bool expected) {
    return [expected](const pocket::PocketDevice& device) -> std::string {
        const bool isHooked = !device.taskbarProcedureIsItsOwn();
        return isHooked == expected ? "" : std::string("the taskbar is ") + (isHooked ? "" : "not ") + "hooked";
    };
}

Step application(const std::string& program, const std::string& className, DWORD exStyle = 0) {
    return Step{"an application of class " + className + " in front",
                [program, className, exStyle](pocket::PocketDevice& device) {
                    sim::StandInOptions options;
                    options.foreground = true;
                    options.exStyle = exStyle;
                    device.createApplication(program, className, "App", options);
                }};
}

// The `lift`-th lift of the stylus on the taskbar. However the hook fares, the shell's own
// procedure gets every lift exactly once; `never` must not be closed by it.
Step tapAt(const std::string& where, int x, std::size_t lift, const std::string& never, Check achieves) {
    Step step{"tap the taskbar " + where, [x](pocket::PocketDevice& device) { device.tapTaskbar(x, kTaskbarY); }};
    step.achieves = std::move(achieves);
    step.holds = [lift, never = closes(never, 0)](const pocket::PocketDevice& device) -> std::string {
        std::size_t lifts = 0;
        for (const auto& m : device.taskbarReceived()) lifts += m.message == WM_LBUTTONUP;
        if (lifts != lift) return "the taskbar got " + std::to_string(lifts) + " lifts of " + std::to_string(lift);
        return never(device);
    };
    return step;
}

Scenario tapClose(const std::string& name, std::vector<Step> steps) {
    Scenario s;
    s.program = kTapClose;
    s.name = name;
    s.config = withShell();
    s.steps = std::move(steps);
    return s;
}

Step setSystem(DWORD major, const std::u16string& platform) {
    return Step{"the system says version " + std::to_string(major),
                [major, platform](pocket::PocketDevice& device) { device.setSystem(major, platform); }};
}

Step startTapClose(const std::string& why, bool hooks) {
    Step step = startProgram(kTapClose, why);
    step.achieves = hooked(hooks);
    return step;
}

}  // namespace

std::vector<Scenario> tapCloseScenarios() {
    const Step on = startTapClose("start", true);
    const Step off = startTapClose("second start of", false);
    Step refused = startProgram(kTapClose);
    refused.holds = [](const pocket::PocketDevice& device) {
        return device.runningCount(kTapClose) == 0 && device.taskbarProcedureIsItsOwn() ? "" : "it ran";
    };
    return {
        tapClose("start", {on, off}),
        tapClose("taps in and out of the close band",
                 {application("notes", "NotesApp"), on,
                  tapAt("outside the band", kOutOfBand, 1, "notes", nullptr),
                  tapAt("in the band", kInBand, 2, "", closes("notes", 1)),
                  application("settings", "Dialog"),
                  tapAt("in the band, a dialog in front", kInBand, 3, "settings", nullptr),
                  application("confirm", "ConfirmApp", WS_EX_CAPTIONOKBTN),
                  tapAt("in the band, a window with an OK button in front", kInBand, 4, "confirm", nullptr),
                  application("ink", "InkApp"),
                  tapAt("in the band", kInBand, 5, "", closes("ink", 1)), off}),
        tapClose("second start unhooks, a third hooks again",
                 {on, off, startTapClose("third start of", true), startTapClose("fourth start of", false)}),
        tapClose("not a Pocket PC", {setSystem(4, u"Smartphone"), refused, setSystem(2, u"PocketPC"), refused}),
    };
}

}  // namespace sweep
