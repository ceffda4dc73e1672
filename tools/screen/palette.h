// The colours of the screen pictures, fixed so that tests can look for them.
#pragma once

#include <cstdint>

namespace screen::palette {

struct Rgb {
    std::uint8_t r, g, b;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

constexpr Rgb kDisplayOff{0x00, 0x00, 0x00};
constexpr Rgb kBlank{0xFF, 0xFF, 0xFF};  // what no element covers
constexpr Rgb kDesktop{0xF0, 0xF4, 0xFA};
constexpr Rgb kTaskbar{0x10, 0x28, 0x78};
constexpr Rgb kTaskbarText{0xFF, 0xFF, 0xFF};
constexpr Rgb kCaption{0x18, 0x48, 0xB0};        // caption bars of the front window and of boxes
constexpr Rgb kCaptionBehind{0x80, 0x80, 0x80};  // caption bar of a window behind others
constexpr Rgb kCaptionText{0xFF, 0xFF, 0xFF};
constexpr Rgb kClient{0xFF, 0xFF, 0xFF};
constexpr Rgb kBubble{0xFF, 0xFF, 0xE1};
constexpr Rgb kBubbleTitle{0xF0, 0xE6, 0xA8};
constexpr Rgb kFrame{0x00, 0x00, 0x00};
constexpr Rgb kText{0x00, 0x00, 0x00};
constexpr Rgb kButtonFace{0xD4, 0xD0, 0xC8};
constexpr Rgb kButtonFrame{0x40, 0x40, 0x40};
constexpr Rgb kButtonPressed{0x40, 0x40, 0x40};
constexpr Rgb kButtonPressedText{0xFF, 0xFF, 0xFF};
constexpr Rgb kMenu{0xFF, 0xFF, 0xFF};
constexpr Rgb kGrayedText{0x80, 0x80, 0x80};
constexpr Rgb kSeparator{0x80, 0x80, 0x80};
constexpr Rgb kBoxBody{0xE8, 0xE8, 0xE8};
constexpr Rgb kMissingIcon{0xFF, 0x00, 0xFF};

}  // namespace screen::palette
