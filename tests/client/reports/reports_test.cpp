// The three reports from the View > Reports menu on a real server: the document is written exactly as
// answered, becomes a page beside it and opens; what goes wrong on the way is told.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "client/app/reports_attach.h"
#include "client/app/session.h"
#include "client/app/session_attach.h"
#include "client/main_window/main_window.h"
#include "client/reports/report_page.h"
#include "client/reports/suggested_order_dialog.h"
#include "client/ui/control_ids.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/shell_open.h"
#include "common/protocol.h"
#include "common/text_field.h"
#include "tests/support/server_process.h"

namespace stk::client {
namespace {

std::string contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("(missing)");
}

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class ReportsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start()) << server.log() << server.errors();
        reports = data_set.filePath("Reports");
        ASSERT_TRUE(QDir().mkpath(reports));
        for (const char* sheet : {"sales report.xsl", "non-inventory sales report.xsl", "suggested order report.xsl"})
            ASSERT_TRUE(QFile::copy(QStringLiteral(STOCKAVELLE_SOURCE_DIR "/resources/reports/") + sheet,
                                    reports + "/" + sheet));
        ClientSession& s = session();
        s.api.set_address(server.api().address());
        s.api.set_client_name(server.api().client_name());
        s.sales_report_path = reports + "/sales report.xml";
        s.non_inventory_sales_report_path = reports + "/non-inventory sales report.xml";
        s.suggested_order_report_path = reports + "/suggested order report.xml";

        set_shell_opener([this](const QString& path) {
            opened.push_back(path.toStdString());
            return true;
        });
        DialogSeam::set_message_handler([this](const MessageRequest& m) {
            messages.push_back(m.text);
            return MsgAnswer::Ok;
        });
        window = std::make_unique<MainWindow>();
        attach_session(*window);
        attach_reports(*window);
    }

    void TearDown() override {
        window.reset();
        set_shell_opener(nullptr);
        DialogSeam::reset();
        session().reset();
    }

    // An invoice with one line of an item that is not in the inventory.
    void sell_outside_inventory(const char* item_number, const char* description) {
        int index = 0;
        ASSERT_EQ(server.api().new_invoice(&index), 1);
        InvoiceRecord copy{};
        ASSERT_EQ(server.api().get_invoice(index, &copy), 1);
        InvoiceLine line{};
        set_field(line.quantity, "1");
        set_field(line.item_number, item_number);
        set_field(line.description, description);
        set_field(line.unit_price, "4.50");
        set_field(line.unit_cost, "1.20");
        ASSERT_EQ(server.api().add_invoice_item(index, 0, copy, line), 1);
    }

    test::ServerProcess server;
    QTemporaryDir data_set;
    QString reports;
    std::unique_ptr<MainWindow> window;
    std::vector<std::string> opened;  // what was handed to the desktop opener
    std::vector<QString> messages;
};

TEST_F(ReportsTest, AReportWithAccentsIsWrittenAsAnsweredAndOpensAsAPageThatShowsThem) {
    sell_outside_inventory("SVC-1", "Caf\xe9 cr\xe8me 20\xb0 & <more>");  // Windows-1252 bytes, as stored
    ASSERT_TRUE(window->run_command(ids::kMenuNonInventorySalesReport));

    std::string document;
    ASSERT_EQ(server.api().non_inventory_sales_report(&document), 1);
    EXPECT_EQ(contents(reports + "/non-inventory sales report.xml"), document);
    EXPECT_EQ(opened, std::vector<std::string>{(reports + "/non-inventory sales report.html").toStdString()});
    const std::string page = contents(reports + "/non-inventory sales report.html");
    EXPECT_TRUE(contains(page, "Caf\xc3\xa9 cr\xc3\xa8me 20\xc2\xb0 &amp; &lt;more&gt;")) << page;  // UTF-8
    EXPECT_TRUE(contains(page, "<title>Non-Inventory Sales</title>"));
    EXPECT_TRUE(messages.empty());

    // Running it again replaces both files.
    sell_outside_inventory("SVC-2", "Second service");
    ASSERT_TRUE(window->run_command(ids::kMenuNonInventorySalesReport));
    EXPECT_TRUE(contains(contents(reports + "/non-inventory sales report.xml"), "Second service"));
    EXPECT_TRUE(contains(contents(reports + "/non-inventory sales report.html"), "Second service"));
}

TEST_F(ReportsTest, SalesReportIsThereOnceTheSettingAllowsIt) {
    QAction* sales = window->action(ids::kMenuSalesReport);
    EXPECT_FALSE(sales->isEnabled());
    window->set_sales_report_enabled(true);
    sales->trigger();
    EXPECT_EQ(opened, std::vector<std::string>{(reports + "/sales report.html").toStdString()});
    EXPECT_TRUE(
        contents(reports + "/sales report.xml")
            .starts_with(
                "<?xml version=\"1.0\"?>\r\n<?xml-stylesheet type=\"text/xsl\" href=\"sales report.xsl\"?>\r\n"));
    EXPECT_TRUE(contains(contents(reports + "/sales report.html"), "Sales Totals"));
}

TEST_F(ReportsTest, SuggestedOrderAsksForCategoryAndValueAndRemembersThem) {
    std::vector<QString> shown_category;
    std::vector<int> answers = {QDialog::Accepted, QDialog::Rejected};
    DialogSeam::set_dialog_handler([&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "View a Suggested Order");
        auto* category = d.findChild<QLineEdit*>(QString::number(SuggestedOrderDialog::kCategory));
        auto* value = d.findChild<QLineEdit*>(QString::number(SuggestedOrderDialog::kOrderValue));
        EXPECT_TRUE(category && value);
        if (!category || !value) return static_cast<int>(QDialog::Rejected);
        shown_category.push_back(category->text());
        category->setText("  tools ");
        value->setText("$500");
        const int answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    });
    ASSERT_TRUE(window->run_command(ids::kMenuSuggestedOrderReport));
    EXPECT_EQ(opened, std::vector<std::string>{(reports + "/suggested order report.html").toStdString()});
    EXPECT_TRUE(contains(contents(reports + "/suggested order report.html"), "Suggested Order"));

    // The next time the dialog shows the last texts, trimmed; Cancel sends nothing and opens nothing.
    ASSERT_TRUE(window->run_command(ids::kMenuSuggestedOrderReport));
    EXPECT_EQ(shown_category, (std::vector<QString>{"", "tools"}));
    EXPECT_EQ(opened.size(), 1u);
}

TEST_F(ReportsTest, AFileThatCannotBeWrittenIsNamedAndABrokenStyleSheetOpensTheDocument) {
    // No Reports folder: nothing opens, and the message names the file.
    ASSERT_TRUE(QDir(reports).removeRecursively());
    ASSERT_TRUE(window->run_command(ids::kMenuNonInventorySalesReport));
    EXPECT_TRUE(opened.empty());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_TRUE(messages[0].endsWith(QDir::toNativeSeparators(reports + "/non-inventory sales report.xml")))
        << messages[0].toStdString();

    // A style sheet that is not XSL: the document opens, the user learns why, and no older page is left.
    ASSERT_TRUE(QDir().mkpath(reports));
    QFile sheet(reports + "/non-inventory sales report.xsl");
    ASSERT_TRUE(sheet.open(QIODevice::WriteOnly));
    sheet.write("<html>not a style sheet</html>");
    sheet.close();
    QFile old_page(reports + "/non-inventory sales report.html");
    ASSERT_TRUE(old_page.open(QIODevice::WriteOnly));
    old_page.close();
    ASSERT_TRUE(window->run_command(ids::kMenuNonInventorySalesReport));
    EXPECT_EQ(opened, std::vector<std::string>{(reports + "/non-inventory sales report.xml").toStdString()});
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(messages[1].contains("not a valid XSL style sheet")) << messages[1].toStdString();
    EXPECT_FALSE(QFile::exists(reports + "/non-inventory sales report.html"));
}

TEST(ReportPage, StrayBytesInATextStillMakeAPageButBrokenMarkupSaysWhy) {
    const QString sheet = STOCKAVELLE_SOURCE_DIR "/resources/reports/non-inventory sales report.xsl";
    // A control character and a byte Windows-1252 leaves undefined, as an old data set may hold them.
    const ReportPage page = make_report_page(
        "<?xml version=\"1.0\"?>\r\n<noninventoryreport>\r\n\t<noninventoryitems>\r\n\r\n\t\t<item>\r\n"
        "\t\t\t<itemnumber>SVC-1</itemnumber>\r\n\t\t\t<description>Odd\x01one\x81 \x80 5</description>\r\n"
        "\t\t\t<remark></remark>\r\n\t\t\t<customer>X</customer>\r\n\t\t\t<unitprice>5.00</unitprice>\r\n"
        "\t\t\t<unitcost>1.00</unitcost>\r\n\t\t</item>\r\n\t</noninventoryitems>\r\n</noninventoryreport>",
        sheet, "01/02/2026");
    ASSERT_TRUE(page.made) << page.error.toStdString();
    EXPECT_TRUE(contains(page.html, "Odd\xef\xbf\xbdone\xc2\x81 \xe2\x82\xac 5")) << page.html;

    const ReportPage broken = make_report_page("<?xml version=\"1.0\"?>\r\n<a><b></a>", sheet, "01/02/2026");
    EXPECT_FALSE(broken.made);
    EXPECT_TRUE(broken.error.startsWith("the report document is not well-formed XML: ")) << broken.error.toStdString();
}

}  // namespace
}  // namespace stk::client
