// pocketscreen: pictures of the simulated screen, and the live device in a browser (README.md).
#include <iostream>
#include <string_view>

#include "commands.h"
#include "serve.h"

namespace {

constexpr const char* kUsage =
    "usage: pocketscreen render                 pictures from descriptions on standard input\n"
    "       pocketscreen serve --port N --pocketsim PATH [-- POCKETSIM-ARGS...]\n"
    "                                           the live device in a browser\n"
    "       pocketscreen bench [N]              time N pictures of a busy screen\n";

}  // namespace

int main(int argc, char** argv) {
    const std::string_view command = argc > 1 ? argv[1] : "";
    if (command == "render") return screen::renderMain(argc, argv);
    if (command == "serve") return serveMain(argc, argv);
    if (command == "bench") return screen::benchMain(argc, argv);
    if (command == "--help") {
        std::cout << kUsage;
        return 0;
    }
    std::cerr << kUsage;
    return 2;
}
