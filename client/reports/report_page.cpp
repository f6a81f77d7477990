#include "client/reports/report_page.h"

#include <libexslt/exslt.h>
#include <libxml/parser.h>
#include <libxslt/security.h>
#include <libxslt/transform.h>
#include <libxslt/xslt.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include <QFile>
#include <QFileInfo>
#include <cstdarg>
#include <cstdio>
#include <memory>
#include <mutex>

#include "client/ui/text_1252.h"

namespace stk::client {

namespace {

// libxml2 and libxslt report through process-wide handlers; while a page is made they write into `text`
// instead of standard error.
class ErrorCollector {
public:
    ErrorCollector() {
        xmlSetGenericErrorFunc(this, &ErrorCollector::collect);
        xsltSetGenericErrorFunc(this, &ErrorCollector::collect);
    }
    ~ErrorCollector() {
        xmlSetGenericErrorFunc(nullptr, nullptr);
        xsltSetGenericErrorFunc(nullptr, nullptr);
    }
    ErrorCollector(const ErrorCollector&) = delete;
    ErrorCollector& operator=(const ErrorCollector&) = delete;

    // The first message, on one line.
    QString first_message() const {
        QString message = QString::fromUtf8(text_).simplified();
        if (message.size() > 300) message = message.left(300) + QStringLiteral("...");
        return message;
    }

private:
    static void collect(void* self, const char* format, ...) {
        auto* collector = static_cast<ErrorCollector*>(self);
        if (collector->text_.size() > 4096) return;
        char buffer[1024];
        va_list args;
        va_start(args, format);
        std::vsnprintf(buffer, sizeof buffer, format, args);
        va_end(args);
        collector->text_ += buffer;
    }

    std::string text_;
};

struct DocFree {
    void operator()(xmlDoc* d) const { xmlFreeDoc(d); }
};
struct SheetFree {
    void operator()(xsltStylesheet* s) const { xsltFreeStylesheet(s); }
};
struct ContextFree {
    void operator()(xsltTransformContext* c) const { xsltFreeTransformContext(c); }
};
struct PrefsFree {
    void operator()(xsltSecurityPrefs* p) const { xsltFreeSecurityPrefs(p); }
};
using Doc = std::unique_ptr<xmlDoc, DocFree>;

void initialise_once() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        exsltRegisterAll();  // the style sheets use date:date() when no date is handed to them
    });
}

// The document's Windows-1252 bytes as UTF-8 for the parser. The bytes Windows-1252 leaves undefined read as
// the system reads them, and a control character, which XML does not allow in a text (a stray byte in a
// stored description), becomes the replacement character, so one odd byte does not cost the whole page.
QByteArray document_utf8(std::string_view document) {
    QString text = from_1252(document);
    for (QChar& c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20 && u != '\t' && u != '\r' && u != '\n') c = QChar(0xFFFD);
    }
    return text.toUtf8();
}

ReportPage failed(QString why) {
    ReportPage page;
    page.error = std::move(why);
    return page;
}

QString because(const QString& what, const ErrorCollector& errors) {
    const QString detail = errors.first_message();
    return detail.isEmpty() ? what : what + QStringLiteral(": ") + detail;
}

std::unique_ptr<xsltSecurityPrefs, PrefsFree> read_only_prefs() {
    std::unique_ptr<xsltSecurityPrefs, PrefsFree> prefs(xsltNewSecurityPrefs());
    if (!prefs) return prefs;
    xsltSetSecurityPrefs(prefs.get(), XSLT_SECPREF_WRITE_FILE, xsltSecurityForbid);
    xsltSetSecurityPrefs(prefs.get(), XSLT_SECPREF_CREATE_DIRECTORY, xsltSecurityForbid);
    xsltSetSecurityPrefs(prefs.get(), XSLT_SECPREF_READ_NETWORK, xsltSecurityForbid);
    xsltSetSecurityPrefs(prefs.get(), XSLT_SECPREF_WRITE_NETWORK, xsltSecurityForbid);
    return prefs;
}

}  // namespace

ReportPage make_report_page(const std::string& document, const QString& style_sheet_path, const std::string& today) {
    initialise_once();
    if (!QFileInfo(style_sheet_path).isFile())
        return failed(QStringLiteral("the style sheet is missing: ") + style_sheet_path);
    ErrorCollector errors;

    const QByteArray sheet_file = QFile::encodeName(style_sheet_path);
    Doc sheet_doc(xmlReadFile(sheet_file.constData(), nullptr, XML_PARSE_NONET));
    if (!sheet_doc) return failed(because(QStringLiteral("the style sheet cannot be read"), errors));
    std::unique_ptr<xsltStylesheet, SheetFree> sheet(xsltParseStylesheetDoc(sheet_doc.get()));
    if (!sheet) return failed(because(QStringLiteral("the style sheet is not a valid XSL style sheet"), errors));
    sheet_doc.release();  // the style sheet owns it now

    // No entity is substituted and nothing is fetched from the network: the document is data.
    const QByteArray utf8 = document_utf8(document);
    Doc doc(xmlReadMemory(utf8.constData(), static_cast<int>(utf8.size()), nullptr, "UTF-8", XML_PARSE_NONET));
    if (!doc) return failed(because(QStringLiteral("the report document is not well-formed XML"), errors));

    std::unique_ptr<xsltTransformContext, ContextFree> context(xsltNewTransformContext(sheet.get(), doc.get()));
    const auto prefs = read_only_prefs();
    if (!context || !prefs || xsltSetCtxtSecurityPrefs(prefs.get(), context.get()) != 0)
        return failed(QStringLiteral("the XSLT processor could not be set up"));
    const std::string today_literal = "'" + today + "'";
    const char* params[] = {"today", today_literal.c_str(), nullptr};
    Doc result(xsltApplyStylesheetUser(sheet.get(), doc.get(), params, nullptr, nullptr, context.get()));
    if (!result || context->state == XSLT_STATE_ERROR || context->state == XSLT_STATE_STOPPED)
        return failed(because(QStringLiteral("the style sheet could not be applied"), errors));

    xmlChar* bytes = nullptr;
    int length = 0;
    if (xsltSaveResultToString(&bytes, &length, result.get(), sheet.get()) != 0 || !bytes)
        return failed(because(QStringLiteral("the page could not be written out"), errors));
    ReportPage page;
    page.made = true;
    page.html.assign(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(length));
    xmlFree(bytes);
    return page;
}

}  // namespace stk::client
