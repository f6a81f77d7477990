#include "client/reports/report_runner.h"

#include <QDir>
#include <QFile>

#include "client/api/server_api.h"
#include "client/reports/report_page.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/shell_open.h"
#include "common/dates.h"
#include "common/protocol.h"
#include "platform/durable_file.h"

namespace stk::client {

namespace {

QString with_suffix(const QString& document_path, const char* suffix) {
    QString base = document_path;
    if (base.endsWith(QStringLiteral(".xml"), Qt::CaseInsensitive)) base.chop(4);
    return base + QLatin1String(suffix);
}

int fetch(ServerApi& api, int opcode, const ReportInputs& inputs, std::string* document) {
    switch (opcode) {
        case SALES_REPORT: return api.sales_report(document);
        case NON_INVENTORY_SALES_REPORT: return api.non_inventory_sales_report(document);
        case SUGGESTED_ORDER_REPORT: return api.suggested_order_report(inputs.category, inputs.order_value, document);
        default: return RESULT_FAILED;
    }
}

bool write_file(const QString& path, const std::string& bytes) {
    return platform::write_file_durably(QFile::encodeName(path).toStdString(), bytes);
}

void tell(QWidget* owner, const QString& text) {
    DialogSeam::message(owner, text, MsgIcon::Information, MsgButtons::Ok, MsgAnswer::Ok);
}

QString unable_to_write(const QString& path) {
    return QStringLiteral("Stockavelle was unable to write the report file:\r\n") + QDir::toNativeSeparators(path);
}

// The document opens as it is, after the user has been told why there is no page.
ReportOutcome open_document_instead(QWidget* owner, const QString& document_path, const QString& why) {
    // An older page beside the document would show an outdated report.
    QFile::remove(page_path(document_path));
    tell(owner, QStringLiteral("The report could not be laid out as a page: ") + why +
                    QStringLiteral(".\r\nIt opens as an XML document instead:\r\n") +
                    QDir::toNativeSeparators(document_path));
    shell_open(document_path);
    return ReportOutcome::DocumentOpened;
}

}  // namespace

QString style_sheet_path(const QString& document_path) { return with_suffix(document_path, ".xsl"); }
QString page_path(const QString& document_path) { return with_suffix(document_path, ".html"); }

ReportOutcome run_report(QWidget* owner, ServerApi& api, int opcode, const QString& document_path,
                         const ReportInputs& inputs) {
    std::string document;
    if (fetch(api, opcode, inputs, &document) != RESULT_OK) return ReportOutcome::NotAnswered;
    if (!write_file(document_path, document)) {
        tell(owner, unable_to_write(document_path));
        return ReportOutcome::NotWritten;
    }
    const ReportPage page = make_report_page(document, style_sheet_path(document_path), today());
    if (!page.made) return open_document_instead(owner, document_path, page.error);
    const QString html = page_path(document_path);
    if (!write_file(html, page.html))
        return open_document_instead(
            owner, document_path,
            QStringLiteral("the page file could not be written: ") + QDir::toNativeSeparators(html));
    shell_open(html);
    return ReportOutcome::PageOpened;
}

}  // namespace stk::client
