#include "device_terms.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <limits>

#include "arguments.h"
#include "wave.h"
#include "commands.h"
#include "device_path.h"
#include "format.h"
#include "names.h"
#include "shell_terms.h"
#include "utf.h"

namespace pocketsim {

namespace {

// Each press runs the device until it waits; a typo such as *1000000 should not stall the run.
constexpr std::uint64_t kMostPresses = 10000;
// The same bound parseDuration keeps, so that the gaps of one line cannot wrap the clock.
constexpr std::uint64_t kLongestLine = std::uint64_t{1} << 62;
constexpr std::uint64_t kLongestWave = 10 * 60 * 1000;
constexpr DWORD kWaveRate = 8000;  // bytes per second: 8 kHz, 8-bit mono
using Named = sim::NamedValue;

constexpr std::array<Named, 4> kDisplayStates{{
    {VideoPowerOn, "on"}, {VideoPowerStandBy, "standby"}, {VideoPowerSuspend, "suspend"}, {VideoPowerOff, "off"}}};


void putLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

}  // namespace

std::vector<PressRun> parseKeyPresses(const std::vector<std::string>& words) {
    if (words.empty()) throw UsageError("no key to press");
    std::vector<PressRun> runs;
    std::uint64_t presses = 0;
    std::uint64_t total = 0;
    for (const std::string& word : words) {
        std::string_view rest = word;
        std::uint64_t count = 1;
        if (const std::size_t star = rest.find('*'); star != std::string_view::npos) {
            count = parseNumber(rest.substr(star + 1), kMostPresses, "press count");
            if (count == 0) throw UsageError("press count 0 in " + quoted(word) + " presses nothing");
            rest = rest.substr(0, star);
        }
        std::uint64_t gap = 0;
        if (const std::size_t plus = rest.find('+'); plus != std::string_view::npos) {
            gap = parseDuration(rest.substr(plus + 1));
            rest = rest.substr(0, plus);
        }
        const auto vk = static_cast<UINT>(parseNumber(rest, 255, "key"));
        if (vk == 0) throw UsageError("0 is no key (keys are 1 to 255)");
        presses += count;
        if (presses > kMostPresses) throw UsageError("more than " + std::to_string(kMostPresses) + " presses on one line");
        if (gap != 0 && count > (kLongestLine - total) / gap)
            throw UsageError("the gaps of " + quoted(word) + " add up to too long a time");
        total += gap * count;
        runs.push_back(PressRun{pocket::KeyPress{vk, gap, 0}, count});
    }
    return runs;
}

DWORD parseVolume(const std::vector<std::string>& words) {
    if (words.size() == 1) return static_cast<DWORD>(parseNumber(words[0], 0xFFFFFFFFu, "volume"));
    if (words.size() != 2) throw UsageError("give the volume as LEFT RIGHT or as one 32-bit word");
    const auto left = static_cast<DWORD>(parseNumber(words[0], 0xFFFF, "left volume"));
    const auto right = static_cast<DWORD>(parseNumber(words[1], 0xFFFF, "right volume"));
    return left | right << 16;
}

std::string volumeText(DWORD volume) {
    return "left " + std::to_string(LOWORD(volume)) + ", right " + std::to_string(HIWORD(volume)) + " (" +
           hex(volume, 8) + ")";
}

ULONG parseDisplayState(std::string_view text) {
    for (const Named& state : kDisplayStates)
        if (text == state.name) return state.value;
    if (!text.empty() && text[0] >= '0' && text[0] <= '9')
        return static_cast<ULONG>(parseNumber(text, std::numeric_limits<std::uint32_t>::max(), "display state"));
    throw UsageError("unknown display state " + quoted(text) + " (on, standby, suspend, off or a number)");
}

std::string displayStateText(ULONG state) {
    for (const Named& s : kDisplayStates)
        if (s.value == state) return std::string(s.name) + " (" + std::to_string(state) + ")";
    return std::to_string(state) + " (no state a driver should hold)";
}

bool hasDrive(std::string_view text) {
    return text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':' &&
           (text.size() == 2 || text[2] == '\\' || text[2] == '/');
}

std::string parseDrivePath(std::string_view text, bool rootAllowed, std::string_view what) {
    const std::string shown = quoted(text);
    if (!hasDrive(text) || text.size() == 2)
        throw UsageError(std::string(what) + " " + shown + " is not a full path with a drive, such as D:\\Setup");
    if (text.find_first_of("*?") != std::string_view::npos)
        throw UsageError(std::string(what) + " " + shown + " has a wildcard");
    const auto below = sim::normaliseDevicePath(sim::fromUtf8(std::string(text.substr(2))));
    if (!below) throw UsageError(std::string(what) + " " + shown + " climbs above the drive's root");
    if (*below == u"\\" && !rootAllowed) throw UsageError(std::string(what) + " " + shown + " is a drive's root");
    return std::string(text.substr(0, 2)) + sim::toUtf8(*below);
}

std::string shownPath(std::u16string_view normalised) {
    std::string path = sim::toUtf8(normalised);
    if (path.size() >= 3 && path[0] == '\\' && hasDrive(std::string_view(path).substr(1))) {
        path.erase(0, 1);
        if (path.size() == 2) path += '\\';
    }
    return path;
}

DevicePath DevicePath::parse(std::string_view text) {
    if (text.empty()) throw UsageError("missing file path");
    if (text.find_first_of("*?") != std::string_view::npos)
        throw UsageError("file path " + quoted(text) + " has a wildcard");
    DevicePath out;
    const bool desktop = parsingMachine() == sim::Machine::Desktop;
    if (hasDrive(text)) {
        if (!desktop) throw UsageError("file path " + quoted(text) + " has a drive; a handheld's paths begin with \\");
        out.path = parseDrivePath(text, true, "file path");
        return out;
    }
    std::string_view below = text;
    if (const std::size_t colon = text.find(':'); colon != std::string_view::npos) {
        const std::string program(text.substr(0, colon));
        try {
            out.program = requireProgram(program);
        } catch (const UsageError& e) {
            throw UsageError(std::string(e.what()) + "; PROGRAM:NAME names a file beside a program");
        }
        below = text.substr(colon + 1);
        if (below.empty() || below.find(':') != std::string_view::npos)
            throw UsageError("bad file path " + quoted(text) + ": give PROGRAM:NAME, such as rcbridge:beep.wav");
        // Below the program's folder and no higher: "rcbridge:..\x" would name another folder's file.
        const auto inside = sim::normaliseDevicePath(u"\\x\\" + sim::fromUtf8(std::string(below)));
        if (!inside || inside->rfind(u"\\x\\", 0) != 0)
            throw UsageError("file path " + quoted(text) + " leaves the program's folder");
    } else if (desktop) {
        throw UsageError("file path " + quoted(text) + " has no drive; a desktop PC's paths begin with one, such as C:\\");
    } else if (!sim::normaliseDevicePath(sim::fromUtf8(std::string(text)))) {
        throw UsageError("file path " + quoted(text) + " climbs above the root");
    }
    out.path = std::string(below);
    return out;
}

std::string DevicePath::resolve(const pocket::PocketDevice& device) const {
    const std::string whole = program.empty() ? path : device.installFolder(program) + "\\" + path;
    return shownPath(sim::normaliseDevicePath(sim::fromUtf8(whole)).value_or(u"\\"));
}

std::vector<std::uint8_t> silentWave(std::uint64_t milliseconds) {
    milliseconds = std::min(milliseconds, kLongestWave);
    const auto dataBytes = static_cast<std::uint32_t>(milliseconds * kWaveRate / 1000);
    std::vector<std::uint8_t> out;
    out.reserve(44 + dataBytes);
    auto tag = [&out](const char* fourCc) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(fourCc[i]));
    };
    tag("RIFF");
    putLittleEndian(out, 36 + dataBytes, 4);
    tag("WAVE");
    tag("fmt ");
    putLittleEndian(out, 16, 4);
    putLittleEndian(out, 1, 2);  // PCM
    putLittleEndian(out, 1, 2);  // mono
    putLittleEndian(out, kWaveRate, 4);
    putLittleEndian(out, kWaveRate, 4);
    putLittleEndian(out, 1, 2);  // block align
    putLittleEndian(out, 8, 2);  // bits per sample
    tag("data");
    putLittleEndian(out, dataBytes, 4);
    out.insert(out.end(), dataBytes, 0x80);  // 8-bit silence is the midpoint
    return out;
}

std::string messageName(UINT message) { return sim::messageName(message); }

std::string modifierText(UINT modifiers) { return sim::modifierText(modifiers); }

std::string keyText(UINT vk) {
    return (vk == VK_OFF ? std::string("VK_OFF") : std::to_string(vk)) + " (" + hex(vk, 2) + ")";
}

std::string hotKeyText(const pocket::PocketDevice& device, const pocket::HotKeyView& key) {
    return "key " + keyText(key.vk) + ", modifiers " + modifierText(key.modifiers) + ": held by " +
           ownerText(device, key.pid) + (key.owner ? ", hwnd " + handleText(key.owner) : ", its thread") + ", id " +
           std::to_string(key.id);
}

std::string soundText(const pocket::PocketDevice& device, const pocket::SoundView& sound) {
    std::string text = sound.path + " by " + ownerText(device, sound.pid) + ", " +
                       (sound.async ? "async" : "sync (the program waits)") + ", " + timeStamp(sound.start) + " to ";
    if (sound.cut) return text + timeStamp(sound.actualEnd) + ", cut (planned to end " + timeStamp(sound.plannedEnd) + ")";
    if (sound.actualEnd > device.now()) return text + timeStamp(sound.plannedEnd) + ", playing";
    return text + timeStamp(sound.actualEnd) + ", played to the end";
}

std::string keyboardEventText(const pocket::PocketDevice& device, const sim::KeyboardEvent& e) {
    return "keybd_event by " + ownerText(device, e.pid) + ": " + keyText(e.vk) +
           (e.flags & KEYEVENTF_KEYUP ? " up" : " down") + ", scan " + std::to_string(e.scan) + ", flags " +
           hex(e.flags) + ", extra " + std::to_string(e.extra);
}

std::string receivedText(const sim::ReceivedMessage& m) {
    const auto wParam = static_cast<std::uint32_t>(m.wParam);
    const auto lParam = static_cast<std::uint32_t>(m.lParam);
    // The record's address differs from run to run; the output should not.
    const std::string lText = m.message == WM_CREATE ? "its CREATESTRUCT"
                                                     : std::to_string(static_cast<std::int32_t>(lParam)) + " (" + hex(lParam) + ")";
    return messageName(m.message) + ", wParam " + std::to_string(wParam) + " (" + hex(wParam) + "), lParam " + lText;
}

std::string escapeText(const pocket::PocketDevice& device, const sim::EscapeCall& call) {
    const std::string name = sim::escapeName(call.escape);
    return "ExtEscape " + name + " by " + ownerText(device, call.pid) + ", " + std::to_string(call.cbInput) +
           " bytes in, " + std::to_string(call.cbOutput) + " bytes out -> " + std::to_string(call.result);
}

std::optional<HWND> windowHandleIn(const std::string& word) {
    if (word.rfind("hwnd=", 0) != 0) return std::nullopt;
    return reinterpret_cast<HWND>(static_cast<std::uintptr_t>(parseNumber(word.substr(5), 0xFFFFFFFFu, "window handle")));
}

pocket::StandInRecord findStandIn(const pocket::PocketDevice& device, const std::string& className) {
    const std::vector<pocket::StandInRecord> all = device.standIns();
    if (const auto hwnd = windowHandleIn(className)) {
        for (const pocket::StandInRecord& s : all)
            if (s.hwnd == *hwnd) return s;
        throw ActionFailed("no stand-in window has the handle " + className.substr(5));
    }
    std::optional<pocket::StandInRecord> closed;
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        if (it->className != className) continue;
        if (it->open) return *it;
        if (!closed) closed = *it;
    }
    if (closed) return *closed;
    std::string classes;
    for (const pocket::StandInRecord& s : all)
        if (classes.find(quote(s.className)) == std::string::npos) classes += (classes.empty() ? "" : ", ") + quote(s.className);
    throw ActionFailed("no stand-in window of class " + quote(className) + " was added" +
                       (classes.empty() ? "" : " (there are " + classes + ")"));
}

std::string standInName(const pocket::StandInRecord& s) {
    return s.className + " of " + s.program + " (pid " + std::to_string(s.pid) + ")";
}

std::string launchText(const pocket::PocketDevice& device, std::size_t number, const sim::ProcessLaunch& launch) {
    auto given = [](const std::optional<std::u16string>& text) { return text ? quote(sim::toUtf8(*text)) : "NULL"; };
    std::string text = "launch " + std::to_string(number) + " by " + ownerText(device, launch.parentPid) + ": app " +
                       given(launch.applicationName) + ", command " + given(launch.commandLine) + ", folder " +
                       given(launch.currentDirectory) + " (working in " + quote(sim::toUtf8(launch.workingFolder)) + "): ";
    if (launch.started()) return text + "started, pid " + std::to_string(launch.processId);
    const std::string name = errorName(launch.error);
    return text + "failed with " + name + (name.rfind("ERROR_", 0) == 0 ? " (" + std::to_string(launch.error) + ")" : "");
}

}  // namespace pocketsim
