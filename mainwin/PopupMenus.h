#pragma once
// The six command menus opened by commands 200..205. Each item's tag is the command that
// choosing it runs.
#include "Commands.h"

#include <string>
#include <vector>

class QMenu;
class QWidget;

namespace bansho {

struct MenuItemDef {
    std::string caption; // UTF-8
    Command tag;         // the command choosing it runs
};

struct PopupMenuDef {
    Command command;  // EditMenu..ZoomMenu
    std::string name; // EMenu, NMenu, MMenu, HMenu, SMenu, VMenu
    std::vector<MenuItemDef> items;
};

// The six menus in command order.
const std::vector<PopupMenuDef>& PopupMenuDefs();

// The definition for command 200..205, or nullptr.
const PopupMenuDef* FindPopupMenu(int command);

// Builds the menu with each action's data holding its tag.
QMenu* BuildPopupMenu(const PopupMenuDef& def, QWidget* parent);

} // namespace bansho
