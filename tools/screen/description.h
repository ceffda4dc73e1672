// A screen description: the elements pocketsim says are on the screen, in drawing order.
#pragma once

#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace screen {

enum class Kind { desktop, window, taskbar, icon, bubble, text, button, menu, item, box };

struct Element {
    Kind kind{};
    int line = 0;  // where it stands in the description, for errors found while drawing
    int x = 0, y = 0, width = 0, height = 0;
    std::map<std::string, std::string, std::less<>> values;

    // The key's value; empty when absent.
    std::string_view value(std::string_view key) const;
    // A 0|1 key, checked when the description was read; absent is 0.
    bool flag(std::string_view key) const { return value(key) == "1"; }
};

struct Description {
    int width = 0, height = 0;
    bool displayOn = true;
    std::vector<Element> elements;  // after the screen line
};

// What is wrong with a description, with the number of the line at fault.
struct DescriptionError : std::runtime_error {
    DescriptionError(int line, const std::string& what)
        : std::runtime_error("line " + std::to_string(line) + ": " + what) {}
};

constexpr int kMaxScreenSide = 2048;
constexpr int kMaxElements = 10000;
constexpr std::size_t kMaxLineLength = 64 * 1024;

// Lines end with a line feed (a carriage return before it is dropped); blank lines are skipped.
Description parseDescription(std::string_view text);

}  // namespace screen
