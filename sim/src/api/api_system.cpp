// What the system says about itself: version and platform type.
#include <algorithm>

#include "api_call.h"

using namespace sim;

BOOL WINAPI GetVersionExW(LPOSVERSIONINFOW info) {
    ApiCall call("GetVersionExW", info);
    if (!info || info->dwOSVersionInfoSize < sizeof(OSVERSIONINFOW)) return call.fail(ERROR_INSUFFICIENT_BUFFER, FALSE);
    if (call.injectFault()) return call.fail(ERROR_INVALID_PARAMETER, FALSE);
    const SystemInfo& system = call.device.system;
    info->dwMajorVersion = system.majorVersion;
    info->dwMinorVersion = system.minorVersion;
    info->dwBuildNumber = system.buildNumber;
    info->dwPlatformId = system.platformId;
    info->szCSDVersion[0] = 0;
    return call.ret(TRUE);
}

BOOL WINAPI SystemParametersInfoW(UINT action, UINT size, PVOID data, UINT winIni) {
    ApiCall call("SystemParametersInfoW", action, size, winIni);
    if (action != SPI_GETPLATFORMTYPE) return call.fail(ERROR_INVALID_PARAMETER, FALSE);
    const std::u16string& type = call.device.system.platformType;
    // The size is in bytes and must hold the text and its terminator.
    if (!data || size < (type.size() + 1) * sizeof(WCHAR)) return call.fail(ERROR_INSUFFICIENT_BUFFER, FALSE);
    if (call.injectFault()) return call.fail(ERROR_INVALID_PARAMETER, FALSE);
    WCHAR* out = static_cast<WCHAR*>(data);
    std::copy(type.begin(), type.end(), out);
    out[type.size()] = 0;
    return call.ret(TRUE);
}
