// Where a stylus lift on the taskbar counts, and which foreground windows tap-to-close may close,
// written down from the rules on their own so that the program's hit test and closable-window
// test are checked against something they do not share code with.
#pragma once

#include <cstdint>
#include <string>

namespace explore {

inline constexpr std::uint32_t kVisible = 0x10000000;      // WS_VISIBLE
inline constexpr std::uint32_t kDisabled = 0x08000000;     // WS_DISABLED
inline constexpr std::uint32_t kNoActivate = 0x08000000;   // WS_EX_NOACTIVATE
inline constexpr std::uint32_t kCaptionOk = 0x80000000;    // WS_EX_CAPTIONOKBTN

struct WindowTraits {
    bool exists = false;
    std::string className;  // UTF-8
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
};

// Tap-to-close's test: a visible, enabled window that is not one of the shell's or the system's,
// not a dialog, and neither never-active nor closed by its caption's OK button.
bool closableWindow(const WindowTraits& window);

// Tap-to-close's hit test of a lift at (x, y) as the touch driver packs it (16 bits each, read
// unsigned) on a taskbar of `width` x `height`: the rightmost 25 columns, full height.
bool liftInCloseBand(int x, int y, int width, int height);

// The shell's own close button: the same band, with the coordinates read as signed.
bool shellCloseButtonHit(int x, int y, int width, int height);

}  // namespace explore
