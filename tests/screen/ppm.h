// Pictures read back pixel by pixel: the binary PPMs pocketscreen writes for tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>

#include "../../tools/screen/palette.h"

namespace picture_check {

struct Ppm {
    int width = 0;
    int height = 0;
    std::string rgb;

    screen::palette::Rgb at(int x, int y) const {
        const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
        return {static_cast<std::uint8_t>(rgb[i]), static_cast<std::uint8_t>(rgb[i + 1]), static_cast<std::uint8_t>(rgb[i + 2])};
    }
};

inline Ppm readPpm(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maximum = 0;
    Ppm p;
    in >> magic >> p.width >> p.height >> maximum;
    in.get();
    p.rgb.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (magic != "P6" || maximum != 255 || p.rgb.size() != static_cast<std::size_t>(p.width) * p.height * 3)
        ADD_FAILURE() << path << " is not a whole binary PPM";
    return p;
}

}  // namespace picture_check
