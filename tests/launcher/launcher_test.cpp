// The setup launcher: where it finds the Application Manager, and how it starts it.
#include <algorithm>

#include "launcher_fixture.h"

using namespace launcher_test;

namespace {

enum class Outcome {
    NothingTried,  // no Application Manager: the launcher ends before looking for its folder
    Started,       // the Application Manager was started from the registered path
    Refused,       // the launcher tried, and the system refused (nothing there)
};

struct RegistryCase {
    const char* name;
    bool keyThere;
    DWORD type;
    std::vector<std::uint8_t> data;
    Outcome outcome;
    std::u16string startedPath;  // for Started: the application name given, as stored
};

std::vector<std::uint8_t> pathOfLength(std::size_t characters, bool terminated) {
    // "C:\" and a long folder name ending in "\a.exe"
    const std::u16string path = u"C:\\" + std::u16string(characters - 9, u'm') + u"\\a.exe";
    return wideBytes(path, terminated);
}

std::u16string longPath(std::size_t characters) { return u"C:\\" + std::u16string(characters - 9, u'm') + u"\\a.exe"; }

std::vector<RegistryCase> registryCases() {
    const std::u16string appManager = sim::fromUtf8(kAppManager);
    return {
        {"KeyAbsent", false, REG_SZ, {}, Outcome::NothingTried, {}},
        {"DefaultValueAbsent", true, REG_NONE, {}, Outcome::NothingTried, {}},
        {"EmptyWithoutTerminator", true, REG_SZ, {}, Outcome::NothingTried, {}},
        {"EmptyString", true, REG_SZ, wideBytes(u""), Outcome::NothingTried, {}},
        {"Registered", true, REG_SZ, wideBytes(appManager), Outcome::Started, appManager},
        // A stored string without its terminator gets one where the buffer has room.
        {"StoredWithoutTerminator", true, REG_SZ, wideBytes(appManager, false), Outcome::Started, appManager},
        // The type is never looked at: an expandable string is used as it stands.
        {"ExpandableUsedUnexpanded", true, REG_EXPAND_SZ, wideBytes(u"%ProgramFiles%\\CE\\CEAppMgr.exe"),
         Outcome::Started, u"%ProgramFiles%\\CE\\CEAppMgr.exe"},
        {"RegisteredButMissing", true, REG_SZ, wideBytes(u"C:\\Gone\\CEAppMgr.exe"), Outcome::Refused,
         u"C:\\Gone\\CEAppMgr.exe"},
        // 259 characters and the terminator fill the 260-byte buffer exactly.
        {"LongestThatFits", true, REG_SZ, pathOfLength(259, true), Outcome::Started, longPath(259)},
        // 260 bytes and no terminator: the query succeeds, but the path has no end.
        {"FillsTheBufferUnterminated", true, REG_SZ, pathOfLength(260, false), Outcome::NothingTried, {}},
        {"OneByteTooLong", true, REG_SZ, pathOfLength(260, true), Outcome::NothingTried, {}},
        {"FarTooLong", true, REG_SZ, pathOfLength(2000, true), Outcome::NothingTried, {}},
    };
}

void PrintTo(const RegistryCase& c, std::ostream* out) { *out << c.name; }

class LauncherRegistry : public LauncherTest, public ::testing::WithParamInterface<RegistryCase> {};

}  // namespace

TEST_P(LauncherRegistry, StartsTheApplicationManagerOnlyFromAUsablePath) {
    const RegistryCase& c = GetParam();
    installAppManager();
    installAppManager("C:\\" + std::string(250, 'm') + "\\a.exe");
    // Unexpanded, that path is relative: it starts from the launcher's current folder, its own.
    installAppManager("C:\\Program Files\\setuplaunch\\%ProgramFiles%\\CE\\CEAppMgr.exe");
    if (c.keyThere) {
        pc.setRegistryValue(std::string(kAppPathsKey), u"Other", REG_SZ, wideBytes(u"x"));
        if (c.type != REG_NONE) registerAppManager(c.type, c.data);
    }
    pc.recordCalls();

    const auto launcher = runLauncher();

    const auto calls = pc.callNames(0, "setuplaunch");
    const bool lookedForFolder = std::find(calls.begin(), calls.end(), "GetModuleFileNameA") != calls.end();
    EXPECT_EQ(lookedForFolder, c.outcome != Outcome::NothingTried);
    if (c.outcome == Outcome::NothingTried) {
        EXPECT_TRUE(pc.launches().empty());
        return;
    }
    ASSERT_EQ(pc.launches().size(), 1u);
    const sim::ProcessLaunch launch = pc.launches().front();
    EXPECT_EQ(launch.applicationName, c.startedPath);
    EXPECT_EQ(launch.started(), c.outcome == Outcome::Started);
    // Its handles are neither closed nor waited on: the system takes them back at the end.
    EXPECT_EQ(launcher.handles.liveOf(sim::HandleKind::Process), c.outcome == Outcome::Started ? 1 : 0);
    EXPECT_EQ(launcher.handles.liveOf(sim::HandleKind::Thread), c.outcome == Outcome::Started ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Values, LauncherRegistry, ::testing::ValuesIn(registryCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LauncherTest, HandsTheApplicationManagerTheBundleFromItsOwnFolder) {
    installAppManager();
    registerAppManager();
    pc.installAt("setuplaunch", "E:\\Bundle\\setuplaunch.exe");
    runLauncher();
    ASSERT_EQ(pc.launches().size(), 1u);
    const sim::ProcessLaunch launch = pc.launches().front();
    EXPECT_TRUE(launch.started());
    EXPECT_EQ(launch.commandLine, kRegisterCommand);
    EXPECT_EQ(launch.currentDirectory, u"E:\\Bundle");
    EXPECT_FALSE(launch.inheritHandles);
    EXPECT_EQ(launch.creationFlags, 0u);
    EXPECT_FALSE(launch.environmentGiven);
}

// Whatever fails on the way, the launcher ends quietly with 0.
TEST_F(LauncherTest, StartsNothingWhenAStepFails) {
    installAppManager();
    registerAppManager();
    for (const char* step : {"RegOpenKeyExA", "RegQueryValueExA", "GetModuleFileNameA", "GetFileAttributesA"}) {
        SCOPED_TRACE(step);
        pc.failCall(step, 1, 0);
        runLauncher();
        EXPECT_TRUE(pc.launches().empty());
        pc.clearFaults();
    }
    pc.failCall("CreateProcessA");
    runLauncher();
    ASSERT_EQ(pc.launches().size(), 1u);
    EXPECT_FALSE(pc.launches().front().started());
}

namespace {

struct CodePageCase {
    const char* name;
    UINT codePage;
    bool started;
};

void PrintTo(const CodePageCase& c, std::ostream* out) { *out << c.name; }

class LauncherRegisteredPath : public ::testing::TestWithParam<CodePageCase> {};

}  // namespace

// The registry keeps 16-bit text; the launcher reads it in the ANSI code page. A Japanese path
// survives that under 932 only: under 1252 its characters become '?' and name nothing.
TEST_P(LauncherRegisteredPath, IsReadInTheCodePage) {
    const std::string appManager = "C:\\プログラム\\表示\\CEAppMgr.exe";
    pocket::PocketDevice pc(desktopConfig(GetParam().codePage));
    ASSERT_TRUE(pc.putFile(appManager, {'M', 'Z'}));
    pc.setRegistryValue(kAppPathsKey, u"", REG_SZ, wideBytes(sim::fromUtf8(appManager)));

    EXPECT_EQ(pc.start("setuplaunch").exitCode, 0);

    ASSERT_EQ(pc.launches().size(), 1u);
    EXPECT_EQ(pc.launches().front().started(), GetParam().started);
    if (GetParam().started) {
        EXPECT_EQ(pc.launches().front().applicationName, sim::fromUtf8(appManager));
    }
}

INSTANTIATE_TEST_SUITE_P(CodePages, LauncherRegisteredPath,
                         ::testing::Values(CodePageCase{"Japanese", 932, true}, CodePageCase{"Western", 1252, false}),
                         [](const auto& info) { return std::string(info.param.name); });
