// The shell side of notifications: which buttons the HTML has, and the update mask.
#include <gtest/gtest.h>

#include "notifications.h"

namespace {

struct ButtonCase {
    const char16_t* html;
    std::vector<unsigned> commands;
};

class HtmlButtons : public ::testing::TestWithParam<ButtonCase> {};

}  // namespace

TEST_P(HtmlButtons, AreReadFromTheHtmlGiven) { EXPECT_EQ(sim::htmlButtonCommands(GetParam().html), GetParam().commands); }

INSTANTIATE_TEST_SUITE_P(
    Shell, HtmlButtons,
    ::testing::Values(ButtonCase{u"<input type=button name='cmd:1' value='x'>", {1}},
                      ButtonCase{u"<INPUT TYPE=\"BUTTON\" NAME=\"cmd:42\">", {42}},
                      ButtonCase{u"<input name=cmd:7 type=button>", {7}},
                      ButtonCase{u"<input type=button name='cmd:1'><input type=button name='cmd:2'>", {1, 2}},
                      ButtonCase{u"<input type=text name='cmd:1'>", {}},
                      ButtonCase{u"<input type=button name='CMD:1'>", {}},
                      ButtonCase{u"<input type=button name='cmd:'>", {}},
                      ButtonCase{u"<input type=button name='cmd:1x'>", {}},
                      ButtonCase{u"<input type=button name='cmd:99999'>", {}},
                      ButtonCase{u"<p>cmd:1</p>", {}},
                      ButtonCase{u"<input type=button name='cmd:3'", {}},
                      ButtonCase{u"", {}}));

TEST(NotificationCenter, UpdateChangesOnlyTheMaskedFields) {
    sim::NotificationCenter center;
    sim::Notification n;
    n.id = 5;
    n.html = u"old";
    n.title = u"title";
    n.iconResourceId = 101;
    center.add(n, 0);
    sim::Notification change = n;
    change.html = u"new";
    change.title = u"other";
    change.iconResourceId = 102;
    EXPECT_EQ(center.update(SHNUM_HTML, change, 1, 0).result, S_OK);
    const sim::Notification* now = center.find(n.clsid, 5);
    ASSERT_TRUE(now);
    EXPECT_EQ(now->html, u"new");
    EXPECT_EQ(now->title, u"title");
    EXPECT_EQ(now->iconResourceId, 101u);
    EXPECT_EQ(center.update(SHNUM_ICON, change, 2, 0).result, S_OK);
    EXPECT_EQ(center.find(n.clsid, 5)->iconResourceId, 102u);

    change.id = 6;
    EXPECT_TRUE(FAILED(center.update(SHNUM_HTML, change, 3, 0).result));
    EXPECT_TRUE(FAILED(center.add(n, 4).result));  // one notification per class id and id
    EXPECT_EQ(center.remove(n.clsid, 5, 5, 0).result, S_OK);
    EXPECT_TRUE(FAILED(center.remove(n.clsid, 5, 6, 0).result));
}

TEST(NotificationCenter, ClassIdTextRoundTrips) {
    const std::string text = "{CFC24712-2A07-4ACA-8D8C-46FB8B7C55F5}";
    auto clsid = sim::parseClsid(text);
    ASSERT_TRUE(clsid);
    EXPECT_EQ(clsid->Data1, 0xCFC24712u);
    EXPECT_EQ(clsid->Data4[7], 0xF5);
    EXPECT_EQ(sim::clsidText(*clsid), text);
    EXPECT_FALSE(sim::parseClsid("{CFC24712-2A07}"));
    EXPECT_FALSE(sim::parseClsid("not a guid at all, not at all!!"));
}
