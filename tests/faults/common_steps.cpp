#include "scenarios.h"

namespace sweep {

Step startProgram(const std::string& program, const std::string& why) {
    return Step{why + " " + program, [program](pocket::PocketDevice& device) { device.start(program); }};
}

Step advance(std::uint64_t milliseconds) {
    return Step{"advance " + std::to_string(milliseconds) + " ms",
                [milliseconds](pocket::PocketDevice& device) { device.advance(milliseconds); }};
}

Step closeFromOutside(const std::string& program) {
    return Step{"WM_CLOSE to " + program + " from outside", [program](pocket::PocketDevice& device) {
                    for (const pocket::WindowView& w : device.windows())
                        if (w.process == program) device.postMessage(w.hwnd, WM_CLOSE, 0, 0);
                    device.runUntilIdle();
                }};
}

}  // namespace sweep
