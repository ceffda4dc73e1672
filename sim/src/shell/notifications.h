// The shell's notifications (AYGSHELL): what the user sees in the title bar and the bubble.
#pragma once

#include <aygshell.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "records.h"

namespace sim {

class NotificationCenter {
public:
    // Each returns what happened, with the shell's answer, for the journal.
    NotificationEvent add(const Notification& n, std::uint64_t time);
    NotificationEvent update(DWORD mask, const Notification& fields, std::uint64_t time, std::uint32_t pid);
    NotificationEvent remove(const CLSID& clsid, DWORD id, std::uint64_t time, std::uint32_t pid);

    const Notification* find(const CLSID& clsid, DWORD id) const;
    const std::vector<Notification>& active() const { return active_; }

private:
    std::vector<Notification> active_;
};

}  // namespace sim
