// Wave-out volume, the duration of WAV files, and sounds played in virtual time.
#include <gtest/gtest.h>

#include <windows.h>
#include <mmsystem.h>

#include "audio.h"
#include "probe.h"
#include "wave_bytes.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes withChunks(std::initializer_list<std::pair<const char*, Bytes>> chunks) {
    Bytes all;
    for (const auto& [tag, body] : chunks) wave::chunk(all, tag, body, static_cast<std::uint32_t>(body.size()));
    return wave::riff(all);
}

struct WaveCase {
    const char* name;
    Bytes bytes;
    std::optional<std::uint64_t> durationMs;
};

class WaveDuration : public ::testing::TestWithParam<WaveCase> {};

Bytes cutData() {
    Bytes chunks;
    wave::chunk(chunks, "fmt ", wave::format(1000), 16);
    wave::chunk(chunks, "data", Bytes(100), 5000);  // says 5000 bytes, holds 100
    return wave::riff(chunks);
}

Bytes notWave() {
    Bytes b = wave::pcm(1000, 10);
    b[8] = 'A';
    return b;
}

}  // namespace

TEST_P(WaveDuration, IsTheDataOverTheByteRateRoundedUp) {
    const auto info = sim::parseWave(GetParam().bytes);
    ASSERT_EQ(info.has_value(), GetParam().durationMs.has_value());
    if (info) {
        EXPECT_EQ(info->durationMs, *GetParam().durationMs);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Audio, WaveDuration,
    ::testing::Values(
        WaveCase{"Exact", wave::pcm(8000, 4000), 500},
        WaveCase{"RoundedUp", wave::pcm(8000, 4001), 501},
        WaveCase{"Empty", wave::pcm(8000, 0), 0},
        WaveCase{"BeyondADword", wave::pcm(1, 0x00400000), 0x00400000ull * 1000},
        WaveCase{"OddChunkPadded",
                 withChunks({{"LIST", Bytes(3)}, {"fmt ", wave::format(1000)}, {"data", Bytes(7)}}), 7},
        WaveCase{"DataBeforeFormat", withChunks({{"data", Bytes(250)}, {"fmt ", wave::format(1000)}}), 250},
        WaveCase{"DataCutShort", cutData(), 100},
        WaveCase{"NoData", withChunks({{"fmt ", wave::format(1000)}}), std::nullopt},
        WaveCase{"NoFormat", withChunks({{"data", Bytes(8)}}), std::nullopt},
        WaveCase{"ShortFormat", withChunks({{"fmt ", Bytes(14)}, {"data", Bytes(8)}}), std::nullopt},
        WaveCase{"ZeroByteRate", wave::pcm(0, 10), std::nullopt},
        WaveCase{"NotWave", notWave(), std::nullopt},
        WaveCase{"Truncated", Bytes{'R', 'I', 'F', 'F', 0xFF, 0xFF}, std::nullopt},
        WaveCase{"Nothing", {}, std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

namespace {

struct VolumeCase {
    const char* name;
    UINT_PTR deviceId;
    bool nullPointer;
    bool fault;
    MMRESULT result;
    DWORD seen;  // what the caller's word holds afterwards (prefilled with 0xDEADBEEF)
};

class VolumeRead : public ::testing::TestWithParam<VolumeCase> {};

}  // namespace

TEST_P(VolumeRead, FillsTheWordOnlyOnSuccess) {
    pocket::PocketDevice device;
    device.setVolume(0x12345678);
    const VolumeCase c = GetParam();
    if (c.fault) device.failCall("waveOutGetVolume");
    DWORD word = 0xDEADBEEF;
    MMRESULT result = 99;
    inside(device).startHosted("v", [&] {
        result = waveOutGetVolume(reinterpret_cast<HWAVEOUT>(c.deviceId), c.nullPointer ? nullptr : &word);
        return 0;
    });
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(word, c.seen);
}

INSTANTIATE_TEST_SUITE_P(
    Audio, VolumeRead,
    ::testing::Values(VolumeCase{"Device0", 0, false, false, MMSYSERR_NOERROR, 0x12345678},
                      VolumeCase{"OtherDevice", 1, false, false, MMSYSERR_BADDEVICEID, 0xDEADBEEF},
                      VolumeCase{"NullPointer", 0, true, false, MMSYSERR_INVALPARAM, 0xDEADBEEF},
                      VolumeCase{"ReadFails", 0, false, true, MMSYSERR_ERROR, 0xDEADBEEF}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Volume, WritesReachDeviceZeroOnly) {
    pocket::PocketDevice device;
    device.setVolume(0);
    std::vector<MMRESULT> results;
    inside(device).startHosted("v", [&] {
        results.push_back(waveOutSetVolume(nullptr, 0xFFFF0444));
        results.push_back(waveOutSetVolume(reinterpret_cast<HWAVEOUT>(2), 1));
        return 0;
    });
    EXPECT_EQ(results, (std::vector<MMRESULT>{MMSYSERR_NOERROR, MMSYSERR_BADDEVICEID}));
    EXPECT_EQ(device.volume(), 0xFFFF0444u);
    ASSERT_EQ(device.volumeWrites().size(), 1u);
}

namespace {

class SoundsTest : public ::testing::Test {
protected:
    SoundsTest() {
        probe::reset();
        device.putFile("\\Sounds\\half.wav", wave::pcm(8000, 4000));  // 500 ms
        device.putFile("\\Sounds\\tenth.wav", wave::pcm(8000, 800));  // 100 ms
        device.putFile("\\Sounds\\bad.wav", notWave());
    }
    void TearDown() override { EXPECT_TRUE(device.errors().empty()); }

    std::optional<int> play(const probe::Probe& p, const char16_t* path, DWORD flags) {
        return probe::run(device, p, [path, flags] { return PlaySoundW(path, nullptr, flags); });
    }

    pocket::PocketDevice device;
};

}  // namespace

TEST_F(SoundsTest, ASoundPlayedToItsEndBlocksForItsDuration) {
    const auto p = probe::start(device, "p");
    device.advance(10);
    EXPECT_FALSE(play(p, u"\\SOUNDS\\Half.WAV", SND_FILENAME));  // still playing
    device.advance(499);
    EXPECT_FALSE(probe::lastResult);
    device.advance(1);
    EXPECT_EQ(probe::lastResult, TRUE);
    ASSERT_EQ(device.sounds().size(), 1u);
    const auto s = device.sounds()[0];
    EXPECT_EQ(s.path, "\\SOUNDS\\Half.WAV");
    EXPECT_EQ(s.pid, p.pid);
    EXPECT_EQ(s.start, 10u);
    EXPECT_EQ(s.plannedEnd, 510u);
    EXPECT_EQ(s.actualEnd, 510u);
    EXPECT_FALSE(s.async);
    EXPECT_FALSE(s.cut);
}

TEST_F(SoundsTest, AnAsyncSoundReturnsAtOnceAndANewSoundCutsIt) {
    const auto p = probe::start(device, "p");
    EXPECT_EQ(play(p, u"\\Sounds\\half.wav", SND_FILENAME | SND_ASYNC), TRUE);
    device.advance(200);
    EXPECT_EQ(play(p, u"\\Sounds\\tenth.wav", SND_FILENAME | SND_ASYNC), TRUE);
    device.advance(50);
    EXPECT_EQ(play(p, nullptr, 0), TRUE);  // stops the second one
    const auto s = device.sounds();
    ASSERT_EQ(s.size(), 2u);
    EXPECT_TRUE(s[0].async);
    EXPECT_EQ(s[0].plannedEnd, 500u);
    EXPECT_EQ(s[0].actualEnd, 200u);
    EXPECT_TRUE(s[0].cut);
    EXPECT_EQ(s[1].start, 200u);
    EXPECT_EQ(s[1].plannedEnd, 300u);
    EXPECT_EQ(s[1].actualEnd, 250u);
}

TEST_F(SoundsTest, ASoundCutByAnotherProcessReleasesTheWaitingCaller) {
    const auto waiter = probe::start(device, "waiter");
    const auto other = probe::start(device, "other");
    play(waiter, u"\\Sounds\\half.wav", SND_FILENAME);
    device.advance(120);
    EXPECT_FALSE(probe::lastResult);
    play(other, u"\\Sounds\\tenth.wav", SND_FILENAME | SND_ASYNC);
    EXPECT_EQ(probe::lastResult, TRUE);
    EXPECT_EQ(device.sounds()[0].actualEnd, 120u);
    device.advance(0);
    EXPECT_FALSE(inside(device).scheduler.nextWakeTime());
}

TEST_F(SoundsTest, NothingPlaysWithoutAPlayableFile) {
    const auto p = probe::start(device, "p");
    play(p, u"\\Sounds\\half.wav", SND_FILENAME | SND_ASYNC);
    device.advance(10);
    struct Case {
        const char16_t* path;
        DWORD flags;
    };
    for (const Case c : {Case{u"\\Sounds\\gone.wav", SND_FILENAME}, Case{u"\\Sounds\\bad.wav", SND_FILENAME},
                         Case{u"\\Sounds", SND_FILENAME}, Case{u"half", SND_ALIAS},
                         Case{u"\\Sounds\\tenth.wav", SND_FILENAME | SND_ASYNC | SND_NOSTOP}}) {
        EXPECT_EQ(play(p, c.path, c.flags), FALSE);
    }
    ASSERT_EQ(device.sounds().size(), 1u);
    EXPECT_FALSE(device.sounds()[0].cut);  // a failed request leaves the playing sound alone
    device.failCall("PlaySoundW", inside(device).faults.occurrences("PlaySoundW") + 1);
    EXPECT_EQ(play(p, u"\\Sounds\\tenth.wav", SND_FILENAME | SND_ASYNC), FALSE);
    EXPECT_EQ(device.sounds().size(), 1u);
}
