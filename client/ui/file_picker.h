// The file picker (dialog 128): a small window listing the ".txt" files of one folder of the data set, by
// name without the extension. One click on an entry activates it. What activation does, and whether the
// picker then closes, is the caller's; closing the window ends the picker.
//
// The picker's mode is the id of the command that opened it; it sets the title and the folder:
//   105 "Search...", 4013 "Update Prices...", 4011 "Update Description(s) and Prices..."
//       -> "Select a Price File to Search", folder "Price Files"
//   40001 File > Print... -> "Select a Layout", folder "Receipt Layouts"
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

class QStandardItemModel;
class QTreeView;

namespace stk::client {

inline constexpr int kPickerWidth = 339;
inline constexpr int kPickerHeight = 484;
inline constexpr int kPickerColumnWidth = 325;

QString picker_title(int mode);
// The data-set folder the mode lists: "Price Files" or "Receipt Layouts".
QString picker_folder(int mode);

struct PickerEntry {
    QString name;  // the file name without ".txt"
    QString path;  // the file itself
};

// The entries of a folder, sorted as the list shows them (ignoring case): every file whose name ends in
// ".txt" (in any case) and is at least five characters long. A missing folder has none.
std::vector<PickerEntry> picker_entries(const QString& folder);

class FilePicker : public QDialog {
    Q_OBJECT
public:
    // Called with the activated entry's file; true closes the picker.
    using Activate = std::function<bool(const QString& path)>;

    FilePicker(QWidget* parent, const QString& data_set, int mode, Activate on_activate);

    QTreeView* list() const { return list_; }  // object name "504"
    QStringList names() const;
    // Activates the entry in `row`, as a click on it does.
    void activate(int row);
    // The file whose activation closed the picker; "" when the user closed it.
    const QString& chosen() const { return chosen_; }

    // Closing the window ends the picker with 1, like a chosen file.
    void reject() override;

private:
    std::vector<PickerEntry> entries_;
    Activate on_activate_;
    QTreeView* list_ = nullptr;
    QStandardItemModel* model_ = nullptr;
    QString chosen_;
};

// Runs the picker modally (through the dialog seam) over `parent`. Returns the file whose activation closed
// it, or "" when the user closed it without one.
QString run_file_picker(QWidget* parent, const QString& data_set, int mode, FilePicker::Activate on_activate);

}  // namespace stk::client
