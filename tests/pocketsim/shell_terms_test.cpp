#include <gtest/gtest.h>

#include "arguments.h"
#include "commands.h"
#include "shell_terms.h"
#include "tokenizer.h"

namespace {

using namespace pocketsim;

TEST(ShellTerms, ButtonsByNameOrNumber) {
    struct Case {
        const char* text;
        int id;
        bool named;
    };
    const Case cases[] = {
        {"OK", IDOK, true},       {"ok", IDOK, true},         {"IDOK", IDOK, true},     {"Cancel", IDCANCEL, true},
        {"ABORT", IDABORT, true}, {"retry", IDRETRY, true},   {"IGNORE", IDIGNORE, true}, {"yes", IDYES, true},
        {"IDNO", IDNO, true},     {"no", IDNO, true},         {"1", IDOK, false},       {"0x7", IDNO, false},
        {"0", 0, false},          {"32000", 32000, false},
    };
    for (const Case& c : cases) {
        const ButtonChoice b = parseButton(c.text);
        EXPECT_EQ(b.id, c.id) << c.text;
        EXPECT_EQ(b.named, c.named) << c.text;
    }
    // "ID" alone, a prefix that is not a button, a half name, and numbers a box cannot return.
    for (const char* text : {"", "ID", "IDX", "YE", "OKAY", "IDIDOK", "-1", "4294967296", "1x"})
        EXPECT_THROW(parseButton(text), UsageError) << text;
}

TEST(ShellTerms, ButtonNamesRoundTrip) {
    for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO}) EXPECT_EQ(parseButton(buttonName(id)).id, id);
    EXPECT_EQ(buttonName(0), "0");
    EXPECT_EQ(buttonName(99), "99");
}

TEST(ShellTerms, EachBoxTypeHasItsButtonsAndEnterPressesTheDefaultOne) {
    struct Case {
        UINT type;
        std::vector<int> buttons;
        int enter;
    };
    const Case cases[] = {
        {0x0, {IDOK}, IDOK},
        {0x40, {IDOK}, IDOK},                                // an icon changes nothing
        {0x1, {IDOK, IDCANCEL}, IDOK},
        {0x101, {IDOK, IDCANCEL}, IDCANCEL},                 // MB_DEFBUTTON2
        {0x2, {IDABORT, IDRETRY, IDIGNORE}, IDABORT},
        {0x202, {IDABORT, IDRETRY, IDIGNORE}, IDIGNORE},     // MB_DEFBUTTON3
        {0x3, {IDYES, IDNO, IDCANCEL}, IDYES},
        {0x4, {IDYES, IDNO}, IDYES},
        {0x124, {IDYES, IDNO}, IDNO},                        // MB_DEFBUTTON2 with an icon
        {0x204, {IDYES, IDNO}, IDYES},                       // a third button it lacks: the first
        {0x305, {IDRETRY, IDCANCEL}, IDRETRY},               // a fourth likewise
        {0x6, {}, IDOK},                                     // a button set the shell does not know
        {0xF, {}, IDOK},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(boxButtons(c.type), c.buttons) << std::hex << c.type;
        EXPECT_EQ(defaultButton(c.type), c.enter) << std::hex << c.type;
    }
}

TEST(ShellTerms, TypeAndFlagNames) {
    const std::pair<UINT, const char*> boxes[] = {
        {0x0, "0x00000000 (MB_OK)"},
        {0x40, "0x00000040 (MB_OK|MB_ICONINFORMATION)"},
        {0x134, "0x00000134 (MB_YESNO|MB_ICONEXCLAMATION|MB_DEFBUTTON2)"},
        {0x51012, "0x00051012 (MB_ABORTRETRYIGNORE|MB_ICONERROR|MB_SYSTEMMODAL|MB_SETFOREGROUND|MB_TOPMOST)"},
        {0x6, "0x00000006 (0x6)"},
        {0x80000023, "0x80000023 (MB_YESNOCANCEL|MB_ICONQUESTION|0x80000000)"},
    };
    for (const auto& [type, text] : boxes) EXPECT_EQ(boxTypeText(type), text);
    const std::pair<UINT, const char*> menus[] = {
        {0x0, "0x00000000 (TPM_LEFTALIGN|TPM_TOPALIGN)"},
        {0x28, "0x00000028 (TPM_RIGHTALIGN|TPM_BOTTOMALIGN)"},
        {0x114, "0x00000114 (TPM_CENTERALIGN|TPM_VCENTERALIGN|TPM_RETURNCMD)"},
        {0xC, "0x0000000c (TPM_TOPALIGN|0xc)"},  // both horizontal bits together name nothing
        {0x10080, "0x00010080 (TPM_LEFTALIGN|TPM_TOPALIGN|TPM_NONOTIFY|0x10000)"},
    };
    for (const auto& [flags, text] : menus) EXPECT_EQ(popupFlagsText(flags), text);
}

std::vector<pocket::MenuItemView> sampleMenu() {
    return {{"&About...", 40006, false, false}, {"", 0, true, false},       {"2", 40007, false, false},
            {"Save && Quit", 7, false, false},  {"More", 0, false, true},   {"終了", 40005, false, false}};
}

TEST(ShellTerms, MenuItemsByIdOrText) {
    const std::pair<const char*, std::size_t> cases[] = {
        {"40006", 0},       {"0x9c46", 0},        // ids in decimal or hex
        {"&About...", 0},   {"About...", 0},      // the text as stored, or as shown
        {"40005", 5},       {"終了", 5},
        {"7", 3},           {"Save && Quit", 3},  {"Save & Quit", 3},
        {"2", 2},           // no item has id 2, but one is called "2"
        {"40007", 2},       {"More", 4},          // a popup is found; choosing it fails later
    };
    const auto items = sampleMenu();
    for (const auto& [word, index] : cases) EXPECT_EQ(findMenuItem(items, word), index) << word;
}

TEST(ShellTerms, MenuItemsThatCannotBeNamed) {
    const auto items = sampleMenu();
    // A separator by its "-" or its id 0 (which the submenu has too); an id no item has; text
    // that differs in case or blanks; a number too large to be an id.
    for (const char* word : {"-", "0", "", "40008", "about...", "About", " 終了", "99999999999"})
        EXPECT_THROW(findMenuItem(items, word), ActionFailed) << word;
    try {
        findMenuItem(items, "Exit");
        FAIL();
    } catch (const ActionFailed& e) {
        EXPECT_EQ(std::string(e.what()), "the menu has no item \"Exit\"; there are 40006 \"&About...\", 40007 \"2\", "
                                         "7 \"Save && Quit\", \"More\" (submenu), 40005 \"終了\"");
    }
    EXPECT_THROW(findMenuItem({}, "1"), ActionFailed);
}

TEST(ShellTerms, MenuWordsWriteSeparatorsAsDashes) {
    EXPECT_EQ(menuItemWords(sampleMenu()),
              (std::vector<std::string>{"&About...", "-", "2", "Save && Quit", "More", "終了"}));
    EXPECT_EQ(menuItemsText(sampleMenu()), "\"&About...\", -, \"2\", \"Save && Quit\", \"More\", \"終了\"");
    EXPECT_EQ(menuItemsText({}), "no items");
}

TEST(ShellCommands, BadArgumentsAreUsageErrors) {
    for (const char* line :
         {"tap tray", "tap tray nosuch", "tap tray rcbridge x", "tap tray rcbridge 1 2", "pen down tray",
          "pen up tray rcbridge -1", "choose menu", "choose menu a b", "dismiss menu now", "dismiss messagebox MAYBE",
          "dismiss messagebox OK CANCEL", "show tray x", "show menu 1", "show messagebox x", "show screen a b", "show touch tap 1", "show touch press 1 2", "show layout x",
          "expect tray rcbridge", "expect tray rcbridge shown", "expect tray rcbridge icon", "expect tray rcbridge icon x",
          "expect tray rcbridge exists 1", "expect tray-icons", "expect tray-icons -1", "expect menu", "expect menu opened",
          "expect menu open now", "expect menu at 240", "expect menu at x 294", "expect menu at 240 294 1",
          "expect menu items", "expect menus-opened", "expect messagebox", "expect messagebox shown",
          "expect messagebox text", "expect messagebox text contains \"\"", "expect messagebox text a b",
          "expect messagebox caption", "expect messagebox type", "expect messagebox type MB_OK", "pen sideways tray x",
          "pen down x"})
        EXPECT_THROW(parseCommand(tokenize(line)), UsageError) << line;
}

TEST(ShellCommands, AWrongWordAfterAStartNamesWhatMayFollow) {
    const std::pair<const char*, const char*> cases[] = {
        {"pen", "\"pen\" must be followed by one of down, up (got nothing)"},
        {"pen sideways tray x", "\"pen\" must be followed by one of down, up (got \"sideways\")"},
        {"pen down x", "\"pen down\" must be followed by one of tray (got \"x\")"},
        {"dismiss box", "\"dismiss\" must be followed by one of menu, messagebox (got \"box\")"},
    };
    for (const auto& [line, message] : cases) {
        try {
            parseCommand(tokenize(line));
            ADD_FAILURE() << line;
        } catch (const UsageError& e) {
            EXPECT_EQ(std::string(e.what()), message);
        }
    }
}

TEST(ShellCommands, NegativeMenuPositionsParse) {
    EXPECT_NO_THROW(parseCommand(tokenize("expect menu at -10 0x10")));
}

}  // namespace
