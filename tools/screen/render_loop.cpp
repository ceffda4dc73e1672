// `pocketscreen render`: pictures on request, for pocketsim.
#include <chrono>
#include <exception>
#include <iostream>
#include <string>

#include "commands.h"
#include "render.h"

namespace screen {

namespace {

// Answers are one line each, whatever an error's text holds.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

void answer(const std::string& line) { std::cout << line << '\n' << std::flush; }

}  // namespace

void warmUp() {
    renderPng("screen 0 0 8 8\ntext 0 0 8 8 markup=\"A\xE3\x81\x82\"\n");
}

int renderMain(int argc, char**) {
    if (argc != 2) {
        std::cerr << "usage: pocketscreen render   (requests on standard input)\n";
        return 2;
    }
    warmUp();
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (line.rfind("picture ", 0) != 0 || line.size() == 8) {
            answer("error expected \"picture PATH\", not: " + oneLine(line));
            continue;
        }
        const std::string path = line.substr(8);
        std::string description;
        bool ended = false;
        while (std::getline(std::cin, line)) {
            if (line == "end" || line == "end\r") {
                ended = true;
                break;
            }
            description += line;
            description += '\n';
        }
        if (!ended) {
            answer("error input ended before \"end\"");
            break;
        }
        const auto start = std::chrono::steady_clock::now();
        try {
            renderFile(description, path);
            const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
            answer("ok " + std::to_string(took.count()));
        } catch (const std::exception& e) {
            answer("error " + oneLine(e.what()));
        }
    }
    return 0;
}

}  // namespace screen
