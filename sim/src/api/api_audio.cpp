// Wave-out volume and PlaySoundW.
#include <mmsystem.h>

#include "api_call.h"
#include "audio.h"
#include "file_system.h"

using namespace sim;

namespace {

// Device 0 is the only wave-out device; no device is ever opened, so every other value names none.
MMRESULT checkDevice(HWAVEOUT device) { return device ? MMSYSERR_BADDEVICEID : MMSYSERR_NOERROR; }

}  // namespace

MMRESULT WINAPI waveOutGetVolume(HWAVEOUT device, LPDWORD volume) {
    ApiCall call("waveOutGetVolume", device, volume);
    if (const MMRESULT error = checkDevice(device)) return call.ret(error);
    if (!volume) return call.ret(MMRESULT{MMSYSERR_INVALPARAM});
    // A failed read leaves *volume as it was: what it holds then is not the volume.
    if (call.injectFault()) return call.ret(MMRESULT{MMSYSERR_ERROR});
    *volume = call.device.audio.volume;
    return call.ret(MMRESULT{MMSYSERR_NOERROR});
}

MMRESULT WINAPI waveOutSetVolume(HWAVEOUT device, DWORD volume) {
    ApiCall call("waveOutSetVolume", device, volume);
    if (const MMRESULT error = checkDevice(device)) return call.ret(error);
    if (call.injectFault()) return call.ret(MMRESULT{MMSYSERR_ERROR});
    call.device.audio.volume = volume;
    call.device.note(VolumeWrite{call.device.clock.now(), call.process.pid, volume});
    return call.ret(MMRESULT{MMSYSERR_NOERROR});
}

// Sounds come from files only: there are no sound aliases, no default sound (so a sound that is
// not found plays nothing, as with SND_NODEFAULT), and SND_MEMORY / SND_RESOURCE are not supported.
// SND_LOOP plays the sound once.
BOOL WINAPI PlaySoundW(LPCWSTR sound, HMODULE module, DWORD flags) {
    ApiCall call("PlaySoundW", sound, module, flags);
    Device& device = call.device;
    Audio& audio = device.audio;
    auto stopPlaying = [&] {
        if (const auto cut = audio.stop(device.clock.now())) device.note(SoundCut{*cut});
    };
    if (!sound) {
        stopPlaying();
        return call.ret(TRUE);
    }
    if ((flags & SND_MEMORY) || ((flags & SND_ALIAS) && !(flags & SND_FILENAME))) return call.ret(FALSE);
    if ((flags & SND_NOSTOP) && audio.playing(device.clock.now())) return call.ret(FALSE);
    // Not waiting, the caller is told nothing of a sound that cannot be played: it is looked for
    // after the call has returned.
    const BOOL notFound = (flags & SND_ASYNC) ? TRUE : FALSE;
    const FileEntry* file = device.files.find(sound);
    if (!file || file->isFolder()) return call.ret(notFound);
    const auto wave = parseWave(file->bytes);
    if (!wave) return call.ret(notFound);
    if (call.injectFault()) return call.ret(FALSE);  // the wave device is busy or gone

    const std::uint64_t now = device.clock.now();
    stopPlaying();
    const std::uint64_t end = now + wave->durationMs;
    const std::uint64_t started = device.note(SoundStarted{sound, call.process.pid, now, end, (flags & SND_ASYNC) != 0});
    const std::uint64_t number = audio.play(started, end, now);
    if (!(flags & SND_ASYNC) && wave->durationMs > 0) {
        // Played to its end, or until another sound or a stop cuts it short.
        device.scheduler.block(
            call.thread, [&device, number] { return device.clock.now() >= device.audio.endOf(number); },
            [&device, number]() -> std::optional<std::uint64_t> { return device.audio.endOf(number); });
    }
    return call.ret(TRUE);
}
