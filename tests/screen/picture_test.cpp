// pocketscreen render, end to end: descriptions in, pictures out, checked by regions and colours.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "ppm.h"

namespace {

using screen::palette::Rgb;
namespace colour = screen::palette;

using picture_check::Ppm;
using picture_check::readPpm;

enum class Expect { all, some, none, notAll };  // pixels of the region that are the colour

struct Check {
    int x, y, width, height;
    Expect expect;
    Rgb colour;
    const char* what;
};

struct Picture {
    const char* name;
    std::string description;
    std::string answer;  // how the answer starts
    std::vector<Check> checks;
};

const std::string kMonitorRes = POCKET_IMAGE_DIR "/voltmarap.res";
const std::string kScreen = "screen 0 0 240 320 display=on\ndesktop 0 0 240 320\n";

const std::vector<Picture> kPictures = {
    {"taskbar and text", kScreen +
         "taskbar 0 0 240 26 title=\"Start\" close=1\n"
         "text 20 60 100 30 markup=\"\xE3\x83\x90\xE3\x83\x83\xE3\x83\x86\xE3\x83\xAA <b>bold</b> words enough to wrap "
         "onto more lines than the box holds\\nand more\\nand more\" align=left\n",
     "ok",
     {{0, 0, 5, 26, Expect::all, colour::kTaskbar, "taskbar left of its title"},
      {6, 0, 60, 26, Expect::some, colour::kTaskbarText, "taskbar title"},
      {215, 0, 25, 26, Expect::some, colour::kTaskbarText, "close button"},
      {120, 0, 90, 26, Expect::none, colour::kTaskbarText, "taskbar between title and close button"},
      {0, 26, 240, 34, Expect::all, colour::kDesktop, "desktop above the text"},
      {20, 60, 100, 30, Expect::notAll, colour::kDesktop, "text in its box"},
      {20, 90, 100, 40, Expect::all, colour::kDesktop, "text cut at the box's bottom"},
      {120, 60, 120, 60, Expect::all, colour::kDesktop, "text wrapped inside the box's width"}}},
    {"icons", kScreen +
         "icon 10 40 16 16 res=\"" + kMonitorRes + "\" id=101\n"
         "icon 40 40 16 16 res=\"/nonexistent/none.res\" id=101\n",
     "ok",
     // battery-monitor/icons/app.txt: rows 0-2 transparent, row 3 black from x 2, lime at x 8-9 of rows 5-9.
     {{10, 40, 16, 3, Expect::all, colour::kDesktop, "transparent top rows"},
      {12, 43, 14, 1, Expect::all, Rgb{0, 0, 0}, "the battery's outline"},
      {18, 45, 2, 5, Expect::all, Rgb{0, 0xFF, 0}, "a lit gauge segment"},
      {40, 40, 16, 16, Expect::some, colour::kMissingIcon, "a missing icon's placeholder"}}},
    {"display off", "screen 0 0 240 320 display=off\n", "ok", {{0, 0, 240, 320, Expect::all, colour::kDisplayOff, "all"}}},
    {"unknown kind", kScreen + "gadget 0 0 10 10\n", "error line 3: unknown kind gadget", {}},
    {"bad quote", kScreen + "button 0 0 10 10 label=\"open\n", "error line 3: unclosed quote", {}},
    {"screen too large", "screen 0 0 240 5000\n", "error line 1: HEIGHT 5000 is outside", {}},
    {"bubble and button after errors", kScreen +
         "bubble 2 28 236 110 title=\"Battery\"\n"
         "button 164 110 68 22 label=\"Reset\" pressed=0\n",
     "ok",
     {{2, 28, 1, 110, Expect::all, colour::kFrame, "bubble frame"},
      {10, 60, 140, 70, Expect::all, colour::kBubble, "bubble body"},
      {24, 29, 100, 19, Expect::some, colour::kText, "bubble title"},
      {166, 112, 64, 18, Expect::some, colour::kButtonFace, "button face"},
      {166, 112, 64, 18, Expect::notAll, colour::kButtonFace, "button label"}}},
};

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ScreenPictures, RenderDrawsEachDescriptionOrAnswersWhatIsWrong) {
    const std::string dir = ::testing::TempDir() + "screen_pictures_" + std::to_string(::getpid());
    ASSERT_EQ(std::system(("mkdir -p " + dir).c_str()), 0);
    std::ofstream requests(dir + "/requests");
    for (std::size_t i = 0; i < kPictures.size(); ++i)
        requests << "picture " << dir << "/" << i << ".ppm\n" << kPictures[i].description << "end\n";
    requests.close();
    ASSERT_EQ(std::system((POCKETSCREEN_EXE " render <" + dir + "/requests >" + dir + "/answers").c_str()), 0);

    std::istringstream answers(readAll(dir + "/answers"));
    for (std::size_t i = 0; i < kPictures.size(); ++i) {
        const Picture& picture = kPictures[i];
        SCOPED_TRACE(picture.name);
        std::string answer;
        ASSERT_TRUE(std::getline(answers, answer));
        EXPECT_EQ(answer.substr(0, picture.answer.size()), picture.answer) << answer;
        if (picture.checks.empty()) continue;
        const Ppm ppm = readPpm(dir + "/" + std::to_string(i) + ".ppm");
        ASSERT_EQ(ppm.width, 240);
        ASSERT_EQ(ppm.height, 320);
        for (const Check& check : picture.checks) {
            int matching = 0;
            for (int y = check.y; y < check.y + check.height; ++y)
                for (int x = check.x; x < check.x + check.width; ++x) matching += ppm.at(x, y) == check.colour;
            const int all = check.width * check.height;
            const bool held = check.expect == Expect::all    ? matching == all
                              : check.expect == Expect::some ? matching > 0
                              : check.expect == Expect::none ? matching == 0
                                                             : matching < all;
            EXPECT_TRUE(held) << check.what << ": " << matching << " of " << all << " pixels of the colour";
        }
    }
    std::string extra;
    EXPECT_FALSE(std::getline(answers, extra)) << "an answer too many: " << extra;
}

}  // namespace
