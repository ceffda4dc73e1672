// Text in the pictures, through Pango, with fonts that carry Japanese.
#pragma once

#include <string_view>

#include <cairo.h>

#include "palette.h"

namespace screen {

struct Box {
    int x = 0, y = 0, width = 0, height = 0;
};

enum class Align { left, center, right };

struct TextStyle {
    palette::Rgb colour = palette::kText;
    bool bold = false;
    Align align = Align::left;
    bool markup = false;     // Pango markup rather than plain text
    bool wrap = false;       // several lines from the top; otherwise one line, cut with an ellipsis and centred vertically
    int pixelSize = 12;
};

// Draws text inside the box, clipped to it. Throws std::runtime_error for markup Pango refuses.
void drawText(cairo_t* cr, std::string_view text, Box box, const TextStyle& style);

}  // namespace screen
