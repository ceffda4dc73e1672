// The pictures pocketsim draws of real program states, read back pixel by pixel: what each
// region shows, not how a font happens to draw it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "icon_pixels.h"
#include "../screen/ppm.h"
#include "resources.h"
#include "run_script_support.h"

namespace screen_picture_test {

using screen::palette::Rgb;

// How many pixels of a rectangle have the colour; text's, drawn smooth, only near black.
int count(const picture_check::Ppm& p, int x, int y, int w, int h, Rgb colour) {
    int n = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) {
            const Rgb c = p.at(i, j);
            n += colour == screen::palette::kText ? c.r + c.g + c.b < 200 : c == colour;
        }
    return n;
}

picture_check::Ppm screenAfter(const std::string& script) {
    const std::string path = (std::filesystem::temp_directory_path() / "screen_picture_test.ppm").string();
    const auto r = pocketsim_test::run(script + "show screen " + path + "\n");
    EXPECT_EQ(r.exit, pocketsim::kSuccess) << r.err;
    picture_check::Ppm p = picture_check::readPpm(path);
    std::filesystem::remove(path);
    return p;
}

const std::string kDevice = "boot shell\ntick 60000\npower battery 62\n";

TEST(ScreenPicture, RegionsShowWhatTheDeviceShows) {
    const picture_check::Ppm p = screenAfter(kDevice + "start voltmarap\nstart rcbridge\napp add notes NotesApp Notes front\n");
    ASSERT_EQ(p.width, 240);
    ASSERT_EQ(p.height, 320);
    EXPECT_EQ(p.at(2, 2), screen::palette::kTaskbar);
    // The bubble below the taskbar, its text dark on its face, its button below the text.
    EXPECT_GT(count(p, 10, 52, 220, 32, screen::palette::kBubble), 2000);
    EXPECT_GT(count(p, 8, 52, 120, 32, screen::palette::kText), 40);
    EXPECT_GT(count(p, 166, 88, 60, 18, screen::palette::kButtonFace), 200);
    // Notes fills what the bubble leaves; nothing of the bubble spills into it.
    EXPECT_EQ(count(p, 0, 130, 240, 190, screen::palette::kBubble), 0);
    EXPECT_GT(count(p, 4, 130, 232, 180, screen::palette::kClient), 40000);

    // The bridge's tray icon, pixel for pixel as its .res holds it.
    const auto res = sim::ResourceSet::load(std::string(POCKET_IMAGE_DIR) + "/rcbridge.res");
    const sim::IconPixels icon = sim::decodeIcon(*res.groupIcon(102)->best(16, 16));
    int opaque = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const std::uint32_t argb = icon.argb[y * 16 + x];
            if ((argb >> 24) != 0xFF) continue;
            ++opaque;
            const Rgb want{static_cast<std::uint8_t>(argb >> 16), static_cast<std::uint8_t>(argb >> 8),
                           static_cast<std::uint8_t>(argb)};
            EXPECT_EQ(p.at(197 + x, 5 + y), want) << x << "," << y;
        }
    EXPECT_GT(opaque, 50);
}

TEST(ScreenPicture, MenuAndBoxAreDrawnWhereTheyAreAndTheDisplayOffIsBlack) {
    const picture_check::Ppm menu = screenAfter(kDevice + "start rcbridge\ntap tray rcbridge\n");
    EXPECT_GT(count(menu, 120, 244, 118, 48, screen::palette::kMenu), 3000);
    EXPECT_GT(count(menu, 120, 244, 118, 20, screen::palette::kText), 20);
    EXPECT_EQ(count(menu, 0, 100, 100, 100, screen::palette::kMenu), 0);

    const picture_check::Ppm box = screenAfter(kDevice + "start rcbridge\ntap tray rcbridge\nchoose menu 40006\n");
    EXPECT_EQ(count(box, 120, 244, 118, 48, screen::palette::kMenu), 0);
    EXPECT_GT(count(box, 10, 100, 220, 120, screen::palette::kBoxBody), 5000);

    const picture_check::Ppm off = screenAfter(kDevice + "start voltmarap\ndisplay driver state off\n");
    EXPECT_EQ(count(off, 0, 0, 240, 320, screen::palette::kDisplayOff), 240 * 320);
}

// A picture after each line that changed the screen, and a filmstrip of every line.
TEST(ScreenPicture, ScreensAndReportFollowTheRun) {
    const auto dir = std::filesystem::temp_directory_path() / "screen_picture_test";
    std::filesystem::remove_all(dir);
    pocketsim::RunOptions options;
    options.screensDir = (dir / "shots").string();
    options.reportPath = (dir / "run.html").string();
    std::istringstream in(kDevice + "start appshut\napp add notes NotesApp \"<Notes>\" front\nexpect running appshut 1\n"
                          "tap taskbar 230 10\nexpect window NotesApp absent\n");
    std::ostringstream out, err;
    ASSERT_EQ(pocketsim::runScript("t.pocket", in, out, err, options), pocketsim::kSuccess) << err.str();
    std::vector<std::string> shots;
    for (const auto& entry : std::filesystem::directory_iterator(options.screensDir))
        shots.push_back(entry.path().filename().string());
    std::sort(shots.begin(), shots.end());
    EXPECT_EQ(shots, (std::vector<std::string>{"line-0001.png", "line-0005.png", "line-0007.png"}));
    std::ifstream file(options.reportPath);
    const std::string html(std::istreambuf_iterator<char>(file), {});
    std::size_t pictures = 0;
    for (std::size_t at = html.find("data:image/png;base64,"); at != std::string::npos; at = html.find("data:image/png", at + 1))
        ++pictures;
    EXPECT_EQ(pictures, 3u);
    for (const char* text : {"id=\"line-8\"", "tap taskbar 230 10", "&lt;Notes&gt;", "expect window NotesApp absent  ok",
                             "the shell sent &quot;NotesApp&quot;", "every line ran"})
        EXPECT_NE(html.find(text), std::string::npos) << text;
    std::filesystem::remove_all(dir);
}

}  // namespace screen_picture_test
