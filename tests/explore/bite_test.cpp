// The checks must bite: a change made behind the programs' and the models' backs, or a model with
// one wrong rule, has to make a run fail. Changing the device behind its programs' backs takes its
// insides, as the simulation's own tests see them.
#include <gtest/gtest.h>

#include <memory>

#include <shellapi.h>

#include "context.h"
#include "explorer.h"
#include "inside.h"

namespace {

const std::string kKey = "HKCU\\Software\\Orvalen\\VoltmaraPPC";

struct Tampering {
    const char* name;
    std::function<bool(pocket::PocketDevice&)> ready;  // the first step from 40 on where this holds
    std::function<void(pocket::PocketDevice&)> act;
    const char* expected;  // in the failure's text
    bool atOnce;           // caught at that very step (else at a later one, e.g. the next stylus lift)
};

bool monitorRuns(pocket::PocketDevice& d) { return d.runningCount("voltmarap") == 1; }
bool bridgeRuns(pocket::PocketDevice& d) { return d.runningCount("rcbridge") == 1; }
bool notificationShown(pocket::PocketDevice& d) { return !inside(d).notifications.active().empty(); }

void changeNotification(pocket::PocketDevice& d, DWORD mask) {
    sim::Notification fields = inside(d).notifications.active().front();
    fields.html += u" ";
    fields.iconResourceId = 999;
    inside(d).notifications.update(mask, fields, d.now(), fields.ownerPid);
}

HWND windowOf(pocket::PocketDevice& d, const std::string& program) {
    for (const auto& w : d.windows())
        if (w.process == program) return w.hwnd;
    return nullptr;
}

HWND player(pocket::PocketDevice& d) {
    for (const char* cls : {"TUNELARK", "TUNELARKMIDI"})
        if (auto w = d.findWindow(cls)) return w->hwnd;
    return nullptr;
}

// A procedure someone else puts on the taskbar that swallows every stylus lift.
LRESULT CALLBACK SwallowLifts(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONUP) return 0;
    return CallWindowProcW(sim::currentDevice().shellWindows.taskbarProc, hwnd, message, wParam, lParam);
}

// Another program's hook in front of tap-to-close's: it asks the window in front to close on every
// lift, anywhere, and hands the taskbar's messages straight to the taskbar's own procedure.
LRESULT CALLBACK CloseOnEveryLift(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_LBUTTONUP) PostMessageW(GetForegroundWindow(), WM_CLOSE, 0, 0);
    return CallWindowProcW(sim::currentDevice().shellWindows.taskbarProc, hwnd, message, wParam, lParam);
}

void hookTaskbar(pocket::PocketDevice& d, WNDPROC proc) {
    const HWND taskbar = d.taskbar();
    d.startCode("hooker", [taskbar, proc] {
        SetWindowLongW(taskbar, GWL_WNDPROC, reinterpret_cast<LONG>(proc));
        return 0;
    });
}

const Tampering kTamperings[] = {
    {"CounterMoved", monitorRuns,
     [](pocket::PocketDevice& d) { d.setDword(kKey, u"BatteryCount", d.dword(kKey, u"BatteryCount").value_or(0) + 1); },
     "stored counter", true},
    {"NotificationTextChanged", notificationShown, [](pocket::PocketDevice& d) { changeNotification(d, SHNUM_HTML); },
     "reads", true},
    {"NotificationIconChanged", notificationShown, [](pocket::PocketDevice& d) { changeNotification(d, SHNUM_ICON); },
     "shows icon 999", true},
    {"SamplingTimerLost", monitorRuns,
     [](pocket::PocketDevice& d) {
         const HWND w = windowOf(d, "voltmarap");
         for (const auto& t : inside(d).scheduler.threads()) t->queue().killTimer(w, 1);
     },
     "sampling timer", true},
    {"SecondCopyRuns", monitorRuns,
     [](pocket::PocketDevice& d) {
         d.startCode("voltmarap", [] {
             MSG msg;
             while (GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
             return 0;
         });
     },
     "voltmarap: 2 copies running", true},
    {"TrayIconLeftBehind", [](pocket::PocketDevice&) { return true; },
     [](pocket::PocketDevice& d) {
         d.startCode("litter", [] {
             WNDCLASSW wc{};
             wc.lpfnWndProc = DefWindowProcW;
             wc.lpszClassName = u"Litter";
             RegisterClassW(&wc);
             NOTIFYICONDATA nid{};
             nid.cbSize = sizeof nid;
             nid.hWnd = CreateWindowExW(0, u"Litter", u"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
             nid.uID = 7;
             Shell_NotifyIcon(NIM_ADD, &nid);
             return 0;
         });
     },
     "tray icon", true},
    {"VolumeMovedBehindTheBridge", bridgeRuns,
     [](pocket::PocketDevice& d) { d.setVolume(d.volume() ^ 1); }, "volume is", true},
    {"PlayerCommandsMadeUp", [](pocket::PocketDevice& d) { return player(d) != nullptr; },
     [](pocket::PocketDevice& d) {
         const HWND player = ::player(d);
         for (int i = 0; i < 200; ++i) d.postMessage(player, WM_COMMAND, 40038, 0);
         d.runUntilIdle();
     },
     "the player got command 40038", true},
    {"BridgeKilled", bridgeRuns,
     [](pocket::PocketDevice& d) { d.terminate(d.runningPids("rcbridge").front(), 0); },
     "ended without being asked", true},
    {"TaskbarLiftsSwallowed", [](pocket::PocketDevice& d) { return d.runningCount("appshut") == 0; },
     [](pocket::PocketDevice& d) { hookTaskbar(d, SwallowLifts); }, "taskbar", false},
    {"WindowsClosedOutOfTurn",
     [](pocket::PocketDevice& d) { return d.runningCount("appshut") == 1 && !d.taskbarProcedureIsItsOwn(); },
     [](pocket::PocketDevice& d) { hookTaskbar(d, CloseOnEveryLift); }, "WM_CLOSE, expected", false},
};

class ChecksBite : public ::testing::TestWithParam<Tampering> {};

TEST_P(ChecksBite, ChangeBehindTheirBacksIsCaught) {
    const Tampering& t = GetParam();
    auto tamperedAt = std::make_shared<std::optional<std::uint64_t>>();
    explore::ExploreOptions options;
    options.seed = 9;
    options.steps = 1500;
    options.tamper = [&t, tamperedAt](std::uint64_t step, pocket::PocketDevice& device) {
        if (*tamperedAt || step < 40 || !t.ready(device)) return;
        *tamperedAt = step;
        t.act(device);
    };
    const explore::ExploreResult result = explore::explore(options);
    ASSERT_TRUE(tamperedAt->has_value()) << "never ready";
    ASSERT_FALSE(result.passed()) << "not caught";
    if (t.atOnce) EXPECT_EQ(result.failedStep, **tamperedAt);
    else EXPECT_GE(result.failedStep, **tamperedAt);
    EXPECT_NE(result.failure.find(t.expected), std::string::npos) << explore::describeFailure(result);
}

INSTANTIATE_TEST_SUITE_P(Tamperings, ChecksBite, ::testing::ValuesIn(kTamperings),
                         [](const auto& info) { return std::string(info.param.name); });

// A model with one wrong rule must fail somewhere in a handful of seeds: the runs reach every rule.
struct Flaw {
    explore::ModelFlaw flaw;
    const char* name;
    std::uint64_t steps;  // a rule that matters only early (the first 20 s of uptime) needs few
};

class WrongModel : public ::testing::TestWithParam<Flaw> {};

TEST_P(WrongModel, IsCaught) {
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        explore::ExploreOptions options;
        options.seed = seed;
        options.steps = GetParam().steps;
        options.flaw = GetParam().flaw;
        const explore::ExploreResult result = explore::explore(options);
        if (result.passed()) continue;
        const bool aboutTheCounter = result.failure.find("stored counter") != std::string::npos ||
                                     result.failure.find("notification") != std::string::npos;
        EXPECT_TRUE(aboutTheCounter) << explore::describeFailure(result);
        // Replaying it needs the same wrong rule.
        EXPECT_NE(explore::describeFailure(result).find("--flaw " + explore::flawName(GetParam().flaw)),
                  std::string::npos);
        return;
    }
    ADD_FAILURE() << "no seed noticed the wrong rule";
}

INSTANTIATE_TEST_SUITE_P(Flaws, WrongModel,
                         ::testing::Values(Flaw{explore::ModelFlaw::CountsBeforeTick20000, "CountsBeforeTick20000", 40},
                                           Flaw{explore::ModelFlaw::KeepsCountOnPower, "KeepsCountOnPower", 200},
                                           Flaw{explore::ModelFlaw::CountsWhileStopped, "CountsWhileStopped", 200},
                                           Flaw{explore::ModelFlaw::NothingLostAtClose, "NothingLostAtClose", 200},
                                           Flaw{explore::ModelFlaw::WideCounter, "WideCounter", 200}),
                         [](const auto& info) { return std::string(info.param.name); });

// Tap-to-close without its count of the taskbar's calls under way ends while the shell's thread
// is inside its procedure: only a race finds that, and a few seeds must.
TEST(RacedProgram, EndingUnderTheShellsFeetIsCaught) {
    for (std::uint64_t seed = 1; seed <= 10; ++seed) {
        explore::ExploreOptions options;
        options.seed = seed;
        options.steps = 1500;
        options.images["appshut"] = POCKET_MUTANT_DIR "/appshut-uncounted.image";
        const explore::ExploreResult result = explore::explore(options);
        if (result.passed()) continue;
        EXPECT_NE(result.failure.find("image of appshut cannot be unloaded"), std::string::npos)
            << explore::describeFailure(result);
        EXPECT_NE(explore::describeFailure(result).find("--image appshut="), std::string::npos);
        return;
    }
    ADD_FAILURE() << "no seed raced tap-to-close's end against the shell";
}

}  // namespace
