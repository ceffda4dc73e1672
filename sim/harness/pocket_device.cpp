#include "pocket_device.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "utf.h"

namespace pocket {

namespace {

std::string imageDir() {
    if (const char* env = std::getenv("POCKET_IMAGE_DIR")) return env;
    return POCKET_IMAGE_DIR;
}

std::filesystem::path imageDirOf(sim::Machine machine) {
    const std::filesystem::path dir = imageDir();
    return machine == sim::Machine::Desktop ? dir / "desktop" : dir;
}

// Where each program is installed on the device, or on the desktop PC's drive C.
std::u16string installPathOf(const std::string& program, sim::Machine machine) {
    if (program == "voltmarap") return u"\\Program Files\\Voltmara\\voltmarap.exe";
    const std::u16string name = sim::fromUtf8(program);
    const std::u16string drive = machine == sim::Machine::Desktop ? u"C:" : u"";
    return drive + u"\\Program Files\\" + name + u"\\" + name + u".exe";
}

std::string windowClassName(const sim::Window& w) { return sim::toUtf8(w.className); }

}  // namespace

std::vector<std::string> PocketDevice::installedPrograms(sim::Machine machine) {
    std::vector<std::string> names;
    const std::filesystem::path dir = imageDirOf(machine);
    if (!std::filesystem::exists(dir)) return names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().extension() == ".image") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

PocketDevice::PocketDevice(sim::DeviceConfig config) : device_(config) {
    const sim::Machine machine = config.machine;
    const std::filesystem::path dir = imageDirOf(machine);
    for (const std::string& name : installedPrograms(machine)) {
        // Desktop programs carry no resources.
        const bool desktop = machine == sim::Machine::Desktop;
        device_.programs.install(name, (dir / (name + ".image")).string(),
                                 desktop ? std::string() : (dir / (name + ".res")).string(), installPathOf(name, machine),
                                 desktop ? sim::ProgramKind::Desktop : sim::ProgramKind::Device);
        installProgramFiles(name, dir.string());
    }
}

void PocketDevice::installAt(const std::string& program, const std::string& path) {
    const sim::ProgramInfo* info = device_.programs.find(program);
    if (!info) throw std::invalid_argument("no program named " + program);
    const std::string imageDir = imageDirOf(device_.config.machine).string();
    const std::u16string target = sim::fromUtf8(path);
    if (sim::equalsIgnoreCase(target, info->installPath)) return;
    // The new copy first: when it cannot be made, the program stays where it was.
    const FileList placed = programFiles(program, imageDir, target);
    putProgramFiles(placed);
    for (const auto& [oldPath, bytes] : programFiles(program, imageDir, info->installPath)) {
        const bool replaced = std::any_of(placed.begin(), placed.end(),
                                          [&](const auto& file) { return sim::equalsIgnoreCase(file.first, oldPath); });
        if (!replaced) device_.files.remove(oldPath);
    }
    device_.programs.relocate(program, target);
}

ProcessView PocketDevice::view(const sim::Process& p) const {
    ProcessView v;
    v.pid = p.pid;
    v.name = p.name;
    v.running = p.running();
    v.exitCode = p.exitCode;
    v.handles = p.handlesAtExit ? *p.handlesAtExit : p.handles;
    return v;
}

ProcessView PocketDevice::start(const std::string& program, const std::u16string& commandLine,
                                const std::string& currentDirectory) {
    const std::uint32_t pid = device_.start(program, commandLine, sim::fromUtf8(currentDirectory)).pid;
    return *process(pid);
}

std::vector<ProcessView> PocketDevice::processes() const {
    std::vector<ProcessView> out;
    for (const auto& p : device_.processes()) out.push_back(view(*p));
    return out;
}

std::optional<ProcessView> PocketDevice::process(std::uint32_t pid) const {
    if (const sim::Process* p = device_.findProcess(pid)) return view(*p);
    return std::nullopt;
}

void PocketDevice::setPower(const PowerStatus& status) {
    SYSTEM_POWER_STATUS_EX record{};
    record.ACLineStatus = status.acLine;
    record.BatteryFlag = status.flag;
    record.BatteryLifePercent = status.percent;
    record.BatteryLifeTime = BATTERY_LIFE_UNKNOWN;
    record.BatteryFullLifeTime = BATTERY_LIFE_UNKNOWN;
    record.BackupBatteryFlag = BATTERY_FLAG_HIGH;
    record.BackupBatteryLifePercent = 100;
    record.BackupBatteryLifeTime = BATTERY_LIFE_UNKNOWN;
    record.BackupBatteryFullLifeTime = BATTERY_LIFE_UNKNOWN;
    device_.powerStatus = record;
}

void PocketDevice::setDword(const std::string& key, const std::u16string& name, DWORD value) {
    std::vector<std::uint8_t> bytes(4);
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<std::uint8_t>(value >> (8 * i));
    device_.registry.setValue(key, name, REG_DWORD, bytes);
}

std::optional<DWORD> PocketDevice::dword(const std::string& key, const std::u16string& name) const {
    auto value = device_.registry.value(key, name);
    if (!value || value->data.size() != 4) return std::nullopt;
    DWORD out = 0;
    for (int i = 0; i < 4; ++i) out |= static_cast<DWORD>(value->data[i]) << (8 * i);
    return out;
}

NotificationView describeNotification(const sim::Device& device, const sim::Notification& n) {
    NotificationView v;
    v.clsid = sim::clsidText(n.clsid);
    v.id = n.id;
    v.iconId = n.iconResourceId;
    v.iconHandleAlive = n.icon && device.icons.count(reinterpret_cast<std::uintptr_t>(n.icon)) != 0;
    v.html = sim::toUtf8(n.html);
    v.title = sim::toUtf8(n.title);
    v.flags = n.flags;
    v.priority = static_cast<int>(n.priority);
    v.duration = n.duration;
    v.sink = n.sink;
    v.pid = n.ownerPid;
    v.buttons = sim::htmlButtonCommands(n.html);
    return v;
}

std::vector<NotificationView> PocketDevice::notifications() const {
    std::vector<NotificationView> out;
    for (const sim::Notification& n : device_.notifications.active()) out.push_back(describeNotification(device_, n));
    return out;
}

std::optional<NotificationView> PocketDevice::notification(const std::string& clsid, DWORD id) const {
    auto parsed = sim::parseClsid(clsid);
    if (!parsed) throw std::invalid_argument("not a class id: " + clsid);
    if (const sim::Notification* n = device_.notifications.find(*parsed, id)) return describeNotification(device_, *n);
    return std::nullopt;
}

bool PocketDevice::tapNotificationButton(const std::string& clsid, DWORD id, unsigned command) {
    auto parsed = sim::parseClsid(clsid);
    if (!parsed) throw std::invalid_argument("not a class id: " + clsid);
    const sim::Notification* n = device_.notifications.find(*parsed, id);
    if (!n) return false;
    bool found = false;
    for (unsigned c : sim::htmlButtonCommands(n->html)) found |= c == command;
    if (!found) return false;
    // The shell posts the button's command to the sink; the bubble closes.
    const bool posted = device_.postSystemMessage(n->sink, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    device_.runUntilIdle();
    return posted;
}

std::vector<WindowView> PocketDevice::windows() const {
    std::vector<WindowView> out;
    for (const sim::Window* w : device_.windows.all()) {
        WindowView v;
        v.hwnd = w->hwnd;
        v.pid = w->process ? w->process->pid : 0;
        v.process = w->process ? w->process->name : "system";
        v.className = windowClassName(*w);
        v.title = sim::toUtf8(w->title);
        v.style = w->style;
        v.exStyle = w->exStyle;
        out.push_back(v);
    }
    return out;
}

std::optional<WindowView> PocketDevice::findWindow(const std::string& className) const {
    for (const WindowView& w : windows())
        if (w.className == className) return w;
    return std::nullopt;
}

std::vector<TimerView> PocketDevice::timers() const {
    std::vector<TimerView> out;
    for (const auto& thread : device_.scheduler.threads()) {
        for (const sim::Timer& t : thread->queue().timers()) {
            TimerView v;
            v.hwnd = t.hwnd;
            v.pid = thread->process() ? thread->process()->pid : 0;
            v.process = thread->process() ? thread->process()->name : "system";
            v.id = t.id;
            v.period = t.period;
            v.due = t.due;
            out.push_back(v);
        }
    }
    return out;
}

const sim::ResourceSet& PocketDevice::resources(const std::string& program) const {
    const sim::ProgramInfo* info = device_.programs.find(program);
    if (!info) throw std::invalid_argument("no program named " + program);
    return *info->resources;
}

void PocketDevice::failCall(const std::string& function, std::uint64_t occurrence, std::uint64_t count,
                            const std::string& program) {
    device_.faults.add(sim::FaultRule{function, program, occurrence, count});
}

}  // namespace pocket
