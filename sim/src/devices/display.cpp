#include "display.h"

#include <cstring>

namespace sim {

namespace {

constexpr int kRecordSize = sizeof(VIDEO_POWER_MANAGEMENT);

}  // namespace

bool DisplayDriver::supports(int code) const {
    switch (code) {
    case QUERYESCSUPPORT: return true;
    case SETPOWERMANAGEMENT:
    case GETPOWERMANAGEMENT: return supportsPowerManagement;
    default: return false;
    }
}

int DisplayDriver::escape(int code, int cbInput, const void* input, int cbOutput, void* output, DWORD& error) {
    if (!supports(code)) return 0;
    switch (code) {
    case QUERYESCSUPPORT: {
        if (!input || cbInput < static_cast<int>(sizeof(DWORD))) {
            error = ERROR_INVALID_PARAMETER;
            return -1;
        }
        DWORD asked = 0;
        std::memcpy(&asked, input, sizeof asked);
        return supports(static_cast<int>(asked)) ? 1 : 0;
    }
    case GETPOWERMANAGEMENT: {
        if (!output || cbOutput < kRecordSize) {
            error = ERROR_INVALID_PARAMETER;
            return -1;
        }
        const VIDEO_POWER_MANAGEMENT answer{reportedLength, 1, powerState};
        std::memcpy(output, &answer, kRecordSize);
        return 1;
    }
    case SETPOWERMANAGEMENT: {
        if (!input || cbInput < kRecordSize) {
            error = ERROR_INVALID_PARAMETER;
            return -1;
        }
        VIDEO_POWER_MANAGEMENT asked{};
        std::memcpy(&asked, input, kRecordSize);
        if (asked.Length < static_cast<ULONG>(kRecordSize) || asked.PowerState < VideoPowerOn ||
            asked.PowerState > VideoPowerOff) {
            error = ERROR_INVALID_PARAMETER;
            return -1;
        }
        powerState = asked.PowerState;
        return 1;
    }
    }
    return 0;
}

}  // namespace sim
