#include <gtest/gtest.h>

#include <sstream>

#include "arguments.h"
#include "commands.h"
#include "run_script_support.h"
#include "script_runner.h"
#include "tokenizer.h"

namespace {

using pocketsim_test::Outcome;
using pocketsim_test::run;
using pocketsim_test::expectRefusals;
using pocketsim_test::Refusal;

const std::string kPlayer = "window add tunelark TUNELARK Tunelark\nstart rcbridge\n";
const std::string kPowerOff = "start rcbridge\npress 140 140+300ms 140+300ms\nadvance 1s\n";

TEST(DeviceCommands, BadArgumentsAreUsageErrors) {
    for (const char* line :
         {"press", "press 0", "press 140+", "press 140*0", "volume set", "volume set 1 2 3", "volume set 70000 0",
          "display driver", "display driver state", "display driver state dim", "display driver length 1 length 2",
          "display driver power-management maybe", "display driver colour on", "switch on now", "switch off",
          "file put \\a", "file put \\a wav", "file put \\a wav 11m", "file put \\a text hi", "file put \\a hex 1",
          "file put \\..\\a hex 00", "file copy \\a", "file remove", "file remove nosuch:a", "file remove \\a*",
          "window add rcbridge X Y", "window add p X", "window add p \"\" t", "window add \"\" X t", "window close",
          "window close A B", "show keys 1", "show sounds x", "show received", "show files a b", "show display -1",
          "show presses 1 2", "show keyboard x", "show volume 1", "expect volume", "expect volume 1 2 3",
          "expect sounds", "expect sound last", "expect sound 0 async", "expect sound last loud",
          "expect sound last path", "expect sound last async path", "expect sound first async", "expect display dim",
          "expect switched", "expect switched maybe", "expect keyboard", "expect keys", "expect keys 1 nosuch",
          "expect received TUNELARK", "expect received TUNELARK command", "expect received TUNELARK command 1 2",
          "expect received TUNELARK commands", "expect received TUNELARK commands x",
          "expect received TUNELARK commands none 1", "expect received TUNELARK letters 1", "expect file \\a",
          "expect file \\a here"})
        EXPECT_THROW(pocketsim::parseCommand(pocketsim::tokenize(line)), pocketsim::UsageError) << line;
}

// Actions on what is not there, and expectations that do not hold, end the run and say why.
TEST(DeviceCommands, RefusalsAndFailedExpectationsSayWhatIsThere) {
    const Refusal cases[] = {
        {"file remove \\Temp\\nothing.wav\n", "error: no file \\Temp\\nothing.wav to remove"},
        {"file copy \\Temp\\a \\Temp\\b\n", "error: no file \\Temp\\a\n"},
        {"file put \\Temp\\a hex 00\nfile put \\Temp\\a\\b hex 00\n",
         "error: cannot put a file at \\Temp\\a\\b: it is a folder or lies below a file"},
        {"file put / hex 00\n", "error: cannot put a file at \\:"},
        {"file remove \"\\\\Program Files\"\n", "error: no file \\Program Files to remove"},
        {"window close TUNELARK\n", "error: no stand-in window of class \"TUNELARK\" was added\n"},
        {"window add t TUNELARK T\nwindow close tunelark\n",
         "error: no stand-in window of class \"tunelark\" was added (there are \"TUNELARK\")"},
        {"window add t TUNELARK T\nwindow close TUNELARK\nwindow close TUNELARK\n",
         "error: the stand-in TUNELARK of t (pid "},
        {"show received TUNELARK\n", "error: no stand-in window of class \"TUNELARK\" was added"},
        {"expect volume 1 2\n", "expectation failed: the volume is left 65535, right 65535 (0xffffffff)"},
        {"volume set 1 2\nexpect volume 2 1\n", "expectation failed: the volume is left 1, right 2 (0x00020001)"},
        {"expect sounds 1\n", "expectation failed: 0 sounds played\n"},
        {"expect sound last async\n", "expectation failed: no sounds played"},
        {kPlayer + "press 138\nexpect sound 2 async\n", "expectation failed: only 1 sound played"},
        {kPlayer + "press 138\nexpect sound last sync\n",
         "expectation failed: sound 1: \\Program Files\\rcbridge\\beep.wav by rcbridge (pid "},
        {kPlayer + "press 138\nexpect sound last whole\n", ", playing\n"},
        {kPlayer + "press 138\nexpect sound 1 cut\n", ", playing\n"},
        {kPlayer + "press 138\nadvance 1s\nexpect sound last playing\n", ", played to the end\n"},
        {kPlayer + "press 138 139\nexpect sound 1 whole\n", "cut (planned to end [     0.120s])"},
        {kPlayer + "press 138\nexpect sound last path \\Temp\\beep.wav\n", "expectation failed: sound 1: "},
        {"expect display off\n", "expectation failed: the display's power is on (1)"},
        {"display driver state 0\nexpect display on\n",
         "expectation failed: the display's power is 0 (no state a driver should hold)"},
        {"expect switched off\n", "expectation failed: the device is switched on"},
        {kPowerOff + "expect switched on\n", "expectation failed: the device is switched off"},
        {"expect keyboard 1\n", "expectation failed: 0 keyboard events\n"},
        {kPowerOff + "expect keyboard 1\n", "2 keyboard events, the last: keybd_event by rcbridge (pid "},
        {"start rcbridge\nexpect keys 6 rcbridge\n",
         "expectation failed: 7 hot keys held by rcbridge: 142, 141, 139, 138, 140, 137, 136"},
        {"start rcbridge\nexpect keys 0\n", "expectation failed: 7 hot keys held: 142"},
        {"expect keys 1\n", "expectation failed: 0 hot keys held\n"},
        {kPlayer + "expect received TUNELARK command 40038\n", "received the commands none"},
        {kPlayer + "press 138 139\nexpect received TUNELARK command 40038\n", "received the commands 40038 40037\n"},
        {kPlayer + "press 138 139\nexpect received TUNELARK commands 40037 40038\n",
         "received the commands 40038 40037\n"},
        {kPlayer + "press 138\nexpect received TUNELARK commands none\n", "received the commands 40038\n"},
        {kPlayer + "press 138\nexpect received TUNELARK commands 40038 40038\n", "received the commands 40038\n"},
        {"expect received TUNELARK commands none\n", "no stand-in window of class \"TUNELARK\" was added"},
        {"expect file rcbridge:beep.wav absent\n", "expectation failed: \\Program Files\\rcbridge\\beep.wav exists, "},
        {"expect file \\Temp\\x exists\n", "expectation failed: there is no file \\Temp\\x"},
        {"file remove rcbridge:beep.wav\nexpect file rcbridge:BEEP.WAV exists\n", "there is no file "},
    };
    expectRefusals(cases);
}

struct Shown {
    std::string script;
    std::vector<std::string> lines;   // each must appear in the output
    std::vector<std::string> absent;  // none may
};

// What the commands print, and what a line reports that the programs did meanwhile.
TEST(DeviceCommands, WhatTheDeviceShows) {
    const Shown cases[] = {
        {"press 138\n", {"[     0.000s] key 138 (0x8a) reached no one\n"}, {}},
        {"start rcbridge\npress 137+1s*2 136\n",
         {"[     1.000s] key 137 (0x89) pressed 2 times until [     2.000s] -> rcbridge (pid ",
          "[     2.000s] key 136 (0x88) -> rcbridge (pid "},
         {}},
        {"volume set 0 0\nstart rcbridge\npress 137*15\n",
         {"... 5 earlier volume settings not shown\n",
          "[     0.000s] volume set to left 16380, right 16380 (0x3ffc3ffc) by rcbridge (pid "},
         {"left 5460, right 5460"}},
        {"volume set 0xFFFF0000\nshow volume\n",
         {"volume left 0, right 65535 (0xffff0000)\n", "no program has set it\n"}, {}},
        {"volume set 0 0\nstart rcbridge\npress 137\nshow volume\n",
         {"set 1 time by programs, the last by rcbridge (pid "}, {}},
        {"display driver power-management off state standby length 64\nshow display\n",
         {"display driver: SETPOWERMANAGEMENT not supported, power standby (2), answers with Length 64\n",
          "no escapes sent\n"},
         {}},
        {"display driver state off\ndisplay driver length 20\n",
         {"display driver: SETPOWERMANAGEMENT supported, power off (4), answers with Length 20\n"}, {}},
        {"start rcbridge\npress 140 140+300ms\nadvance 1s\nshow display 1\n",
         {"display power on (1) -> off (4)\n", "ExtEscape SETPOWERMANAGEMENT (6147) by rcbridge (pid "},
         {"ExtEscape QUERYESCSUPPORT"}},
        // Only what a program did is reported as news; the script's own setting is not.
        {"display driver state off\n", {}, {"display power"}},
        {kPowerOff + "show keyboard\n",
         {"the device switched off\n", "the device is switched off\n",
          "keybd_event by rcbridge (pid ", "): VK_OFF (0xdf) down, scan 0, flags 0x0, extra 1\n",
          "VK_OFF (0xdf) up, scan 0, flags 0x2, extra 1\n"},
         {}},
        {kPowerOff + "press 137\nswitch on\nswitch on\n",
         {" as hot key 137 (the device is switched off)\n", "the device is switched on\n",
          "the device is on already\n"},
         {}},
        {"show keys\nshow sounds\nshow keyboard\nshow presses\n",
         {"no hot keys held\n", "no sounds played\n", "the device is switched on\n", "no keyboard events\n",
          "no keys pressed\n"},
         {}},
        {"start rcbridge\nshow keys\n",
         {"hot keys taken by rcbridge (pid ", "): 142, 141, 139, 138, 140, 137, 136\n",
          "key 142 (0x8e), modifiers none: held by rcbridge (pid ", "), hwnd 0x"},
         {}},
        {"start rcbridge\ntap tray rcbridge\nchoose menu 40005\n",
         {"hot keys released by rcbridge (pid ", "): 142, 141, 139, 138, 140, 137, 136\n"}, {}},
        {"start rcbridge\npress 138 140\nshow presses 1\n",
         {"key 140 (0x8c), modifiers none -> rcbridge (pid ", ") as hot key 140\n"},
         {"key 138 (0x8a), modifiers none"}},
        {kPlayer + "press 138\nshow sounds\n",
         {"  [     0.000s] TUNELARK of tunelark (pid ", "received WM_COMMAND (0x0111), wParam 40038 (0x9c66), lParam 0 (0x0)\n",
          "plays \\Program Files\\rcbridge\\beep.wav, async, 120 ms\n",
          "1: \\Program Files\\rcbridge\\beep.wav by rcbridge (pid ", ", async, [     0.000s] to [     0.120s], playing\n"},
         {}},
        {kPlayer + "press 138\nadvance 1s\nshow sounds\n", {"to [     0.120s], played to the end\n"}, {}},
        {"file put \\Temp\\a.wav wav 250ms\nshow files \\Temp\n",
         {"put \\Temp\\a.wav, 2044 bytes, WAVE 8000 Hz, 250 ms\n", "\\Temp\\a.wav, 2044 bytes, WAVE 8000 Hz, 250 ms\n"},
         {}},
        {"file put /Temp/x.bin hex 01 02\nshow files temp\n", {"\\Temp\\x.bin, 2 bytes\n"}, {"\\Program Files"}},
        {"file put \\Temp\\e hex \"\"\nshow files \\Temp\n", {"\\Temp\\e, 0 bytes\n"}, {}},
        {"show files \\Nowhere\n", {"no files below \\Nowhere\n"}, {}},
        {"show files rcbridge\n", {"rcbridge\\beep.wav, ", "rcbridge\\rcbridge.exe, "}, {"voltmarap"}},
        {"file copy rcbridge:beep.wav \\Temp\\b.wav\nfile remove rcbridge:beep.wav\nshow files\n",
         {"copied \\Program Files\\rcbridge\\beep.wav to \\Temp\\b.wav, ", "removed \\Program Files\\rcbridge\\beep.wav\n",
          "\\Temp\\b.wav, "},
         {"rcbridge\\beep.wav, "}},
        // A stand-in's own creation is not news; what it received later is.
        {"window add tunelark TUNELARK Tunelark\nshow received TUNELARK\n",
         {"tunelark (pid ", ") shows hwnd 0x", "TUNELARK of tunelark (pid ", ": 1 message\n",
          "WM_CREATE (0x0001), wParam 0 (0x0), lParam its CREATESTRUCT\n"},
         {"received WM_CREATE"}},
        {"window add t TUNELARK T\nwindow close TUNELARK\nshow received TUNELARK 1\n",
         {"received WM_CLOSE (0x0010)", ", closed: 3 messages\n", "WM_DESTROY (0x0002)", "t: ended, exit code 0"},
         {"lParam its CREATESTRUCT"}},
        // The most recent open stand-in of a class is the one a script means.
        {"window add a TUNELARK A\nwindow add b TUNELARK B\nwindow close TUNELARK\nshow received TUNELARK\n",
         {"closed TUNELARK of b (pid ", "TUNELARK of a (pid "}, {}},
    };
    for (const Shown& c : cases) {
        const Outcome r = run(c.script);
        EXPECT_EQ(r.exit, pocketsim::kSuccess) << c.script << r.err;
        for (const std::string& line : c.lines) EXPECT_NE(r.out.find(line), std::string::npos) << line << "\n" << r.out;
        for (const std::string& line : c.absent) EXPECT_EQ(r.out.find(line), std::string::npos) << line << "\n" << r.out;
    }
}

}  // namespace
