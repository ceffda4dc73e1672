#pragma once

#include "serve_device.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace screen {

struct JournalEntry {
    std::uint64_t sequence = 0;
    std::string line;
    std::string source;  // "command", "touch" or "server"
    Answer answer;
    bool recorded = false;  // an action that ran: part of the recording
};

// Whether a line, once it ran, belongs in the recording: what shows or checks changes nothing.
bool isAction(std::string_view line);

// Every line the device answered, numbered from 1, for all pages; and the recording it makes.
class Journal {
public:
    std::uint64_t append(std::string line, std::string source, Answer answer);

    // The entries after `after` (at most `limit`), waiting up to `wait` for one when there is none.
    std::vector<JournalEntry> after(std::uint64_t after, std::size_t limit, std::chrono::milliseconds wait);
    std::uint64_t last() const;
    std::string recording() const;  // a script: one line per recorded entry
    void close();                   // wakes and ends every wait, for shutdown

private:
    mutable std::mutex mutex_;
    std::condition_variable added_;
    std::vector<JournalEntry> entries_;
    bool closed_ = false;
};

}  // namespace screen
