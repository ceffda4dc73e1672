// The words a script uses for the device's keys, sound, display, files and the windows of
// outside programs, read and written, and the lines that tell what a command brought about.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pocket_device.h"

namespace pocketsim {

// One word of a "press" line: a key pressed `count` times, each time after the gap.
struct PressRun {
    pocket::KeyPress press;
    std::uint64_t count = 1;
};
// "140", "0x8c", "140+300ms", "137*30", "140+300ms*2", one run a word. Throws UsageError.
std::vector<PressRun> parseKeyPresses(const std::vector<std::string>& words);

// "LEFT RIGHT" (each 0 to 65535) or one 32-bit word with the left channel in its low half.
DWORD parseVolume(const std::vector<std::string>& words);
// "left 32768, right 32768 (0x80008000)".
std::string volumeText(DWORD volume);

// The display's power states by name (on, standby, suspend, off) or number.
ULONG parseDisplayState(std::string_view text);
// "off (4)"; a number the driver should never hold shows as it is.
std::string displayStateText(ULONG state);

// A file on the device: "\Program Files\rcbridge\beep.wav" ('/' may stand for '\'), on a
// desktop PC "C:\Tools\a.txt", or "rcbridge:beep.wav" for a file in the folder that program is
// installed in.
struct DevicePath {
    std::string program;  // empty for a plain path
    std::string path;     // the plain path, or the name below the program's folder

    static DevicePath parse(std::string_view text);  // throws UsageError; paths as the parsing machine has them
    std::string resolve(const pocket::PocketDevice& device) const;  // as shownPath writes it
};

// Whether a path begins with a drive: "D:", "d:\x", "D:/x".
bool hasDrive(std::string_view text);
// A full path on a desktop PC's drive, such as "D:\Setup" ('/' may stand for '\'), without
// "." and ".." parts or doubled separators; the drive's root is "D:\". `what` names it in errors.
std::string parseDrivePath(std::string_view text, bool rootAllowed, std::string_view what);
// A path as the file system keeps it ("\D:\Setup"), as a user writes it ("D:\Setup").
std::string shownPath(std::u16string_view normalised);

// A silent 8 kHz, 8-bit mono WAVE file that plays for `milliseconds`.
std::vector<std::uint8_t> silentWave(std::uint64_t milliseconds);

// "WM_COMMAND (0x0111)", "WM_USER+1024 (0x0800)", "0x0123".
std::string messageName(UINT message);
// "none", "MOD_ALT|MOD_KEYUP".
std::string modifierText(UINT modifiers);
// "VK_OFF (0xdf)", "140 (0x8c)".
std::string keyText(UINT vk);

std::string hotKeyText(const pocket::PocketDevice& device, const pocket::HotKeyView& key);
std::string soundText(const pocket::PocketDevice& device, const pocket::SoundView& sound);
std::string keyboardEventText(const pocket::PocketDevice& device, const sim::KeyboardEvent& event);
std::string receivedText(const sim::ReceivedMessage& message);
std::string escapeText(const pocket::PocketDevice& device, const sim::EscapeCall& call);

// The stand-in a script names by its window class (exactly as given): the most recent open
// one, else the most recent closed one. Throws ActionFailed when there was none.
// "hwnd=0x00010014": a window by its handle (which the same script always gives it), where a
// class would be ambiguous or the window is gone; nothing for any other word.
std::optional<HWND> windowHandleIn(const std::string& word);

pocket::StandInRecord findStandIn(const pocket::PocketDevice& device, const std::string& className);
// "TUNELARK of tunelark (pid 4097)".
std::string standInName(const pocket::StandInRecord& standIn);

// A process a program asked to create: who asked, the application name, command line and
// current folder as given, the folder it would start in, and whether it was made. From 1.
std::string launchText(const pocket::PocketDevice& device, std::size_t number, const sim::ProcessLaunch& launch);

}  // namespace pocketsim
