// Screen device contexts and the display driver's escapes.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>

#include "probe.h"

namespace {

// One ExtEscape with a buffer larger than any record, so that an over-read or over-write shows.
struct EscapeCase {
    const char* name;
    bool powerManagement;
    int escape;
    int cbInput;
    std::vector<DWORD> input;
    int cbOutput;
    int result;
    ULONG stateAfter;           // the panel starts in stand-by
    std::vector<DWORD> output;  // the first words of the output buffer, prefilled with 0xAAAAAAAA
};

class Escapes : public ::testing::TestWithParam<EscapeCase> {};

constexpr DWORD kFill = 0xAAAAAAAA;
constexpr ULONG kStandBy = VideoPowerStandBy;

}  // namespace

TEST_P(Escapes, AnswerAsTheDriverSupportsThem) {
    const EscapeCase c = GetParam();
    pocket::PocketDevice device;
    device.setDisplayDriver({c.powerManagement, kStandBy, 20});  // reports a longer record
    DWORD in[8] = {};
    for (std::size_t i = 0; i < c.input.size(); ++i) in[i] = c.input[i];
    DWORD out[8];
    std::fill(std::begin(out), std::end(out), kFill);
    int result = 99;
    inside(device).startHosted("d", [&] {
        HDC hdc = GetDC(nullptr);
        result = ExtEscape(hdc, c.escape, c.cbInput, reinterpret_cast<LPCSTR>(in), c.cbOutput,
                           reinterpret_cast<LPSTR>(out));
        ReleaseDC(nullptr, hdc);
        return 0;
    });
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(device.displayPowerState(), c.stateAfter);
    EXPECT_EQ(std::vector<DWORD>(out, out + c.output.size()), c.output);
    ASSERT_EQ(device.displayEscapes().size(), 1u);
    EXPECT_EQ(device.displayEscapes()[0].cbInput, c.cbInput);
    EXPECT_EQ(device.displayEscapes()[0].cbOutput, c.cbOutput);
}

INSTANTIATE_TEST_SUITE_P(
    Display, Escapes,
    ::testing::Values(
        EscapeCase{"QuerySet", true, QUERYESCSUPPORT, 4, {SETPOWERMANAGEMENT}, 0, 1, kStandBy, {kFill}},
        EscapeCase{"QueryGet", true, QUERYESCSUPPORT, 4, {GETPOWERMANAGEMENT}, 0, 1, kStandBy, {kFill}},
        EscapeCase{"QueryQuery", false, QUERYESCSUPPORT, 4, {QUERYESCSUPPORT}, 0, 1, kStandBy, {kFill}},
        EscapeCase{"QuerySetUnsupported", false, QUERYESCSUPPORT, 4, {SETPOWERMANAGEMENT}, 0, 0, kStandBy, {kFill}},
        EscapeCase{"QueryOther", true, QUERYESCSUPPORT, 4, {0x1234}, 0, 0, kStandBy, {kFill}},
        EscapeCase{"QueryShortInput", true, QUERYESCSUPPORT, 2, {SETPOWERMANAGEMENT}, 0, -1, kStandBy, {kFill}},
        EscapeCase{"Get", true, GETPOWERMANAGEMENT, 0, {}, 12, 1, kStandBy, {20, 1, kStandBy, kFill}},
        EscapeCase{"GetShortOutput", true, GETPOWERMANAGEMENT, 0, {}, 11, -1, kStandBy, {kFill}},
        EscapeCase{"GetUnsupported", false, GETPOWERMANAGEMENT, 0, {}, 12, 0, kStandBy, {kFill}},
        EscapeCase{"SetOff", true, SETPOWERMANAGEMENT, 12, {12, 1, VideoPowerOff}, 0, 1, VideoPowerOff, {kFill}},
        EscapeCase{"SetWithLargerSize", true, SETPOWERMANAGEMENT, 32, {12, 1, VideoPowerSuspend}, 0, 1,
                   VideoPowerSuspend, {kFill}},
        EscapeCase{"SetShortInput", true, SETPOWERMANAGEMENT, 11, {12, 1, VideoPowerOff}, 0, -1, kStandBy, {kFill}},
        EscapeCase{"SetShortLength", true, SETPOWERMANAGEMENT, 12, {8, 1, VideoPowerOff}, 0, -1, kStandBy, {kFill}},
        EscapeCase{"SetBadState", true, SETPOWERMANAGEMENT, 12, {12, 1, 5}, 0, -1, kStandBy, {kFill}},
        EscapeCase{"SetUnsupported", false, SETPOWERMANAGEMENT, 12, {12, 1, VideoPowerOff}, 0, 0, kStandBy, {kFill}},
        EscapeCase{"Unknown", true, 0x7777, 4, {1}, 4, 0, kStandBy, {kFill}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Display, DeviceContextsAreCountedPerProcess) {
    pocket::PocketDevice device;
    std::vector<int> released;
    int escapeOnBadDc = 99;
    const auto& p = inside(device).startHosted("d", [&] {
        HDC first = GetDC(nullptr);
        HDC second = GetDC(nullptr);
        released.push_back(ReleaseDC(nullptr, first));
        released.push_back(ReleaseDC(nullptr, first));  // twice: a bad release
        released.push_back(ReleaseDC(nullptr, nullptr));
        DWORD code = QUERYESCSUPPORT;
        escapeOnBadDc = ExtEscape(first, QUERYESCSUPPORT, 4, reinterpret_cast<LPCSTR>(&code), 0, nullptr);
        (void)second;  // left open
        return 0;
    });
    EXPECT_EQ(released, (std::vector<int>{1, 0, 0}));
    EXPECT_EQ(escapeOnBadDc, 0);
    EXPECT_TRUE(device.displayEscapes().empty());
    const auto view = device.process(p.pid);
    EXPECT_EQ(view->handles.openedOf(sim::HandleKind::DeviceContext), 2u);
    EXPECT_EQ(view->handles.liveOf(sim::HandleKind::DeviceContext), 1);
    EXPECT_EQ(view->handles.badReleases, 1u);
}

TEST(Display, AFailingEscapeChangesNothing) {
    pocket::PocketDevice device;
    device.failCall("ExtEscape");
    int result = 0;
    inside(device).startHosted("d", [&] {
        HDC hdc = GetDC(nullptr);
        VIDEO_POWER_MANAGEMENT record{12, 1, VideoPowerOff};
        result = ExtEscape(hdc, SETPOWERMANAGEMENT, 12, reinterpret_cast<LPCSTR>(&record), 0, nullptr);
        ReleaseDC(nullptr, hdc);
        return 0;
    });
    EXPECT_LT(result, 0);
    EXPECT_EQ(device.displayPowerState(), static_cast<ULONG>(VideoPowerOn));
    EXPECT_EQ(device.displayEscapes().at(0).result, -1);
}
