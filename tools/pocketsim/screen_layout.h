// What the screen shows, as elements with their places: the description pictures are drawn
// from, and where the stylus lands when the user touches a point of it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "commands.h"

namespace pocketsim {

struct ScreenElement {
    std::string kind;  // screen, desktop, window, taskbar, icon, bubble, text, button, menu, item, box
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    std::vector<std::pair<std::string, std::string>> attributes;
    // The script lines that the stylus does here: touching, and lifting over it. Empty: touching
    // it does nothing.
    std::string downLine;
    std::string upLine;
    bool liftAnywhere = false;  // the lift goes to it wherever the pen is (the taskbar, a tray icon)
    bool coordinates = false;   // the lines take the pen's point, and moves are told too (the taskbar)

    bool contains(int px, int py) const { return px >= x && px < x + width && py >= y && py < y + height; }
    std::string attribute(const std::string& key) const;
};

// Everything on the screen now, bottom first. With the display off only the screen line.
std::vector<ScreenElement> layoutScreen(const pocket::PocketDevice& device, const ScriptState& state);

// One element per line: "KIND X Y WIDTH HEIGHT KEY=VALUE...", values quoted as script words are.
std::string describeScreen(const std::vector<ScreenElement>& elements);

// The pen on the screen, as the lines to run for it. A touch that lands on an element is kept
// in `state` so that the lift goes where a real pen's would.
enum class Touch { Down, Move, Up, Tap };
std::vector<std::string> touchLines(const std::vector<ScreenElement>& elements, ScriptState& state, Touch touch,
                                    int x, int y);

// Writes a picture of the screen now to `path`; returns the microseconds drawing it took.
std::uint64_t paintScreen(const pocket::PocketDevice& device, ScriptState& state, const std::string& path);

// Notification HTML, as the shell's bubble shows it: paragraphs of Pango markup, and buttons.
struct BubbleContent {
    struct Paragraph {
        std::string markup;
        std::string align = "left";
        std::vector<std::pair<std::string, unsigned>> buttons;  // label, command
    };
    std::vector<Paragraph> paragraphs;
};
BubbleContent parseBubbleHtml(const std::string& html);

}  // namespace pocketsim
