// The shell's notification-area icons, popup menus and message boxes: the user's pen and
// answers, and expectations on them.
#include <algorithm>
#include <limits>

#include "arguments.h"
#include "commands.h"
#include "format.h"
#include "shell_terms.h"
#include "utf.h"

namespace pocketsim {

namespace {

using Kind = CommandEntry::Kind;

// ---- tray icons ----

// Which icon a script means: the program's first one, or the one with the given id; "pid=N"
// for a process's own, where the program has several (one left by a copy that ended).
struct TrayChoice {
    std::string program;
    std::optional<UINT> id;
    std::optional<std::uint32_t> pid;

    static TrayChoice parse(const Arguments& args, const std::string& usage) {
        requireCount(args, 1, 2, usage);
        TrayChoice choice;
        if (args[0].rfind("pid=", 0) == 0) {
            choice.pid = static_cast<std::uint32_t>(parseNumber(args[0].substr(4), kDwordMax, "process id"));
            choice.program = args[0];
        } else {
            choice.program = requireProgram(args[0]);
        }
        if (args.size() == 2) choice.id = static_cast<UINT>(parseNumber(args[1], kDwordMax, "icon id"));
        return choice;
    }

    pocket::TrayIconView find(const pocket::PocketDevice& device) const {
        std::string ids;
        for (const pocket::TrayIconView& icon : device.trayIcons()) {
            if (pid ? icon.pid != *pid : icon.process != program) continue;
            if (!id || icon.id == *id) return icon;
            ids += (ids.empty() ? "" : ", ") + std::to_string(icon.id);
        }
        if (ids.empty()) throw ActionFailed(program + " shows no tray icon");
        throw ActionFailed(program + " shows no tray icon with id " + std::to_string(*id) + " (its icons: " + ids + ")");
    }
};

std::string iconName(const pocket::TrayIconView& icon) {
    return "tray icon " + std::to_string(icon.id) + " of " + icon.process + " (pid " + std::to_string(icon.pid) + ")";
}

CommandEntry tapTray() {
    const std::string usage = "tap tray PROGRAM [ID]";
    return {"tap tray", {"PROGRAM|pid=N [ID]"},
            "Touches the program's tray icon with the pen and lifts it: the shell posts the icon's\n"
            "callback message twice, with WM_LBUTTONDOWN and then WM_LBUTTONUP. ID picks one of\n"
            "the program's icons; by default its first. While a menu is open the tap only closes it.",
            {"tap tray rcbridge", "tap tray rcbridge 1"}, Kind::Action,
            [usage](const Arguments& args) -> Action {
                const TrayChoice choice = TrayChoice::parse(args, usage);
                return [choice](Session& s) {
                    const pocket::TrayIconView icon = choice.find(s.device);
                    // The touch closes the menu and the lift goes to the menu, not to the icon: the
                    // lift must still happen, or the next one would be taken for it.
                    const bool menuOpen = s.device.openMenu().has_value();
                    s.device.tapTrayIcon(icon.hwnd, icon.id);
                    s.print("tapped " + iconName(icon) + (menuOpen ? "; the tap only closed the open menu" : ""));
                };
            }};
}

CommandEntry penOnTray(bool down) {
    const std::string name = down ? "pen down tray" : "pen up tray";
    const std::string usage = name + " PROGRAM|pid=N [ID]";
    return {name, {"PROGRAM|pid=N [ID]"},
            down ? "Touches the program's tray icon with the pen (posts its callback message with\n"
                   "WM_LBUTTONDOWN); while a menu is open, the touch only closes it."
                 : "Lifts the pen from the program's tray icon (posts its callback message with\n"
                   "WM_LBUTTONUP, unless a menu is open).",
            {name + " rcbridge", name + " rcbridge 1"}, Kind::Action,
            [usage, down](const Arguments& args) -> Action {
                const TrayChoice choice = TrayChoice::parse(args, usage);
                return [choice, down](Session& s) {
                    const pocket::TrayIconView icon = choice.find(s.device);
                    if (down) s.device.penDownOnTrayIcon(icon.hwnd, icon.id);
                    else s.device.penUpOnTrayIcon(icon.hwnd, icon.id);
                    s.print(std::string(down ? "pen down on " : "pen up from ") + iconName(icon));
                };
            }};
}

CommandEntry showTray() {
    return {"show tray", {""},
            "Lists the notification area's icons: owner, id, window, callback message, the icon's\n"
            "resource id and the tip.",
            {"show tray"}, Kind::Show, [](const Arguments& args) -> Action {
                requireCount(args, 0, 0, "show tray");
                return [](Session& s) {
                    const auto icons = s.device.trayIcons();
                    if (icons.empty()) s.print("no tray icons");
                    for (const pocket::TrayIconView& icon : icons) s.print(trayIconText(icon));
                };
            }};
}

CommandEntry expectTray() {
    const std::string usage = "expect tray PROGRAM exists | absent | icon N";
    return {"expect tray", {"PROGRAM exists", "PROGRAM absent", "PROGRAM icon N"},
            "Checks that the program shows a tray icon or none, or the resource id of the icon its\n"
            "first tray icon shows (0 for none).",
            {"expect tray rcbridge exists", "expect tray rcbridge icon 102", "expect tray rcbridge absent"},
            Kind::Expectation, [usage](const Arguments& args) -> Action {
                requireCount(args, 2, 3, usage);
                const std::string program = requireProgram(args[0]);
                if ((args[1] == "exists" || args[1] == "absent") && args.size() == 2) {
                    const bool wanted = args[1] == "exists";
                    return [program, wanted](Session& s) {
                        const auto icon = s.device.trayIconOf(program);
                        check(icon.has_value() == wanted, icon ? trayIconText(*icon) : program + " shows no tray icon");
                    };
                }
                if (args[1] != "icon" || args.size() != 3) throw UsageError("bad check; usage: " + usage);
                const std::uint64_t want = parseNumber(args[2], kDwordMax, "icon resource id");
                return [program, want](Session& s) {
                    const auto icon = s.device.trayIconOf(program);
                    if (!icon) throw ExpectationFailed(program + " shows no tray icon");
                    check(icon->iconId == want, trayIconText(*icon));
                };
            }};
}

CommandEntry expectTrayCount() {
    return {"expect tray-icons", {"N"}, "Checks how many icons the notification area shows.", {"expect tray-icons 0"},
            Kind::Expectation, [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "expect tray-icons N");
                const std::uint64_t want = parseNumber(args[0], kDwordMax, "count");
                return [want](Session& s) {
                    const auto icons = s.device.trayIcons();
                    std::string found = countOf(icons.size(), "tray icon");
                    for (const pocket::TrayIconView& icon : icons) found += "; " + trayIconText(icon);
                    check(icons.size() == want, found);
                };
            }};
}

// ---- popup menus ----

pocket::MenuView requireMenu(const pocket::PocketDevice& device) {
    auto menu = device.openMenu();
    if (!menu) throw ActionFailed("no menu is open");
    return *menu;
}

CommandEntry chooseMenu() {
    return {"choose menu", {"ID", "TEXT"},
            "Chooses an item of the open popup menu, by its command id or by its text as shown\n"
            "(exactly; '&' mnemonic markers may be left out). A number that is no item's id is\n"
            "taken as text. The program gets the item's command id (as WM_COMMAND, or as the\n"
            "result of TrackPopupMenuEx with TPM_RETURNCMD).",
            {"choose menu 40005", "choose menu \"終了\""}, Kind::Action, [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "choose menu ID|TEXT");
                const std::string word = args[0];
                return [word](Session& s) {
                    const pocket::MenuView menu = requireMenu(s.device);
                    const std::size_t index = findMenuItem(menu.items, word);
                    const pocket::MenuItemView& item = menu.items[index];
                    const std::string name = std::to_string(item.id) + " " + quote(item.text);
                    if (item.popup) throw ActionFailed("item " + quote(item.text) + " opens a submenu; it is no command");
                    const UINT flags = item.flags;
                    if (flags & (MF_GRAYED | MF_DISABLED))
                        throw ActionFailed("item " + name + " is " + (flags & MF_GRAYED ? "greyed" : "disabled"));
                    if (!s.device.chooseMenuItem(item.id)) throw ActionFailed("the shell would not choose item " + name);
                };
            }};
}

CommandEntry dismissMenu() {
    return {"dismiss menu", {""}, "Closes the open popup menu without a choice, as a tap beside it would.",
            {"dismiss menu"}, Kind::Action, [](const Arguments& args) -> Action {
                requireCount(args, 0, 0, "dismiss menu");
                return [](Session& s) {
                    if (!s.device.dismissMenu()) throw ActionFailed("no menu is open");
                };
            }};
}

std::vector<std::string> menuLines(const pocket::PocketDevice& device, const pocket::MenuView& menu) {
    std::vector<std::string> lines{"menu of " + ownerText(device, menu.pid) + " at (" + std::to_string(menu.x) + ", " +
                                   std::to_string(menu.y) + "), flags " + popupFlagsText(menu.flags)};
    for (std::size_t i = 0; i < menu.items.size(); ++i) {
        const pocket::MenuItemView& item = menu.items[i];
        if (item.separator) {
            lines.push_back("  -");
            continue;
        }
        const UINT flags = item.flags;
        std::string notes;
        if (item.popup) notes += ", submenu";
        if (flags & MF_GRAYED) notes += ", greyed";
        if (flags & MF_DISABLED) notes += ", disabled";
        if (flags & MF_CHECKED) notes += ", checked";
        lines.push_back("  " + std::to_string(item.id) + " " + quote(item.text) +
                        (notes.empty() ? "" : " (" + notes.substr(2) + ")"));
    }
    return lines;
}

CommandEntry showMenu() {
    return {"show menu", {""},
            "Shows the open popup menu: its owner, where it was placed (x, y as the program gave\n"
            "them), its TPM_ flags, and each item's command id and text (\"-\" for a separator).",
            {"show menu"}, Kind::Show, [](const Arguments& args) -> Action {
                requireCount(args, 0, 0, "show menu");
                return [](Session& s) {
                    const auto menu = s.device.openMenu();
                    if (!menu) return s.print("no menu open");
                    for (std::string& line : menuLines(s.device, *menu)) s.print(std::move(line));
                };
            }};
}

int parseCoordinate(const std::string& text) {
    const bool negative = !text.empty() && text[0] == '-';
    const auto magnitude = static_cast<int>(
        parseNumber(negative ? text.substr(1) : text, std::numeric_limits<std::int32_t>::max(), "coordinate"));
    return negative ? -magnitude : magnitude;
}

CommandEntry expectMenu() {
    const std::string usage = "expect menu open | closed | at X Y | items TEXT...";
    return {"expect menu", {"open", "closed", "at X Y", "items TEXT..."},
            "Checks that a popup menu is open or not; where the open menu was placed (x, y as the\n"
            "program gave them); or its items in order, by their texts, with \"-\" for a separator.",
            {"expect menu open", "expect menu at 240 294", "expect menu items \"ﾊﾞｰｼﾞｮﾝ情報...\" - \"終了\""},
            Kind::Expectation, [usage](const Arguments& args) -> Action {
                requireCount(args, 1, std::numeric_limits<std::size_t>::max(), usage);
                const std::string what = args[0];
                auto open = [](Session& s) {
                    const auto menu = s.device.openMenu();
                    if (!menu) throw ExpectationFailed("no menu is open");
                    return *menu;
                };
                if ((what == "open" || what == "closed") && args.size() == 1) {
                    const bool wanted = what == "open";
                    return [wanted](Session& s) {
                        const auto menu = s.device.openMenu();
                        check(menu.has_value() == wanted,
                              menu ? "a menu is open: " + menuItemsText(menu->items) : std::string("no menu is open"));
                    };
                }
                if (what == "at" && args.size() == 3) {
                    const int x = parseCoordinate(args[1]);
                    const int y = parseCoordinate(args[2]);
                    return [open, x, y](Session& s) {
                        const pocket::MenuView menu = open(s);
                        check(menu.x == x && menu.y == y,
                              "the menu is at (" + std::to_string(menu.x) + ", " + std::to_string(menu.y) + ")");
                    };
                }
                if (what == "items" && args.size() >= 2) {
                    const std::vector<std::string> want(args.begin() + 1, args.end());
                    return [open, want](Session& s) {
                        const pocket::MenuView menu = open(s);
                        check(menuItemWords(menu.items) == want, "the menu has " + menuItemsText(menu.items));
                    };
                }
                throw UsageError("bad check; usage: " + usage);
            }};
}

CommandEntry expectMenusOpened() {
    return {"expect menus-opened", {"N"},
            "Checks how many popup menus have been opened since the device started, the one open now\n"
            "included (the shell's history keeps the last 5000 to 10000).",
            {"expect menus-opened 1"}, Kind::Expectation, [](const Arguments& args) -> Action {
                requireCount(args, 1, 1, "expect menus-opened N");
                const std::uint64_t want = parseNumber(args[0], kDwordMax, "count");
                return [want](Session& s) {
                    const std::size_t n = s.device.menuHistory().size() + (s.device.openMenu() ? 1 : 0);
                    check(n == want, countOf(n, "menu") + " opened");
                };
            }};
}

// ---- message boxes ----

std::string boxName(const pocket::MessageBoxView& box) { return "the message box " + quote(box.caption); }

std::string buttonList(UINT type) {
    std::string list;
    for (int b : boxButtons(type)) list += (list.empty() ? "" : ", ") + buttonName(b);
    return list.empty() ? "none the shell knows" : list;
}

CommandEntry dismissBox() {
    return {"dismiss messagebox", {"[OK|CANCEL|ABORT|RETRY|IGNORE|YES|NO|N]"},
            "Closes the most recent open message box with one of its buttons; by default the one\n"
            "Enter would press (the MB_DEFBUTTONn of its type). A named button must be one the box\n"
            "shows; a number N is given to the program as it is.",
            {"dismiss messagebox", "dismiss messagebox OK", "dismiss messagebox 2"}, Kind::Action,
            [](const Arguments& args) -> Action {
                requireCount(args, 0, 1, "dismiss messagebox [OK|CANCEL|ABORT|RETRY|IGNORE|YES|NO|N]");
                const std::optional<ButtonChoice> given = args.empty() ? std::nullopt : std::optional(parseButton(args[0]));
                return [given](Session& s) {
                    const auto box = s.device.messageBox();
                    if (!box) throw ActionFailed("no message box is open");
                    const std::vector<int> buttons = boxButtons(box->type);
                    const int button = given ? given->id : defaultButton(box->type);
                    if (given && given->named && !buttons.empty() &&
                        std::find(buttons.begin(), buttons.end(), button) == buttons.end())
                        throw ActionFailed(boxName(*box) + " has no " + buttonName(button) + " button (it shows " +
                                           buttonList(box->type) + ")");
                    s.device.dismissMessageBox(button);
                };
            }};
}

std::vector<std::string> boxLines(const pocket::PocketDevice& device, const pocket::MessageBoxView& box) {
    std::vector<std::string> lines{"message box of " + ownerText(device, box.pid) + ", caption " + quote(box.caption) +
                                   ", type " + boxTypeText(box.type) + ", buttons " + buttonList(box.type),
                                   "  text:"};
    std::size_t pos = 0;
    while (true) {
        const std::size_t end = box.text.find('\n', pos);
        std::string line = "    ";
        // A carriage return or tab would hide in the output; they show as a script writes them.
        for (char c : box.text.substr(pos, end == std::string::npos ? std::string::npos : end - pos))
            line += c == '\r' ? std::string("\\r") : c == '\t' ? std::string("\\t") : std::string(1, c);
        lines.push_back(std::move(line));
        if (end == std::string::npos) break;
        pos = end + 1;
    }
    return lines;
}

CommandEntry showBox() {
    return {"show messagebox", {""},
            "Shows the most recent open message box: owner, caption, type with its MB_ names, the\n"
            "buttons, and the text, one line per line.",
            {"show messagebox"}, Kind::Show, [](const Arguments& args) -> Action {
                requireCount(args, 0, 0, "show messagebox");
                return [](Session& s) {
                    const auto box = s.device.messageBox();
                    if (!box) return s.print("no message box open");
                    for (std::string& line : boxLines(s.device, *box)) s.print(std::move(line));
                    const std::size_t under = s.device.messageBoxesOpen();
                    if (under > 1) s.print(countOf(under - 1, "more box") + " open under it");
                };
            }};
}

CommandEntry expectBox() {
    const std::string usage =
        "expect messagebox open | closed | text TEXT | text contains TEXT | caption TEXT | type N";
    return {"expect messagebox",
            {"open", "closed", "text TEXT", "text contains TEXT", "caption TEXT", "type N"},
            "Checks that a message box is open or not, or the most recent open box: its whole text\n"
            "(write line feeds as \\n in quotes), a piece of it, its caption, or its MB_ type.",
            {"expect messagebox open", "expect messagebox caption About",
             "expect messagebox text contains \"remote control\"", "expect messagebox text \"line 1\\nline 2\"",
             "expect messagebox type 0x40"},
            Kind::Expectation, [usage](const Arguments& args) -> Action {
                requireCount(args, 1, 3, usage);
                const std::string what = args[0];
                auto open = [](Session& s) {
                    const auto box = s.device.messageBox();
                    if (!box) throw ExpectationFailed("no message box is open");
                    return *box;
                };
                if ((what == "open" || what == "closed") && args.size() == 1) {
                    const bool wanted = what == "open";
                    return [wanted](Session& s) {
                        const auto box = s.device.messageBox();
                        check(box.has_value() == wanted,
                              box ? boxName(*box) + " is open: " + quote(box->text) : std::string("no message box is open"));
                    };
                }
                if (what == "text" && args.size() == 2) {
                    const std::string text = args[1];
                    return [open, text](Session& s) {
                        const pocket::MessageBoxView box = open(s);
                        check(box.text == text, boxName(box) + " has the text " + quote(box.text));
                    };
                }
                if (what == "text" && args.size() == 3 && args[1] == "contains") {
                    const std::string text = args[2];
                    if (text.empty()) throw UsageError("the text to look for is empty");
                    return [open, text](Session& s) {
                        const pocket::MessageBoxView box = open(s);
                        check(box.text.find(text) != std::string::npos,
                              boxName(box) + " has the text " + quote(box.text) + ", which does not contain " + quote(text));
                    };
                }
                if (what == "caption" && args.size() == 2) {
                    const std::string caption = args[1];
                    return [open, caption](Session& s) {
                        const pocket::MessageBoxView box = open(s);
                        check(box.caption == caption, "the open message box has the caption " + quote(box.caption));
                    };
                }
                if (what == "type" && args.size() == 2) {
                    const auto type = static_cast<UINT>(parseNumber(args[1], kDwordMax, "type"));
                    return [open, type](Session& s) {
                        const pocket::MessageBoxView box = open(s);
                        check(box.type == type, boxName(box) + " has the type " + boxTypeText(box.type));
                    };
                }
                throw UsageError("bad check; usage: " + usage);
            }};
}

}  // namespace

std::vector<CommandEntry> shellCommands() {
    return onlyOn(sim::Machine::Handheld,
                  {tapTray(), penOnTray(true), penOnTray(false), chooseMenu(), dismissMenu(), dismissBox(), showTray(),
                   showMenu(), showBox(), expectTray(), expectTrayCount(), expectMenu(), expectMenusOpened(),
                   expectBox()});
}

}  // namespace pocketsim
