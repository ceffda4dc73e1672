#include <gtest/gtest.h>

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
using sim::Machine;

const std::string kRegistered =
    "boot desktop\n"
    "set registry \"HKLM/software/Microsoft/Windows/CurrentVersion/App Paths/CEAppMgr.exe\" \"\" sz "
    "\"C:\\\\CE\\\\CEAppMgr.exe\"\n";
const std::string kInstalled = kRegistered + "file put C:\\CE\\CEAppMgr.exe hex 4d5a\n";

TEST(DesktopCommands, BootLinesChooseTheMachine) {
    const struct {
        const char* line;
        UINT codePage;
    } cases[] = {{"boot desktop", 1252}, {"boot desktop codepage 1252", 1252}, {"boot desktop codepage 932", 932}};
    for (const auto& c : cases) {
        const ParsedCommand command = parseCommand(tokenize(c.line));
        ASSERT_TRUE(command.boot) << c.line;
        EXPECT_EQ(command.boot->machine, Machine::Desktop) << c.line;
        EXPECT_EQ(command.boot->ansiCodePage, c.codePage) << c.line;
        EXPECT_FALSE(command.boot->shell) << c.line;
    }
    for (const char* line : {"boot desktop codepage", "boot desktop codepage 437", "boot desktop 932",
                             "boot desktop codepage 932 now", "boot desktop taskbar 20x26", "boot laptop"})
        EXPECT_THROW(parseCommand(tokenize(line)), UsageError) << line;
}

// Each line is checked for the machine the script boots, and says what is wrong with it there.
TEST(DesktopCommands, LinesAreCheckedForTheirMachine) {
    const struct {
        Machine machine;
        const char* line;
        const char* error;
    } cases[] = {
        {Machine::Handheld, "start setuplaunch", "setuplaunch is a program for a desktop PC; begin the script with \"boot desktop\""},
        {Machine::Handheld, "show launches", "\"show launches\" is for a desktop PC; begin the script with \"boot desktop\""},
        {Machine::Handheld, "expect launch 1 started", "\"expect launch\" is for a desktop PC"},
        {Machine::Handheld, "start voltmarap in \\Temp", "a handheld has no current folder to start in"},
        {Machine::Handheld, "install voltmarap at D:\\v.exe", "has a drive; a handheld's paths begin with \\"},
        {Machine::Handheld, "install voltmarap at v.exe", "is not a full path"},
        {Machine::Desktop, "start voltmarap", "voltmarap is a program for a handheld, and this script boots a desktop PC"},
        {Machine::Desktop, "tap taskbar 1 1", "\"tap taskbar\" is for a handheld, and this script boots a desktop PC"},
        {Machine::Desktop, "press 140", "is for a handheld"},
        {Machine::Desktop, "file put \\Temp\\a hex 00", "has no drive; a desktop PC's paths begin with one"},
        {Machine::Desktop, "install setuplaunch at \\setup.exe", "is not a full path with a drive"},
        {Machine::Desktop, "install setuplaunch at D:\\", "is a drive's root"},
        {Machine::Desktop, "install setuplaunch at D:\\..\\a.exe", "climbs above the drive's root"},
        {Machine::Desktop, "install setuplaunch on D:\\a.exe", "install takes at, not \"on\""},
        {Machine::Desktop, "start setuplaunch in", "missing folder"},
        {Machine::Desktop, "start setuplaunch in D:", "is not a full path with a drive"},
        {Machine::Desktop, "expect launch 0 started", "launches are numbered from 1"},
        {Machine::Desktop, "expect launch 1 done", "bad check \"done\""},
        {Machine::Desktop, "expect launch 1 started FILE_NOT_FOUND", "unknown check \"FILE_NOT_FOUND\""},
        {Machine::Desktop, "expect launch 1 failed NOPE", "unknown error \"NOPE\""},
        {Machine::Desktop, "expect launch last started app", "missing text after app"},
        {Machine::Desktop, "expect launch 1 started app a app b", "\"app\" is given twice"},
    };
    for (const auto& c : cases) {
        try {
            parseCommand(tokenize(c.line), c.machine);
            ADD_FAILURE() << c.line << " was taken";
        } catch (const UsageError& e) {
            EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << c.line << "\n" << e.what();
        }
    }
}

TEST(DesktopCommands, TheBootLineDecidesHowTheOthersAreChecked) {
    EXPECT_EQ(run("boot desktop\nstart setuplaunch\nexpect process setuplaunch exit 0\n").exit, kSuccess);
    const Outcome r = run("start setuplaunch\n");
    EXPECT_EQ(r.exit, kMalformed);
    EXPECT_NE(r.err.find("t.pocket:1: error: setuplaunch is a program for a desktop PC"), std::string::npos) << r.err;
}

TEST(DesktopCommands, RefusalsAndFailedExpectationsSayWhatIsThere) {
    const std::string launched = kInstalled + "start setuplaunch\n";
    const std::string startedText =
        "launch 1 by setuplaunch (pid 4096): app \"C:\\\\CE\\\\CEAppMgr.exe\", command \"/register .\\\\setup.ini\", "
        "folder \"C:\\\\Program Files\\\\setuplaunch\" (working in \"C:\\\\Program Files\\\\setuplaunch\"): started, pid 4100";
    const Refusal cases[] = {
        {"boot desktop\nstart setuplaunch in D:\\Tools\n", "error: there is no folder D:\\Tools to start in"},
        {"boot desktop\nfile put D:\\a.exe hex 00\ninstall setuplaunch at D:\\a.exe\\b.exe\n",
         "error: cannot put a file at D:\\a.exe\\b.exe: it is a folder or lies below a file"},
        {"boot desktop\ninstall setuplaunch at \"C:\\\\Program Files\"\n", "error: cannot put a file at C:\\Program Files:"},
        {"start voltmarap\ninstall voltmarap at \\Windows\\v.exe\n",
         "error: voltmarap is running; a running program's file cannot be moved"},
        {"boot desktop\nexpect launch last started\n", "expectation failed: no launch was asked for"},
        {launched + "expect launch 2 started\n", "expectation failed: no launch 2: only 1 launch asked for"},
        {launched + "expect launch 1 failed\n", "expectation failed: " + startedText},
        {launched + "expect launch 1 started folder \"C:\\\\Program Files\"\n", "expectation failed: " + startedText},
        // Texts compare exactly: Windows would take either case, but the launcher gives one.
        {launched + "expect launch 1 started command \"/register .\\\\SETUP.INI\"\n", "expectation failed: " + startedText},
        {launched + "expect launch 1 started app C:/CE/CEAppMgr.exe\n", "expectation failed: " + startedText},
        {kRegistered + "start setuplaunch\nexpect launch 1 failed FILE_NOT_FOUND\n",
         "(working in \"C:\\\\Program Files\\\\setuplaunch\"): failed with ERROR_PATH_NOT_FOUND (3)"},
        {launched + "expect launches 0\n", "expectation failed: 1 launch asked for; launch 1 by setuplaunch"},
        {"boot desktop\nexpect launches 2\n", "expectation failed: 0 launches asked for\n"},
    };
    expectRefusals(cases);
}

TEST(DesktopCommands, WhatTheyPrint) {
    const Printed cases[] = {
        {"boot desktop codepage 932\n",
         {"desktop PC, ANSI code page 932 (Japanese, Shift-JIS)\n",
          "setuplaunch installed at C:\\Program Files\\setuplaunch\\setuplaunch.exe\n"}},
        {"boot desktop\ninstall setuplaunch at \"D:/表/s.exe\"\nshow files D:\\\n",
         {"setuplaunch installed at D:\\表\\s.exe\n", "code page 1252 cannot write all of it: 8-bit functions see D:\\?\\s.exe\n",
          "D:\\表\\\n", "D:\\表\\s.exe, "}},
        {kInstalled + "file put D:\\Tools\\a hex \"\"\ninstall setuplaunch at D:\\s.exe\nstart setuplaunch in D:/Tools/\n"
                      "show launches\n",
         {"pid 4096 setuplaunch: ended, exit code 0", "launch 1 by setuplaunch (pid 4096): app \"C:\\\\CE\\\\CEAppMgr.exe\", "
          "command \"/register .\\\\setup.ini\", folder \"D:\\\\\" (working in \"D:\\\\\"): started, pid 4100\n",
          "[     0.000s] show launches\n              launch 1 by setuplaunch (pid 4096)"}},
        {"boot desktop\nset registry HKLM\\a \"\" expand_sz %TEMP%\\x\nexpect registry HKLM\\a \"\" expand_sz %TEMP%\\x\n",
         {"HKLM\\a (default) = expand_sz \"%TEMP%\\\\x\"\n"}},
        // A handheld program takes the files that come with it along.
        {"install rcbridge at /Windows/rc.exe\nexpect file \\Windows\\rc.exe exists\nexpect file \\Windows\\beep.wav exists\n",
         {"rcbridge installed at \\Windows\\rc.exe\n"}},
    };
    expectPrinted(cases);
    // A path the code page can write needs no word about it.
    EXPECT_EQ(run("boot desktop codepage 932\ninstall setuplaunch at \"D:/表/s.exe\"\n").out.find("cannot write"),
              std::string::npos);
}

}  // namespace
