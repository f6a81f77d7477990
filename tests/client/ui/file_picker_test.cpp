#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTreeView>

#include "client/ui/control_ids.h"
#include "client/ui/file_picker.h"

namespace stk::client {
namespace {

class FilePickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(data_set_.path()).mkpath("Price Files/folder.txt"));
        ASSERT_TRUE(QDir(data_set_.path()).mkpath("Receipt Layouts"));
        for (const char* name : {".txt", "a.txt", "Zeta Supply.txt", "acme.TXT", "notes.csv", "txt", "b.txt.bak"})
            touch("Price Files/" + QString::fromLatin1(name));
        touch("Receipt Layouts/Default.txt");
    }
    void touch(const QString& relative) {
        QFile f(data_set_.filePath(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    // A left click in the middle of a row, as the mouse gives it.
    static void click_row(QTreeView* list, int row) {
        const QPoint at = list->visualRect(list->model()->index(row, 0)).center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent e(type, at, list->viewport()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(list->viewport(), &e);
        }
    }

    QTemporaryDir data_set_;
};

TEST_F(FilePickerTest, ListsTheTextFilesOfTheModesFolderByNameSorted) {
    FilePicker prices(nullptr, data_set_.path(), ids::kSearchPriceFile, nullptr);
    // ".txt" has no name, folders and other extensions are not files to pick.
    EXPECT_EQ(prices.names(), QStringList({"a", "acme", "Zeta Supply"}));
    EXPECT_EQ(prices.windowTitle(), "Select a Price File to Search");
    EXPECT_EQ(prices.size(), QSize(kPickerWidth, kPickerHeight));
    QTreeView* list = prices.findChild<QTreeView*>("504");
    ASSERT_EQ(list, prices.list());
    EXPECT_EQ(list->model()->columnCount(), 1);
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), "");
    EXPECT_EQ(list->columnWidth(0), kPickerColumnWidth);

    for (int mode : {ids::kCtxUpdatePrices, ids::kCtxUpdateDescriptionsAndPrices})
        EXPECT_EQ(FilePicker(nullptr, data_set_.path(), mode, nullptr).names().size(), 3);
    FilePicker layouts(nullptr, data_set_.path(), ids::kMenuPrint, nullptr);
    EXPECT_EQ(layouts.windowTitle(), "Select a Layout");
    EXPECT_EQ(layouts.names(), QStringList({"Default"}));
    // A data set without the folder gives an empty picker.
    EXPECT_TRUE(FilePicker(nullptr, data_set_.filePath("nowhere"), ids::kMenuPrint, nullptr).names().isEmpty());
}

TEST_F(FilePickerTest, OneClickActivatesAndTheCallbackDecidesWhetherItCloses) {
    QStringList activated;
    bool close = false;
    FilePicker picker(nullptr, data_set_.path(), ids::kSearchPriceFile, [&](const QString& path) {
        activated << path;
        return close;
    });
    picker.show();
    click_row(picker.list(), 1);
    ASSERT_EQ(activated, QStringList({data_set_.filePath("Price Files/acme.TXT")}));
    EXPECT_TRUE(picker.isVisible());  // no match: the picker stays for another file
    EXPECT_EQ(picker.chosen(), "");

    close = true;
    click_row(picker.list(), 0);
    EXPECT_EQ(activated.last(), data_set_.filePath("Price Files/a.txt"));
    EXPECT_FALSE(picker.isVisible());
    EXPECT_EQ(picker.result(), 1);
    EXPECT_EQ(picker.chosen(), data_set_.filePath("Price Files/a.txt"));
}

TEST_F(FilePickerTest, ClosingTheWindowEndsItWithOneAndNoFile) {
    FilePicker picker(nullptr, data_set_.path(), ids::kMenuPrint, nullptr);
    picker.show();
    picker.reject();
    EXPECT_EQ(picker.result(), 1);
    EXPECT_EQ(picker.chosen(), "");
}

}  // namespace
}  // namespace stk::client
