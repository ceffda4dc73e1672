// The display driver: which escapes it supports, and the panel's power state.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace sim {

struct EscapeCall {
    std::uint64_t time = 0;
    std::uint32_t pid = 0;
    int escape = 0;
    int cbInput = 0;
    int cbOutput = 0;
    int result = 0;
};

struct DisplayDriver {
    bool supportsPowerManagement = true;
    ULONG powerState = VideoPowerOn;
    // The Length the driver writes into a GETPOWERMANAGEMENT answer. A driver may report more
    // than the 12-byte record; a caller that passes that back as its input size lies about its buffer.
    ULONG reportedLength = sizeof(VIDEO_POWER_MANAGEMENT);
    std::vector<EscapeCall> escapes;

    bool supports(int escape) const;
    // The driver's side of ExtEscape: > 0 done, 0 not implemented, < 0 failed (with `error` set).
    // Reads at most min(cbInput, the record it expects) bytes, writes at most cbOutput bytes.
    int escape(int code, int cbInput, const void* input, int cbOutput, void* output, DWORD& error);
};

}  // namespace sim
