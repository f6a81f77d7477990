// Printing from the main window and from the command line: the print dialog answered through the dialog seam
// into a PDF file, the messages for layouts and printers that fail, and `--print-invoice`.
#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>

#include "client/app/receipt_attach.h"
#include "client/receipts/receipt_printing.h"
#include "client/ui/file_picker.h"
#include "client/ui/toolbar.h"
#include "tests/client/receipts/pdf_text.h"
#include "tests/client/support/sale_fixture.h"

namespace stk::client {
namespace {

using testing::read_pdf;

const char kLayout[] =
    "INVOICE NUMBER FIELD\t\t\tArial\t10\tTRUE\tFALSE\tLEFT\tTOP\t0\t0\t3\t0.3\t0\t16777215\t16777215\t0\r\n"
    "item description field\t\t\tArial\t10\tFALSE\tFALSE\tLEFT\tTOP\t0\t0.5\t3\t5\t0\t16777215\t16777215\t0\r\n"
    "PAYMENT TERMS FIELD\t\t\tArial\t10\tFALSE\tFALSE\tLEFT\tTOP\t0\t6\t3\t0.3\t0\t16777215\t16777215\t0\r\n"
    "BUSINESS NAME FIELD\t\t\tArial\t10\tFALSE\tFALSE\tLEFT\tTOP\t0\t7\t3\t0.3\t0\t16777215\t16777215\t0\r\n";

class ReceiptPrintTest : public testing::SaleFixture {
protected:
    void SetUp() override {
        SaleFixture::SetUp();
        if (HasFatalFailure()) return;
        ClientSession& s = session();
        s.data_set = data_set.path();
        s.default_layout_path = s.data_set_file(QStringLiteral("Receipt Layouts/Default Layout.txt"));
        set_field(s.settings.company_name, "HARBOUR");
        ASSERT_TRUE(s.receipt_elements.reserve(kMaxReceiptElements));
        QDir(data_set.path()).mkdir(QStringLiteral("Receipt Layouts"));
        write_layout(s.default_layout_path, kLayout);
        attach_receipts(*window);

        pdf = data_set.filePath(QStringLiteral("receipt.pdf"));
        DialogSeam::set_dialog_handler([this](QDialog& d) {
            if (d.windowTitle() == "Enter Your Identification") {
                if (auto* e = d.findChild<QLineEdit*>("1050")) e->setText(salesperson);
                return static_cast<int>(QDialog::Accepted);
            }
            if (auto* picker = qobject_cast<FilePicker*>(&d)) {
                picker_title = picker->windowTitle();
                picker_names = picker->names();
                picker->activate(static_cast<int>(picker_names.indexOf(pick)));
                return picker->result();
            }
            if (auto* print = qobject_cast<QPrintDialog*>(&d)) {
                ++print_dialogs;
                QPrinter* printer = print->printer();
                EXPECT_EQ(printer->docName(), "Receipt");
                EXPECT_EQ(printer->fromPage(), 1);
                EXPECT_EQ(printer->toPage(), 1);
                if (print_to.isEmpty()) return static_cast<int>(QDialog::Rejected);
                printer->setOutputFormat(QPrinter::PdfFormat);
                printer->setOutputFileName(print_to);
                return static_cast<int>(QDialog::Accepted);
            }
            if (auto* preview = qobject_cast<QPrintPreviewDialog*>(&d)) {
                auto* widget = preview->findChild<QPrintPreviewWidget*>();
                widget->updatePreview();
                preview_pages = widget->pageCount();
            }
            return static_cast<int>(QDialog::Rejected);
        });
    }

    void TearDown() override {
        session().reset();
        SaleFixture::TearDown();
    }

    static void write_layout(const QString& path, const QByteArray& text) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }

    // A sale of two lines, paid in cash.
    void ring_up_sale() {
        make_invoice("R-1001");
        enter_line("1", "", "TAPE MEASURE", "9.50", "4.00", false);
        enter_line("2", "", "BOX NAILS", "3.25", "1.10", false);
        ASSERT_EQ(ws().copy().line_count, 2);
        window->payment_list()->setCurrentIndex(PAYMENT_CASH);
        emit window->payment_list()->activated(PAYMENT_CASH);
        ASSERT_EQ(ws().copy().payment, PAYMENT_CASH);
    }

    QString pdf;
    QString print_to;
    int preview_pages = -1;
    int print_dialogs = 0;
    QString pick;  // the layout the picker activates; none when empty
    QString picker_title;
    QStringList picker_names;
};

TEST_F(ReceiptPrintTest, ToolbarPrintButtonPrintsTheCurrentInvoiceWithTheDefaultLayout) {
    ring_up_sale();
    print_to = pdf;
    window->run_toolbar_command(6, kToolbarPrint);
    EXPECT_TRUE(messages.empty());
    const auto pages = read_pdf(pdf);
    ASSERT_EQ(pages.size(), 1u);
    for (const char* word : {"R-1001", "TAPE", "MEASURE", "BOX", "NAILS", "CASH", "HARBOUR"})
        EXPECT_TRUE(pages[0].has(QString::fromLatin1(word))) << word;
}

TEST_F(ReceiptPrintTest, ACancelledPrintDialogPrintsAndShowsNothing) {
    ring_up_sale();
    window->run_toolbar_command(6, kToolbarPrint);
    EXPECT_EQ(print_dialogs, 1);
    EXPECT_TRUE(messages.empty());
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(ReceiptPrintTest, ALayoutThatCannotBeLoadedShowsString39WithItsPath) {
    QByteArray lines;
    for (int n = 0; n <= kMaxReceiptElements; ++n) lines += "LITERAL\t\tx\r\n";
    write_layout(session().default_layout_path, lines);
    print_to = pdf;
    window->run_toolbar_command(6, kToolbarPrint);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], string_text(str::kCannotOpenLayout) + "\r\n" + session().default_layout_path);
    EXPECT_EQ(print_dialogs, 0);

    messages.clear();
    QFile::remove(session().default_layout_path);
    window->run_toolbar_command(6, kToolbarPrint);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith(string_text(str::kCannotOpenLayout)));
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(ReceiptPrintTest, APrinterThatCannotBeOpenedIsReportedNotPassedOffAsPrinted) {
    ring_up_sale();
    print_to = data_set.filePath(QStringLiteral("no such folder/receipt.pdf"));
    window->run_toolbar_command(6, kToolbarPrint);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].startsWith("Stockavelle was unable to print the receipt."));
    EXPECT_TRUE(messages[0].endsWith(print_to));
}

TEST_F(ReceiptPrintTest, ThePreviewReadsTheLayoutAnewEachTime) {
    ring_up_sale();
    EXPECT_EQ(preview_receipt(window.get(), session().default_layout_path, session().receipt_elements,
                              receipt_content(*window)),
              PrintOutcome::Cancelled);
    EXPECT_EQ(preview_pages, 1);
    EXPECT_TRUE(messages.empty());

    write_layout(session().default_layout_path, QByteArray("A\t") + QByteArray(300, 'x'));
    preview_pages = -1;
    EXPECT_EQ(preview_receipt(window.get(), session().default_layout_path, session().receipt_elements,
                              receipt_content(*window)),
              PrintOutcome::LayoutUnreadable);
    EXPECT_EQ(preview_pages, -1);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(ReceiptPrintTest, FilePrintAndPreviewUseTheLayoutChosenInThePicker) {
    ring_up_sale();
    write_layout(data_set.filePath(QStringLiteral("Receipt Layouts/Numbers Only.txt")),
                 "ITEM NUMBER FIELD\t\t\tArial\t10\tFALSE\tFALSE\tLEFT\tTOP\t0\t0\t3\t6\r\n"
                 "ITEM QUANTITY FIELD\t\t\tArial\t10\tFALSE\tFALSE\tRIGHT\tTOP\t3\t0\t1\t6\r\n");
    pick = QStringLiteral("Numbers Only");
    print_to = pdf;
    window->action(ids::kMenuPrint)->trigger();
    EXPECT_EQ(picker_title, "Select a Layout");
    EXPECT_EQ(picker_names, QStringList({"Default Layout", "Numbers Only"}));
    const auto pages = read_pdf(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(pages[0].has("2"));
    EXPECT_FALSE(pages[0].has("TAPE"));
    EXPECT_FALSE(pages[0].has("R-1001"));

    window->action(ids::kMenuPrintPreview)->trigger();
    EXPECT_EQ(preview_pages, 1);

    // Closing the picker without a layout prints nothing.
    pick.clear();
    print_dialogs = 0;
    preview_pages = -1;
    window->action(ids::kMenuPrint)->trigger();
    window->action(ids::kMenuPrintPreview)->trigger();
    EXPECT_EQ(print_dialogs, 0);
    EXPECT_EQ(preview_pages, -1);
    EXPECT_TRUE(messages.empty());
}

// The command line, run as a separate program against the same server.
class PrintInvoiceCommandTest : public ReceiptPrintTest {
protected:
    void SetUp() override {
        ReceiptPrintTest::SetUp();
        if (HasFatalFailure()) return;
        const QByteArray settings =
            "CompanyName=HARBOUR\r\nServerName=" + QByteArray::fromStdString(server.server_name()) +
            "\r\nClientName=stockavelle client 1.0\r\n";
        write_layout(data_set.filePath(QStringLiteral("stockavelle client settings.txt")), settings);
    }

    int run(const QStringList& arguments) {
        QProcess p;
        p.start(QStringLiteral(STOCKAVELLE_CLIENT_PATH), arguments);
        EXPECT_TRUE(p.waitForFinished(30000));
        errors = QString::fromLocal8Bit(p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    QStringList print_args(int index, const QString& layout) const {
        return {"--data-set", data_set.path(), "--print-invoice", QString::number(index),
                "--layout",   layout,          "--pdf",           pdf,
                "--paper",    "80mm"};
    }

    QString errors;
};

TEST_F(PrintInvoiceCommandTest, WritesTheReceiptOfAnInvoiceAsAPdf) {
    ring_up_sale();
    ASSERT_EQ(run(print_args(ws().current_index(), "Default Layout")), 0) << errors.toStdString();
    const auto pages = read_pdf(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NEAR(pages[0].width, 80 / 25.4 * 72, 0.5);
    for (const char* word : {"R-1001", "TAPE", "NAILS", "CASH", "HARBOUR"})
        EXPECT_TRUE(pages[0].has(QString::fromLatin1(word))) << word;
}

TEST_F(PrintInvoiceCommandTest, EndsWithStatusOneAndSaysWhyWhenSomethingIsMissing) {
    ring_up_sale();
    EXPECT_EQ(run(print_args(ws().current_index() + 50, "Default Layout")), 1);
    EXPECT_TRUE(errors.contains("has no invoice")) << errors.toStdString();

    EXPECT_EQ(run(print_args(ws().current_index(), "No Such Layout")), 1);
    EXPECT_TRUE(errors.contains(string_text(str::kCannotOpenLayout))) << errors.toStdString();
    EXPECT_TRUE(errors.contains("No Such Layout.txt"));

    ASSERT_TRUE(server.stop());
    EXPECT_EQ(run(print_args(ws().current_index(), "Default Layout")), 1);
    EXPECT_TRUE(errors.contains("cannot be reached")) << errors.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
}

}  // namespace
}  // namespace stk::client
