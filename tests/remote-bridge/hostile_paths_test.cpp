// The bridge's module path around its 260-character buffer, with and without room for "beep.wav"
// beside it, in folders of characters that are one or two 16-bit units, and whose units hold the
// byte 0x5C; on devices whose ANSI code page is 1252 or 932 (the bridge's path is UTF-16 and must
// not care). Whatever the path, the key's action happens; the beep plays exactly when its own path
// fits 259 characters and the module path itself came back whole.
#include <string>

#include "bridge_fixture.h"

using namespace bridge_test;

namespace {

struct FolderChar {
    const char* name;
    std::u16string unit;  // one character: one unit, or a surrogate pair
};

// 小 is U+5C0F and 乜 U+4E5C: a byte of each is 0x5C, the backslash. 𠮷 takes two units.
const FolderChar kChars[] = {
    {"Ascii", u"d"},
    {"HighByteBackslash", u"小"},
    {"LowByteBackslash", u"乜"},
    {"SurrogatePair", u"𠮷"},
};

struct LengthRow {
    const char* name;
    std::size_t folderUnits;  // "\" + name + "\", in 16-bit units
    std::u16string exe;
};

// The beep fits when folder + "beep.wav" (8) stays within 259 units; the module path must too.
const LengthRow kRows[] = {
    {"BeepWithRoomToSpare", 250, u"r.exe"},
    {"BeepEndsAtUnit259", 251, u"r.exe"},
    {"BeepWouldEndAtUnit260", 252, u"r.exe"},
    {"ModulePath259Units", 247, u"rcbridge.exe"},
    {"ModulePath260Units", 248, u"rcbridge.exe"},
    {"ModulePath261Units", 249, u"rcbridge.exe"},
    {"ShortFolderName259Units", 3, std::u16string(252, u'n') + u".exe"},
    {"ShortFolderName260Units", 3, std::u16string(253, u'n') + u".exe"},
    {"FarTooLong", 1000, u"rcbridge.exe"},
};

void PrintTo(const LengthRow& r, std::ostream* out) { *out << r.name; }

bool beepFits(const LengthRow& row) { return row.folderUnits + row.exe.size() <= 259 && row.folderUnits + 8 <= 259; }

// "\" + units + "\" with `units` filled by whole characters; an odd unit left over is an 'x'.
std::u16string folderOf(std::size_t units, const std::u16string& character) {
    std::u16string inner;
    while (inner.size() + character.size() <= units - 2) inner += character;
    while (inner.size() < units - 2) inner += u'x';
    return u"\\" + inner + u"\\";
}

class BridgeHostilePath : public ::testing::TestWithParam<LengthRow> {};

}  // namespace

// On each device, one bridge after another, each installed in a folder of one kind of character.
TEST_P(BridgeHostilePath, ActsAlwaysAndBeepsOnlyFromAPathThatFits) {
    const LengthRow& row = GetParam();
    const std::string images = POCKET_IMAGE_DIR;
    for (UINT codePage : {1252u, 932u}) {
        sim::DeviceConfig config;
        config.ansiCodePage = codePage;
        pocket::PocketDevice device(config);
        const auto beepBytes = *device.fileBytes(device.installFolder("rcbridge") + "\\beep.wav");
        const HWND tunelark = device.createStandIn("tunelark", "TUNELARK", "Tunelark").hwnd;
        for (const FolderChar& character : kChars) {
            SCOPED_TRACE(std::string(character.name) + " folder, code page " + std::to_string(codePage));
            const std::u16string folder = folderOf(row.folderUnits, character.unit);
            ASSERT_EQ(folder.size(), row.folderUnits);
            const std::string program = std::string("bridge-") + character.name;
            device.installProgram(program, images + "/rcbridge.image", images + "/rcbridge.res",
                                             folder + row.exe);
            const std::string beep = sim::toUtf8(folder) + "beep.wav";
            ASSERT_TRUE(device.putFile(beep, beepBytes));
            const std::size_t commandsBefore = device.standInMessages(tunelark).size();
            const std::size_t soundsBefore = device.sounds().size();
            device.setDisplayDriver({});  // on

            ASSERT_TRUE(device.start(program).running);
            device.pressKey(kKeyA);
            device.pressKeys({{kMulti, 0}, {kMulti, 100}});  // two presses: a beep to its end, then the display
            device.advance(1000);

            std::vector<WPARAM> received;
            const auto& messages = device.standInMessages(tunelark);
            for (std::size_t i = commandsBefore; i < messages.size(); ++i)
                if (messages[i].message == WM_COMMAND) received.push_back(messages[i].wParam);
            EXPECT_EQ(received, std::vector<WPARAM>{40038});
            EXPECT_EQ(device.displayPowerState(), static_cast<ULONG>(VideoPowerOff));
            const auto sounds = device.sounds();
            ASSERT_EQ(sounds.size() - soundsBefore, beepFits(row) ? 3u : 0u);
            for (std::size_t i = soundsBefore; i < sounds.size(); ++i) EXPECT_EQ(sounds[i].path, beep);

            const auto icon = device.trayIconOf(program);
            ASSERT_TRUE(icon);
            ASSERT_TRUE(device.penDownOnTrayIcon(icon->hwnd, icon->id));
            ASSERT_TRUE(device.chooseMenuItem(kExit));
            ASSERT_EQ(device.runningCount(program), 0u);
        }
        EXPECT_TRUE(device.errors().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Paths, BridgeHostilePath, ::testing::ValuesIn(kRows),
                         [](const auto& info) { return std::string(info.param.name); });

// A module path without any backslash gives no folder to find the beep in: silence, and the action.
TEST_F(BridgeTest, ModulePathWithoutAFolderActsSilently) {
    const std::string images = POCKET_IMAGE_DIR;
    device.installProgram("barebridge", images + "/rcbridge.image", images + "/rcbridge.res",
                                     u"rcbridge.exe");
    ASSERT_TRUE(device.putFile("\\beep.wav", *device.fileBytes(beepPath())));
    const HWND tunelark = player();
    ASSERT_TRUE(device.start("barebridge").running);
    device.pressKey(kKeyA);
    EXPECT_EQ(commands(tunelark), std::vector<WPARAM>{40038});
    EXPECT_EQ(soundCount(), 0u);
}
