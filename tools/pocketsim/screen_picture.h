// Pictures of the screen, drawn by pocketscreen (a native tool: the drawing libraries are not
// built for the simulation's 32-bit data model), which runs beside pocketsim for the whole run.
#pragma once

#include <cstdint>
#include <string>
#include <sys/types.h>

namespace pocketsim {

// The tool at POCKETSCREEN in the environment, else the one the build made.
std::string pocketscreenPath();

class ScreenPainter {
public:
    ScreenPainter();
    ~ScreenPainter();
    ScreenPainter(const ScreenPainter&) = delete;
    ScreenPainter& operator=(const ScreenPainter&) = delete;

    // Writes `path` (PNG, or PPM when it ends in .ppm) from a screen description; returns the
    // microseconds the drawing took. Throws std::runtime_error when it cannot.
    std::uint64_t paint(const std::string& description, const std::string& path);

private:
    void start();
    void stop();
    pid_t child_ = -1;
    int toChild_ = -1;
    int fromChild_ = -1;
    std::string buffered_;
};

}  // namespace pocketsim
