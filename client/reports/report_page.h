// Turns a report document into a page a browser shows: the document's XSL style sheet applied with libxslt.
// Browsers no longer apply the style sheet that a document opened from disk names, so the client does it.
#pragma once

#include <QString>
#include <string>

namespace stk::client {

struct ReportPage {
    bool made = false;
    std::string html;  // the page, UTF-8, when made
    QString error;     // why no page was made, in a sentence for the user, when not made
};

// Applies the style sheet at `style_sheet_path` to `document`. The document's bytes are read as
// Windows-1252 whatever its XML declaration says (the server writes its texts as stored and names no
// encoding); a control character in a text shows as the replacement character rather than failing the page. `today`
// ("MM/dd/yyyy") is handed to the style sheet as its parameter "today". Nothing is read from or written to the network,
// and the style sheet may not write files.
ReportPage make_report_page(const std::string& document, const QString& style_sheet_path, const std::string& today);

}  // namespace stk::client
