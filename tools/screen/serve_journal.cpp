#include "serve_journal.h"

namespace screen {

bool isAction(std::string_view line) {
    const size_t start = line.find_first_not_of(" \t");
    if (start == std::string_view::npos || line[start] == '#') return false;
    const std::string_view rest = line.substr(start);
    const std::string_view word = rest.substr(0, rest.find_first_of(" \t"));
    return word != "show" && word != "expect";
}

std::uint64_t Journal::append(std::string line, std::string source, Answer answer) {
    std::uint64_t sequence;
    {
        std::lock_guard lock(mutex_);
        sequence = entries_.size() + 1;
        const bool recorded = answer.status == Status::ok && isAction(line);
        entries_.push_back({sequence, std::move(line), std::move(source), std::move(answer), recorded});
    }
    added_.notify_all();
    return sequence;
}

std::vector<JournalEntry> Journal::after(std::uint64_t after, std::size_t limit, std::chrono::milliseconds wait) {
    std::unique_lock lock(mutex_);
    added_.wait_for(lock, wait, [&] { return closed_ || entries_.size() > after; });
    std::vector<JournalEntry> found;
    for (std::uint64_t i = after; i < entries_.size() && found.size() < limit; ++i) found.push_back(entries_[i]);
    return found;
}

std::uint64_t Journal::last() const {
    std::lock_guard lock(mutex_);
    return entries_.size();
}

std::string Journal::recording() const {
    std::lock_guard lock(mutex_);
    std::string script;
    for (const JournalEntry& entry : entries_)
        if (entry.recorded) script += entry.line + "\n";
    return script;
}

void Journal::close() {
    {
        std::lock_guard lock(mutex_);
        closed_ = true;
    }
    added_.notify_all();
}

}  // namespace screen
