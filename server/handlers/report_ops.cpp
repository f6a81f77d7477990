// The three report documents. Their bytes are fixed: CR LF line breaks, tab indentation, no final line break,
// record texts escaped for XML, and the style sheet each one names.
#include "server/handlers/report_ops.h"

#include <new>
#include <stdexcept>
#include <string>

#include "common/dates.h"
#include "common/number_text.h"
#include "common/protocol.h"
#include "common/text_field.h"
#include "server/db/inventory_file.h"
#include "server/handlers/suggested_order.h"

namespace stk::server {

namespace {

// "&" first, so that the entities put in for "<" and ">" are not escaped again.
void append_escaped(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out += c; break;
        }
    }
}

// One field of an entry, on a line of its own: "\t\t\t<tag>text</tag>\r\n".
void append_element(std::string& out, std::string_view tag, std::string_view text) {
    out += "\t\t\t<";
    out += tag;
    out += '>';
    append_escaped(out, text);
    out += "</";
    out += tag;
    out += ">\r\n";
}

void append_amount(std::string& out, std::string_view type, double value) {
    out += "\t\t<amount>\r\n\t\t\t<type>";
    out += type;
    out += "</type>\r\n\t\t\t<value>";
    out += format_2f(value);
    out += "</value>\r\n\t\t</amount>\r\n";
}

void build_sales_report(const ServerDatabase& db, std::string& doc) {
    const std::string today = stk::today();
    double by_payment[6] = {0, 0, 0, 0, 0, 0};
    double tax = 0.0, today_total = 0.0, profit = 0.0, cost = 0.0;
    for (int i = 1; i <= db.invoices.count; ++i) {
        const InvoiceRecord& inv = db.invoices[i];
        const double t = number_or(field(inv.total), 0.0);
        if (inv.payment != PAYMENT_UNPAID) {
            tax += number_or(field(inv.tax), 0.0);
            if (equal_ci(field(inv.date), today)) today_total += t;
            for (int n = 0; n < used_lines(inv); ++n) {
                const InvoiceLine& line = inv.lines[n];
                double price = 0.0, unit_cost = 0.0, quantity = 0.0;
                if (!is_number(field(line.unit_price), &price) || !is_number(field(line.unit_cost), &unit_cost)) {
                    continue;
                }
                profit += is_number(field(line.quantity), &quantity) ? (price - unit_cost) * quantity
                                                                      : (price - unit_cost);
            }
        }
        if (inv.payment >= PAYMENT_UNPAID && inv.payment <= PAYMENT_WARRANTY) by_payment[inv.payment] += t;
    }
    for (int i = 1; i <= db.layers.count; ++i) {
        const FifoLayer& layer = db.layers[i];
        double remaining = 0.0, unit_cost = 0.0;
        if (is_number(field(layer.remaining_quantity), &remaining) && is_number(field(layer.unit_cost), &unit_cost)) {
            cost += remaining * unit_cost;
        }
    }
    const double gross = by_payment[PAYMENT_CASH] + by_payment[PAYMENT_CHECK] + by_payment[PAYMENT_CREDIT_CARD] +
                         by_payment[PAYMENT_ACCOUNT] + by_payment[PAYMENT_WARRANTY];

    doc += "<?xml version=\"1.0\"?>\r\n<?xml-stylesheet type=\"text/xsl\" href=\"sales report.xsl\"?>\r\n"
           "<salestotalsreport>\r\n\t<amounts>\r\n";
    append_amount(doc, "UNPAID", by_payment[PAYMENT_UNPAID]);
    append_amount(doc, "CASH", by_payment[PAYMENT_CASH]);
    append_amount(doc, "CHECK", by_payment[PAYMENT_CHECK]);
    append_amount(doc, "CREDIT CARD", by_payment[PAYMENT_CREDIT_CARD]);
    append_amount(doc, "ACCOUNT", by_payment[PAYMENT_ACCOUNT]);
    append_amount(doc, "WARRANTY", by_payment[PAYMENT_WARRANTY]);
    append_amount(doc, "TAX", tax);
    append_amount(doc, "GROSS", gross);
    append_amount(doc, "APPROXIMATE GROSS CALCULABLE PROFIT", profit);
    append_amount(doc, "TODAY'S TRANSACTIONS", today_total);
    append_amount(doc, "INVENTORY COST", cost);
    doc += "\t</amounts>\r\n</salestotalsreport>";
}

void build_non_inventory_report(const ServerDatabase& db, std::string& doc) {
    doc += "<?xml version=\"1.0\"?>\r\n<?xml-stylesheet type=\"text/xsl\" href=\"non-inventory sales report.xsl\"?>"
           "\r\n<noninventoryreport>\r\n\t<noninventoryitems>\r\n";
    const StockedNumbers stocked(db);
    for (int i = 1; i <= db.invoices.count; ++i) {
        const InvoiceRecord& inv = db.invoices[i];
        for (int n = 0; n < used_lines(inv); ++n) {
            const InvoiceLine& line = inv.lines[n];
            if (field_empty(line.item_number) || stocked.contains(field(line.item_number))) continue;
            doc += "\r\n\t\t<item>\r\n";
            append_element(doc, "itemnumber", field(line.item_number));
            append_element(doc, "description", field(line.description));
            append_element(doc, "remark", field(line.remark));
            append_element(doc, "customer", field(inv.customer_name));
            append_element(doc, "unitprice", field(line.unit_price));
            append_element(doc, "unitcost", field(line.unit_cost));
            doc += "\t\t</item>\r\n";
        }
    }
    doc += "\t</noninventoryitems>\r\n</noninventoryreport>";
}

void build_suggested_order(const ServerDatabase& db, std::string_view category, std::string_view order_value_text,
                           std::string& doc) {
    doc += "<?xml version=\"1.0\"?>\r\n<?xml-stylesheet type=\"text/xsl\" href=\"suggested order report.xsl\"?>\r\n"
           "<suggestedorderreport>\r\n\t<specialitems>\r\n";
    // Any backorder text at all makes a line special, "0" included: someone typed it for a reason.
    for (int i = 1; i <= db.invoices.count; ++i) {
        const InvoiceRecord& inv = db.invoices[i];
        for (int n = 0; n < used_lines(inv); ++n) {
            const InvoiceLine& line = inv.lines[n];
            if (field_empty(line.backorder_quantity)) continue;
            const bool ordered = line.ordered == 1;
            doc += ordered ? "\t\t<backorder>\r\n" : "\t\t<item>\r\n";
            append_element(doc, "quantity", field(line.backorder_quantity));
            append_element(doc, "itemnumber", field(line.item_number));
            append_element(doc, "description", field(line.description));
            append_element(doc, "remark", field(line.remark));
            append_element(doc, "unitprice", field(line.unit_price));
            append_element(doc, "unitcost", field(line.unit_cost));
            append_element(doc, "note", field(line.note));
            append_element(doc, "customer", field(inv.customer_name));
            doc += ordered ? "\t\t</backorder>\r\n" : "\t\t</item>\r\n";
        }
    }
    doc += "\t</specialitems>\r\n\r\n\t<inventoryitems>\r\n";

    const std::vector<OrderCandidate> candidates = order_candidates(db, category);
    const OrderFactor factor = find_order_factor(candidates, number_or(order_value_text, 0.0));
    double total = 0.0;
    for (const OrderCandidate& c : candidates) {
        const double x = suggested_quantity(c, factor.factor);
        if (!(x > 0)) continue;
        total += x * c.unit_cost;
        const InventoryRecord& r = db.inventory[c.slot];
        doc += "\t\t<item>\r\n";
        append_element(doc, "suggestedorderquantity", format_g(x));
        append_element(doc, "quantityinstock", field(r.quantity));
        append_element(doc, "quantitysold", field(r.sold_quantity));
        append_element(doc, "itemnumber", field(r.item_number));
        append_element(doc, "description", field(r.description));
        append_element(doc, "remark", field(r.remark));
        append_element(doc, "unitcost", field(r.standard_unit_cost));
        append_element(doc, "category", field(r.category));
        doc += "\t\t</item>\r\n";
    }
    doc += "\t</inventoryitems>\r\n\t<ordertotal>\r\n\t\t";
    doc += format_2f(total);
    doc += "\r\n\t</ordertotal>\r\n</suggestedorderreport>";
}

// The document grows as it needs to, past the 10,240,000 bytes a fixed buffer would have allowed: a report
// cut off there would reach the user as no report at all. Only running out of memory gives no answer.
template <class Build>
bool build_document(std::string& document, Build build) {
    try {
        std::string doc;
        build(doc);
        if (document.empty()) {
            document.swap(doc);
        } else {
            document.append(doc);
        }
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    } catch (const std::length_error&) {
        return false;
    }
}

}  // namespace

bool sales_report(const ServerDatabase& db, std::string& document) {
    return build_document(document, [&](std::string& doc) { build_sales_report(db, doc); });
}

bool non_inventory_sales_report(const ServerDatabase& db, std::string& document) {
    return build_document(document, [&](std::string& doc) { build_non_inventory_report(db, doc); });
}

bool suggested_order_report(const ServerDatabase& db, std::string_view category, std::string_view order_value,
                            std::string& document) {
    return build_document(document,
                          [&](std::string& doc) { build_suggested_order(db, category, order_value, doc); });
}

}  // namespace stk::server
