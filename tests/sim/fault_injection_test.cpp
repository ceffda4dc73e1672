// Injected failures of calls on another program's window: each fails as the real call does when
// that window goes away (its result and last error), once, and changes nothing.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>

#include "inside.h"
#include "pocket_device.h"

namespace {

constexpr DWORD kUntouched = 0xC0FFEE;  // a last error that no call sets

struct InjectionCase {
    const char* function;
    std::function<std::intptr_t(HWND)> call;  // the call on the other program's window, its result as a number
    std::intptr_t failure;                    // what the failed call returns
    DWORD error;                              // its last error; kUntouched: left as it was
};

struct Outcome {
    std::intptr_t result = 0;
    DWORD error = 0;
};

class FaultInjection : public ::testing::TestWithParam<InjectionCase> {
protected:
    FaultInjection() {
        sim::StandInOptions options;
        options.foreground = true;
        target = device.createApplication("target", "TargetApp", "Target", options).hwnd;
    }
    Outcome callOnce() {
        Outcome out;
        const HWND window = target;
        const auto& call = GetParam().call;
        inside(device).startHosted("caller", [&out, window, &call] {
            SetLastError(kUntouched);
            out.result = call(window);
            out.error = GetLastError();
            return 0;
        });
        return out;
    }
    void TearDown() override { EXPECT_TRUE(device.errors().empty()); }

    pocket::PocketDevice device;
    HWND target = nullptr;
};

}  // namespace

TEST_P(FaultInjection, FailsOnceAsAWindowThatWentAway) {
    const InjectionCase& row = GetParam();
    const Outcome before = callOnce();
    ASSERT_NE(before.result, row.failure) << "succeeds with the same result as its failure: the row shows nothing";

    device.failCall(row.function, inside(device).faults.occurrences(row.function, "caller") + 1, 1, "caller");
    const Outcome failed = callOnce();
    EXPECT_EQ(failed.result, row.failure);
    EXPECT_EQ(failed.error, row.error);

    const Outcome after = callOnce();
    EXPECT_EQ(after.result, before.result);
    EXPECT_EQ(inside(device).faults.fired(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    OtherProgramsWindow, FaultInjection,
    ::testing::Values(
        InjectionCase{"GetClassNameW",
                      [](HWND w) {
                          WCHAR name[32] = {u'?', 0};
                          const int length = GetClassNameW(w, name, 32);
                          return length ? length : (name[0] == u'?' ? 0 : -1);  // -1: written though failed
                      },
                      0, ERROR_INVALID_WINDOW_HANDLE},
        InjectionCase{"GetWindow", [](HWND w) { return reinterpret_cast<std::intptr_t>(GetWindow(w, GW_HWNDFIRST)); }, 0,
                      ERROR_INVALID_WINDOW_HANDLE},
        InjectionCase{"GetWindowRect",
                      [](HWND w) {
                          RECT rect{-1, -1, -1, -1};
                          const BOOL got = GetWindowRect(w, &rect);
                          return got ? std::intptr_t{1} : (rect.left == -1 ? 0 : -1);  // -1: written though failed
                      },
                      0, ERROR_INVALID_WINDOW_HANDLE},
        InjectionCase{"GetWindowLongW", [](HWND w) { return std::intptr_t{GetWindowLongW(w, GWL_STYLE)}; }, 0,
                      ERROR_INVALID_WINDOW_HANDLE},
        // Setting the style it has: the previous style, never 0, comes back unless the call fails.
        InjectionCase{"SetWindowLongW",
                      [](HWND w) { return std::intptr_t{SetWindowLongW(w, GWL_STYLE, GetWindowLongW(w, GWL_STYLE))}; },
                      0, ERROR_INVALID_WINDOW_HANDLE},
        InjectionCase{"IsWindow", [](HWND w) { return std::intptr_t{IsWindow(w)}; }, FALSE, kUntouched},
        InjectionCase{"IsWindowVisible", [](HWND w) { return std::intptr_t{IsWindowVisible(w)}; }, FALSE, kUntouched},
        InjectionCase{"IsWindowEnabled", [](HWND w) { return std::intptr_t{IsWindowEnabled(w)}; }, FALSE, kUntouched},
        InjectionCase{"GetForegroundWindow", [](HWND) { return reinterpret_cast<std::intptr_t>(GetForegroundWindow()); },
                      0, kUntouched}),
    [](const auto& info) { return std::string(info.param.function); });

namespace {

struct HookedCallCase {
    const char* name;
    const char* failingProgram;  // whose GetWindowRect calls fail
    bool appshutHits;            // appshut's procedure on the taskbar sees the lift in its band
    bool shellSendsBack;         // the shell's own procedure sees it on its close button
};

class HookedProcedureFaults : public ::testing::TestWithParam<HookedCallCase> {};

}  // namespace

// appshut's procedure on the shell's taskbar runs on the shell's thread, but the calls it makes
// are appshut's: they fail as appshut's, and the shell's own calls fail as the shell's.
TEST_P(HookedProcedureFaults, FailAsTheProgramWhoseCodeMakesThem) {
    const HookedCallCase& row = GetParam();
    sim::DeviceConfig config;
    config.shell = true;
    pocket::PocketDevice device(config);
    sim::StandInOptions options;
    options.foreground = true;
    const HWND application = device.createApplication("notes", "NotesApp", "Notes", options).hwnd;
    device.start("appshut");
    device.failCall("GetWindowRect", 1, 0, row.failingProgram);

    device.tapTaskbar(230, 10);

    std::size_t closes = 0;
    for (const auto& m : device.standInMessages(application)) closes += m.message == WM_CLOSE;
    EXPECT_EQ(closes, row.appshutHits ? 1u : 0u);
    EXPECT_EQ(device.sentToBackground().size(), row.shellSendsBack ? 1u : 0u);
    EXPECT_TRUE(device.errors().empty());
}

INSTANTIATE_TEST_SUITE_P(Attribution, HookedProcedureFaults,
                         ::testing::Values(HookedCallCase{"Appshut", "appshut", false, true},
                                           HookedCallCase{"Shell", "shell", true, false},
                                           HookedCallCase{"Neither", "notes", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });
