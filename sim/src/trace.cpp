#include "trace.h"

namespace sim {

std::vector<std::string> Trace::functions(const std::string& process) const {
    std::vector<std::string> names;
    for (const TraceRecord& record : records_)
        if (process.empty() || record.process == process) names.push_back(record.function);
    return names;
}

}  // namespace sim
