// The bridge installed where paths are long, and with an About text longer than its buffer or none.
#include <gmock/gmock.h>

#include "bridge_fixture.h"

using namespace bridge_test;

namespace {

// Installs the bridge's image again under another name, path or resources.
void installVariant(pocket::PocketDevice& device, const std::string& name, const std::string& resources,
                    const std::u16string& installPath) {
    const std::string images = POCKET_IMAGE_DIR;
    device.installProgram(name, images + "/rcbridge.image", resources, installPath);
}

struct PathCase {
    const char* name;
    std::size_t folderChars;  // the folder's path with both backslashes
    const char* exe;
    bool beepFits;
};

class BridgeInstallPath : public BridgeTest, public ::testing::WithParamInterface<PathCase> {};

}  // namespace

TEST_P(BridgeInstallPath, BeepOnlyWhenItsPathFitsTheBuffer) {
    const std::string folder = "\\" + std::string(GetParam().folderChars - 2, 'd') + "\\";
    installVariant(device, "deepbridge", POCKET_IMAGE_DIR "/rcbridge.res", sim::fromUtf8(folder + GetParam().exe));
    device.putFile(folder + "beep.wav", *device.fileBytes(beepPath()));
    HWND tunelark = player();
    auto bridge = device.start("deepbridge");
    ASSERT_TRUE(bridge.running);
    device.pressKey(kKeyA);
    EXPECT_EQ(commands(tunelark), std::vector<WPARAM>{40038});  // the action happens either way
    EXPECT_EQ(soundCount(), GetParam().beepFits ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, BridgeInstallPath,
    ::testing::Values(
        // 251 + "beep.wav" = 259 characters and the terminator: just fits.
        PathCase{"BeepJustFits", 251, "r.exe", true},
        // The folder leaves no room for "beep.wav" in 260 characters.
        PathCase{"NoRoomForTheBeep", 253, "r.exe", false},
        // The module path itself fills the buffer and comes back without its terminator.
        PathCase{"ModulePathFillsTheBuffer", 252, "rcbridge.exe", false}),
    [](const auto& info) { return std::string(info.param.name); });

// The About box of the bridge installed with other resources, as the user opens it from the menu.
static std::optional<pocket::MessageBoxView> aboutBoxOf(pocket::PocketDevice& device, const std::string& name,
                                                 const std::string& resources) {
    installVariant(device, name, resources, u"\\Program Files\\rcbridge\\rcbridge.exe");
    device.start(name);
    auto tray = device.trayIconOf(name);
    if (!tray || !device.tapTrayIcon(tray->hwnd, tray->id) || !device.chooseMenuItem(kAbout)) return std::nullopt;
    return device.messageBox();
}

TEST_F(BridgeTest, AboutTextThatCannotBeLoadedShowsEmpty) {
    auto box = aboutBoxOf(device, "noabout", NO_ABOUT_RES);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->text, "");
    EXPECT_EQ(box->caption, "About");
}

TEST_F(BridgeTest, AboutTextIsCutTo127Characters) {
    auto box = aboutBoxOf(device, "longabout", LONG_ABOUT_RES);
    ASSERT_TRUE(box);
    const std::u16string text = sim::fromUtf8(box->text);
    EXPECT_EQ(text.size(), 127u);
    const std::u16string full = *device.resources("longabout").string(40010);
    EXPECT_GT(full.size(), 127u);
    EXPECT_EQ(text, full.substr(0, 127));
    EXPECT_EQ(device.trayIconOf("longabout")->iconId, 0u);  // this variant has no icon: the bridge runs without
}
