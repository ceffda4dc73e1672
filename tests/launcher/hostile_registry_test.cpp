// The App Paths default value as anything may have left it: every value type, at lengths from 0
// to 5 bytes, around the 260-byte buffer and far beyond, with and without a terminator, under
// code pages 1252 and 932. The type is never looked at. What the launcher's buffer receives is the
// value's bytes (string types: their characters in the ANSI code page); it is a usable path when
// the query succeeds, is not empty, and leaves a terminator within the 260 bytes.
#include <optional>
#include <string>
#include <vector>

#include "launcher_fixture.h"

using namespace launcher_test;
using namespace std::string_literals;

namespace {

constexpr std::size_t kLengths[] = {0, 1, 2, 3, 4, 5, 259, 260, 261, 262, 4096};
constexpr std::size_t kBuffer = 260;

// `length` bytes of a path: "C:\mmm...". The longest usable one is installed.
std::string pathOf(std::size_t length) { return ("C:\\" + std::string(length, 'm')).substr(0, length); }
const std::string kLongestPath = pathOf(kBuffer - 1);

std::u16string widen(const std::string& ascii) { return {ascii.begin(), ascii.end()}; }
std::vector<std::uint8_t> raw(const std::string& bytes) { return {bytes.begin(), bytes.end()}; }

// What the launcher must hand CreateProcessA, from what its buffer receives; nothing when it
// must not start anything.
std::optional<std::string> launchedFrom(const std::string& received) {
    // Too long, the query fails (ERROR_MORE_DATA); filling the buffer, it leaves no terminator.
    if (received.size() > kBuffer) return std::nullopt;
    if (received.size() == kBuffer && received.back() != '\0') return std::nullopt;
    const std::string path = received.substr(0, received.find('\0'));
    if (path.empty()) return std::nullopt;
    return path;
}

struct TypeCase {
    const char* name;
    DWORD type;
    bool text;  // stored as 16-bit characters, read converted to the ANSI code page
};

constexpr TypeCase kTypes[] = {
    {"None", REG_NONE, false},
    {"String", REG_SZ, true},
    {"ExpandString", REG_EXPAND_SZ, true},
    {"Binary", REG_BINARY, false},
    {"Dword", REG_DWORD, false},
    {"DwordBigEndian", REG_DWORD_BIG_ENDIAN, false},
    {"Link", REG_LINK, false},
    {"MultiString", REG_MULTI_SZ, true},
    {"ResourceList", 8, false},
    {"Qword", REG_QWORD, false},
    {"UnknownType", 0xDEADBEEF, false},
};

class LauncherValueLength : public LauncherTest, public ::testing::WithParamInterface<TypeCase> {
protected:
    // Runs the launcher with `data` registered and checks what it started against `expected`.
    void expectLaunch(const std::vector<std::uint8_t>& data, const std::optional<std::u16string>& expected) {
        const std::size_t before = pc.launches().size();
        registerAppManager(GetParam().type, data);
        runLauncher();
        if (!expected) {
            EXPECT_EQ(pc.launches().size(), before) << "started from a value it cannot use";
            return;
        }
        ASSERT_EQ(pc.launches().size(), before + 1);
        const sim::ProcessLaunch launch = pc.launches().back();
        EXPECT_EQ(launch.applicationName, *expected);
        EXPECT_EQ(launch.started(), *expected == widen(kLongestPath));
        EXPECT_EQ(launch.commandLine, kRegisterCommand);
        EXPECT_EQ(launch.currentDirectory, sim::fromUtf8(pc.installFolder("setuplaunch")));
    }
};

std::vector<std::uint8_t> wideOf(const std::string& ascii) { return wideBytes(widen(ascii), false); }

}  // namespace

// The buffer receives `length` bytes: a path that fills them, or a shorter one and its terminator
// (a string list: two terminators).
TEST_P(LauncherValueLength, StartsOnlyFromAPathThatFitsWithItsTerminator) {
    installAppManager(kLongestPath);
    const TypeCase& type = GetParam();
    const std::size_t terminators = type.type == REG_MULTI_SZ ? 2 : 1;
    for (std::size_t length : kLengths) {
        for (bool terminated : {false, true}) {
            if (terminated && length < terminators) continue;
            SCOPED_TRACE(std::to_string(length) + " bytes, " + (terminated ? "terminated" : "unterminated"));
            const std::string received =
                terminated ? pathOf(length - terminators) + std::string(terminators, '\0') : pathOf(length);
            const auto expected = launchedFrom(received);
            expectLaunch(type.text ? wideOf(received) : raw(received),
                         expected ? std::optional<std::u16string>(widen(*expected)) : std::nullopt);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Types, LauncherValueLength, ::testing::ValuesIn(kTypes),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

class LauncherStringValue : public LauncherValueLength {};

std::vector<TypeCase> textTypes() {
    std::vector<TypeCase> out;
    for (const TypeCase& type : kTypes)
        if (type.text) out.push_back(type);
    return out;
}

}  // namespace

// A string value stored with an odd number of bytes: its half character is no character.
TEST_P(LauncherStringValue, OddStoredLength) {
    installAppManager(kLongestPath);
    for (std::size_t stored : {1u, 3u, 5u, 519u, 521u}) {
        SCOPED_TRACE(std::to_string(stored) + " stored bytes");
        std::vector<std::uint8_t> data = wideOf(pathOf(stored / 2 + 1));
        data.resize(stored);
        expectLaunch(data, launchedFrom(pathOf(stored / 2)) ? std::optional<std::u16string>(widen(pathOf(stored / 2)))
                                                            : std::nullopt);
    }
}

INSTANTIATE_TEST_SUITE_P(Types, LauncherStringValue, ::testing::ValuesIn(textTypes()),
                         [](const auto& info) { return std::string(info.param.name); });

namespace {

// 表 is 0x95 0x5C in Shift-JIS: two bytes, the second a backslash.
const std::u16string kHyo = u"表";
std::u16string hyos(std::size_t count) {
    std::u16string s;
    for (std::size_t i = 0; i < count; ++i) s += kHyo;
    return s;
}

struct HostileCodePageCase {
    const char* name;
    UINT codePage;
    DWORD type;
    std::vector<std::uint8_t> data;
    std::optional<std::u16string> launched;
};

std::vector<HostileCodePageCase> hostileCodePageCases() {
    const std::u16string fits = u"C:\\" + hyos(128);      // 3 + 256 = 259 bytes under 932
    const std::u16string oneOver = u"C:\\x" + hyos(128);  // 260 bytes: no room for the terminator
    const std::u16string wide = u"C:\\" + hyos(200);      // 403 bytes under 932, 203 under 1252
    const std::string shiftJis = "C:\\\x95\x5C\\a.exe";   // C:\表\a.exe as the bytes stand
    return {
        {"JapaneseFitsWithTerminator", 932, REG_SZ, wideBytes(fits), fits},
        {"JapaneseFitsTerminatorAdded", 932, REG_SZ, wideBytes(fits, false), fits},
        {"JapaneseFillsTheBuffer", 932, REG_SZ, wideBytes(oneOver, false), std::nullopt},
        {"JapaneseOneByteOver", 932, REG_SZ, wideBytes(oneOver), std::nullopt},
        {"JapaneseExpandOneByteOver", 932, REG_EXPAND_SZ, wideBytes(oneOver), std::nullopt},
        // The same characters count once each under 1252, where they do not exist: '?'.
        {"JapaneseTooLongUnder932", 932, REG_SZ, wideBytes(wide), std::nullopt},
        {"JapaneseAsQuestionMarksUnder1252", 1252, REG_SZ, wideBytes(wide), u"C:\\" + std::u16string(200, u'?')},
        // Bytes of a binary value are taken as they stand, in the code page.
        {"ShiftJisBytesInABinaryValue", 932, REG_BINARY, raw(shiftJis + '\0'), u"C:\\表\\a.exe"},
        {"ShiftJisBytesUnterminated", 932, REG_BINARY, raw(shiftJis), u"C:\\表\\a.exe"},
        // A string list: the first string is the path, when the whole list fits.
        {"ListOfTwoFits", 1252, REG_MULTI_SZ, wideBytes(u"C:\\CE\\CEAppMgr.exe\0D:\\other.exe\0"s),
         u"C:\\CE\\CEAppMgr.exe"},
        {"ListWhoseFirstFitsButNotTheWhole", 1252, REG_MULTI_SZ,
         wideBytes(u"C:\\CE\\CEAppMgr.exe\0"s + widen(pathOf(300)) + u"\0"s), std::nullopt},
        {"ListStartingEmpty", 1252, REG_MULTI_SZ, wideBytes(u"\0C:\\CE\\CEAppMgr.exe\0"s), std::nullopt},
        {"OnlyTerminators", 1252, REG_SZ, wideBytes(std::u16string(4, u'\0')), std::nullopt},
        {"ZerosFillingTheBuffer", 1252, REG_BINARY, std::vector<std::uint8_t>(kBuffer, 0), std::nullopt},
    };
}

void PrintTo(const HostileCodePageCase& c, std::ostream* out) { *out << c.name; }

class LauncherValueText : public ::testing::TestWithParam<HostileCodePageCase> {};

}  // namespace

TEST_P(LauncherValueText, IsReadInTheCodePageAndMustFit) {
    const HostileCodePageCase& c = GetParam();
    pocket::PocketDevice pc(desktopConfig(c.codePage));
    pc.setRegistryValue(kAppPathsKey, u"", c.type, c.data);

    const auto launcher = pc.start("setuplaunch");

    EXPECT_EQ(launcher.exitCode, 0);
    EXPECT_TRUE(pc.errors().empty());
    if (!c.launched) {
        EXPECT_TRUE(pc.launches().empty());
        return;
    }
    ASSERT_EQ(pc.launches().size(), 1u);
    EXPECT_EQ(pc.launches().front().applicationName, *c.launched);
}

INSTANTIATE_TEST_SUITE_P(Values, LauncherValueText, ::testing::ValuesIn(hostileCodePageCases()),
                         [](const auto& info) { return std::string(info.param.name); });
