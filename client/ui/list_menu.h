// The right-click menus of the client's list views. A list's owner describes its menu as a table of entries;
// the menu is built when a right click hits a row, shown at the mouse, and its command goes to the owner.
// Clicks between or below the rows show nothing.
#pragma once

#include <QPoint>
#include <functional>
#include <vector>

class QAbstractItemView;
class QObject;

namespace stk::client {

struct ListMenuEntry {
    const char* text = nullptr;
    int command = 0;
    bool separator = false;  // a separator line; text and command are not used
};

inline constexpr ListMenuEntry kListMenuSeparator{nullptr, 0, true};

using ListMenuEntries = std::vector<ListMenuEntry>;
using ListMenuCommand = std::function<void(int command)>;

// Runs the menu for a right click at `pos` (in the coordinates of the view's viewport). The row hit becomes
// the current row unless it is selected already, so a menu over several selected rows keeps them. Hands the
// chosen command to `run` and returns it; 0 when the click hit no row or no command was chosen.
int show_list_menu(QAbstractItemView* view, const QPoint& pos, const ListMenuEntries& entries,
                   const ListMenuCommand& run);

// Shows the menu on every right click in `view` for as long as `owner` lives. `entries` is asked at each
// click, after the row under the mouse has been made current, so a menu may depend on the selection.
void attach_list_menu(QAbstractItemView* view, QObject* owner, std::function<ListMenuEntries()> entries,
                      ListMenuCommand run);
// A menu that is always the same.
void attach_list_menu(QAbstractItemView* view, QObject* owner, ListMenuEntries entries, ListMenuCommand run);

}  // namespace stk::client
