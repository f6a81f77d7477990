// Printing a receipt: through the print dialog onto any printer the desktop knows, into the print preview, or
// straight into a PDF file. Each reads its layout anew and draws through draw_receipt.
#pragma once

#include <QString>
#include <span>

#include "client/receipts/receipt_fields.h"
#include "client/receipts/receipt_layout.h"

class QPageLayout;
class QPrinter;
class QWidget;

namespace stk::client {

enum class PrintOutcome {
    Printed,
    LayoutUnreadable,  // string 39 with the layout's path was shown
    Cancelled,         // the user closed the dialog; nothing was shown
    PrinterFailed,     // the printer or file could not be opened or the document not finished; the user was told
};

// The text shown (and written by the command line) when a printer or PDF file cannot be opened or written.
QString printer_failure_text(const QPrinter& printer);

// Opens a painter on `printer`, draws the receipt as one page and finishes the document. false when the painter
// does not start (printer or file not available) or the document cannot be finished.
bool render_receipt(QPrinter& printer, std::span<const ReceiptElement> layout, const ReceiptContent& content);

// Loads the layout at `layout_path` into `table`, asks for a printer (the print dialog owned by `owner`, pages 1
// to 1) and prints the receipt on it.
PrintOutcome print_receipt(QWidget* owner, const QString& layout_path, ReceiptLayout& table,
                           const ReceiptContent& content);

// Loads the layout anew and shows the receipt in the print preview, from where it can be printed as well.
PrintOutcome preview_receipt(QWidget* owner, const QString& layout_path, ReceiptLayout& table,
                             const ReceiptContent& content);

// Paper for a receipt written without a dialog. A roll is 80 mm wide with a 72 mm printable width, as long as
// the layout needs.
enum class ReceiptPaper { Letter, A4, Roll80mm };
// "letter", "a4" or "80mm" (any case); false for anything else.
bool parse_receipt_paper(const QString& name, ReceiptPaper* paper);
QPageLayout receipt_page_layout(ReceiptPaper paper, std::span<const ReceiptElement> layout);

// Writes the receipt into the PDF file `pdf_path` without any dialog. false with a sentence in *error when the
// file cannot be written.
bool write_receipt_pdf(const QString& pdf_path, const QPageLayout& paper, std::span<const ReceiptElement> layout,
                       const ReceiptContent& content, QString* error);

}  // namespace stk::client
