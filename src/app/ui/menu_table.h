// The main menu as one table: every item with its text, its status-line
// hint and what it does. Items that start a window name the procedure the
// window registry knows it by; the frame builds its menu bar from this
// table and nothing else.
#pragma once

#include <span>

namespace kdm {

enum class MenuAction {
  Separator,
  Start,         // open the procedure's window as a new child
  Parameters,    // make sure the parameters record exists, then start
  Exit,
  PrinterSetup,
  Cut,
  Copy,
  Paste,
  Tile,
  Cascade,
  ArrangeIcons,
  About,
  HelpContents,
  HelpSearch,
  HelpOnHelp,
};

struct MenuDef {
  const char* title;  // with its mnemonic
  const char* hint;   // status-line hint of the menu itself; may be empty
};

struct MenuItemDef {
  int menu;           // index into menus()
  MenuAction action;
  const char* text;   // with its mnemonic
  const char* hint;   // shown in the status line when highlighted; may be empty
  const char* procedure;  // for Start and Parameters
};

std::span<const MenuDef> menus();
std::span<const MenuItemDef> menuItems();

// The help topic the help menu's contents open.
inline constexpr const char* kContentsTopic = "~T1.0";

}  // namespace kdm
