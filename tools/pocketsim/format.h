// How the tool prints what it observes on the device; everything here is deterministic text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "pocket_device.h"

namespace pocketsim {

// Virtual time since the device booted, with millisecond precision: "[  5400.450s]" in the first
// day, "[1d 02:03:04.500]" after it.
std::string timeStamp(std::uint64_t milliseconds);
// Width of a time stamp and the blank after it, so that detail lines line up under the command.
inline constexpr std::size_t kStampWidth = 14;

std::string hex(std::uint64_t value, int digits = 0);
std::string handleText(const void* handle);
std::string quote(const std::string& text);

std::string powerText(const SYSTEM_POWER_STATUS_EX& status);
std::string processText(const pocket::ProcessView& process);
std::string windowText(const pocket::WindowView& window);
std::string timerText(const pocket::TimerView& timer, std::uint64_t now);
std::vector<std::string> notificationText(const pocket::NotificationView& n, const std::vector<pocket::WindowView>& windows);
std::string historyText(const sim::NotificationEvent& event);
std::string traceText(const pocket::CallView& call);
// "dword 3600000 (0x0036ee80)", "sz \"text\"", "binary 01 02": a value as a user would read it.
std::string registryValueText(const sim::RegistryValue& value);

}  // namespace pocketsim
