#include "client/receipts/receipt_printing.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <algorithm>

#include "client/receipts/receipt_drawing.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/strings.h"

namespace stk::client {

namespace {

inline const QString kDocumentName = QStringLiteral("Receipt");

// Letter and A4 sheets get the unprintable margin of an ordinary office printer, so a PDF looks like the page
// that printer gives; a roll printer prints 72 mm of its 80 mm paper.
constexpr double kSheetMarginMm = 6.35;
constexpr double kRollWidthMm = 80.0;
constexpr double kRollSideMarginMm = 4.0;
constexpr double kRollEndMarginMm = 3.0;
constexpr double kShortestRollMm = 50.0;

bool load_or_tell(QWidget* owner, const QString& layout_path, ReceiptLayout& table) {
    if (load_layout(layout_path, table)) return true;
    show_string(owner, str::kCannotOpenLayout, MsgIcon::Information, MsgButtons::Ok, MsgAnswer::Ok,
                QStringLiteral("\r\n") + layout_path);
    return false;
}

void prepare(QPrinter& printer) {
    printer.setDocName(kDocumentName);
    // A receipt is one page.
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(1, 1);
}

PrintOutcome render_or_tell(QWidget* owner, QPrinter& printer, std::span<const ReceiptElement> layout,
                            const ReceiptContent& content) {
    if (render_receipt(printer, layout, content)) return PrintOutcome::Printed;
    DialogSeam::message(owner, printer_failure_text(printer), MsgIcon::Error, MsgButtons::Ok, MsgAnswer::Ok);
    return PrintOutcome::PrinterFailed;
}

}  // namespace

QString printer_failure_text(const QPrinter& printer) {
    const QString where = printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
    return QStringLiteral(
               "Stockavelle was unable to print the receipt. The printer or file might be unavailable."
               "\r\n") +
           where;
}

bool render_receipt(QPrinter& printer, std::span<const ReceiptElement> layout, const ReceiptContent& content) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    draw_receipt(painter, printer, layout, content);
    const bool finished = painter.end();
    return finished && printer.printerState() != QPrinter::Error;
}

PrintOutcome print_receipt(QWidget* owner, const QString& layout_path, ReceiptLayout& table,
                           const ReceiptContent& content) {
    if (!load_or_tell(owner, layout_path, table)) return PrintOutcome::LayoutUnreadable;
    QPrinter printer(QPrinter::HighResolution);
    prepare(printer);
    QPrintDialog dialog(&printer, owner);
    dialog.setMinMax(1, 1);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    if (DialogSeam::exec(dialog) != QDialog::Accepted) return PrintOutcome::Cancelled;
    return render_or_tell(owner, printer, elements(table), content);
}

PrintOutcome preview_receipt(QWidget* owner, const QString& layout_path, ReceiptLayout& table,
                             const ReceiptContent& content) {
    if (!load_or_tell(owner, layout_path, table)) return PrintOutcome::LayoutUnreadable;
    QPrinter printer(QPrinter::HighResolution);
    prepare(printer);
    QPrintPreviewDialog preview(&printer, owner);
    preview.setWindowTitle(QStringLiteral("Print Preview - ") + QFileInfo(layout_path).completeBaseName());
    // Called for the preview pages and again for the printer when the user prints from the preview.
    bool failed = false;
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview, [&](QPrinter* target) {
        if (render_or_tell(owner, *target, elements(table), content) != PrintOutcome::Printed) failed = true;
    });
    if (DialogSeam::exec(preview) != QDialog::Accepted) return PrintOutcome::Cancelled;
    return failed ? PrintOutcome::PrinterFailed : PrintOutcome::Printed;
}

bool parse_receipt_paper(const QString& name, ReceiptPaper* paper) {
    const QString n = name.toLower();
    if (n == QStringLiteral("letter")) {
        *paper = ReceiptPaper::Letter;
    } else if (n == QStringLiteral("a4")) {
        *paper = ReceiptPaper::A4;
    } else if (n == QStringLiteral("80mm")) {
        *paper = ReceiptPaper::Roll80mm;
    } else {
        return false;
    }
    return true;
}

QPageLayout receipt_page_layout(ReceiptPaper paper, std::span<const ReceiptElement> layout) {
    if (paper != ReceiptPaper::Roll80mm) {
        const QMarginsF margins(kSheetMarginMm, kSheetMarginMm, kSheetMarginMm, kSheetMarginMm);
        return QPageLayout(QPageSize(paper == ReceiptPaper::A4 ? QPageSize::A4 : QPageSize::Letter),
                           QPageLayout::Portrait, margins, QPageLayout::Millimeter);
    }
    // The roll is cut after the lowest element.
    double bottom_inches = 0;
    for (const ReceiptElement& e : layout) bottom_inches = std::max(bottom_inches, e.bottom);
    const double length = std::max(kShortestRollMm, bottom_inches * 25.4 + 2 * kRollEndMarginMm);
    const QPageSize roll(QSizeF(kRollWidthMm, length), QPageSize::Millimeter, QStringLiteral("80 mm roll"),
                         QPageSize::ExactMatch);
    const QMarginsF margins(kRollSideMarginMm, kRollEndMarginMm, kRollSideMarginMm, kRollEndMarginMm);
    return QPageLayout(roll, QPageLayout::Portrait, margins, QPageLayout::Millimeter);
}

bool write_receipt_pdf(const QString& pdf_path, const QPageLayout& paper, std::span<const ReceiptElement> layout,
                       const ReceiptContent& content, QString* error) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf_path);
    printer.setPageLayout(paper);
    prepare(printer);
    if (render_receipt(printer, layout, content)) return true;
    if (error) *error = printer_failure_text(printer);
    return false;
}

}  // namespace stk::client
