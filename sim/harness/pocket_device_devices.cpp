// The harness's files and devices: installed files, keys, sound, display and stand-in windows.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "pocket_device.h"
#include "utf.h"

namespace pocket {

namespace {

HotKeyView viewOf(const sim::HotKey& key) { return HotKeyView{key.owner, key.pid, key.id, key.vk, key.modifiers}; }

std::vector<std::uint8_t> readHostFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

// The program's file itself at `installPath`, and everything in <image dir>/<program>.files/
// beside it, keeping the host folder's layout below the program's folder.
PocketDevice::FileList PocketDevice::programFiles(const std::string& program, const std::string& imageDir,
                                                 const std::u16string& installPath) const {
    const sim::ProgramInfo* info = device_.programs.find(program);
    if (!info) throw std::invalid_argument("no program named " + program);
    FileList files{{installPath, info->imageBytes}};
    const std::filesystem::path extra = std::filesystem::path(imageDir) / (program + ".files");
    if (!std::filesystem::is_directory(extra)) return files;
    const std::u16string folder = sim::FileSystem::folderOf(installPath);
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
void PocketDevice::putProgramFiles(const FileList& files) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (device_.files.put(files[i].first, files[i].second)) continue;
        for (std::size_t j = 0; j < i; ++j) device_.files.remove(files[j].first);
        throw std::runtime_error("cannot put " + sim::toUtf8(files[i].first) + " on the device");
    }
}

void PocketDevice::installProgramFiles(const std::string& program, const std::string& imageDir) {
    putProgramFiles(programFiles(program, imageDir, device_.programs.find(program)->installPath));
}

bool PocketDevice::putFile(const std::string& devicePath, std::vector<std::uint8_t> bytes) {
    return device_.files.put(sim::fromUtf8(devicePath), std::move(bytes));
}

bool PocketDevice::removeFile(const std::string& devicePath) {
    const sim::FileEntry* entry = device_.files.find(sim::fromUtf8(devicePath));
    return entry && !entry->isFolder() && device_.files.remove(sim::fromUtf8(devicePath));
}

bool PocketDevice::fileExists(const std::string& devicePath) const {
    const sim::FileEntry* entry = device_.files.find(sim::fromUtf8(devicePath));
    return entry && !entry->isFolder();
}

std::optional<std::vector<std::uint8_t>> PocketDevice::fileBytes(const std::string& devicePath) const {
    const sim::FileEntry* entry = device_.files.find(sim::fromUtf8(devicePath));
    if (!entry || entry->isFolder()) return std::nullopt;
    return entry->bytes;
}

std::string PocketDevice::installFolder(const std::string& program) const {
    const sim::ProgramInfo* info = device_.programs.find(program);
    if (!info) throw std::invalid_argument("no program named " + program);
    return sim::toUtf8(sim::FileSystem::folderOf(info->installPath));
}

std::optional<HotKeyView> PocketDevice::pressKey(UINT vk, UINT modifiers) {
    const auto holder = sim::pressHotKey(device_, vk, modifiers);
    device_.runUntilIdle();
    if (!holder) return std::nullopt;
    return viewOf(*holder);
}

void PocketDevice::pressKeys(const std::vector<KeyPress>& presses) {
    for (const KeyPress& press : presses) {
        device_.advance(press.gapMs);
        pressKey(press.vk, press.modifiers);
    }
}

std::vector<HotKeyView> PocketDevice::hotKeys() const {
    std::vector<HotKeyView> out;
    for (const sim::HotKey& key : device_.hotKeys.all()) out.push_back(viewOf(key));
    return out;
}

std::vector<SoundView> PocketDevice::sounds() const {
    std::vector<SoundView> out;
    std::vector<std::uint64_t> started;
    for (const sim::Entry* entry : journal().since(0)) {
        if (const auto* s = entry->as<sim::SoundStarted>()) {
            out.push_back(SoundView{sim::toUtf8(s->path), s->pid, s->start, s->plannedEnd, s->plannedEnd, s->async, false});
            started.push_back(entry->sequence);
        } else if (const auto* cut = entry->as<sim::SoundCut>()) {
            for (std::size_t i = 0; i < started.size(); ++i) {
                if (started[i] != cut->started) continue;
                out[i].actualEnd = entry->time;
                out[i].cut = entry->time < out[i].plannedEnd;
            }
        }
    }
    return out;
}

void PocketDevice::setDisplayDriver(const DisplayDriverSettings& settings) {
    device_.display.supportsPowerManagement = settings.supportsPowerManagement;
    device_.display.powerState = settings.powerState;
    device_.display.reportedLength = settings.reportedLength;
}

StandInView PocketDevice::createStandIn(const std::string& program, const std::string& className,
                                        const std::string& title) {
    const HWND hwnd = sim::startStandIn(device_, program, sim::fromUtf8(className), sim::fromUtf8(title));
    const sim::Window* window = device_.windows.find(hwnd);
    const StandInView made{hwnd, window && window->process ? window->process->pid : 0};
    if (hwnd) standIns_.push_back(StandInRecord{hwnd, made.pid, program, className, title, true});
    return made;
}

bool PocketDevice::closeStandIn(HWND hwnd) {
    if (!device_.standIns.isStandIn(hwnd)) return false;
    const bool posted = device_.postSystemMessage(hwnd, WM_CLOSE, 0, 0);
    device_.runUntilIdle();
    return posted;
}

std::vector<StandInRecord> PocketDevice::standIns() const {
    std::vector<StandInRecord> out = standIns_;
    for (StandInRecord& record : out) record.open = device_.windows.find(record.hwnd) != nullptr;
    return out;
}

}  // namespace pocket
