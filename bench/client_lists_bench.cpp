// Times the client's heavy list and report work: the Invoices window taking, sorting and saving a search of
// every invoice (MAX_INVOICES hits), and a non-inventory sales report of many lines made into a page with the
// shipped style sheet. Prints one line per step with its wall and processor time and the size it made.
//
//   client_lists_bench [hits [report lines]]      (defaults: 100000 hits, 24000 lines: a 10 MB document)
// The style sheet is read from the folder of this program (the build copies it there).
#include <QCoreApplication>
#include <QFileInfo>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "client/invoices_window/invoice_rows_model.h"
#include "client/reports/report_page.h"
#include "common/number_text.h"

using namespace stk;
using namespace stk::client;

namespace {

// Wall time and the process's processor time: on a busy machine the second says what the step costs.
template <class Fn>
void timed(const char* what, Fn fn) {
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpu_start = std::clock();
    const std::size_t size = fn();
    const double cpu_ms = 1000.0 * static_cast<double>(std::clock() - cpu_start) / CLOCKS_PER_SEC;
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("%-40s %9.1f ms wall %9.1f ms cpu %12zu\n", what, ms, cpu_ms, size);
}

std::vector<InvoiceSearchRow> hits(int count) {
    std::vector<InvoiceSearchRow> out;
    out.reserve(static_cast<std::size_t>(count));
    for (int i = 1; i <= count; ++i) {
        const std::string date = (i % 12 < 9 ? "0" : "") + format_g(1 + i % 12) + "/15/" + format_g(2000 + i % 27);
        out.push_back({i, 1,
                       format_g(10000 + i) + "\t" + date + "\t9:05:00\tCUSTOMER " + format_g((i * 7919) % 5000) +
                           "\t555-0100\tBOLT-10 HEX BOLT 10 MM ZINC\t" + format_2f((i * 104729 % 100000) / 100.0) +
                           "\tCOMPLETE\tCASH\tPAT"});
    }
    return out;
}

std::string non_inventory_document(int lines) {
    std::string doc =
        "<?xml version=\"1.0\"?>\r\n<?xml-stylesheet type=\"text/xsl\" href=\"non-inventory sales report.xsl\"?>\r\n"
        "<noninventoryreport>\r\n\t<noninventoryitems>\r\n";
    const std::string text(50, 'x');
    for (int i = 0; i < lines; ++i) {
        doc += "\r\n\t\t<item>\r\n\t\t\t<itemnumber>SPECIAL-" + format_g(i) +
               "</itemnumber>\r\n\t\t\t<description>Caf\xe9 " + text + "</description>\r\n\t\t\t<remark>" + text +
               "</remark>\r\n\t\t\t<customer>CUSTOMER " + format_g(i % 5000) +
               "</customer>\r\n\t\t\t<unitprice>12.50</unitprice>\r\n\t\t\t<unitcost>4.25" +
               "</unitcost>\r\n\t\t</item>\r\n";
    }
    return doc + "\t</noninventoryitems>\r\n</noninventoryreport>";
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int hit_count = argc > 1 ? std::atoi(argv[1]) : 100000;
    const int line_count = argc > 2 ? std::atoi(argv[2]) : 24000;
    if (hit_count < 1 || line_count < 0) {
        std::fprintf(stderr, "usage: client_lists_bench [hits [report lines]]\n");
        return 2;
    }

    ReservedArray<InvoiceRow> rows;
    if (!rows.reserve(hit_count)) {
        std::fprintf(stderr, "client_lists_bench: cannot reserve %d rows\n", hit_count);
        return 1;
    }
    InvoiceRowsModel model(rows);
    const std::vector<InvoiceSearchRow> answer = hits(hit_count);
    std::printf("%d hits, %d report lines\n", hit_count, line_count);
    timed("Invoices window: take the hits", [&] { return static_cast<std::size_t>(model.assign(answer)); });
    timed("Invoices window: sort by Amount", [&] {
        model.sort_rows(kColAmount);
        return std::size_t(0);
    });
    timed("Invoices window: sort by Date", [&] {
        model.sort_rows(kColDate);
        return std::size_t(0);
    });
    timed("Invoices window: sort by Customer", [&] {
        model.sort_rows(kColCustomer);
        return std::size_t(0);
    });
    timed("Invoices window: saved text", [&] { return model.tab_delimited_text().size(); });

    const std::string document = non_inventory_document(line_count);
    const QString sheet = QCoreApplication::applicationDirPath() + QStringLiteral("/non-inventory sales report.xsl");
    if (!QFileInfo(sheet).isFile()) {
        std::fprintf(stderr, "client_lists_bench: no style sheet at %s\n", sheet.toLocal8Bit().constData());
        return 1;
    }
    std::printf("report document: %zu bytes\n", document.size());
    timed("Non-inventory report page", [&] {
        const ReportPage page = make_report_page(document, sheet, "12/07/2026");
        if (!page.made) std::fprintf(stderr, "%s\n", page.error.toLocal8Bit().constData());
        return page.html.size();
    });
    return 0;
}
