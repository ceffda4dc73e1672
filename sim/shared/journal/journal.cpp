#include "journal.h"

#include <type_traits>

namespace sim {

std::uint64_t Journal::add(Entry entry) {
    entry.sequence = next_++;
    mixEntry(entry);
    ++totals_[entry.data.index()];
    entries_.push_back(std::move(entry));
    if (limit_ && entries_.size() > limit_) entries_.erase(entries_.begin(), entries_.begin() + entries_.size() / 2);
    return entries_.back().sequence;
}

const Entry* Journal::find(std::uint64_t sequence) const {
    if (entries_.empty() || sequence < entries_.front().sequence) return nullptr;
    const std::uint64_t index = sequence - entries_.front().sequence;
    return index < entries_.size() ? &entries_[index] : nullptr;
}

void Journal::finishCall(std::uint64_t sequence, Value result, bool faulted) {
    mix(sequence);
    if (result.kind != Value::Kind::Pointer) mix(result.bits);  // addresses differ from run to run
    mix(result.text);
    mix(faulted);
    auto* entry = const_cast<Entry*>(find(sequence));
    if (!entry) return;  // dropped already
    if (auto* call = std::get_if<CallEntry>(&entry->data)) {
        call->result = std::move(result);
        call->faulted = faulted;
        call->returned = true;
    }
}

void Journal::finishDelivery(std::uint64_t sequence, LRESULT result) {
    mix(sequence);
    mix(static_cast<std::uint64_t>(result));
    auto* entry = const_cast<Entry*>(find(sequence));
    if (!entry) return;
    if (auto* delivery = std::get_if<DeliveryEntry>(&entry->data)) {
        delivery->result = result;
        delivery->returned = true;
    }
}

std::vector<const Entry*> Journal::since(std::uint64_t mark, std::size_t* dropped) const {
    std::vector<const Entry*> out;
    const std::uint64_t first = entries_.empty() ? next_ : entries_.front().sequence;
    if (dropped) *dropped = mark < first ? static_cast<std::size_t>(first - mark) : 0;
    std::size_t index = mark > first ? static_cast<std::size_t>(mark - first) : 0;
    for (; index < entries_.size(); ++index) out.push_back(&entries_[index]);
    return out;
}

// A word at a time: every entry passes through here, and byte-wise hashing was a tenth of a run.
void Journal::mix(std::uint64_t value) {
    digest_ = (digest_ ^ value) * 0x9E3779B97F4A7C15ull;
    digest_ ^= digest_ >> 29;
}

void Journal::mix(std::string_view text) {
    std::uint64_t word = 0;
    std::size_t filled = 0;
    for (unsigned char c : text) {
        word = word << 8 | c;
        if (++filled == 8) {
            mix(word);
            word = 0;
            filled = 0;
        }
    }
    mix(word);
    mix(text.size());
}

// Enough of each entry that two runs doing different things almost surely differ; addresses of
// records on a stack are left out, as they differ between runs that do the same.
void Journal::mixEntry(const Entry& entry) {
    mix(entry.sequence);
    mix(entry.time);
    mix(entry.thread);
    mix(entry.pid);
    mix(entry.codePid);
    mix(entry.data.index());
    std::visit(
        [this](const auto& item) {
            using T = std::decay_t<decltype(item)>;
            if constexpr (std::is_same_v<T, CallEntry>) {
                mix(std::string_view(item.function));
                for (const Value& v : item.args) {
                    mix(static_cast<std::uint64_t>(v.kind));
                    if (v.kind != Value::Kind::Pointer) mix(v.bits);
                    mix(v.text);
                }
            } else if constexpr (std::is_same_v<T, DeliveryEntry>) {
                mix(reinterpret_cast<std::uintptr_t>(item.hwnd));
                mix(item.message);
                mix(item.wParam);
                mix(static_cast<std::uint64_t>(item.how));
                mix(item.depth);
            } else if constexpr (std::is_same_v<T, KeyboardEvent>) {
                mix(item.vk);
                mix(item.flags);
            } else if constexpr (std::is_same_v<T, HotKeyPress>) {
                mix(item.vk);
                mix(item.modifiers);
                mix(item.receiver ? item.receiver->pid : 0);
            } else if constexpr (std::is_same_v<T, StylusEvent>) {
                mix(item.message);
                mix(static_cast<std::uint64_t>(item.x));
                mix(static_cast<std::uint64_t>(item.y));
                mix(item.onTrayIcon ? item.iconId + 1ULL : 0);
            } else if constexpr (std::is_same_v<T, SoundStarted>) {
                mix(item.plannedEnd);
                mix(item.async);
            } else if constexpr (std::is_same_v<T, SoundCut>) {
                mix(item.started);
            } else if constexpr (std::is_same_v<T, VolumeWrite>) {
                mix(item.volume);
            } else if constexpr (std::is_same_v<T, EscapeCall>) {
                mix(static_cast<std::uint64_t>(item.escape));
                mix(static_cast<std::uint64_t>(item.result));
            } else if constexpr (std::is_same_v<T, NotificationEvent>) {
                mix(static_cast<std::uint64_t>(item.call));
                mix(item.id);
                mix(item.mask);
                mix(static_cast<std::uint64_t>(item.result));
            } else if constexpr (std::is_same_v<T, TrayChange>) {
                mix(item.operation);
                mix(item.icon.id);
                mix(item.icon.iconResourceId);
                mix(static_cast<std::uint64_t>(item.result));
            } else if constexpr (std::is_same_v<T, MenuClosed>) {
                mix(item.menu.chosen);
            } else if constexpr (std::is_same_v<T, MessageBoxClosed>) {
                mix(static_cast<std::uint64_t>(item.box.result));
            } else if constexpr (std::is_same_v<T, ProcessLaunch>) {
                mix(item.error);
                mix(item.processId);
            } else if constexpr (std::is_same_v<T, ProcessEnded>) {
                mix(static_cast<std::uint64_t>(item.exitCode));
            } else if constexpr (std::is_same_v<T, FaultFired>) {
                mix(std::string_view(item.function));
            } else if constexpr (std::is_same_v<T, SimulationError>) {
                mix(item.message);
            }
        },
        entry.data);
}

}  // namespace sim
