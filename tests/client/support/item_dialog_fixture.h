// The sale fixture with the Inventory Item dialog answered by script: each opening of the dialog runs the
// next step, which reads and fills its controls and presses its buttons; a dialog that a step leaves open is
// cancelled.
#pragma once

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>

#include "client/app/inventory_attach.h"
#include "client/inventory/inventory_item_dialog.h"
#include "client/inventory/inventory_item_editor.h"
#include "tests/client/support/sale_fixture.h"

namespace stk::client::testing {

using ItemDialog = InventoryItemDialog;

class ItemDialogFixture : public SaleFixture {
protected:
    using Step = std::function<void(ItemDialog&)>;

    void SetUp() override {
        SaleFixture::SetUp();
        if (HasFatalFailure()) return;
        DialogSeam::set_dialog_handler([this](QDialog& d) {
            dialogs.push_back(d.windowTitle());
            if (auto* item = qobject_cast<ItemDialog*>(&d)) {
                ++item_dialogs;
                if (!item_steps.empty()) {
                    const Step step = std::move(item_steps.front());
                    item_steps.pop_front();
                    step(*item);
                }
                if (item->result() == 0) item->button(ItemDialog::kCancel)->click();
                return item->result();
            }
            if (other_dialog) {
                const int answer = other_dialog(d);
                if (answer >= 0) return answer;
            }
            if (d.windowTitle() == "Enter Your Identification") {
                if (auto* e = d.findChild<QLineEdit*>("1050")) e->setText(salesperson);
                return static_cast<int>(QDialog::Accepted);
            }
            return static_cast<int>(QDialog::Rejected);
        });
        editor = inventory_item_editor(*window);
        ASSERT_TRUE(editor);
        editor->on_request = [this](int opcode, std::string_view text) { sent.push_back({opcode, std::string(text)}); };
    }

    static QString text(ItemDialog& d, int id) { return d.edit(id)->text(); }
    static void set(ItemDialog& d, int id, const QString& value) { d.edit(id)->setText(value); }
    static void press(ItemDialog& d, int id) { d.button(id)->click(); }
    static bool open(ItemDialog& d) { return d.result() == 0; }

    InventoryRecord stored(const char* number) {
        InventoryRecord r{};
        EXPECT_EQ(api->get_inventory_item(number, &r), 1) << number;
        return r;
    }
    // Lists the item alone and puts the selection mark on its row.
    void select_listed(const char* number) {
        ASSERT_EQ(pane().search(number), 1);
        const int row = pane().model().find_row(number);
        ASSERT_GE(row, 0) << number;
        auto* list = window->inventory_list();
        list->setCurrentIndex(list->model()->index(row, 0));
    }

    // Right-clicks the inventory list on the row of `number` and chooses `pick` from the menu; returns the
    // entries offered ("-" for a separator).
    QStringList right_click(const char* number, const QString& pick) {
        QStringList offered;
        DialogSeam::set_menu_handler([&](QMenu& menu) -> QAction* {
            QAction* chosen = nullptr;
            for (QAction* a : menu.actions()) {
                offered << (a->isSeparator() ? QStringLiteral("-") : a->text());
                if (!a->isSeparator() && a->text() == pick) chosen = a;
            }
            return chosen;
        });
        auto* list = window->inventory_list();
        const QModelIndex row = list->model()->index(pane().model().find_row(number), 0);
        emit list->customContextMenuRequested(list->visualRect(row).center());
        DialogSeam::set_menu_handler(nullptr);
        return offered;
    }

    InventoryItemEditor* editor = nullptr;
    std::deque<Step> item_steps;
    int item_dialogs = 0;
    // Answers any other dialog first; -1 leaves it to the default answers.
    std::function<int(QDialog&)> other_dialog;
};

}  // namespace stk::client::testing
