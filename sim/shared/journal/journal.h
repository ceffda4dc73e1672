// The device's journal: one time-ordered record of typed entries, the single account of what
// happened on the device. Views (a program's calls, what a window received, the sounds played)
// are read from it; nothing else keeps a history.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "entries.h"

namespace sim {

struct Entry {
    std::uint64_t sequence = 0;  // numbered as recorded; a call's entry precedes what it caused
    std::uint64_t time = 0;      // virtual milliseconds since boot
    std::uint32_t thread = 0;    // 0: the driver
    std::uint32_t pid = 0;       // the thread's process
    std::uint32_t codePid = 0;   // the process whose code ran (a hook runs on another's thread)
    EntryData data;

    template <class T>
    const T* as() const { return std::get_if<T>(&data); }
};

class Journal {
public:
    // Platform calls are many; they are recorded only while a reader asks for them.
    bool recordingCalls() const { return recordCalls_; }
    void recordCalls(bool on) { recordCalls_ = on; }
    // Keeps at most about `entries` entries, dropping the oldest half when full (0: all).
    void limit(std::size_t entries) { limit_ = entries; }

    std::uint64_t add(Entry entry);
    // A call's or a delivery's result, when it returns.
    void finishCall(std::uint64_t sequence, Value result, bool faulted);
    void finishDelivery(std::uint64_t sequence, LRESULT result);

    const std::deque<Entry>& entries() const { return entries_; }
    // The sequence number the next entry gets: a mark to read what happens after it.
    std::uint64_t next() const { return next_; }
    // Entries from `mark` on, and how many of those were dropped already.
    std::vector<const Entry*> since(std::uint64_t mark, std::size_t* dropped = nullptr) const;
    const Entry* find(std::uint64_t sequence) const;

    // Every entry of one kind, oldest first.
    template <class T>
    std::vector<T> all(std::uint64_t mark = 0) const {
        std::vector<T> out;
        for (const Entry* e : since(mark))
            if (const T* item = e->as<T>()) out.push_back(*item);
        return out;
    }

    // How many entries of a kind were ever recorded, dropped ones included.
    template <class T>
    std::uint64_t total() const {
        return totals_[EntryData(T{}).index()];
    }

    // A digest of everything recorded, results included: two runs that did the same agree on it.
    std::uint64_t digest() const { return digest_; }

private:
    void mix(std::uint64_t value);
    void mix(std::string_view text);
    void mixEntry(const Entry& entry);

    std::deque<Entry> entries_;
    std::uint64_t next_ = 0;
    std::size_t limit_ = 0;
    bool recordCalls_ = false;
    std::uint64_t digest_ = 0xcbf29ce484222325ull;
    std::array<std::uint64_t, std::variant_size_v<EntryData>> totals_{};
};

}  // namespace sim
