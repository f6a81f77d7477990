// The Invoices window on a real server: the type-ahead search, the first opening, the selection total,
// sorting, saving, opening an invoice with one click, and the toolbar and menu that open the window.
#include <QAbstractItemModel>
#include <QFile>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <filesystem>
#include <fstream>

#include "client/app/invoices_attach.h"
#include "client/main_window/main_window.h"
#include "client/ui/toolbar.h"
#include "tests/client/support/sale_fixture.h"

namespace stk::client::testing {
namespace {

struct LineSpec {
    const char* item_number;
    const char* description;
    const char* remark = "";
};

struct InvoiceSpec {
    const char* number;
    const char* date;
    const char* customer;
    const char* total;
    int payment;
    std::vector<LineSpec> lines;
};

// The shop's invoices, written as "invoices.dat" before the server starts: dates over three years, one
// amount that is not a number and one paid invoice.
const std::vector<InvoiceSpec> kInvoices = {
    {"1001", "03/15/2023", "ACME", "10.00", PAYMENT_UNPAID, {{"BOLT-10", "BOLT"}}},
    {"1002", "11/02/2022", "Bristol", "2.50", PAYMENT_UNPAID, {{"NAIL-1", "NAILS"}, {"GLUE-5", "WOOD GLUE", "500 ML"}}},
    {"1003", "01/20/2024", "Carver", "9.00", PAYMENT_UNPAID, {}},
    {"1004", "06/01/2024", "Dunn", "N/A", PAYMENT_UNPAID, {}},
    {"1005", "05/05/2024", "Paid Pty", "50.00", PAYMENT_CASH, {}},
};

void write_invoice_file(const std::string& folder, const std::vector<InvoiceSpec>& specs) {
    std::vector<InvoiceRecord> records(specs.size() + 1, InvoiceRecord{});
    for (std::size_t i = 0; i < specs.size(); ++i) {
        const InvoiceSpec& s = specs[i];
        InvoiceRecord& r = records[i + 1];
        set_field(r.invoice_number, s.number);
        set_field(r.date, s.date);
        set_field(r.time, "10:00:00");
        set_field(r.customer_name, s.customer);
        set_field(r.customer_phone_number, "555-0101");
        set_field(r.salesperson, "PAT");
        set_field(r.subtotal, s.total);
        set_field(r.tax, "0.00");
        set_field(r.total, s.total);
        r.payment = s.payment;
        for (const LineSpec& l : s.lines) {
            InvoiceLine& line = r.lines[r.line_count++];
            set_field(line.quantity, "1");
            set_field(line.item_number, l.item_number);
            set_field(line.description, l.description);
            set_field(line.remark, l.remark);
            set_field(line.unit_price, "1.00");
            set_field(line.unit_cost, "0.50");
            set_field(line.amount, "1.00");
        }
    }
    const std::int32_t header[3] = {1, static_cast<std::int32_t>(12 + records.size() * sizeof(InvoiceRecord)),
                                    static_cast<std::int32_t>(specs.size())};
    std::filesystem::create_directories(folder);
    std::ofstream out(folder + "/invoices.dat", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    out.write(reinterpret_cast<const char*>(records.data()),
              static_cast<std::streamsize>(records.size() * sizeof(InvoiceRecord)));
}

// Lets a running timer fire now rather than after its delay; its delay stays what it was for the next start.
void fire(QTimer* timer) {
    ASSERT_TRUE(timer->isActive());
    const int delay = timer->interval();
    timer->setInterval(0);  // restarts it
    ASSERT_TRUE(wait_for([timer] { return !timer->isActive(); }));
    timer->setInterval(delay);
}

void click_heading(QTreeView* list, int column) {
    QHeaderView* header = list->header();
    QTest::mouseClick(
        header->viewport(), Qt::LeftButton, {},
        QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2));
}

void click_row(QTreeView* list, int row, Qt::KeyboardModifiers modifiers = {}) {
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, modifiers, rect.center());
}

class InvoicesWindowTest : public SaleFixture {
protected:
    void SetUp() override {
        write_invoice_file(server.database_set(), kInvoices);
        SaleFixture::SetUp();
        ASSERT_TRUE(rows.reserve(100));
    }

    void TearDown() override {
        invoices.reset();
        SaleFixture::TearDown();
    }

    // Opens the window as the main window's command would, over this test's server and rows.
    InvoicesWindow& open_window() {
        InvoicesWindowContext c = invoices_window_context(*window, memory);
        c.api = api.get();
        c.rows = &rows;
        c.placement = &placement;
        c.on_request = [this](int opcode, std::string_view text) {
            EXPECT_EQ(opcode, SEARCH_INVOICES);
            searches.emplace_back(text);
        };
        invoices = std::make_unique<InvoicesWindow>(window.get(), std::move(c));
        invoices->show();
        return *invoices;
    }

    // The texts of a column, top to bottom.
    std::vector<std::string> column(int c) const {
        std::vector<std::string> out;
        for (int r = 0; r < invoices->model().rowCount(); ++r) out.emplace_back(invoices->model().cell(r, c));
        return out;
    }

    int row_of(const char* number) const {
        for (int r = 0; r < invoices->model().rowCount(); ++r)
            if (invoices->model().cell(r, kColInvoice) == number) return r;
        return -1;
    }

    ReservedArray<InvoiceRow> rows;
    InvoicesWindowMemory memory;
    QRect placement;
    std::vector<std::string> searches;
    std::unique_ptr<InvoicesWindow> invoices;
};

TEST_F(InvoicesWindowTest, FirstOpeningListsEveryUnpaidInvoiceAndSelectsTheCurrentOne) {
    ASSERT_EQ(ws().load_invoice(3, true), 1);
    InvoicesWindow& w = open_window();

    // Nothing is sent when the window opens: the search runs 750 ms later, with the empty remembered text.
    EXPECT_TRUE(searches.empty());
    EXPECT_EQ(w.search_timer()->interval(), 750);
    EXPECT_TRUE(w.unpaid_only_box()->isChecked());
    fire(w.search_timer());
    EXPECT_EQ(searches, std::vector<std::string>{""});
    EXPECT_EQ(column(kColInvoice), (std::vector<std::string>{"1001", "1002", "1003", "1004"}));

    // The current invoice's row is selected and carries the focus mark; its amount shows half a second later.
    const QModelIndexList selected = w.list()->selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(w.model().cell(selected[0].row(), kColInvoice), "1003");
    EXPECT_EQ(w.list()->currentIndex().row(), selected[0].row());
    EXPECT_EQ(w.total_timer()->interval(), 500);
    fire(w.total_timer());
    EXPECT_EQ(w.selection_total_label()->text(), "Selection Total: $9.00");
}

TEST_F(InvoicesWindowTest, FiveQuickKeystrokesSendOneSearchAfterTheLast) {
    InvoicesWindow& w = open_window();
    fire(w.search_timer());
    ASSERT_EQ(searches.size(), 1u);

    // Each keystroke starts the 750 ms over again; nothing is sent while typing.
    for (QChar c : QString("10.00")) {
        type_keys(w.search_edit(), QString(c));
        EXPECT_TRUE(w.search_timer()->isActive());
        EXPECT_GT(w.search_timer()->remainingTime(), 700);
        EXPECT_EQ(searches.size(), 1u);
    }
    fire(w.search_timer());
    EXPECT_EQ(searches, (std::vector<std::string>{"", "10.00"}));
    EXPECT_EQ(column(kColInvoice), std::vector<std::string>{"1001"});

    // Emptying the text and unticking the box within the delay make one search, now over every invoice.
    w.search_edit()->clear();
    w.unpaid_only_box()->click();
    EXPECT_FALSE(memory.unpaid_only);
    fire(w.search_timer());
    EXPECT_EQ(searches.size(), 3u);
    EXPECT_EQ(column(kColInvoice), (std::vector<std::string>{"1001", "1002", "1003", "1004", "1005"}));
    EXPECT_EQ(memory.search_text, "");
}

TEST_F(InvoicesWindowTest, SelectionTotalAddsTheSelectedAmountsThatAreNumbers) {
    const int current = ws().current_index();
    InvoicesWindow& w = open_window();
    fire(w.search_timer());

    // Ctrl+click picks rows without opening their invoices.
    click_row(w.list(), row_of("1001"), Qt::ControlModifier);
    click_row(w.list(), row_of("1002"), Qt::ControlModifier);
    fire(w.total_timer());
    EXPECT_EQ(w.selection_total_label()->text(), "Selection Total: $12.50");
    click_row(w.list(), row_of("1004"), Qt::ControlModifier);  // amount "N/A"
    fire(w.total_timer());
    EXPECT_EQ(w.list()->selectionModel()->selectedRows().size(), 3);
    EXPECT_EQ(w.selection_total_label()->text(), "Selection Total: $12.50");
    EXPECT_EQ(ws().current_index(), current);

    // A new search clears the total with the rows.
    type_keys(w.search_edit(), "b");
    fire(w.search_timer());
    EXPECT_EQ(w.selection_total_label()->text(), "");
}

TEST_F(InvoicesWindowTest, AmountSortsAsNumbersDateAcrossYearsAndTheColumnHoldsForTheNextSearch) {
    InvoicesWindow& w = open_window();
    fire(w.search_timer());

    click_heading(w.list(), kColAmount);
    EXPECT_EQ(column(kColAmount), (std::vector<std::string>{"2.50", "9.00", "10.00", "N/A"}));
    click_heading(w.list(), kColDate);
    EXPECT_EQ(column(kColDate), (std::vector<std::string>{"11/02/2022", "03/15/2023", "01/20/2024", "06/01/2024"}));
    EXPECT_EQ(memory.sort_column, kColDate);

    w.unpaid_only_box()->click();
    fire(w.search_timer());
    EXPECT_EQ(column(kColDate),
              (std::vector<std::string>{"11/02/2022", "03/15/2023", "01/20/2024", "05/05/2024", "06/01/2024"}));
}

TEST_F(InvoicesWindowTest, SavedFileHoldsTheRowsInAnswerOrderAndAFailureIsTold) {
    InvoicesWindow& w = open_window();
    fire(w.search_timer());
    click_heading(w.list(), kColCustomer);

    QString chosen = data_set.filePath("results");  // the ".txt" is added
    QStringList offered_folders;
    DialogSeam::set_file_handler([&](const QString&, const QString& folder, const QString& filter, bool save) {
        EXPECT_TRUE(save);
        EXPECT_EQ(filter, "Tab Delimited Text File (.txt) (*.txt)");
        offered_folders << folder;
        return chosen;
    });
    QTest::mouseClick(w.save_button(), Qt::LeftButton);
    QFile file(data_set.filePath("results.txt"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(),
              "1001\t03/15/2023\t10:00:00\tACME\t555-0101\tBOLT-10 BOLT\t10.00\tINCOMPLETE\tUNPAID\tPAT\r\n"
              "1002\t11/02/2022\t10:00:00\tBristol\t555-0101\tNAIL-1 NAILS\t2.50\tINCOMPLETE\tUNPAID\tPAT\r\n"
              "1003\t01/20/2024\t10:00:00\tCarver\t555-0101\t\t9.00\tINCOMPLETE\tUNPAID\tPAT\r\n"
              "1004\t06/01/2024\t10:00:00\tDunn\t555-0101\t\tN/A\tINCOMPLETE\tUNPAID\tPAT\r\n");
    EXPECT_TRUE(messages.empty());

    // A file that cannot be written is named in one message; a cancelled dialog does nothing.
    chosen = data_set.filePath("no such folder/results.txt");
    w.save_button()->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].endsWith(chosen)) << messages[0].toStdString();
    chosen.clear();
    w.save_button()->click();
    EXPECT_EQ(messages.size(), 1u);

    // The dialog opens first in the user's documents, then where the last file went.
    ASSERT_EQ(offered_folders.size(), 3);
    EXPECT_FALSE(offered_folders[0].isEmpty());
    EXPECT_EQ(offered_folders[1], data_set.path());
    EXPECT_EQ(offered_folders[2], data_set.filePath("no such folder"));
}

TEST_F(InvoicesWindowTest, OneClickOpensTheInvoiceAtItsPreviewLineAndTheRowShowsItAsItIsNow) {
    InvoicesWindow& w = open_window();
    type_keys(w.search_edit(), "glue");
    fire(w.search_timer());
    ASSERT_EQ(column(kColPreview), std::vector<std::string>{"GLUE-5 WOOD GLUE 500 ML"});

    // Meanwhile another till renames the customer of that invoice.
    InvoiceRecord copy{};
    ASSERT_EQ(api->get_invoice(2, &copy), 1);
    ASSERT_EQ(api->set_invoice_field(2, FIELD_CUSTOMER_NAME, "BRISTOL BOATS", copy), 1);

    const int history_before = ws().history_top();
    click_row(w.list(), 0);
    EXPECT_EQ(ws().current_index(), 2);
    EXPECT_EQ(ws().history_top(), history_before + 1);
    EXPECT_EQ(edit(ids::kCustomerName)->text(), "BRISTOL BOATS");
    EXPECT_EQ(window->invoice_lines()->currentIndex().row(), 1);  // the line the preview shows
    EXPECT_EQ(column(kColCustomer), std::vector<std::string>{"BRISTOL BOATS"});
    EXPECT_EQ(column(kColPreview), std::vector<std::string>{"GLUE-5 WOOD GLUE 500 ML"});
    EXPECT_TRUE(w.isVisible());

    // Enter opens the row under the selection mark as well.
    w.search_edit()->clear();
    fire(w.search_timer());
    w.list()->setCurrentIndex(w.model().index(row_of("1003"), 0));
    press_key(w.list(), Qt::Key_Return);
    EXPECT_EQ(ws().current_index(), 3);
}

TEST_F(InvoicesWindowTest, ToolbarButtonAndMenuOpenTheWindowWhereItWasLeftWithTheLastSearch) {
    session().api.set_address(api->address());
    session().api.set_client_name(api->client_name());
    ASSERT_TRUE(session().invoice_results.reserve(100));
    attach_invoices_window(*window);
    ASSERT_EQ(ws().load_invoice(4, true), 1);

    std::vector<std::string> opened;  // what each opening showed: search text, rows and the selected invoice
    QRect left_at(120, 90, 760, 380);
    DialogSeam::set_dialog_handler([&](QDialog& d) {
        auto* w = qobject_cast<InvoicesWindow*>(&d);
        EXPECT_NE(w, nullptr);
        if (!w) return static_cast<int>(QDialog::Rejected);
        w->show();
        fire(w->search_timer());
        const QModelIndexList selected = w->list()->selectionModel()->selectedRows();
        opened.push_back(w->search_edit()->text().toStdString() + "|" + std::to_string(w->model().rowCount()) + "|" +
                         (selected.size() == 1 ? std::string(w->model().cell(selected[0].row(), kColInvoice)) : ""));
        if (opened.size() == 1) {
            w->search_edit()->setText("dunn");
            fire(w->search_timer());
            w->setGeometry(left_at);
        } else {
            EXPECT_EQ(w->geometry(), left_at);
            // Moved, then maximized and closed: it opens where it was before it was maximized.
            left_at.translate(30, 20);
            w->setGeometry(left_at);
            w->showMaximized();
        }
        w->reject();
        return static_cast<int>(QDialog::Rejected);
    });
    window->run_toolbar_command(5, kToolbarInvoices);
    ASSERT_TRUE(window->run_command(ids::kMenuInvoices));
    ASSERT_TRUE(window->run_command(ids::kMenuInvoices));
    EXPECT_EQ(opened, (std::vector<std::string>{"|4|1004", "dunn|1|1004", "dunn|1|1004"}));

    session().api.set_address({});
    session().invoice_results.release();
}

}  // namespace
}  // namespace stk::client::testing
