#include "processes_facet.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "device.h"
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

std::vector<std::uint8_t> readHostFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

ProcessView viewOf(const sim::Process& p) {
    ProcessView v;
    v.pid = p.pid;
    v.name = p.name;
    v.running = p.running();
    v.exitCode = p.exitCode;
    v.handles = p.handlesAtExit ? *p.handlesAtExit : p.handles;
    return v;
}

std::string processName(const sim::Process* process) { return process ? process->name : "system"; }

}  // namespace

std::vector<std::string> ProcessesFacet::installedPrograms(sim::Machine machine) {
    std::vector<std::string> names;
    const std::filesystem::path dir = imageDirOf(machine);
    if (!std::filesystem::exists(dir)) return names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().extension() == ".image") names.push_back(entry.path().stem().string());
    std::sort(names.begin(), names.end());
    return names;
}

void ProcessesFacet::installEveryProgram() {
    const sim::Machine machine = device_.config.machine;
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

void ProcessesFacet::installProgram(const std::string& name, const std::string& imagePath,
                                    const std::string& resourcePath, const std::u16string& installPath) {
    device_.programs.install(name, imagePath, resourcePath, installPath);
}

void ProcessesFacet::replaceImage(const std::string& program, const std::string& imagePath) {
    const sim::ProgramInfo* info = device_.programs.find(program);
    if (!info) throw std::invalid_argument("no program named " + program);
    device_.programs.install(program, imagePath, info->resourcePath, info->installPath, info->kind);
}

void ProcessesFacet::installAt(const std::string& program, const std::string& path) {
    const sim::ProgramInfo* info = device_.programs.find(program);
    if (!info) throw std::invalid_argument("no program named " + program);
    const std::string imageDir = imageDirOf(device_.config.machine).string();
    const std::u16string target = sim::fromUtf8(path);
    if (sim::equalsIgnoreCase(target, info->installPath)) return;
    // The new copy first: when it cannot be made, the program stays where it was.
    const FileList placed = programFiles(program, imageDir, target);
    putProgramFiles(placed);
    for (const auto& old : programFiles(program, imageDir, info->installPath)) {
        const bool replaced = std::any_of(placed.begin(), placed.end(),
                                          [&](const auto& file) { return sim::equalsIgnoreCase(file.first, old.first); });
        if (!replaced) device_.files.remove(old.first);
    }
    device_.programs.relocate(program, target);
}

// The program's file itself at `installPath`, and everything in <image dir>/<program>.files/
// beside it, keeping the host folder's layout below the program's folder.
ProcessesFacet::FileList ProcessesFacet::programFiles(const std::string& program, const std::string& imageDir,
                                                      const std::u16string& installPath) const {
    const sim::ProgramInfo* info = device_.programs.find(program);
    if (!info) throw std::invalid_argument("no program named " + program);
    FileList files{{installPath, info->imageBytes}};
    const std::filesystem::path extra = std::filesystem::path(imageDir) / (program + ".files");
    if (!std::filesystem::is_directory(extra)) return files;
    const std::u16string folder = sim::devicePathFolder(installPath);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(extra)) {
        if (!entry.is_regular_file()) continue;
        std::u16string devicePath = folder;
        for (const auto& part : std::filesystem::relative(entry.path(), extra))
            devicePath += u"\\" + sim::fromUtf8(part.string());
        files.emplace_back(devicePath, readHostFile(entry.path()));
    }
    return files;
}

// Puts every file or none.
void ProcessesFacet::putProgramFiles(const FileList& files) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (device_.files.put(files[i].first, files[i].second)) continue;
        for (std::size_t j = 0; j < i; ++j) device_.files.remove(files[j].first);
        throw std::runtime_error("cannot put " + sim::toUtf8(files[i].first) + " on the device");
    }
}

void ProcessesFacet::installProgramFiles(const std::string& program, const std::string& imageDir) {
    putProgramFiles(programFiles(program, imageDir, device_.programs.find(program)->installPath));
}

std::string ProcessesFacet::installPath(const std::string& program) const {
    const sim::ProgramInfo* info = device_.programs.find(program);
    if (!info) throw std::invalid_argument("no program named " + program);
    return sim::toUtf8(info->installPath);
}

std::string ProcessesFacet::installFolder(const std::string& program) const {
    return sim::toUtf8(sim::devicePathFolder(sim::fromUtf8(installPath(program))));
}

std::optional<std::string> ProcessesFacet::programAt(const std::string& path) const {
    if (const sim::ProgramInfo* info = device_.programs.findByInstallPath(sim::fromUtf8(path))) return info->name;
    return std::nullopt;
}

const sim::ResourceSet& ProcessesFacet::resources(const std::string& program) const {
    const sim::ProgramInfo* info = device_.programs.find(program);
    if (!info) throw std::invalid_argument("no program named " + program);
    return *info->resources;
}

std::string ProcessesFacet::resourcePath(const std::string& program) const {
    const sim::ProgramInfo* info = device_.programs.find(program);
    if (!info) throw std::invalid_argument("no program named " + program);
    return info->resourcePath;
}

ProcessView ProcessesFacet::start(const std::string& program, const std::u16string& commandLine,
                                  const std::string& currentDirectory) {
    const std::uint32_t pid = device_.start(program, commandLine, sim::fromUtf8(currentDirectory)).pid;
    return *process(pid);
}

ProcessView ProcessesFacet::startCode(const std::string& name, std::function<int()> body) {
    return viewOf(device_.startHosted(name, std::move(body)));
}

void ProcessesFacet::terminate(std::uint32_t pid, int exitCode) { device_.terminate(pid, exitCode); }

std::vector<ProcessView> ProcessesFacet::processes() const {
    std::vector<ProcessView> out;
    for (const auto& p : device_.processes()) out.push_back(viewOf(*p));
    return out;
}

std::vector<ProcessView> ProcessesFacet::processesAfter(std::size_t count) const {
    std::vector<ProcessView> out;
    const auto& all = device_.processes();
    for (std::size_t i = count; i < all.size(); ++i) out.push_back(viewOf(*all[i]));
    return out;
}

std::vector<ProcessView> ProcessesFacet::runningProcesses() const {
    std::vector<ProcessView> out;
    for (const auto& p : device_.processes())
        if (p->running()) out.push_back(viewOf(*p));
    return out;
}

std::optional<ProcessView> ProcessesFacet::process(std::uint32_t pid) const {
    if (const sim::Process* p = device_.findProcess(pid)) return viewOf(*p);
    return std::nullopt;
}

std::vector<std::uint32_t> ProcessesFacet::runningPids(const std::string& program) const {
    std::vector<std::uint32_t> pids;
    for (const sim::Process* p : device_.running(program)) pids.push_back(p->pid);
    return pids;
}

std::vector<WindowView> ProcessesFacet::windows() const {
    std::vector<WindowView> out;
    for (const sim::Window* w : device_.windows.all())
        out.push_back(WindowView{w->hwnd, w->process ? w->process->pid : 0, processName(w->process),
                                 sim::toUtf8(w->className), sim::toUtf8(w->title), w->style, w->exStyle});
    return out;
}

std::optional<WindowView> ProcessesFacet::findWindow(const std::string& className) const {
    for (const WindowView& w : windows())
        if (w.className == className) return w;
    return std::nullopt;
}

bool ProcessesFacet::windowExists(HWND hwnd) const { return device_.windows.find(hwnd) != nullptr; }

bool ProcessesFacet::mutexExists(const std::u16string& name) const { return device_.mutexes.exists(name); }

std::vector<TimerView> ProcessesFacet::timers() const {
    std::vector<TimerView> out;
    for (const auto& thread : device_.scheduler.threads()) {
        const sim::Process* owner = thread->process();
        for (const sim::Timer& t : thread->queue().timers())
            out.push_back(TimerView{t.hwnd, owner ? owner->pid : 0, processName(owner), t.id, t.period, t.due});
    }
    return out;
}

const sim::SystemInfo& ProcessesFacet::system() const { return device_.system; }

void ProcessesFacet::setSystem(DWORD majorVersion, const std::u16string& platformType) {
    device_.system.majorVersion = majorVersion;
    device_.system.platformType = platformType;
}

UINT ProcessesFacet::ansiCodePage() const { return device_.config.ansiCodePage; }

std::vector<sim::ProcessLaunch> ProcessesFacet::launches() const { return core_.journal().all<sim::ProcessLaunch>(); }

StandInView ProcessesFacet::record(HWND hwnd, const std::string& program, const std::string& className,
                                   const std::string& title) {
    const sim::Window* window = device_.windows.find(hwnd);
    const StandInView made{hwnd, window && window->process ? window->process->pid : 0};
    if (hwnd) standIns_.push_back(StandInRecord{hwnd, made.pid, program, className, title, true});
    return made;
}

StandInView ProcessesFacet::createStandIn(const std::string& program, const std::string& className,
                                          const std::string& title) {
    const HWND hwnd = sim::startStandIn(device_, program, sim::fromUtf8(className), sim::fromUtf8(title));
    return record(hwnd, program, className, title);
}

StandInView ProcessesFacet::createApplication(const std::string& program, const std::string& className,
                                              const std::string& title, const sim::StandInOptions& options) {
    const HWND hwnd = sim::startStandIn(device_, program, sim::fromUtf8(className), sim::fromUtf8(title), options);
    return record(hwnd, program, className, title);
}

bool ProcessesFacet::closeStandIn(HWND hwnd) {
    if (!device_.standIns.isStandIn(hwnd)) return false;
    const bool posted = device_.postSystemMessage(hwnd, WM_CLOSE, 0, 0);
    device_.runUntilIdle();
    return posted;
}

std::vector<StandInRecord> ProcessesFacet::standIns() const {
    std::vector<StandInRecord> out = standIns_;
    for (StandInRecord& record : out) record.open = device_.windows.find(record.hwnd) != nullptr;
    return out;
}

std::vector<sim::ReceivedMessage> ProcessesFacet::standInMessages(HWND hwnd, std::uint64_t mark) const {
    return core_.deliveries(standInProcedure(), hwnd, mark);
}

const void* ProcessesFacet::standInProcedure() { return sim::StandIns::procedure(); }

}  // namespace pocket
