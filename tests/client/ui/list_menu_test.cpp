#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QStandardItemModel>
#include <QTreeView>

#include "client/ui/dialog_seam.h"
#include "client/ui/list_menu.h"

namespace stk::client {
namespace {

class ListMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* text : {"one", "two", "three"}) model_.appendRow(new QStandardItem(text));
        view_.setModel(&model_);
        view_.setSelectionMode(QAbstractItemView::ExtendedSelection);
        view_.resize(300, 300);
        view_.show();
        // The test answers the menu: it records what was offered and picks `pick_`.
        DialogSeam::set_menu_handler([this](QMenu& menu) -> QAction* {
            shown_.clear();
            QAction* chosen = nullptr;
            for (QAction* a : menu.actions()) {
                shown_ << (a->isSeparator() ? QStringLiteral("-") : a->text());
                if (!a->isSeparator() && a->text() == pick_) chosen = a;
            }
            return chosen;
        });
    }
    void TearDown() override { DialogSeam::reset(); }
    QPoint row_point(int row) { return view_.visualRect(model_.index(row, 0)).center(); }

    QStandardItemModel model_;
    QTreeView view_;
    QStringList shown_;
    QString pick_ = "Delete";
    std::vector<int> run_;
    const ListMenuEntries entries_ = {{"Edit/View...", 4020}, kListMenuSeparator, {"Delete", 4021}};
};

TEST_F(ListMenuTest, ARightClickOnARowOffersTheTableAndRunsTheChoiceOnThatRow) {
    const int command = show_list_menu(&view_, row_point(2), entries_, [this](int c) { run_.push_back(c); });
    EXPECT_EQ(command, 4021);
    EXPECT_EQ(run_, std::vector<int>{4021});
    EXPECT_EQ(shown_, QStringList({"Edit/View...", "-", "Delete"}));
    EXPECT_EQ(view_.currentIndex().row(), 2);

    // Nothing chosen: nothing runs.
    pick_.clear();
    EXPECT_EQ(show_list_menu(&view_, row_point(0), entries_, [this](int c) { run_.push_back(c); }), 0);
    EXPECT_EQ(run_.size(), 1u);
}

TEST_F(ListMenuTest, AClickBelowTheRowsShowsNoMenu) {
    shown_ << "untouched";
    EXPECT_EQ(show_list_menu(&view_, QPoint(10, 290), entries_, [this](int c) { run_.push_back(c); }), 0);
    EXPECT_EQ(shown_, QStringList({"untouched"}));
    EXPECT_TRUE(run_.empty());
}

TEST_F(ListMenuTest, AnAttachedMenuIsBuiltAfterTheHitRowIsTakenAndKeepsASelection) {
    int selected_when_built = -1;
    QObject owner;
    attach_list_menu(
        &view_, &owner,
        [&] {
            selected_when_built = static_cast<int>(view_.selectionModel()->selectedRows().size());
            return entries_;
        },
        [this](int c) { run_.push_back(c); });
    view_.selectionModel()->select(model_.index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    view_.selectionModel()->select(model_.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    emit view_.customContextMenuRequested(row_point(1));
    EXPECT_EQ(selected_when_built, 2);  // a right click within the selection keeps it
    EXPECT_EQ(run_, std::vector<int>{4021});
}

}  // namespace
}  // namespace stk::client
