#include "describe.h"

#include <cinttypes>
#include <cstdio>

namespace sim {

std::string valueText(const Value& value) {
    switch (value.kind) {
    case Value::Kind::None: return "";
    case Value::Kind::Signed: return std::to_string(value.number());
    case Value::Kind::Unsigned: return std::to_string(value.bits);
    case Value::Kind::Text: return "\"" + value.text + "\"";
    case Value::Kind::Resource: return "#" + std::to_string(value.bits);
    case Value::Kind::Pointer: break;
    }
    if (!value.bits) return "NULL";
    char text[24];
    std::snprintf(text, sizeof text, "0x%" PRIx64, value.bits);
    return text;
}

std::string callText(const CallEntry& call) {
    std::string text = std::string(call.function) + "(";
    for (std::size_t i = 0; i < call.args.size(); ++i) text += (i ? ", " : "") + valueText(call.args[i]);
    text += ")";
    if (call.result.kind != Value::Kind::None) text += " = " + valueText(call.result);
    if (call.faulted) text += "  [injected fault]";
    return text;
}

}  // namespace sim
