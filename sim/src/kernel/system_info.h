// What the device says about itself: its operating system version and platform type.
#pragma once

#include <windows.h>

#include <string>

namespace sim {

struct SystemInfo {
    DWORD majorVersion = 4;
    DWORD minorVersion = 20;
    DWORD buildNumber = 1081;
    DWORD platformId = VER_PLATFORM_WIN32_CE;
    std::u16string platformType = u"PocketPC";
};

}  // namespace sim
