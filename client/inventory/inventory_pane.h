// The inventory list (501) and its search: the type-ahead search of the item number and description
// fields, sorting, copying an item into the entry fields, deleting, the item picture and the one-row refresh.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <string>

#include "client/inventory/inventory_model.h"
#include "client/ui/list_menu.h"
#include "client/ui/sale_context.h"

namespace stk::client {

class InventoryPane : public QObject {
    Q_OBJECT
public:
    static constexpr int kTypeAheadMs = 750;

    InventoryPane(ServerApi& api, SaleSettings settings, SaleWidgets widgets, QObject* parent = nullptr);

    // Connects the list (activation, heading clicks, Delete key, context menu) and, unless the main window
    // runs the type-ahead timer itself, the item number and description edits.
    void connect_widgets(bool own_type_ahead_timer = true);
    RequestObserver on_request;
    // Opens a file with the desktop's opener; replaced by tests.
    std::function<bool(const QString& path)> open_file;
    // Right-click menu commands, by id; unset, the pane runs "View Image..." and "Delete" itself.
    std::function<void(int command)> context_command;
    // The right-click menu (501) as it is for the selection now: the entries for one item only when exactly one
    // row is selected.
    ListMenuEntries menu_entries() const;
    void run_menu_command(int command);

    InventoryModel& model() { return model_; }
    const std::string& last_search_text() const { return last_search_; }
    void set_last_search_text(std::string text) { last_search_ = std::move(text); }

    // Sort-by-stock flag: set while the Inventory Item dialog is open, cleared by "Add to Invoice".
    bool sort_by_stock = false;

    // --- type-ahead
    void arm_type_ahead();
    bool search_pending() const { return timer_.isActive(); }
    // The timer fired (or the main window's timer did): take the text and search.
    void type_ahead_fired();
    // The text a type-ahead search would send now: the item number, or the description when it is empty.
    std::string type_ahead_text() const;

    // --- operations
    // 1 when the answer was read whole.
    int search(std::string_view text);
    int refresh() { return search(last_search_); }
    void refresh_row(std::string_view shown_number, std::string_view stored_number);
    void copy_to_entry(int row);
    void sort_by_column(int column);
    // Asks string 2, then deletes the item at the selection mark.
    void delete_selected();
    int delete_row(int row);
    // The picture of a row's item, or "" when its item number could name a file outside the picture folder.
    QString image_path(int row) const;
    void view_image(int row);

    int current_row() const;

private:
    void note(int opcode, std::string_view text = {}) const;

    ServerApi& api_;
    SaleSettings settings_;
    SaleWidgets w_;
    InventoryModel model_;
    std::string last_search_;
    QTimer timer_;
};

}  // namespace stk::client
