// Receipts drawn through the real drawing code into PDF files, read back with poppler's tools: where each word
// lands, what is printed for which element, and the colours of the boxes.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "client/app/receipt_attach.h"
#include "client/receipts/receipt_printing.h"
#include "common/number_text.h"
#include "common/protocol.h"
#include "common/text_field.h"
#include "tests/client/receipts/pdf_text.h"

namespace stk::client {
namespace {

using testing::PdfPage;
using testing::read_pdf;

constexpr double kPointsPerInch = 72.0;

// One layout line; everything not named is a 10-point Arial text, left and top aligned, without box.
struct Element {
    std::string name{};
    std::string literal{};
    double left = 0, top = 0, width = 2, height = 0.3;
    std::string across = "LEFT";
    std::string down = "TOP";
    int border_colour = kNoColour;
    int fill_colour = kNoColour;
    double border_width = 0;

    std::string line() const {
        return name + "\t\t" + literal + "\tArial\t10\tFALSE\tFALSE\t" + across + "\t" + down + "\t" + format_g(left) +
               "\t" + format_g(top) + "\t" + format_g(width) + "\t" + format_g(height) + "\t" + format_g(border_width) +
               "\t" + std::to_string(border_colour) + "\t" + std::to_string(fill_colour) + "\t0";
    }
};

class ReceiptPdfTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(table.reserve(kMaxReceiptElements));
        const char* descriptions[] = {"WRENCH", "HAMMER", "PLIERS", "SAW", "DRILL"};
        for (const char* d : descriptions) add_line(d);
        set_field(content.invoice.total, "123.45");
        set_field(content.invoice.customer_name, "OTTILIE");
        content.company.name = "HARBOUR";
    }

    void add_line(const char* description) {
        set_field(content.invoice.lines[content.invoice.line_count++].description, description);
    }

    // Writes the layout file, loads it as printing does, and prints it into a PDF; the PDF's pages.
    std::vector<PdfPage> print(const std::vector<Element>& layout, ReceiptPaper paper = ReceiptPaper::Letter) {
        std::string text;
        for (const Element& e : layout) text += e.line() + "\r\n";
        const QString layout_file = dir.filePath(QStringLiteral("layout.txt"));
        QFile f(layout_file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.data(), static_cast<qint64>(text.size()));
        f.close();
        EXPECT_TRUE(load_layout(layout_file, table));
        pdf = dir.filePath(QStringLiteral("receipt.pdf"));
        QString error;
        EXPECT_TRUE(
            write_receipt_pdf(pdf, receipt_page_layout(paper, elements(table)), elements(table), content, &error))
            << error.toStdString();
        return read_pdf(pdf);
    }

    // The printed page as a picture at 72 dots per inch, so one pixel is one point.
    QImage picture() {
        const QString base = dir.filePath(QStringLiteral("page"));
        QProcess p;
        p.start(QStringLiteral("pdftoppm"),
                {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-aaVector"), QStringLiteral("no"),
                 QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, base});
        EXPECT_TRUE(p.waitForFinished(30000));
        return QImage(base + QStringLiteral(".png"));
    }

    QTemporaryDir dir;
    ReceiptLayout table;
    ReceiptContent content;
    QString pdf;
};

TEST_F(ReceiptPdfTest, AnEmptyLayoutPrintsOneBlankPage) {
    const auto pages = print({});
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(pages[0].words.empty());
}

TEST_F(ReceiptPdfTest, ItemLinesAreThreeRowHeightsApartAndCutAtTheirBox) {
    content.row_height = 0.14;
    const auto pages = print({{"ITEM DESCRIPTION FIELD", "", 1, 2, 3, 1}});
    ASSERT_EQ(pages.size(), 1u);
    const PdfPage& page = pages[0];
    ASSERT_TRUE(page.has("WRENCH") && page.has("HAMMER") && page.has("PLIERS"));
    EXPECT_NEAR(page.first("HAMMER").y_min - page.first("WRENCH").y_min, 0.42 * kPointsPerInch, 0.1);
    EXPECT_NEAR(page.first("PLIERS").y_min - page.first("HAMMER").y_min, 0.42 * kPointsPerInch, 0.1);
    // The fourth line would start 3.26 inches down, below the box that ends at 3.
    EXPECT_FALSE(page.has("SAW"));
    EXPECT_FALSE(page.has("DRILL"));
}

TEST_F(ReceiptPdfTest, LiteralsPrintTheirTextAndFieldNamesMatchWithoutCase) {
    const auto pages = print({{"LABEL", "Amount", 0, 0},
                              {"LABEL", "Due", 0, 0.5},
                              {"total field", "ignored", 0, 1},
                              {"Customer Name Field", "", 0, 1.5}});
    const PdfPage& page = pages.at(0);
    EXPECT_TRUE(page.has("Amount"));
    EXPECT_TRUE(page.has("Due"));
    EXPECT_FALSE(page.has("LABEL"));
    EXPECT_TRUE(page.has("123.45"));
    EXPECT_FALSE(page.has("ignored"));
    EXPECT_TRUE(page.has("OTTILIE"));
}

TEST_F(ReceiptPdfTest, CityStateZipPrintsNothingWithoutACity) {
    content.company.state = "ZZ";
    content.company.zip_code = "99999";
    set_field(content.invoice.customer_city, "SPRINGFIELD");
    set_field(content.invoice.customer_state, "IL");
    set_field(content.invoice.customer_zip_code, "62701");
    const auto pages = print({{"BUSINESS CITY STATE ZIPCODE FIELD", "", 0, 0, 3, 0.3, "LEFT", "TOP", 0, kNoColour, 0},
                              {"CUSTOMER CITY STATE ZIPCODE FIELD", "", 0, 1, 3}});
    const PdfPage& page = pages.at(0);
    EXPECT_FALSE(page.has("ZZ"));
    EXPECT_FALSE(page.has("99999"));
    EXPECT_TRUE(page.has("SPRINGFIELD,"));
    EXPECT_TRUE(page.has("IL"));
    EXPECT_TRUE(page.has("62701"));
}

TEST_F(ReceiptPdfTest, PaymentTermsArePrintedForPaidInvoicesOnly) {
    ClientSettings settings;
    content = receipt_content(settings, content.invoice);
    EXPECT_FALSE(print({{"PAYMENT TERMS FIELD"}}).at(0).has("UNPAID"));
    EXPECT_TRUE(print({{"PAYMENT TERMS FIELD"}}).at(0).words.empty());

    content.invoice.payment = PAYMENT_CREDIT_CARD;
    content = receipt_content(settings, content.invoice);
    const PdfPage page = print({{"PAYMENT TERMS FIELD"}}).at(0);
    EXPECT_TRUE(page.has("CREDIT"));
    EXPECT_TRUE(page.has("CARD"));
}

TEST_F(ReceiptPdfTest, ALayoutStartingAtZeroIsCentredOnLetterAndOnARoll) {
    const std::vector<Element> layout = {{"L", "LEFTEDGE", 0, 0, 2.5, 0.3, "LEFT"},
                                         {"R", "RIGHTEDGE", 0, 0.5, 2.5, 0.3, "RIGHT"}};
    for (ReceiptPaper paper : {ReceiptPaper::Letter, ReceiptPaper::Roll80mm}) {
        SCOPED_TRACE(paper == ReceiptPaper::Letter ? "Letter" : "80 mm roll");
        const PdfPage page = print(layout, paper).at(0);
        const double margin = (page.width - 2.5 * kPointsPerInch) / 2;
        EXPECT_NEAR(page.first("LEFTEDGE").x_min, margin, 1.0);
        EXPECT_NEAR(page.width - page.first("RIGHTEDGE").x_max, margin, 1.0);
    }
}

TEST_F(ReceiptPdfTest, CentredTextSitsInTheMiddleOfItsBox) {
    const PdfPage page = print({{"A", "TOPLEFT", 1, 1, 2, 1}, {"B", "MIDDLE", 1, 1, 2, 1, "CENTER", "CENTER"}}).at(0);
    const testing::PdfWord top_left = page.first("TOPLEFT");
    const testing::PdfWord middle = page.first("MIDDLE");
    EXPECT_NEAR((middle.x_min + middle.x_max) / 2 - top_left.x_min, 1.0 * kPointsPerInch, 1.0);
    // Half an inch down to the middle, then back up half of the 10-point character height.
    EXPECT_NEAR(middle.y_min - top_left.y_min, 0.5 * kPointsPerInch - 5, 0.5);
}

TEST_F(ReceiptPdfTest, ItemFieldsReadAtMostTheTwelveLinesOfTheRecord) {
    content.invoice.line_count = 0;
    for (int n = 1; n <= kMaxInvoiceLines; ++n) add_line(("L" + std::to_string(n)).c_str());
    content.invoice.line_count = 4000;
    content.row_height = 0.05;
    const std::vector<Element> layout = {{"ITEM DESCRIPTION FIELD", "", 0, 0, 2, 9}};
    const PdfPage page = print(layout).at(0);
    EXPECT_EQ(page.words.size(), 12u);
    EXPECT_TRUE(page.has("L12"));

    content.invoice.line_count = -3;
    EXPECT_TRUE(print(layout).at(0).words.empty());
}

TEST_F(ReceiptPdfTest, TextsAreWindows1252BytesDrawnAsTheirCharacters) {
    const PdfPage page = print({{"A", "Caf\xe9 \x80 5"}}).at(0);
    EXPECT_TRUE(page.has(QString::fromUtf8("Café")));
    EXPECT_TRUE(page.has(QString::fromUtf8("€")));
}

TEST_F(ReceiptPdfTest, BoxesFollowTheirBorderAndFillColours) {
    // 0x00BBGGRR: 255 is red, 16711680 blue.
    print({{"FRAME", "", 1, 1, 1, 1, "LEFT", "TOP", 0, kNoColour, 0},
           {"RED", "", 3, 1, 1, 1, "LEFT", "TOP", kNoColour, 255},
           {"THICK BLUE", "", 5, 1, 1, 1, "LEFT", "TOP", 16711680, kNoColour, 0.1},
           {"NONE", "", 1, 3, 1, 1}});
    const QImage page = picture();
    ASSERT_FALSE(page.isNull());
    // The layout spans 1 to 6 inches, centred; the page's printable area starts a quarter inch down.
    const double offset = (page.width() - 5 * kPointsPerInch) / 2;
    auto at = [&](double x_inches, double y_inches, int dy = 0) {
        return page.pixelColor(static_cast<int>(offset + x_inches * kPointsPerInch),
                               static_cast<int>((y_inches + 0.25) * kPointsPerInch) + dy);
    };
    // A hairline falls on one of the two pixel rows beside its edge.
    EXPECT_LT(std::min(at(1.5, 1, -1).lightness(), at(1.5, 1).lightness()), 128) << "a thin black frame";
    EXPECT_EQ(at(1.5, 1.5), QColor(Qt::white)) << "nothing inside the frame";
    EXPECT_EQ(at(3.5, 1.5), QColor(255, 0, 0));
    EXPECT_EQ(at(5.5, 1.0), QColor(0, 0, 255)) << "a blue border 0.1 inch wide";
    EXPECT_EQ(at(5.5, 1.5), QColor(Qt::white));
    EXPECT_EQ(at(1, 3), QColor(Qt::white));
    EXPECT_EQ(at(1.5, 3.5), QColor(Qt::white));
}

TEST_F(ReceiptPdfTest, ShippedLayoutsShowAllTwelveLinesOfAFullInvoice) {
    content.invoice.line_count = 0;
    for (int n = 1; n <= kMaxInvoiceLines; ++n) add_line(("ITEM" + std::to_string(n)).c_str());
    const QString templates = QStringLiteral(STOCKAVELLE_SOURCE_DIR "/resources/client/templates/");
    for (auto [name, paper] : {std::pair{"Default Layout.txt", ReceiptPaper::Letter},
                               std::pair{"80mm Receipt.txt", ReceiptPaper::Roll80mm}}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(load_layout(templates + QString::fromLatin1(name), table));
        ASSERT_TRUE(write_receipt_pdf(pdf = dir.filePath(QStringLiteral("shipped.pdf")),
                                      receipt_page_layout(paper, elements(table)), elements(table), content, nullptr));
        const PdfPage page = read_pdf(pdf).at(0);
        for (int n = 1; n <= kMaxInvoiceLines; ++n) {
            const testing::PdfWord word = page.first(QString::fromLatin1("ITEM%1").arg(n));
            EXPECT_GT(word.y_max, 0) << "line " << n;
            EXPECT_LT(word.y_max, page.height) << "line " << n;
        }
        EXPECT_TRUE(page.has("123.45")) << "the total";
    }
}

}  // namespace
}  // namespace stk::client
