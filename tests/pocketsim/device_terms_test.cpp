#include <gtest/gtest.h>

#include "arguments.h"
#include "wave.h"
#include "device_terms.h"
#include "tokenizer.h"

namespace {

using namespace pocketsim;

struct WantedRun {
    UINT vk;
    std::uint64_t gap;
    std::uint64_t count;
};

TEST(DeviceTerms, KeyPressesWithGapsAndCounts) {
    const std::pair<const char*, std::vector<WantedRun>> cases[] = {
        {"140", {{140, 0, 1}}},
        {"0x8C", {{140, 0, 1}}},
        {"140 140+300ms 140+300ms", {{140, 0, 1}, {140, 300, 1}, {140, 300, 1}}},
        {"137*30", {{137, 0, 30}}},
        {"140+300ms*2", {{140, 300, 2}}},
        {"140+1s*3 136", {{140, 1000, 3}, {136, 0, 1}}},
        {"255+0*1", {{255, 0, 1}}},
        {"1+450", {{1, 450, 1}}},
        {"136*10000", {{136, 0, 10000}}},
    };
    for (const auto& [line, want] : cases) {
        const std::vector<PressRun> runs = parseKeyPresses(tokenize(line));
        ASSERT_EQ(runs.size(), want.size()) << line;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            EXPECT_EQ(runs[i].press.vk, want[i].vk) << line << " #" << i;
            EXPECT_EQ(runs[i].press.gapMs, want[i].gap) << line << " #" << i;
            EXPECT_EQ(runs[i].count, want[i].count) << line << " #" << i;
            EXPECT_EQ(runs[i].press.modifiers, 0u) << line;
        }
    }
}

TEST(DeviceTerms, MalformedKeyPressesAreRefused) {
    for (const char* line : {"", "0", "256", "-1", "x", "140+", "140+300x", "140*", "140*0", "140*x", "+300ms",
                             "*3", "140**2", "140*2+300ms", "140++300ms", "136*10001", "136*5000 137*5001",
                             "140+4611686018427387904ms 140+1ms", "140+50000000d*10000"})
        EXPECT_THROW(parseKeyPresses(tokenize(line)), UsageError) << line;
}

TEST(DeviceTerms, VolumeAsTwoChannelsOrOneWord) {
    const std::pair<std::vector<std::string>, DWORD> cases[] = {
        {{"32768", "32768"}, 0x80008000},
        {{"0", "65535"}, 0xFFFF0000},
        {{"0xFFFF", "0"}, 0x0000FFFF},
        {{"0x12345678"}, 0x12345678},
        {{"4294967295"}, 0xFFFFFFFF},
        {{"0"}, 0},
    };
    for (const auto& [words, want] : cases) EXPECT_EQ(parseVolume(words), want) << words[0];
    const std::vector<std::vector<std::string>> bad = {
        {}, {"65536", "0"}, {"0", "65536"}, {"0x100000000"}, {"1", "2", "3"}, {"-1"}, {"loud"}};
    for (const auto& words : bad) EXPECT_THROW(parseVolume(words), UsageError) << words.size();
    EXPECT_EQ(volumeText(0x038C0000), "left 0, right 908 (0x038c0000)");
}

TEST(DeviceTerms, DisplayStatesByNameOrNumber) {
    const std::pair<const char*, ULONG> cases[] = {
        {"on", VideoPowerOn}, {"standby", VideoPowerStandBy}, {"suspend", VideoPowerSuspend},
        {"off", VideoPowerOff}, {"4", 4},  {"0", 0},  {"0x7", 7},
    };
    for (const auto& [text, state] : cases) EXPECT_EQ(parseDisplayState(text), state) << text;
    for (const char* text : {"", "On", "OFF", "dim", "-1", "4294967296"})
        EXPECT_THROW(parseDisplayState(text), UsageError) << text;
    EXPECT_EQ(displayStateText(VideoPowerOff), "off (4)");
    EXPECT_EQ(displayStateText(0), "0 (no state a driver should hold)");
}

TEST(DeviceTerms, DevicePathsPlainOrBesideAProgram) {
    struct Case {
        const char* text;
        const char* program;
        const char* path;
    };
    const Case cases[] = {
        {"\\Temp\\beep.wav", "", "\\Temp\\beep.wav"},
        {"/Temp/beep.wav", "", "/Temp/beep.wav"},
        {"Temp\\a\\..\\b.wav", "", "Temp\\a\\..\\b.wav"},
        {"rcbridge:beep.wav", "rcbridge", "beep.wav"},
        {"rcbridge:sub\\x.wav", "rcbridge", "sub\\x.wav"},
        {"rcbridge:sub\\..\\x.wav", "rcbridge", "sub\\..\\x.wav"},
    };
    for (const Case& c : cases) {
        const DevicePath path = DevicePath::parse(c.text);
        EXPECT_EQ(path.program, c.program) << c.text;
        EXPECT_EQ(path.path, c.path) << c.text;
    }
    for (const char* text : {"", "\\..\\x", "a\\..\\..\\x", "nosuch:beep.wav", "C:\\beep.wav", "rcbridge:",
                             "rcbridge:..\\x.wav", "rcbridge:.", "rcbridge:a:b", "\\Temp\\*.wav", "rcbridge:beep?.wav"})
        EXPECT_THROW(DevicePath::parse(text), UsageError) << text;
}

TEST(DeviceTerms, DevicePathsResolveOnTheDevice) {
    pocket::PocketDevice device;
    const std::pair<const char*, std::string> cases[] = {
        {"\\Temp\\beep.wav", "\\Temp\\beep.wav"},
        {"/Temp//./beep.wav", "\\Temp\\beep.wav"},
        {"Temp\\a\\..\\b.wav", "\\Temp\\b.wav"},
        {"rcbridge:beep.wav", device.installFolder("rcbridge") + "\\beep.wav"},
        {"rcbridge:sub\\..\\x.wav", device.installFolder("rcbridge") + "\\x.wav"},
    };
    for (const auto& [text, want] : cases) EXPECT_EQ(DevicePath::parse(text).resolve(device), want) << text;
}

TEST(DeviceTerms, SilentWavesLastWhatWasAsked) {
    for (std::uint64_t ms : {0ull, 1ull, 120ull, 1000ull, 600000ull}) {
        const auto wave = sim::parseWave(silentWave(ms));
        ASSERT_TRUE(wave.has_value()) << ms;
        EXPECT_EQ(wave->durationMs, ms) << ms;
        EXPECT_EQ(wave->channels, 1) << ms;
    }
    // Longer requests are held to the ten minutes the command allows.
    EXPECT_EQ(sim::parseWave(silentWave(600001))->durationMs, 600000u);
}

TEST(DeviceTerms, MessagesModifiersAndKeysByName) {
    const std::pair<UINT, const char*> messages[] = {
        {WM_COMMAND, "WM_COMMAND (0x0111)"}, {WM_CLOSE, "WM_CLOSE (0x0010)"},
        {WM_HOTKEY, "WM_HOTKEY (0x0312)"},   {WM_USER + 1024, "WM_USER+1024 (0x0800)"},
        {WM_APP, "WM_APP+0 (0x8000)"},       {0x0123, "0x0123"},
        {0xC000, "0xc000"},
    };
    for (const auto& [message, name] : messages) EXPECT_EQ(messageName(message), name) << message;
    const std::pair<UINT, const char*> modifiers[] = {
        {0, "none"}, {MOD_ALT, "MOD_ALT"}, {MOD_CONTROL | MOD_KEYUP, "MOD_CONTROL|MOD_KEYUP"}, {0x20 | MOD_WIN, "MOD_WIN|0x20"}};
    for (const auto& [mods, name] : modifiers) EXPECT_EQ(modifierText(mods), name) << mods;
    EXPECT_EQ(keyText(VK_OFF), "VK_OFF (0xdf)");
    EXPECT_EQ(keyText(140), "140 (0x8c)");
}

}  // namespace
