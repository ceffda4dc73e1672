// The shell's notifications (AYGSHELL): what the user sees in the title bar and the bubble.
#pragma once

#include <aygshell.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

struct Notification {
    CLSID clsid{};
    DWORD id = 0;
    SHNP priority = SHNP_INFORM;
    DWORD duration = 0;
    HICON icon = nullptr;
    unsigned iconResourceId = 0;  // the resource the shown icon was loaded from; 0 when none
    DWORD flags = 0;
    HWND sink = nullptr;
    std::u16string html;
    std::u16string title;
    LPARAM lParam = 0;
    std::uint32_t ownerPid = 0;
};

enum class NotificationCall { Add, Update, Remove };

struct NotificationEvent {
    NotificationCall call;
    CLSID clsid{};
    DWORD id = 0;
    DWORD mask = 0;  // SHNUM_* of an update
    LRESULT result = 0;
    std::uint64_t time = 0;
    std::uint32_t pid = 0;
    std::optional<Notification> after;  // the notification as the call left it
};

bool sameClsid(const CLSID& a, const CLSID& b);
std::string clsidText(const CLSID& clsid);
std::optional<CLSID> parseClsid(const std::string& text);

// The commands of the HTML's buttons: every <input type=button name='cmd:N'> gives N.
std::vector<unsigned> htmlButtonCommands(std::u16string_view html);

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
