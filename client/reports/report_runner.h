// Runs one of the three reports: asks the server for the document, writes it into its fixed file in the
// data set's Reports folder (replacing the old one), makes a page of it with the style sheet of the same name
// beside it, and hands the page to the desktop's opener. When no page can be made the document itself is
// opened and the user is told why.
#pragma once

#include <QString>
#include <string_view>

class QWidget;

namespace stk::client {

class ServerApi;

enum class ReportOutcome {
    NotAnswered,     // no document came (the connection layer tells about an unreachable server)
    NotWritten,      // the document could not be written; the user was told which file
    PageOpened,      // the ".html" beside the document was made and opened
    DocumentOpened,  // no page could be made; the ".xml" was opened and the user was told why
};

struct ReportInputs {
    std::string_view category;     // the suggested order's inventory category
    std::string_view order_value;  // the suggested order's approximate order value
};

// `opcode` is SALES_REPORT, NON_INVENTORY_SALES_REPORT or SUGGESTED_ORDER_REPORT; `document_path` is its
// ".xml" file. The style sheet and the page are the same path with ".xsl" and ".html".
ReportOutcome run_report(QWidget* owner, ServerApi& api, int opcode, const QString& document_path,
                         const ReportInputs& inputs = {});

// The style sheet and page paths that go with a document path.
QString style_sheet_path(const QString& document_path);
QString page_path(const QString& document_path);

}  // namespace stk::client
