// The menu bar as data: every menu, item text (with its & mnemonic and, after a tab, the shortcut hint),
// command id, separator and submenu, in order. The window builds its menus from it and the tests check
// it item by item against what the window shows.
#pragma once

#include <string>
#include <vector>

namespace tolvex::gui {

struct MenuNode {
    std::string text;                // empty for a separator
    int id = 0;                      // command id of an item; 0 for menus, submenus and separators
    std::vector<MenuNode> children;  // the items of a menu or submenu

    [[nodiscard]] bool isSeparator() const { return text.empty(); }
    [[nodiscard]] bool isMenu() const { return !children.empty(); }
};

// The top-level menus of the main window, left to right.
[[nodiscard]] const std::vector<MenuNode>& mainMenuLayout();

// The text of an item without its shortcut hint ("&New\tCtrl+N" gives "&New").
[[nodiscard]] std::string itemCaption(const std::string& text);
// The shortcut hint of an item ("&New\tCtrl+N" gives "Ctrl+N"), empty when it has none.
[[nodiscard]] std::string itemShortcut(const std::string& text);

}  // namespace tolvex::gui
