// How journal values read as text; every reader of the journal uses these.
#pragma once

#include <string>

#include "entries.h"

namespace sim {

// 42, -1, 0x1a2b, NULL, "text", #104 (a resource number)
std::string valueText(const Value& value);
// "SetTimer(0x10004, 1, 5000, NULL) = 1"
std::string callText(const CallEntry& call);

}  // namespace sim
