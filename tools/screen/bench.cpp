// `pocketscreen bench [N]`: how long a busy picture takes, fonts already loaded.
#include <algorithm>
#include <charconv>
#include <chrono>
#include <filesystem>
#include <iostream>
#include <string>

#include "commands.h"
#include "render.h"

namespace screen {

namespace {

// The build puts the programs' resources in images/ beside this tool's folder.
std::string imagesDir() {
    std::error_code error;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string("images") : (exe.parent_path().parent_path() / "images").string();
}

std::string busyScreen() {
    const std::string images = imagesDir();
    const std::string monitor = images + "/voltmarap.res";
    const std::string bridge = images + "/rcbridge.res";
    return "screen 0 0 240 320 display=on\n"
           "desktop 0 26 240 294\n"
           "window 0 26 240 294 title=\"Remote\" class=Remote front=0\n"
           "taskbar 0 0 240 26 title=\"Start\" close=1\n"
           "icon 179 5 16 16 res=\"" + bridge + "\" id=102\n"
           "icon 199 5 16 16 res=\"" + monitor + "\" id=108\n"
           "bubble 2 28 236 110 title=\"\xE3\x83\x90\xE3\x83\x83\xE3\x83\x86\xE3\x83\xAA\xE6\x83\x85\xE5\xA0\xB1\"\n"
           "icon 6 31 16 16 res=\"" + monitor + "\" id=101\n"
           "text 8 50 224 56 markup=\"\xE3\x83\x90\xE3\x83\x83\xE3\x83\x86\xE3\x83\xAA\xE6\xAE\x8B\xE9\x87\x8F: 50 %\\n"
           "<b>AC</b> offline, 0 h 5 min\" align=left\n"
           "button 164 110 68 22 label=\"Reset\" pressed=0\n"
           "menu 120 150 110 66\n"
           "item 121 151 108 20 text=\"About...\"\n"
           "item 121 171 108 4 separator=1\n"
           "item 121 175 108 20 text=\"Exit\" grayed=1\n"
           "box 20 200 200 100 caption=\"Remote Bridge\"\n"
           "text 28 224 184 40 markup=\"Version 1.0\\nAll rights reserved.\" align=center\n"
           "button 86 270 68 22 label=\"OK\" pressed=1\n";
}

}  // namespace

int benchMain(int argc, char** argv) {
    int count = 200;
    if (argc > 3 || (argc == 3 && (std::from_chars(argv[2], argv[2] + std::char_traits<char>::length(argv[2]), count).ec !=
                                       std::errc{} || count < 1))) {
        std::cerr << "usage: pocketscreen bench [N]   (N pictures, 200 unless given)\n";
        return 2;
    }
    const std::string description = busyScreen();
    warmUp();
    renderPng(description);  // the icons' files read once
    double total = 0, longest = 0;
    for (int i = 0; i < count; ++i) {
        const auto start = std::chrono::steady_clock::now();
        renderPng(description);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        total += ms;
        longest = std::max(longest, ms);
    }
    std::cout << "busy 240x320 picture to PNG, " << count << " times: average " << total / count << " ms, max "
              << longest << " ms\n";
    return 0;
}

}  // namespace screen
