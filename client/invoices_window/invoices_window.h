// The Invoices window (dialog 105): searches the server's invoices as the user types, lists the hits in ten
// columns, adds up the amounts of the selected rows, saves the list as a tab-delimited file and loads a chosen
// invoice into the main window. Modal and resizable; what it needs from the running client comes in its
// context, so it knows nothing of the session or the invoice workspace.
#pragma once

#include <QDialog>
#include <QFont>
#include <QRect>
#include <QString>
#include <functional>

#include "client/invoices_window/invoice_rows_model.h"
#include "client/ui/sale_context.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class QTreeView;

namespace stk::client {

// What the window keeps between openings, for the life of the program.
struct InvoicesWindowMemory {
    QString search_text;  // up to 255 characters
    bool unpaid_only = true;
    int sort_column = 0;     // 0: the rows stay in the order of the answer after a search
    QString results_folder;  // where "Save Search Results..." last saved; the user's documents at first
};

struct InvoicesWindowContext {
    ServerApi* api = nullptr;
    // The program's result rows (their capacity is MAX_INVOICES); they outlive the window.
    ReservedArray<InvoiceRow>* rows = nullptr;
    InvoicesWindowMemory* memory = nullptr;
    // Where the window opens, and the rectangle it leaves there when it closes (the one it had before it was
    // maximized, when it closes maximized); empty: 790 x 400.
    QRect* placement = nullptr;
    // The index of the main window's current invoice.
    std::function<int()> current_invoice;
    // Loads invoice `index` into the main window, records it in the navigation history and selects its line
    // `line` there. Returns the invoice as loaded, or nullptr when it could not be loaded (the main window has
    // then told the user whatever there is to tell).
    std::function<const InvoiceRecord*(int index, int line)> open_invoice;
    // The font of the window's controls: the main window's, so that the column widths fit the same texts.
    QFont font;
    // Sees every search as it is sent (opcode 210 and the search text).
    RequestObserver on_request;
};

class InvoicesWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kSearchEdit = 1006, kUnpaidOnly = 1083, kSaveResults = 1079, kSelectionTotal = 1026;
    static constexpr int kList = 503;
    static constexpr int kSearchDelayMs = 750, kTotalDelayMs = 500;
    static constexpr int kBandHeight = 39;
    static constexpr int kMaxSearchText = 255;

    // Builds the window over the context (which must hold an api, rows and memory) and arms the first search.
    InvoicesWindow(QWidget* owner, InvoicesWindowContext context);

    QLineEdit* search_edit() const { return search_; }
    QCheckBox* unpaid_only_box() const { return unpaid_only_; }
    QPushButton* save_button() const { return save_; }
    QLabel* selection_total_label() const { return total_; }
    QTreeView* list() const { return list_; }
    InvoiceRowsModel& model() { return model_; }
    // The type-ahead delay (750 ms, restarted by every change) and the selection-total delay (500 ms).
    QTimer* search_timer() const { return search_timer_; }
    QTimer* total_timer() const { return total_timer_; }

    // What the search timer runs when it fires: search with the edit's text, sort by the remembered column,
    // and after the first search since opening select the current invoice's row.
    void search_now();
    // What the selection-total timer runs when it fires.
    void show_selection_total();
    // Loads the invoice of a row into the main window and puts its present texts into the row.
    void open_row(int row);
    // "Save Search Results...": asks for a file and writes the rows into it in the order of the answer.
    void save_search_results();
    // A heading click: remembers the column and sorts by it.
    void sort_by(int column);

protected:
    void done(int result) override;

private:
    void build_controls();
    void connect_controls();
    void arm_search();
    void select_current_invoice();
    // Marks the sorted heading; -1 marks none.
    void show_sort_indicator(int column);

    InvoicesWindowContext context_;
    InvoiceRowsModel model_;
    QLineEdit* search_ = nullptr;
    QCheckBox* unpaid_only_ = nullptr;
    QPushButton* save_ = nullptr;
    QLabel* total_ = nullptr;
    QTreeView* list_ = nullptr;
    QTimer* search_timer_ = nullptr;
    QTimer* total_timer_ = nullptr;
    bool searched_since_opening_ = false;
};

// Opens the window modally through the dialog seam and returns when it closes.
void open_invoices_window(QWidget* owner, InvoicesWindowContext context);

}  // namespace stk::client
