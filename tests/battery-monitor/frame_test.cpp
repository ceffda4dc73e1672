// The monitor's frame: single instance toggle, start-up failures, persistence of the counter.
#include <gmock/gmock.h>

#include <map>
#include <set>

#include "../expect_sequence.h"
#include "monitor_fixture.h"

using namespace monitor_test;
using namespace pocket;
using ::testing::HasSubstr;

namespace {

std::vector<std::uint8_t> bytes(std::initializer_list<std::uint8_t> list) { return list; }

}  // namespace

TEST_F(MonitorTest, FirstStartCreatesTheKeyAndShowsZeroUse) {
    ASSERT_FALSE(device.registryKeyExists(kKey));
    auto monitor = start();
    EXPECT_TRUE(monitor.running);
    EXPECT_TRUE(device.registryKeyExists(kKey));
    EXPECT_EQ(stored(), 0u);

    auto n = shown();
    ASSERT_TRUE(n);
    EXPECT_EQ(n->title, "バッテリ情報");
    EXPECT_THAT(n->html, HasSubstr(charge(85)));
    EXPECT_THAT(n->html, HasSubstr(usage(0, 0)));
    EXPECT_EQ(n->flags, 0x21u);
    EXPECT_EQ(n->priority, 0x1B1);
    EXPECT_EQ(n->duration, 0u);
    EXPECT_EQ(n->buttons, std::vector<unsigned>{1});
    auto window = device.findWindow("VOLTMARAP");
    ASSERT_TRUE(window);
    EXPECT_EQ(window->title, "VOLTMARAP");
    EXPECT_EQ(window->style, 0u);
    EXPECT_EQ(n->sink, window->hwnd);

    auto timers = device.timers();
    ASSERT_EQ(timers.size(), 1u);
    EXPECT_EQ(timers[0].id, 1u);
    EXPECT_EQ(timers[0].period, 5000u);
}

TEST_F(MonitorTest, SecondStartSwitchesTheMonitorOffLeavingNothing) {
    auto first = start();
    device.advance(kHour);
    auto second = start();

    EXPECT_EQ(second.exitCode, 0);
    EXPECT_EQ(second.handles.liveOf(sim::HandleKind::Window), 0);
    auto ended = device.process(first.pid);
    EXPECT_FALSE(ended->running);
    EXPECT_EQ(ended->exitCode, 0);
    EXPECT_EQ(ended->handles.liveOf(sim::HandleKind::Icon), 0);
    EXPECT_EQ(ended->handles.liveOf(sim::HandleKind::Window), 0);
    EXPECT_EQ(ended->handles.liveOf(sim::HandleKind::RegistryKey), 0);
    EXPECT_EQ(ended->handles.badReleases, 0u);
    EXPECT_TRUE(device.notifications().empty());
    EXPECT_TRUE(device.windows().empty());
    EXPECT_TRUE(device.timers().empty());
    EXPECT_EQ(device.runningCount("voltmarap"), 0u);
}

TEST_F(MonitorTest, ThirdStartShowsTheCounterOfTheLastAccountingStep) {
    start();
    device.advance(2 * kHour + 7 * kMinute + 2500);  // the close loses what came after the last sample
    start();
    const DWORD saved = *stored();
    EXPECT_EQ(saved, 2 * kHour + 7 * kMinute);

    device.advance(kMinute);
    start();
    EXPECT_THAT(html(), HasSubstr(usage(2, 7)));
    device.advance(53 * kMinute);
    EXPECT_THAT(html(), HasSubstr(usage(3, 0)));
}

TEST_F(MonitorTest, CommandLineIsIgnored) {
    auto monitor = device.start("voltmarap", u"/off --reset garbage");
    EXPECT_TRUE(monitor.running);
    EXPECT_TRUE(shown());
}

TEST_F(MonitorTest, OtherTimersAndCommandsChangeNothing) {
    auto monitor = start();
    const auto window = device.findWindow("VOLTMARAP")->hwnd;
    const std::size_t before = device.notificationHistory().size();
    device.postMessage(window, WM_TIMER, 2, 0);
    device.postMessage(window, WM_COMMAND, MAKEWPARAM(2, 0), 0);
    device.postMessage(window, WM_COMMAND, MAKEWPARAM(0x101, 1), 0);  // 0x101 is not 1
    device.runUntilIdle();
    EXPECT_EQ(device.notificationHistory().size(), before);
    EXPECT_TRUE(shown(1));
}

struct StartFailure {
    const char* function;
};

class MonitorStartFailure : public MonitorTest, public ::testing::WithParamInterface<StartFailure> {};

TEST_P(MonitorStartFailure, EndsWithCodeZeroAndLeavesNothing) {
    device.failCall(GetParam().function);
    auto monitor = start();
    EXPECT_FALSE(monitor.running);
    EXPECT_EQ(monitor.exitCode, 0);
    EXPECT_TRUE(device.notifications().empty());
    EXPECT_TRUE(device.windows().empty());
    EXPECT_TRUE(device.timers().empty());
    EXPECT_EQ(monitor.handles.liveOf(sim::HandleKind::Icon), 0);
    EXPECT_EQ(monitor.handles.liveOf(sim::HandleKind::RegistryKey), 0);

    // The failed start did not block the next one.
    auto next = start();
    EXPECT_TRUE(next.running);
    EXPECT_TRUE(shown());
}

INSTANTIATE_TEST_SUITE_P(Frame, MonitorStartFailure,
                         ::testing::Values(StartFailure{"CreateMutexW"}, StartFailure{"RegisterClassW"},
                                           StartFailure{"CreateWindowExW"}),
                         [](const auto& info) { return std::string(info.param.function); });

TEST_F(MonitorTest, FailedMutexPostsNothingToTheRunningCopy) {
    auto running = start();
    device.failCall("CreateMutexW", 2);
    device.recordCalls();
    auto second = start();
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_TRUE(device.process(running.pid)->running);  // without the mutex it cannot tell; it leaves the copy on
    for (const std::string& name : device.callNames())
        EXPECT_NE(name, "PostMessageW") << "the failed start posted something";
}

struct StoredValue {
    const char* name;
    DWORD type;
    std::vector<std::uint8_t> data;
    DWORD expectedStart;
};

class MonitorStoredValue : public MonitorTest, public ::testing::WithParamInterface<StoredValue> {};

TEST_P(MonitorStoredValue, IsTakenAsTheCounterWhenItFitsFourBytes) {
    device.setRegistryValue(kKey, kValue, GetParam().type, GetParam().data);
    device.setTickCount(5000);  // no accounting in the first sample: the counter shown is what was read
    start();
    const DWORD count = GetParam().expectedStart;
    EXPECT_THAT(html(), HasSubstr(usage(count / kHour, (count % kHour) / kMinute)));
}

INSTANTIATE_TEST_SUITE_P(
    Frame, MonitorStoredValue,
    ::testing::Values(StoredValue{"Dword", REG_DWORD, bytes({0x40, 0x77, 0x1B, 0x00}), 1800000},
                      StoredValue{"BinaryOfFourBytes", REG_BINARY, bytes({0x80, 0xEE, 0x36, 0x00}), 3600000},
                      StoredValue{"StringTypeOfFourBytes", REG_SZ, bytes({0x00, 0xDD, 0x6D, 0x00}), 7200000},
                      StoredValue{"LongerThanFourBytes", REG_BINARY, bytes({1, 2, 3, 4, 5}), 0},
                      StoredValue{"ShortValueWidenedWithZeros", REG_BINARY, bytes({0x60, 0xEA}), 60000},
                      StoredValue{"EmptyValue", REG_DWORD, bytes({}), 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MonitorTest, KeyThatCannotBeOpenedIsNeverOverwrittenAndIsReadOnceItRecovers) {
    device.setDword(kKey, kValue, 3 * kHour);
    device.failRegistryKey(kKey, ERROR_ACCESS_DENIED);
    start();
    EXPECT_THAT(html(), HasSubstr(usage(0, 0)));
    device.advance(10 * kMinute);
    EXPECT_EQ(stored(), 3 * kHour);

    device.clearRegistryFaults(kKey);
    device.advance(5000);
    // The stored hours plus everything counted while the key was out of reach.
    EXPECT_EQ(stored(), 3 * kHour + 10 * kMinute + 5000);
    device.advance(kMinute);
    EXPECT_THAT(html(), HasSubstr(usage(3, 11)));
}

TEST_F(MonitorTest, FailedQueryKeepsTheStoredValueUntilItCanBeRead) {
    device.setDword(kKey, kValue, kHour);
    device.failRegistryValue(kKey, kValue, ERROR_ACCESS_DENIED);
    start();
    device.advance(kMinute);
    EXPECT_EQ(stored(), kHour);
    device.clearRegistryFaults(kKey);
    device.advance(5000);
    EXPECT_EQ(stored(), kHour + kMinute + 5000);
}

TEST_F(MonitorTest, RecoveryAfterExternalPowerKeepsOnlyWhatCameAfterIt) {
    device.setDword(kKey, kValue, 5 * kHour);
    device.failRegistryKey(kKey, ERROR_ACCESS_DENIED);
    start();
    device.advance(kMinute);
    device.setPower({AC_LINE_ONLINE, 90, BATTERY_FLAG_CHARGING});
    device.advance(5000);
    device.setPower({AC_LINE_OFFLINE, 90, BATTERY_FLAG_HIGH});
    device.advance(2 * kMinute);
    device.clearRegistryFaults(kKey);
    device.advance(5000);
    // Plugging in cleared the counter: the unreadable five hours no longer count.
    EXPECT_EQ(stored(), 2 * kMinute + 5000);
}

TEST_F(MonitorTest, FailedWriteLosesNothing) {
    start();
    device.failRegistryValue(kKey, kValue, ERROR_ACCESS_DENIED);
    device.advance(10 * kMinute);
    EXPECT_EQ(stored(), 0u);
    device.clearRegistryFaults(kKey);
    device.advance(5000);
    EXPECT_EQ(stored(), 10 * kMinute + 5000);
}

// A first start on external power: window, stored counter, first sample and notification, timer.
TEST_F(MonitorTest, StartUpCallsThePlatformInOrder) {
    device.setPower({AC_LINE_ONLINE, 85, BATTERY_FLAG_CHARGING});
    device.recordCalls();
    start();
    static const pocket::Step kStartUp[] = {
        {kCall, "CreateMutexW"},
        {kCall, "GetStockObject"},
        {kCall, "RegisterClassW"},
        {kCall, "CreateWindowExW"},
        {kSent, WM_CREATE},
        // the stored counter (none yet), then the first sample
        {kCall, "RegCreateKeyExW"}, {kCall | kResult, "RegQueryValueExW", ERROR_FILE_NOT_FOUND}, {kCall, "RegCloseKey"},
        {kCall, "GetTickCount"},
        {kCall, "GetSystemPowerStatusEx"}, {kCall, "GetTickCount"},
        {kCall, "RegCreateKeyExW"}, {kCall, "RegSetValueExW"}, {kCall, "RegCloseKey"},
        {kCall, "LoadImageW"},
        {kCall, "LoadStringW"}, {kCall, "LoadStringW"}, {kCall, "LoadStringW"},
        {kCall | kResult, "SHNotificationAdd", S_OK},
        // the icon shown before (none yet) goes once the shell holds the new one
        {kCall, "DestroyIcon"},
        {kCall | kResult, "SetTimer", 1},
    };
    EXPECT_SEQUENCE(device, 0, "voltmarap", kStartUp);
}

// A second start closes the first, which undoes its set-up in reverse.
TEST_F(MonitorTest, SecondStartShutsTheFirstDownInOrder) {
    start();
    device.recordCalls();
    const std::uint64_t mark = device.mark();
    start();
    static const pocket::Step kShutDown[] = {
        {kCall, "CreateMutexW"},  // the second copy
        {kCall, "FindWindowW"},
        {kCall, "PostMessageW"},
        {kPosted, WM_CLOSE},  // the first copy
        {kCall, "KillTimer"},
        {kCall, "SHNotificationRemove"},
        {kCall, "DestroyIcon"},
        {kCall, "DestroyWindow"},
        {kSent, WM_DESTROY},
        {kCall, "PostQuitMessage"},
    };
    EXPECT_SEQUENCE(device, mark, "voltmarap", kShutDown);
}

TEST_F(MonitorTest, SecondStartWhileTheFirstIsStillStartingLeavesItRunning) {
    device.stopAt("CreateMutexW", 1, "voltmarap");  // the first copy holds the mutex but has no window yet
    auto first = start();
    ASSERT_EQ(device.stoppedThreads().size(), 1u);
    auto second = start();
    EXPECT_EQ(second.exitCode, 0);  // its close went to no window
    device.resumeStopped();
    EXPECT_TRUE(device.process(first.pid)->running);
    EXPECT_TRUE(shown());
}
