// Driver's view of a simulated device: start programs, act as the user and the platform,
// and observe what the user, the shell and other programs would see.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device.h"
#include "resources.h"

namespace pocket {

struct ProcessView {
    std::uint32_t pid = 0;
    std::string name;
    bool running = false;
    std::optional<int> exitCode;
    sim::HandleCounts handles;                  // live now (at exit for an ended process)
};

struct WindowView {
    HWND hwnd = nullptr;
    std::uint32_t pid = 0;
    std::string process;
    std::string className;
    std::string title;
    DWORD style = 0;
    DWORD exStyle = 0;
};

struct TimerView {
    HWND hwnd = nullptr;
    std::uint32_t pid = 0;
    std::string process;
    UINT_PTR id = 0;
    UINT period = 0;
    std::uint64_t due = 0;
};

struct NotificationView {
    std::string clsid;
    DWORD id = 0;
    unsigned iconId = 0;  // resource id of the icon shown, 0 for none
    bool iconHandleAlive = false;
    std::string html;
    std::string title;
    DWORD flags = 0;
    int priority = 0;
    DWORD duration = 0;
    HWND sink = nullptr;
    std::uint32_t pid = 0;
    std::vector<unsigned> buttons;  // commands of the HTML's buttons
};

// ---- Files and devices: views (pocket_device_devices.cpp) ----
struct HotKeyView {
    HWND owner = nullptr;  // NULL for a thread's hot key
    std::uint32_t pid = 0;
    int id = 0;
    UINT vk = 0;
    UINT modifiers = 0;
};

// One press of a key: `gapMs` of virtual time pass before it.
struct KeyPress {
    UINT vk = 0;
    std::uint64_t gapMs = 0;
    UINT modifiers = 0;
};

struct SoundView {
    std::string path;
    std::uint32_t pid = 0;
    std::uint64_t start = 0;
    std::uint64_t plannedEnd = 0;
    std::uint64_t actualEnd = 0;
    bool async = false;
    bool cut = false;  // ended before its planned end by a later sound or a stop
};

struct DisplayDriverSettings {
    bool supportsPowerManagement = true;
    ULONG powerState = VideoPowerOn;
    ULONG reportedLength = sizeof(VIDEO_POWER_MANAGEMENT);  // Length written into GETPOWERMANAGEMENT answers
};

struct StandInView {
    HWND hwnd = nullptr;  // NULL when the window could not be made
    std::uint32_t pid = 0;
};

// A stand-in made so far, closed or not, as it was asked for.
struct StandInRecord {
    HWND hwnd = nullptr;
    std::uint32_t pid = 0;
    std::string program;
    std::string className;
    std::string title;
    bool open = false;  // its window still exists
};
// ---- end of files and devices: views ----

// ---- Tap-close: the shell's taskbar and stopped threads (pocket_device_taskbar.cpp) ----
struct StoppedThread {
    std::uint32_t thread = 0;
    std::string process;
    std::string call;  // the platform call it was stopped in, after its effect
};
// ---- end of tap-close: views ----

// A platform call as the journal recorded it.
struct CallView {
    std::uint64_t time = 0;
    std::uint32_t thread = 0;
    std::string process;  // whose code made the call
    std::string function;
    std::vector<sim::Value> args;
    sim::Value result;
    bool faulted = false;  // the driver made it fail
};

struct PowerStatus {
    BYTE acLine = AC_LINE_OFFLINE;
    BYTE percent = 100;
    BYTE flag = BATTERY_FLAG_HIGH;
};

struct TrayIconView {
    HWND hwnd = nullptr;
    std::uint32_t pid = 0;
    std::string process;
    UINT id = 0;
    UINT flags = 0;
    UINT callbackMessage = 0;
    unsigned iconId = 0;  // resource id of the icon shown, 0 for none
    std::string tip;
};

struct MenuItemView {
    std::string text;
    UINT id = 0;
    bool separator = false;
    bool popup = false;
};

struct MenuView {
    std::vector<MenuItemView> items;
    int x = 0;
    int y = 0;
    UINT flags = 0;
    std::uint32_t pid = 0;
    UINT chosen = 0;  // in the history: the item chosen, 0 when dismissed
};

struct MessageBoxView {
    std::string text;
    std::string caption;
    UINT type = 0;
    std::uint32_t pid = 0;
    int result = 0;  // in the history: the button that closed it
};

// A desktop PC (for the setup launcher) with an ANSI code page of 1252 or 932.
inline sim::DeviceConfig desktopConfig(UINT ansiCodePage = 1252) {
    sim::DeviceConfig config;
    config.machine = sim::Machine::Desktop;
    config.ansiCodePage = ansiCodePage;
    return config;
}

class PocketDevice {
public:
    // Boots a device with every program the build produced installed on it.
    explicit PocketDevice(sim::DeviceConfig config = {});

    sim::Device& device() { return device_; }
    const sim::Device& device() const { return device_; }

    // Time.
    void setTickCount(std::uint32_t tick) { device_.setTickCount(tick); }
    std::uint32_t tickCount() const { return device_.clock.tickCount(); }
    std::uint64_t now() const { return device_.clock.now(); }
    void advance(std::uint64_t milliseconds) { device_.advance(milliseconds); }

    // Programs and processes.
    // `currentDirectory` (desktop PC, UTF-8): empty for the program's own folder.
    ProcessView start(const std::string& program, const std::u16string& commandLine = u"",
                      const std::string& currentDirectory = "");
    std::vector<ProcessView> processes() const;
    std::optional<ProcessView> process(std::uint32_t pid) const;
    std::size_t runningCount(const std::string& program) const { return device_.running(program).size(); }
    // The programs the build produced for a handheld, or for a desktop PC.
    static std::vector<std::string> installedPrograms(sim::Machine machine = sim::Machine::Handheld);
    // Moves a program (and the files beside it) to `path`, given in UTF-8 ("D:\\setuplaunch.exe").
    void installAt(const std::string& program, const std::string& path);

    // Power supply as the battery driver reports it.
    void setPower(const PowerStatus& status);
    void setPowerRecord(const SYSTEM_POWER_STATUS_EX& record) { device_.powerStatus = record; }

    // Registry, with paths such as "HKCU\Software\Orvalen\VoltmaraPPC".
    sim::Registry& registry() { return device_.registry; }
    void setDword(const std::string& key, const std::u16string& name, DWORD value);
    std::optional<DWORD> dword(const std::string& key, const std::u16string& name) const;

    // Notifications: what the shell shows, what it was asked, and the user's taps.
    std::vector<NotificationView> notifications() const;
    std::optional<NotificationView> notification(const std::string& clsid, DWORD id) const;
    std::vector<sim::NotificationEvent> notificationHistory() const { return journal().all<sim::NotificationEvent>(); }
    // Taps the button whose name is cmd:<command>; false when the HTML has no such button.
    bool tapNotificationButton(const std::string& clsid, DWORD id, unsigned command);

    // Windows, timers, handles.
    std::vector<WindowView> windows() const;
    std::optional<WindowView> findWindow(const std::string& className) const;
    std::vector<TimerView> timers() const;

    // A program's resources, as built.
    const sim::ResourceSet& resources(const std::string& program) const;

    // Shell: the notification area's icons, and the pen on them.
    std::vector<TrayIconView> trayIcons() const;
    // The pen touching and leaving an icon are separate events; each posts the icon's callback
    // message. While a popup menu is open, touching anywhere outside it only closes the menu.
    // `touches` > 1: touches quicker than the program, all posted before it handles the first.
    bool penDownOnTrayIcon(HWND hwnd, UINT id, int touches = 1);
    bool penUpOnTrayIcon(HWND hwnd, UINT id);
    bool tapTrayIcon(HWND hwnd, UINT id) { return penDownOnTrayIcon(hwnd, id) && penUpOnTrayIcon(hwnd, id); }
    // The first icon of a program, for scripts that know only the program.
    std::optional<TrayIconView> trayIconOf(const std::string& program) const;

    // Shell: the popup menu on the screen, and the user's answer to it.
    std::optional<MenuView> openMenu() const;
    bool chooseMenuItem(UINT id);
    bool dismissMenu();
    std::vector<MenuView> menuHistory() const;

    // Shell: message boxes on the screen (most recent last), and closing one as the user would.
    std::optional<MessageBoxView> messageBox() const;
    bool dismissMessageBox(int button = IDOK);
    std::vector<MessageBoxView> messageBoxHistory() const;

    // Screen.
    int screenWidth() const { return device_.config.screenWidth; }
    int screenHeight() const { return device_.config.screenHeight; }

    // Faults: the `occurrence`-th call of `function` (and `count` - 1 after it; 0 = all) fails.
    void failCall(const std::string& function, std::uint64_t occurrence = 1, std::uint64_t count = 1,
                  const std::string& program = "");
    // The simulation's errors since the device booted or since clearErrors().
    std::vector<std::string> errors() const { return device_.errors(errorsMark_); }
    void clearErrors() { errorsMark_ = device_.journal.next(); }

    // The journal: everything that happened, in order. A mark is where a reader starts.
    const sim::Journal& journal() const { return device_.journal; }
    std::uint64_t mark() const { return device_.journal.next(); }
    // Platform calls are recorded only from here on (they are many).
    void recordCalls(bool on = true) { device_.journal.recordCalls(on); }
    // The calls recorded from `mark` on, of one program's code or of all.
    std::vector<CallView> calls(std::uint64_t mark = 0, const std::string& program = "") const;
    std::vector<std::string> callNames(std::uint64_t mark = 0, const std::string& program = "") const;

    // ---- Files and devices (pocket_device_devices.cpp) ----
    // Files on the device, by device path (\Program Files\rcbridge\beep.wav, in any case).
    bool putFile(const std::string& devicePath, std::vector<std::uint8_t> bytes);
    bool removeFile(const std::string& devicePath);
    bool fileExists(const std::string& devicePath) const;
    std::optional<std::vector<std::uint8_t>> fileBytes(const std::string& devicePath) const;
    // The folder a program is installed in, without a trailing backslash.
    std::string installFolder(const std::string& program) const;

    // Keys. A press reaches the window (or thread) holding the key, as a posted WM_HOTKEY; the
    // device then runs until every thread waits. Returns the holder, or nothing when no one holds it.
    std::optional<HotKeyView> pressKey(UINT vk, UINT modifiers = 0);
    void pressKeys(const std::vector<KeyPress>& presses);
    std::vector<HotKeyView> hotKeys() const;
    std::vector<sim::HotKeyPress> keyPresses() const { return journal().all<sim::HotKeyPress>(); }
    // keybd_event calls, and the power switch that VK_OFF reaches.
    std::vector<sim::KeyboardEvent> keyboardEvents() const { return journal().all<sim::KeyboardEvent>(); }
    bool isSwitchedOn() const { return device_.keyboard.switchedOn(); }
    void switchOn() { device_.keyboard.switchOn(); }

    // Wave-out device 0: volume (low word left, high word right) and the sounds played.
    DWORD volume() const { return device_.audio.volume; }
    void setVolume(DWORD volume) { device_.audio.volume = volume; }
    std::vector<sim::VolumeWrite> volumeWrites() const { return journal().all<sim::VolumeWrite>(); }
    std::vector<SoundView> sounds() const;

    // The display driver.
    ULONG displayPowerState() const { return device_.display.powerState; }
    void setDisplayDriver(const DisplayDriverSettings& settings);
    std::vector<sim::EscapeCall> displayEscapes() const { return journal().all<sim::EscapeCall>(); }

    // Stand-ins for outside programs: a process `program` owning one top-level window of this class
    // and title, which records every message it receives. Closing posts WM_CLOSE: the window is
    // destroyed and the process ends; its record stays readable.
    StandInView createStandIn(const std::string& program, const std::string& className, const std::string& title);
    // From `mark` on (a mark from mark()), or all the journal still holds.
    std::vector<sim::ReceivedMessage> standInMessages(HWND hwnd, std::uint64_t mark = 0) const {
        return received(standInProcedure(), hwnd, mark);
    }
    // The procedure of every stand-in window: deliveries to it in the journal are what they received.
    static const void* standInProcedure() { return sim::StandIns::procedure(); }
    bool closeStandIn(HWND hwnd);
    // Every stand-in whose window was made, oldest first; their records stay readable after closing.
    std::vector<StandInRecord> standIns() const;
    // ---- end of files and devices ----

    // ---- Desktop PC ----
    UINT ansiCodePage() const { return device_.config.ansiCodePage; }
    // What programs asked CreateProcessA to start, oldest first.
    std::vector<sim::ProcessLaunch> launches() const { return journal().all<sim::ProcessLaunch>(); }
    // ---- end of desktop PC ----

    // ---- Tap-close (pocket_device_taskbar.cpp); needs a device booted with the shell ----
    HWND taskbar() const { return device_.shellWindows.taskbar; }
    HWND desktop() const { return device_.shellWindows.desktop; }
    // The stylus on the taskbar, in its client coordinates (negative ones too): posted to it as
    // WM_LBUTTONDOWN, WM_MOUSEMOVE and WM_LBUTTONUP, as the touch screen's driver does.
    void stylusDown(int x, int y);
    void stylusMove(int x, int y);
    void stylusUp(int x, int y);
    void tapTaskbar(int x, int y) {
        stylusDown(x, y);
        stylusUp(x, y);
    }
    // What the taskbar's own procedure received, and what it answers.
    std::vector<sim::ReceivedMessage> taskbarReceived(std::uint64_t mark = 0) const {
        return received(taskbarOwnProcedure(), nullptr, mark);
    }
    const void* taskbarOwnProcedure() const { return reinterpret_cast<const void*>(device_.shellWindows.taskbarProc); }
    void setTaskbarResult(LRESULT result) { device_.shellWindows.taskbarResult = result; }
    std::vector<HWND> sentToBackground(std::uint64_t mark = 0) const;
    // Whether the taskbar's procedure is its own (nobody hooked it).
    bool taskbarProcedureIsItsOwn() const;
    HWND foreground() const { return device_.foreground; }
    void setForeground(HWND hwnd) { device_.foreground = hwnd; }
    // An application window of another program, with a given look and behaviour.
    StandInView createApplication(const std::string& program, const std::string& className, const std::string& title,
                                  const sim::StandInOptions& options);
    // What the device reports about itself.
    void setSystem(DWORD majorVersion, const std::u16string& platformType);

    // Stops a thread right after the `occurrence`-th call of `function` (by `program`, or any) has
    // had its effect, before it returns; the others run meanwhile until resumeStopped().
    void stopAt(const std::string& function, std::uint64_t occurrence = 1, const std::string& program = "");
    std::vector<StoppedThread> stoppedThreads() const;
    void resumeStopped();
    // ---- end of tap-close ----

private:
    using FileList = std::vector<std::pair<std::u16string, std::vector<std::uint8_t>>>;
    FileList programFiles(const std::string& program, const std::string& imageDir,
                          const std::u16string& installPath) const;
    void putProgramFiles(const FileList& files);
    void installProgramFiles(const std::string& program, const std::string& imageDir);
    ProcessView view(const sim::Process& process) const;
    // What one window procedure received (of one window, or of any for NULL).
    std::vector<sim::ReceivedMessage> received(const void* proc, HWND hwnd, std::uint64_t mark) const;
    sim::Device device_;
    std::uint64_t errorsMark_ = 0;
    bool liftBelongsToMenu_ = false;
    std::vector<StandInRecord> standIns_;  // files and devices: what createStandIn made
};

NotificationView describeNotification(const sim::Device& device, const sim::Notification& n);
MenuView describeMenu(const sim::OpenMenu& menu);
MessageBoxView describeBox(const sim::OpenMessageBox& box);

}  // namespace pocket
