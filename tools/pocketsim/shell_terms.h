// The words a script uses for the shell's tray icons, popup menus and message boxes, read and
// written, and the lines that tell what the shell showed or closed while a command ran.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "pocket_device.h"

namespace pocketsim {

// A message box button: OK, CANCEL, ABORT, RETRY, IGNORE, YES or NO (any case, with or without
// "ID"), or a plain number, which is passed on as it is. Throws UsageError.
struct ButtonChoice {
    int id = 0;
    bool named = false;  // false for a number: it need not be one of the box's buttons
};
ButtonChoice parseButton(std::string_view text);
// "OK", "YES", ...; a number for anything else.
std::string buttonName(int id);

// The buttons a box of this MB_* type shows, left to right, and the one Enter would press.
std::vector<int> boxButtons(UINT type);
int defaultButton(UINT type);

// "0x00000040 (MB_OK|MB_ICONINFORMATION)"; bits without a name stay in hex.
std::string boxTypeText(UINT type);
// "0x00000028 (TPM_RIGHTALIGN|TPM_BOTTOMALIGN)", likewise.
std::string popupFlagsText(UINT flags);

// The item of `items` that a script names: a number is a command id, anything else the item's
// text as shown (exactly, or with its '&' mnemonic markers left out). A number that is no
// item's id may still be an item's text. Throws ActionFailed, naming the items there are.
std::size_t findMenuItem(const std::vector<pocket::MenuItemView>& items, const std::string& word);

// How `expect menu items` writes a menu: each item's text, and "-" for a separator.
std::vector<std::string> menuItemWords(const std::vector<pocket::MenuItemView>& items);
// The same words on one line, quoted: "\"About\", -, \"Exit\"".
std::string menuItemsText(const std::vector<pocket::MenuItemView>& items);

std::string trayIconText(const pocket::TrayIconView& icon);
// "rcbridge (pid 4096)"; only the pid when no such process was started.
std::string ownerText(const pocket::PocketDevice& device, std::uint32_t pid);

}  // namespace pocketsim
