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

TEST(ScriptRunner, MalformedLinesAreAllReportedAndNothingRuns) {
    const Outcome r = run("tick 60000\n"
                      "strat voltmarap\n"
                      "\n"
                      "advance 5 minutes\n"
                      "echo \"open\n");
    EXPECT_EQ(r.exit, pocketsim::kMalformed);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find("t.pocket:2: error: unknown command \"strat\""), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("    2 | strat voltmarap\n"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("t.pocket:4: error:"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("t.pocket:5: error:"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("t.pocket:1:"), std::string::npos) << r.err;
}

TEST(ScriptRunner, AFailedExpectationNamesItsLineAndEndsTheRun) {
    const Outcome r = run("power battery 85\n"
                      "start voltmarap\n"
                      "# on the battery the level icon shows, not the AC one\n"
                      "expect notification voltmarap 1 icon 107\n"
                      "echo never printed\n");
    EXPECT_EQ(r.exit, pocketsim::kFailed);
    EXPECT_NE(r.err.find("t.pocket:4: expectation failed:"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("icon 108"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("    4 | expect notification voltmarap 1 icon 107"), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find("never printed"), std::string::npos) << r.out;
}

TEST(ScriptRunner, AnActionTheDeviceDoesNotAllowFailsTheRun) {
    for (const char* line : {"tap button 1", "tap notification voltmarap 1 1"}) {
        const Outcome r = run(std::string(line) + "\n");
        EXPECT_EQ(r.exit, pocketsim::kFailed) << line;
        EXPECT_NE(r.err.find("t.pocket:1: error:"), std::string::npos) << r.err;
    }
}

TEST(ScriptRunner, CheckOnlyRunsNothing) {
    const Outcome r = run("start voltmarap\nexpect running voltmarap 5\n", true);
    EXPECT_EQ(r.exit, pocketsim::kSuccess);
    EXPECT_EQ(r.out.find("pid"), std::string::npos) << r.out;
}

TEST(ScriptRunner, ReportsWhatAnActionEndedAsWellAsWhatItStarted) {
    const Outcome r = run("start voltmarap\nstart voltmarap\n");
    EXPECT_EQ(r.exit, pocketsim::kSuccess) << r.err;
    EXPECT_NE(r.out.find("pid 4100 voltmarap: ended, exit code 0"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("pid 4096 voltmarap: ended, exit code 0"), std::string::npos) << r.out;
}

TEST(ScriptRunner, TimeStampsFollowVirtualTime) {
    const Outcome r = run("advance 1h30m\necho a\nadvance 450\necho b\nadvance 1d\necho c\n");
    EXPECT_NE(r.out.find("[  5400.000s] a\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("[  5400.450s] b\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("[1d 01:30:00.450] c\n"), std::string::npos) << r.out;
}

TEST(ScriptRunner, RegistryValuesRoundTripInEveryType) {
    const Outcome r = run(R"(set registry HKCU\T s sz "バッテリ \"情報\""
expect registry HKCU\T s sz "バッテリ \"情報\""
show registry HKCU\T s
set registry HKCU\T d dword 0xFFFFFFFF
expect registry HKCU\T d dword 4294967295
set registry HKCU\T short raw 4 0102
show registry HKCU\T short
expect registry HKCU\T "" absent
set registry HKCU\T "" binary ""
show registry HKCU\T
delete registry HKCU\T d
expect registry HKCU\T d absent
delete registry HKCU\T
expect registry HKCU\T absent
)");
    EXPECT_EQ(r.exit, pocketsim::kSuccess) << r.err;
    EXPECT_NE(r.out.find("\"s\" = sz \"バッテリ \\\"情報\\\"\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"short\" = dword of 2 bytes: 01 02"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("(default) = binary (no bytes)"), std::string::npos) << r.out;
}

// A wrong dword, or the right number under another type, does not pass for the value.
TEST(ScriptRunner, RegistryExpectationsCompareTypeAndData) {
    for (const char* set : {"dword 7", "binary 06000000", "raw 4 060000", "sz 6"}) {
        const Outcome r = run(std::string("set registry HKCU\\T v ") + set + "\nexpect registry HKCU\\T v dword 6\n");
        EXPECT_EQ(r.exit, pocketsim::kFailed) << set;
        EXPECT_NE(r.err.find("t.pocket:2: expectation failed: HKCU\\T \"v\" = "), std::string::npos) << r.err;
    }
}

// On the command's machine; one for both machines may show either's programs and paths.
TEST(CommandTable, EveryHelpExampleIsAWellFormedLineOfItsCommand) {
    for (const pocketsim::CommandEntry& entry : pocketsim::commandTable()) {
        ASSERT_FALSE(entry.examples.empty()) << entry.name;
        const std::vector<sim::Machine> machines =
            entry.machine ? std::vector{*entry.machine} : std::vector{sim::Machine::Handheld, sim::Machine::Desktop};
        for (const std::string& example : entry.examples) {
            std::vector<std::string> errors;
            for (sim::Machine machine : machines) {
                try {
                    EXPECT_EQ(pocketsim::parseCommand(pocketsim::tokenize(example), machine).entry, &entry) << example;
                    break;
                } catch (const pocketsim::UsageError& e) {
                    errors.push_back(e.what());
                }
            }
            EXPECT_LT(errors.size(), machines.size()) << example << ": " << errors.front();
        }
    }
}

TEST(CommandTable, BadArgumentsAreUsageErrors) {
    for (const char* line : {"advance", "advance 1h 2h", "tick -1", "tick 0x100000000", "power mains 50",
                             "power ac 256", "power ac 50 charging charging", "power ac 50 flag=1 flag=2",
                             "tap notification voltmarap 1", "set registry HKCU\\a v qword 1",
                             "set registry HKCU\\a v dword 1 2", "delete registry HKCU", "fail registry HKCU\\a NOPE",
                             "fail call Foo 0", "fail call Foo 1 1 nosuch", "show notification-history x",
                             "expect notification voltmarap 1 html has x", "expect notification voltmarap 1 html contains \"\"",
                             "expect notifications", "expect process voltmarap stopped", "expect process voltmarap not",
                             "expect window X here", "expect handles voltmarap handle 1", "expect no-errors now",
                             "expect registry HKCU\\a v dword", "start", "trace show nosuch"})
        EXPECT_THROW(pocketsim::parseCommand(pocketsim::tokenize(line)), pocketsim::UsageError) << line;
}

}  // namespace
