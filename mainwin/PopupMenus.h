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
    // An item that is no command (tag None): the name of the window's action it runs
    // (TMForm::SetMenuAction), also the action's object name.
    const char* action = nullptr;
};

// The 履歴 menu's item that empties the kept receipt, after asking.
inline constexpr const char* kClearKeptAction = "ClearKept";

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

// The selector items of a built menu name the current selection after their caption, so that
// the user sees where a press leads: "小数点以下桁数 (F→0→…→4)　現在: 2",
// "端数処理 (切捨→四捨五入→切上)　現在: 四捨五入". `decimals` -1 is F.
void ShowSelections(QMenu& menu, int decimals, int rule);

} // namespace bansho
