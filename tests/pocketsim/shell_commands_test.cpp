#include <gtest/gtest.h>

#include <sstream>

#include "format.h"
#include "run_script_support.h"
#include "script_runner.h"

namespace {

using pocketsim_test::Outcome;
using pocketsim_test::run;
using pocketsim_test::expectRefusals;
using pocketsim_test::Refusal;

const std::string kMenuOpen = "start rcbridge\ntap tray rcbridge\n";
const std::string kAboutOpen = kMenuOpen + "choose menu \"ﾊﾞｰｼﾞｮﾝ情報...\"\n";

// What the screen does not show cannot be tapped, chosen or closed; each ends the run.
TEST(ShellCommands, WhatTheScreenDoesNotShowCannotBeUsed) {
    const Refusal cases[] = {
        {"choose menu 1\n", "error: no menu is open"},
        {"dismiss menu\n", "error: no menu is open"},
        {"dismiss messagebox\n", "error: no message box is open"},
        {"tap tray rcbridge\n", "error: rcbridge shows no tray icon"},
        {"start rcbridge\npen down tray rcbridge 2\n", "error: rcbridge shows no tray icon with id 2 (its icons: 1)"},
        {kMenuOpen + "choose menu -\n", "error: a separator cannot be chosen"},
        {kMenuOpen + "choose menu 0\n", "error: the menu has no item \"0\""},
        {kMenuOpen + "choose menu \"終了 \"\n", "error: the menu has no item \"終了 \""},
        {kMenuOpen + "dismiss menu\ndismiss menu\n", "error: no menu is open"},
        {kAboutOpen + "dismiss messagebox CANCEL\n", "error: the message box \"About\" has no CANCEL button (it shows OK)"},
        {kAboutOpen + "dismiss messagebox\ndismiss messagebox\n", "error: no message box is open"},
        {"expect messagebox caption About\n", "expectation failed: no message box is open"},
        {"expect menu at 240 294\n", "expectation failed: no menu is open"},
        {"expect menu items -\n", "expectation failed: no menu is open"},
        {kMenuOpen + "expect menu items \"ﾊﾞｰｼﾞｮﾝ情報...\" \"終了\"\n",
         "expectation failed: the menu has \"ﾊﾞｰｼﾞｮﾝ情報...\", -, \"終了\""},
        {kMenuOpen + "expect menu closed\n", "expectation failed: a menu is open: \"ﾊﾞｰｼﾞｮﾝ情報...\", -, \"終了\""},
        {kMenuOpen + "expect menus-opened 0\n", "expectation failed: 1 menu opened"},
        {kAboutOpen + "expect messagebox closed\n", "expectation failed: the message box \"About\" is open: \""},
        {kAboutOpen + "expect messagebox type 0\n",
         "expectation failed: the message box \"About\" has the type 0x00000040 (MB_OK|MB_ICONINFORMATION)"},
        {kAboutOpen + "expect messagebox text contains \"\\n\\n\\n\"\n", "which does not contain \"\\n\\n\\n\""},
        {kAboutOpen + "expect messagebox caption about\n", "expectation failed: the open message box has the caption \"About\""},
        {"start rcbridge\nexpect tray rcbridge icon 0\n", "expectation failed: rcbridge (pid 4096) id 1, "},
        {"expect tray rcbridge exists\n", "expectation failed: rcbridge shows no tray icon"},
        {"start rcbridge\nexpect tray-icons 0\n", "expectation failed: 1 tray icon; rcbridge (pid 4096) id 1"},
    };
    expectRefusals(cases);
}

// The user's answers reach the program, and the run says what the shell opened and closed.
TEST(ShellCommands, AnswersAndWhatTheyBringAbout) {
    struct Case {
        std::string script;
        std::vector<std::string> lines;  // each must appear in the output
    };
    const Case cases[] = {
        {kMenuOpen, {"tapped tray icon 1 of rcbridge (pid 4096)\n",
                     "menu opened by rcbridge (pid 4096) at (240, 294): \"ﾊﾞｰｼﾞｮﾝ情報...\", -, \"終了\"\n"}},
        {kMenuOpen + "dismiss menu\n", {"menu of rcbridge (pid 4096) closed without a choice\n"}},
        {kMenuOpen + "tap tray rcbridge\n",
         {"the tap only closed the open menu\n", "menu of rcbridge (pid 4096) closed without a choice\n"}},
        {kAboutOpen, {"menu of rcbridge (pid 4096) closed: 40006 \"ﾊﾞｰｼﾞｮﾝ情報...\" chosen\n",
                      "message box \"About\" opened by rcbridge (pid 4096): \""}},
        {kAboutOpen + "dismiss messagebox\n", {"message box \"About\" of rcbridge (pid 4096) closed with OK (1)\n"}},
        {kAboutOpen + "dismiss messagebox ok\n", {"closed with OK (1)\n"}},
        // A number is handed over even when the box shows no such button.
        {kAboutOpen + "dismiss messagebox 2\n", {"closed with CANCEL (2)\n"}},
        {kAboutOpen + "show messagebox\n",
         {"message box of rcbridge (pid 4096), caption \"About\", type 0x00000040 (MB_OK|MB_ICONINFORMATION), buttons OK\n",
          "  text:\n"}},
        {kMenuOpen + "choose menu 40005\n", {"closed: 40005 \"終了\" chosen\n", "pid 4096 rcbridge: ended, exit code 0"}},
        {"show menu\nshow messagebox\nshow tray\n", {"no menu open\n", "no message box open\n", "no tray icons\n"}},
        {"start rcbridge\nshow tray\n",
         {"rcbridge (pid 4096) id 1, hwnd 0x", ", callback 2048 (0x0800), icon 102, tip \"\"\n"}},
    };
    for (const Case& c : cases) {
        const Outcome r = run(c.script);
        EXPECT_EQ(r.exit, pocketsim::kSuccess) << c.script << r.err;
        for (const std::string& line : c.lines) EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
    }
}

// Each line of a box's text is a line of the output, under the box.
TEST(ShellCommands, ABoxTextShowsLineByLine) {
    const Outcome r = run(kAboutOpen + "show messagebox\n");
    ASSERT_EQ(r.exit, pocketsim::kSuccess) << r.err;
    const std::size_t text = r.out.find("  text:\n");
    ASSERT_NE(text, std::string::npos) << r.out;
    std::istringstream lines(r.out.substr(text));
    std::string line;
    std::size_t count = 0;
    std::getline(lines, line);
    while (std::getline(lines, line)) {
        EXPECT_EQ(line.rfind(std::string(pocketsim::kStampWidth + 4, ' '), 0), 0u) << line;  // under the time stamp, indented
        ++count;
    }
    EXPECT_GE(count, 2u) << r.out;  // the About text has more than one line
}

}  // namespace
