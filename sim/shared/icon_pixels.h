// The pixels of an icon image, for whatever draws them (the screen pictures).
#pragma once

#include <cstdint>
#include <vector>

#include "resources.h"

namespace sim {

enum class AlphaForm {
    straight,       // colour channels as stored
    premultiplied,  // colour channels scaled by alpha, as cairo's ARGB32 wants them
};

struct IconPixels {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;  // 0xAARRGGBB, top row first, width * height
};

// Decodes a bitmap icon image (1, 4 or 8 bits with a palette, 24 or 32 bits); the AND mask's set
// bits are transparent. Throws std::runtime_error for an image it cannot decode (PNG, compressed,
// 16 bits) or whose data is shorter than its header promises.
IconPixels decodeIcon(const IconImage& image, AlphaForm form = AlphaForm::straight);

}  // namespace sim
