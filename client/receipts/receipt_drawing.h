// The one drawing of a receipt: printing, the print preview and the PDF of the command line all draw through
// draw_receipt, so what the preview shows is what the printer gets.
#pragma once

#include <span>

#include "client/receipts/receipt_fields.h"
#include "client/receipts/receipt_layout.h"

class QPagedPaintDevice;
class QPainter;

namespace stk::client {

// Where a layout sits across the page, in device units: half of what the printable width leaves beside the
// layout (from the smallest left to the largest right of its elements), so a layout whose leftmost element
// starts at 0 is exactly centred. Negative when the layout is wider than the printable width.
int page_offset(int physical_page_width, int physical_left_offset, int dpi_x, std::span<const ReceiptElement> layout);

// Draws the layout's elements in file order on the page `painter` is active on. `page` is the device the
// painter paints on: its resolution and its page layout (physical width and unprintable left margin) place the
// receipt; the painter's origin must be the top-left corner of the printable area, as a QPrinter's is.
// Texts are drawn on one line each, cut at their element's box; item fields print every line of the copy
// (at most twelve), 3 x RowHeight inches apart.
void draw_receipt(QPainter& painter, const QPagedPaintDevice& page, std::span<const ReceiptElement> layout,
                  const ReceiptContent& content);

}  // namespace stk::client
