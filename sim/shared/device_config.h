// What a device is made of and reports, as its driver chooses: the machine, its screen and shell,
// the system it says it runs, and the counts of handles its programs hold.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace sim {

// A handheld runs the device programs; a desktop PC runs the setup launcher.
enum class Machine { Handheld, Desktop };

struct DeviceConfig {
    int screenWidth = 240;
    int screenHeight = 320;
    std::uint32_t startTickCount = 0;
    bool shell = false;        // boot the shell's taskbar and desktop (the tap-close program needs them)
    int taskbarWidth = -1;     // -1: the screen's width
    int taskbarHeight = 26;
    Machine machine = Machine::Handheld;
    UINT ansiCodePage = 1252;  // 1252 or 932: what the 8-bit ("A") functions convert with
};

// The shell's own close button: the taskbar's rightmost pixels, where a tap closes the
// application in front.
constexpr int kShellCloseBand = 25;

// What the device says about itself: its operating system version and platform type.
struct SystemInfo {
    DWORD majorVersion = 4;
    DWORD minorVersion = 20;
    DWORD buildNumber = 1081;
    DWORD platformId = VER_PLATFORM_WIN32_CE;
    std::u16string platformType = u"PocketPC";
};

// Handles of the kernel and user objects that programs own, counted per process so that leaks show.
enum class HandleKind { Window, Icon, Menu, DeviceContext, Mutex, RegistryKey, Process, Thread };
inline constexpr std::size_t kHandleKindCount = 8;
std::string_view handleKindName(HandleKind kind);

struct HandleCounts {
    std::array<std::int64_t, kHandleKindCount> live{};
    std::array<std::uint64_t, kHandleKindCount> opened{};
    std::uint64_t badReleases = 0;  // releases of a handle that was not open, or of the wrong kind

    std::int64_t liveOf(HandleKind kind) const { return live[static_cast<std::size_t>(kind)]; }
    std::uint64_t openedOf(HandleKind kind) const { return opened[static_cast<std::size_t>(kind)]; }
};

// How a stand-in window looks and behaves.
struct StandInOptions {
    DWORD style = WS_VISIBLE;
    DWORD exStyle = 0;
    bool refusesToClose = false;     // WM_CLOSE is recorded and ignored
    bool closesWhenSentBack = false; // destroys itself when the shell sends it to the background
    bool foreground = false;         // comes to the front once made
};

}  // namespace sim
