#include <gtest/gtest.h>

#include <sstream>

#include "arguments.h"
#include "commands.h"
#include "run_script_support.h"
#include "script_runner.h"
#include "tokenizer.h"

namespace {

using namespace pocketsim;

using pocketsim_test::Outcome;
using pocketsim_test::run;
using pocketsim_test::expectRefusals;
using pocketsim_test::Refusal;
using pocketsim_test::Printed;
using pocketsim_test::expectPrinted;

ParsedCommand parse(const std::string& line) { return parseCommand(tokenize(line)); }

TEST(TaskbarArguments, SignedNumbersWithinTheirRange) {
    const struct {
        const char* text;
        std::int64_t value;
    } cases[] = {{"0", 0}, {"-0", 0}, {"230", 230}, {"-5", -5}, {"-32768", -32768}, {"32767", 32767}, {"-0x10", -16}};
    for (const auto& c : cases) EXPECT_EQ(parseSignedNumber(c.text, -32768, 32767, "x"), c.value) << c.text;
    for (const char* text : {"", "-", "--5", "+5", "32768", "-32769", "5-", "-x", "0x10000", "1.5", "-4294967296"})
        EXPECT_THROW(parseSignedNumber(text, -32768, 32767, "x"), UsageError) << text;
}

TEST(TaskbarArguments, SizesAreWidthByHeightWithinTheScreen) {
    const struct {
        const char* text;
        int width, height;
    } cases[] = {{"240x26", 240, 26}, {"20x26", 20, 26}, {"1x1", 1, 1}, {"240x320", 240, 320}};
    for (const auto& c : cases) {
        const Size size = parseSize(c.text, 240, 320, "taskbar");
        EXPECT_EQ(size.width, c.width) << c.text;
        EXPECT_EQ(size.height, c.height) << c.text;
    }
    for (const char* text : {"", "x", "240", "240x", "x26", "0x26", "240x0", "241x26", "240x321", "240X26", "-1x26",
                             "240x26x1", " 240x26", "0x10x5"})
        EXPECT_THROW(parseSize(text, 240, 320, "taskbar"), UsageError) << text;
}

TEST(TaskbarCommands, BootLinesChooseTheDevice) {
    const struct {
        const char* line;
        int width, height;  // as the device is asked to make the taskbar; -1: the screen's width
        int screenWidth = 240, screenHeight = 320;
    } cases[] = {{"boot shell", -1, 26}, {"boot shell taskbar 20x26", 20, 26}, {"boot shell taskbar 240x40", 240, 40},
                 {"boot shell screen 480x640 taskbar 480x52", 480, 52, 480, 640}, {"boot shell taskbar 9x9 screen 320x240", 9, 9, 320, 240}};
    for (const auto& c : cases) {
        const ParsedCommand command = parse(c.line);
        ASSERT_TRUE(command.boot) << c.line;
        EXPECT_TRUE(command.boot->shell) << c.line;
        EXPECT_EQ(command.boot->taskbarWidth, c.width) << c.line;
        EXPECT_EQ(command.boot->taskbarHeight, c.height) << c.line;
        EXPECT_EQ(command.boot->screenWidth, c.screenWidth) << c.line;
        EXPECT_EQ(command.boot->screenHeight, c.screenHeight) << c.line;
    }
    for (const char* line : {"tap taskbar 1 1", "start appshut", "echo boot shell"}) EXPECT_FALSE(parse(line).boot) << line;
}

TEST(TaskbarCommands, BadArgumentsAreUsageErrors) {
    for (const char* line :
         {"boot", "boot shell taskbar", "boot shell taskbar 100001x26", "boot shell 240x26",
          "boot shell taskbar 240x26 now", "boot shell size 240x26", "boot shell screen 0x320", "boot shell screen 2049x320",
          "boot shell screen 240x320 screen 240x320", "boot shell screen", "boot shell taskbar 1x1 taskbar 1x1", "stylus", "stylus down", "stylus down 1",
          "stylus press 1 1", "stylus up 1 2 3", "stylus up 32768 0", "stylus up 0 -32769", "stylus up x 0",
          "tap taskbar", "tap taskbar 1", "tap taskbar 1 2 3", "tap taskbar 1.5 2", "taskbar result",
          "taskbar result 4294967296", "taskbar result -2147483649", "taskbar result 1 2", "app add",
          "app add notes NotesApp", "app add rcbridge NotesApp Notes", "app add \"\" NotesApp Notes",
          "app add notes \"\" Notes", "app add notes NotesApp Notes front front", "app add notes NotesApp Notes shown",
          "app add notes NotesApp Notes exstyle", "app add notes NotesApp Notes exstyle big",
          "app add notes NotesApp Notes hidden hidden", "front", "front A B", "system", "system version",
          "system version -1", "system version 3 4", "system colour red", "system platform", "show taskbar x",
          "show taskbar 1 2", "show foreground now", "expect taskbar", "expect taskbar hooked 1",
          "expect taskbar received", "expect taskbar lifts x", "expect taskbar sideways", "expect taskbar received 1 2",
          "expect closed NotesApp", "expect closed NotesApp x", "expect closed", "expect foreground",
          "expect foreground A B", "expect sent-back", "expect sent-back -1"})
        EXPECT_THROW(parse(line), UsageError) << line;
}

TEST(TaskbarCommands, ABootAfterAnyOtherCommandIsMalformed) {
    const struct {
        std::string script;
        int exit;
    } cases[] = {
        {"boot shell\n", kSuccess},
        {"# the device\n\n   boot shell taskbar 20x26\nexpect taskbar unhooked\n", kSuccess},
        {"echo hello\nboot shell\n", kMalformed},
        {"boot shell\nboot shell\n", kMalformed},
        {"tick 5\nboot shell taskbar 20x26\n", kMalformed},
    };
    for (const auto& c : cases) {
        for (bool checkOnly : {false, true}) {
            const Outcome r = run(c.script, checkOnly);
            EXPECT_EQ(r.exit, c.exit) << c.script << r.err;
            if (c.exit == kMalformed) {
                EXPECT_NE(r.err.find("\"boot\" must be the script's first command"), std::string::npos) << r.err;
            }
        }
    }
}

const std::string kNotes = "boot shell\napp add notes NotesApp Notes front\n";
const std::string kHooked = kNotes + "start appshut\n";

// What the device does not have cannot be used, and a failed expectation says what it found.
TEST(TaskbarCommands, RefusalsAndFailedExpectationsSayWhatIsThere) {
    const Refusal cases[] = {
        {"tap taskbar 230 10\n", "error: the device has no taskbar: begin the script with \"boot shell\""},
        {"stylus down 1 1\n", "error: the device has no taskbar"},
        {"taskbar result 1\n", "error: the device has no taskbar"},
        {"show taskbar\n", "error: the device has no taskbar"},
        {"expect taskbar unhooked\n", "error: the device has no taskbar"},
        {"boot shell\nfront NotesApp\n", "error: no window of class \"NotesApp\" exists"},
        {kNotes + "expect closed Memo 0\n", "error: no application window of class \"Memo\" was added (there are \"NotesApp\")"},
        {"boot shell\nexpect taskbar hooked\n", "expectation failed: the taskbar has its own procedure"},
        {kHooked + "expect taskbar unhooked\n",
         "expectation failed: another procedure stands in front of the taskbar's own"},
        {"boot shell\nexpect taskbar received 0\n",
         "expectation failed: the taskbar's own procedure received 1 message, 0 lifts"},
        {"boot shell\ntap taskbar 1 1\nexpect taskbar lifts 2\n",
         "expectation failed: the taskbar's own procedure received 3 messages, 1 lift"},
        {kNotes + "expect closed NotesApp 1\n",
         "expectation failed: NotesApp of notes (pid 4100), open, received WM_CLOSE 0 times"},
        {kHooked + "tap taskbar 230 10\nexpect closed NotesApp 0\n",
         "expectation failed: NotesApp of notes (pid 4100), gone, received WM_CLOSE 1 time"},
        {kNotes + "expect foreground none\n", "expectation failed: in front: \"NotesApp\" of notes (pid 4100)"},
        {kNotes + "front none\nexpect foreground NotesApp\n", "expectation failed: in front: none"},
        {kNotes + "tap taskbar 230 10\nexpect sent-back 0\n",
         "expectation failed: the shell sent 1 application to the background: \"NotesApp\" of notes (pid 4100)"},
    };
    expectRefusals(cases);
}

TEST(TaskbarCommands, WhatTheStylusBringsAbout) {
    const Printed cases[] = {
        {"boot shell\n", {"shell (pid 4096): taskbar hwnd ", ", 240 x 26; desktop hwnd "}},
        {"boot shell taskbar 20x30\nshow taskbar\n", {", 20 x 30, its own procedure, answers 0\n"}},
        {kNotes + "tap taskbar 230 10\n",
         {"lift at (230, 10), on the close button\n",
          "the taskbar's own procedure received WM_LBUTTONDOWN (0x0201), WM_LBUTTONUP (0x0202)\n",
          "the shell sent \"NotesApp\" of notes (pid 4100) to the background\n",
          "NotesApp of notes (pid 4100) received WM_ACTIVATE (0x0006)",
          "in front now: \"DesktopExplorerWindow\" of shell (pid 4096)\n"}},
        {kHooked + "tap taskbar 239 25\nexpect closed NotesApp 1\nexpect window NotesApp absent\n",
         {"lift at (239, 25), on the close button\n", "received WM_ACTIVATE", "received WM_CLOSE (0x0010)",
          "pid 4100 notes: ended, exit code 0"}},
        {kHooked + "tap taskbar -5 10\ntap taskbar 214 10\ntap taskbar 230 26\ntap taskbar 240 10\ntap taskbar 230 -1\n"
                   "expect closed NotesApp 0\nexpect sent-back 0\n",
         {"lift at (-5, 10), off the close button\n", "lift at (214, 10), off the close button\n",
          "lift at (230, 26), off the close button\n", "lift at (240, 10), off the close button\n",
          "lift at (230, -1), off the close button\n"}},
        {kNotes + "stylus down 100 10\nstylus move -1 -1\nstylus up 230 10\nshow taskbar 2\n",
         {"the taskbar's own procedure received WM_LBUTTONDOWN (0x0201)\n",
          "the taskbar's own procedure received WM_MOUSEMOVE (0x0200)\n",
          "lift at (230, 10), on the close button\n", "WM_MOUSEMOVE (0x0200), wParam 1 (0x1), lParam -1 (0xffffffff)\n",
          "WM_LBUTTONUP (0x0202), wParam 0 (0x0), lParam 655590 (0xa00e6)\n"}},
        // A taskbar narrower than the band is button all over.
        {"boot shell taskbar 20x26\napp add notes NotesApp Notes front\nstart appshut\ntap taskbar 0 0\n"
         "expect closed NotesApp 1\n",
         {"lift at (0, 0), on the close button\n"}},
        {kNotes + "app add ghost GhostApp Ghost hidden disabled exstyle 0x08000000 refuses-close closes-when-sent-back\n"
                  "show foreground\n",
         {"ghost (pid 4104) shows hwnd ", " class \"GhostApp\" title \"Ghost\", hidden, disabled, exstyle 0x08000000, "
                                          "refuses-close, closes-when-sent-back\n",
          "in front: hwnd ", " class \"NotesApp\" title \"Notes\" of notes (pid 4100), style 0x10000000\n"}},
        {"boot shell\nfront DesktopExplorerWindow\nexpect foreground DesktopExplorerWindow\nfront none\n"
         "expect foreground none\n",
         {"in front: \"DesktopExplorerWindow\" of shell (pid 4096)\n", "in front: none\n"}},
        {"boot shell\ntaskbar result -1\nshow taskbar\n",
         {"the taskbar's own procedure answers -1\n", "its own procedure, answers -1\n"}},
        {"system version 2\nsystem platform \"\"\n",
         {"the device reports version 2.20, platform \"PocketPC\"\n", "the device reports version 2.20, platform \"\"\n"}},
        {kNotes + "system platform Smartphone\nstart appshut\nexpect process appshut exit 0\nexpect taskbar unhooked\n"
                  "system platform PocketPC\nstart appshut\nexpect taskbar hooked\n",
         {"pid 4104 appshut: ended, exit code 0", "pid 4108 appshut: running"}},
    };
    expectPrinted(cases);
}

}  // namespace
