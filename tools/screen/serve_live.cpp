#include "serve_live.h"

#include <chrono>
#include <cstdio>
#include <sstream>
#include <stdexcept>

namespace screen {

namespace {

// A simulated month takes about a second: a long advance typed on the command line is not a hung
// device, only one that answers nothing for minutes is.
constexpr std::chrono::seconds kAnswerTimeout{180};

// A show answer starts with the stamped line itself; what it shows follows, indented.
std::vector<std::string> shownLines(const std::vector<std::string>& answer) {
    std::vector<std::string> shown;
    for (size_t i = 0; i < answer.size(); ++i) {
        if (i == 0 && answer[i].starts_with('[')) continue;
        const size_t start = answer[i].find_first_not_of(' ');
        if (start != std::string::npos) shown.push_back(answer[i].substr(start));
    }
    return shown;
}

}  // namespace

LiveDevice::LiveDevice(const std::vector<std::string>& argv, Renderer render)
    : device_(argv, kAnswerTimeout), render_(std::move(render)) {
    Outcome boot;
    std::lock_guard lock(actions_);
    runJournalled("boot shell", "server", boot);
    if (boot.status != Status::ok)
        throw std::runtime_error("the device did not boot" + (boot.lines.empty() ? std::string() : ": " + boot.lines.back()));
}

void LiveDevice::runJournalled(std::string_view line, std::string source, Outcome& outcome) {
    Answer answer = device_.run(line);
    if (isAction(line) && (answer.status == Status::ok || answer.status == Status::failed)) ++version_;
    if (answer.status > outcome.status) outcome.status = answer.status;  // the worst of a touch's lines
    outcome.lines.insert(outcome.lines.end(), answer.lines.begin(), answer.lines.end());
    outcome.ran.emplace_back(line);
    outcome.version = version_;
    journal_.append(std::string(line), std::move(source), std::move(answer));
}

std::vector<std::string> LiveDevice::ask(std::string_view line) {
    Answer answer = device_.run(line);
    if (answer.status == Status::stopped) throw std::runtime_error(answer.lines.empty() ? "the device has stopped" : answer.lines.back());
    if (answer.status != Status::ok) throw std::runtime_error("the device refused \"" + std::string(line) + "\"");
    return shownLines(answer.lines);
}

Outcome LiveDevice::command(std::string_view line) {
    Outcome outcome;
    std::lock_guard lock(actions_);
    runJournalled(line, "command", outcome);
    return outcome;
}

Outcome LiveDevice::touch(std::string_view kind, int x, int y) {
    Outcome outcome;
    std::lock_guard lock(actions_);
    std::ostringstream query;
    query << "show touch " << kind << ' ' << x << ' ' << y;
    for (const std::string& shown : ask(query.str())) {
        if (shown.starts_with("run: ")) runJournalled(shown.substr(5), "touch", outcome);
    }
    outcome.version = version_;
    return outcome;
}

std::string LiveDevice::layout() {
    std::lock_guard lock(actions_);
    return describe();
}

std::string LiveDevice::describe() {
    std::string description;
    for (const std::string& element : ask("show layout")) {
        description += element + "\n";
        int width = 0;
        int height = 0;
        if (std::sscanf(element.c_str(), "screen 0 0 %d %d", &width, &height) == 2 && width > 0 && height > 0) {
            std::lock_guard lock(cacheMutex_);
            size_ = {width, height};
        }
    }
    return description;
}

Picture LiveDevice::picture() {
    if (const auto why = device_.stopped()) throw std::runtime_error(*why);  // not the last picture, as if it lived
    {
        std::lock_guard lock(cacheMutex_);
        if (cached_.png && cached_.version == version_) return cached_;
    }
    // No action can come between the description and the version it is stamped with.
    std::uint64_t version;
    std::string description;
    {
        std::lock_guard lock(actions_);
        version = version_;
        description = describe();
    }
    Picture made{version, std::make_shared<const std::string>(render_(description))};
    std::lock_guard lock(cacheMutex_);
    if (!cached_.png || cached_.version < made.version) cached_ = made;
    return made;
}

ScreenSize LiveDevice::screenSize() const {
    std::lock_guard lock(cacheMutex_);
    return size_;
}

}  // namespace screen
