#include "sequence.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "describe.h"
#include "names.h"

namespace pocket {

namespace {

// One call or delivery as a step sees it.
struct Seen {
    unsigned kind = 0;  // kCall, kSent, kPosted or kCalled
    std::string function;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::int64_t result = 0;
    std::string text;
};

unsigned kindOf(sim::Delivery how) {
    switch (how) {
    case sim::Delivery::Sent: return kSent;
    case sim::Delivery::Posted: return kPosted;
    case sim::Delivery::Called: return kCalled;
    }
    return 0;
}

const char* kindName(unsigned kind) {
    if (kind & kSent) return "sent";
    if (kind & kPosted) return "posted";
    if (kind & kCalled) return "passed on";
    return "call";
}

std::string stepText(const Step& step) {
    const unsigned kind = step.flags & (kCall | kSent | kPosted | kCalled);
    std::string text = kind == kCall ? std::string(step.function) : std::string(kindName(kind)) + " " + sim::messageName(step.message);
    if (step.flags & kWParam) text += ", wParam " + std::to_string(step.wParam);
    if (step.flags & kLParam) text += ", lParam " + std::to_string(step.lParam);
    if (step.flags & kResult) text += " = " + std::to_string(step.result);
    return text;
}

std::vector<Seen> seenSince(const PocketDevice& device, std::uint64_t mark, const std::string& program,
                            std::span<const char* const> ignored) {
    std::vector<Seen> out;
    for (const sim::Entry* entry : device.journal().since(mark)) {
        if (!program.empty()) {
            const auto owner = device.process(entry->codePid);
            if (!owner || owner->name != program) continue;
        }
        if (const auto* call = entry->as<sim::CallEntry>()) {
            if (std::any_of(ignored.begin(), ignored.end(), [&](const char* name) { return !std::strcmp(name, call->function); }))
                continue;
            out.push_back(Seen{kCall, call->function, 0, 0, 0, call->result.number(), sim::callText(*call)});
        } else if (const auto* d = entry->as<sim::DeliveryEntry>()) {
            const unsigned kind = kindOf(d->how);
            out.push_back(Seen{kind, {}, d->message, d->wParam, d->lParam, static_cast<std::int64_t>(d->result),
                               std::string(kindName(kind)) + " " + sim::messageName(d->message) + ", wParam " +
                                   std::to_string(d->wParam) + ", lParam " + std::to_string(d->lParam) + " = " +
                                   std::to_string(d->result)});
        }
    }
    return out;
}

bool matches(const Step& step, const Seen& seen) {
    if (!(step.flags & seen.kind)) return false;
    if (seen.kind == kCall ? seen.function != step.function : seen.message != step.message) return false;
    if ((step.flags & kWParam) && seen.wParam != step.wParam) return false;
    if ((step.flags & kLParam) && seen.lParam != step.lParam) return false;
    if ((step.flags & kResult) && seen.result != step.result) return false;
    return true;
}

}  // namespace

std::string sequenceMismatch(const PocketDevice& device, std::uint64_t mark, const std::string& program,
                             std::span<const Step> expected, std::span<const char* const> ignored) {
    const std::vector<Seen> seen = seenSince(device, mark, program, ignored);
    std::size_t at = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const Step& step = expected[i];
        if (at < seen.size() && matches(step, seen[at])) {
            ++at;
            continue;
        }
        if (step.flags & kOptional) continue;
        const std::string where = "step " + std::to_string(i + 1) + " (" + stepText(step) + ")";
        if (at == seen.size()) return where + ": the sequence ended before it";
        return where + ": got " + seen[at].text;
    }
    if (at < seen.size())
        return "after the last step: " + std::to_string(seen.size() - at) + " more, the first " + seen[at].text;
    return "";
}

}  // namespace pocket
