// The rows behind the Invoices window: what a hit becomes, how many are kept, and what an opened invoice
// puts into its row. (Sorting, the total and saving are walked through in invoices_window_test.cpp.)
#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <string>
#include <vector>

#include "client/invoices_window/invoice_rows_model.h"
#include "common/protocol.h"
#include "common/text_field.h"

namespace stk::client {
namespace {

InvoiceSearchRow hit(int index, const std::string& number, const std::string& date, const std::string& customer,
                     const std::string& amount) {
    return {index, 1,
            number + "\t" + date + "\t10:00:00\t" + customer + "\t555-0100\tBOLT-10 BOLT\t" + amount +
                "\tINCOMPLETE\tUNPAID\tPAT"};
}

class InvoiceRowsModelTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(array.reserve(100)); }

    std::vector<std::string> column(int c) const {
        std::vector<std::string> out;
        for (int r = 0; r < model.rowCount(); ++r) out.emplace_back(model.cell(r, c));
        return out;
    }

    ReservedArray<InvoiceRow> array;
    InvoiceRowsModel model{array};
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST_F(InvoiceRowsModelTest, AHitFillsTenColumnsAndNeverOverrunsAField) {
    // Twelve pieces, a preview far longer than its 192-byte field and a salesperson longer than 64 bytes.
    const std::string preview(300, 'P');
    const std::string salesperson(80, 'S');
    model.assign({{7, 3,
                   "1001\t01/02/2024\t9:05:00\tACME\t555-0100\t" + preview + "\t10.00\tCOMPLETE\tCASH\t" + salesperson +
                       "\tEXTRA\tMORE"}});
    ASSERT_EQ(model.rowCount(), 1);
    const InvoiceRow& row = *model.row_record(0);
    EXPECT_EQ(row.invoice_index, 7);
    EXPECT_EQ(row.line_number, 3);
    EXPECT_EQ(model.cell(0, kColInvoice), "1001");
    EXPECT_EQ(model.cell(0, kColCustomer), "ACME");
    EXPECT_EQ(model.cell(0, kColPreview), std::string(191, 'P'));
    EXPECT_EQ(model.cell(0, kColAmount), "10.00");
    EXPECT_EQ(model.cell(0, kColPayment), "CASH");
    EXPECT_EQ(model.cell(0, kColSalesperson), std::string(63, 'S'));

    // A short hit leaves the missing columns empty.
    model.assign({{8, 1, "1002\t01/03/2024"}});
    EXPECT_EQ(model.cell(0, kColDate), "01/03/2024");
    EXPECT_EQ(model.cell(0, kColTime), "");
    EXPECT_EQ(model.cell(0, kColSalesperson), "");
}

TEST_F(InvoiceRowsModelTest, ASearchKeepsNoMoreRowsThanTheArrayHolds) {
    ReservedArray<InvoiceRow> small;
    ASSERT_TRUE(small.reserve(2));
    InvoiceRowsModel m(small);
    EXPECT_EQ(m.assign({hit(1, "1", "", "A", "1"), hit(2, "2", "", "B", "2"), hit(3, "3", "", "C", "3")}), 2);
    EXPECT_EQ(m.rowCount(), 2);
    EXPECT_EQ(m.cell(1, kColInvoice), "2");
}

TEST_F(InvoiceRowsModelTest, AnOpenedInvoiceReplacesEveryTextButThePreview) {
    model.assign({hit(5, "1", "01/01/2024", "OLD NAME", "1.00")});
    InvoiceRecord invoice{};
    set_field(invoice.invoice_number, "2001");
    set_field(invoice.date, "02/02/2024");
    set_field(invoice.time, "8:00:00");
    set_field(invoice.customer_name, "NEW NAME");
    set_field(invoice.customer_phone_number, "555-0199");
    set_field(invoice.total, "42.00");
    set_field(invoice.salesperson, "SAM");
    invoice.status = STATUS_COMPLETE;
    invoice.payment = PAYMENT_CHECK;
    model.refresh_row(0, invoice);
    EXPECT_EQ(column(kColCustomer), std::vector<std::string>{"NEW NAME"});
    EXPECT_EQ(model.tab_delimited_text(),
              "2001\t02/02/2024\t8:00:00\tNEW NAME\t555-0199\tBOLT-10 BOLT\t42.00\tCOMPLETE\tCHECK\tSAM\r\n");

    // A payment code the list has no word for leaves the payment text as it was.
    invoice.payment = PAYMENT_FINANCED;
    model.refresh_row(0, invoice);
    EXPECT_EQ(model.cell(0, kColPayment), "CHECK");
}

}  // namespace
}  // namespace stk::client
