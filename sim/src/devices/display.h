// The display driver: which escapes it supports, and the panel's power state.
#pragma once

#include <windows.h>

#include <cstdint>

namespace sim {

struct DisplayDriver {
    bool supportsPowerManagement = true;
    ULONG powerState = VideoPowerOn;
    // The Length the driver writes into a GETPOWERMANAGEMENT answer. A driver may report more
    // than the 12-byte record; a caller that passes that back as its input size lies about its buffer.
    ULONG reportedLength = sizeof(VIDEO_POWER_MANAGEMENT);

    bool supports(int escape) const;
    // The driver's side of ExtEscape: > 0 done, 0 not implemented, < 0 failed (with `error` set).
    // Reads at most min(cbInput, the record it expects) bytes, writes at most cbOutput bytes.
    int escape(int code, int cbInput, const void* input, int cbOutput, void* output, DWORD& error);
};

}  // namespace sim
