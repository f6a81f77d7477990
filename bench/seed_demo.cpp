// Fills a running StockavelleServer with a small hardware shop: a few dozen items with opening stock,
// some invoices (paid, open and with backorders) and a handful of staff messages.
//
//   seed_demo --server-name "demo server" [--remote host:port]
//
// Everything goes through the ordinary requests, exactly as a till would send them.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "client/api/server_api.h"
#include "common/dates.h"
#include "common/number_text.h"
#include "common/protocol.h"
#include "common/text_field.h"

using namespace stk;
using stk::client::ServerApi;

namespace {

struct Item {
    const char* number;
    const char* description;
    const char* remark;
    double price;
    double cost;
    int stock;
    int minimum;
    const char* category;
    const char* location;
};

const Item kItems[] = {
    {"HM-16", "CLAW HAMMER 16 OZ", "FIBERGLASS HANDLE", 24.99, 13.10, 14, 4, "HAND TOOLS", "AISLE 3"},
    {"HM-20", "FRAMING HAMMER 20 OZ", "STEEL HANDLE", 34.50, 19.75, 6, 2, "HAND TOOLS", "AISLE 3"},
    {"HM-RB", "RUBBER MALLET", "WHITE, NON-MARKING", 12.95, 5.40, 9, 3, "HAND TOOLS", "AISLE 3"},
    {"SD-6PC", "SCREWDRIVER SET 6 PC", "PHILLIPS AND SLOTTED", 18.99, 8.25, 20, 5, "HAND TOOLS", "AISLE 3"},
    {"PL-8", "LINEMAN PLIERS 8 IN", "", 21.49, 11.30, 8, 3, "HAND TOOLS", "AISLE 3"},
    {"WR-ADJ10", "ADJUSTABLE WRENCH 10 IN", "CHROME", 16.75, 7.90, 11, 4, "HAND TOOLS", "AISLE 3"},
    {"TM-25", "TAPE MEASURE 25 FT", "MAGNETIC HOOK", 14.99, 6.20, 25, 8, "MEASURING", "AISLE 4"},
    {"LV-24", "TORPEDO LEVEL 24 IN", "ALUMINUM", 27.95, 14.60, 5, 2, "MEASURING", "AISLE 4"},
    {"DR-18V", "CORDLESS DRILL 18V", "2 BATTERIES, CHARGER", 129.00, 78.50, 4, 2, "POWER TOOLS", "AISLE 5"},
    {"SW-CIRC", "CIRCULAR SAW 7-1/4 IN", "15 AMP", 99.99, 61.25, 3, 1, "POWER TOOLS", "AISLE 5"},
    {"SN-RND", "RANDOM ORBIT SANDER", "5 IN PAD", 64.50, 38.00, 2, 1, "POWER TOOLS", "AISLE 5"},
    {"BT-18V", "BATTERY PACK 18V 4AH", "", 59.00, 34.75, 7, 3, "POWER TOOLS", "AISLE 5"},
    {"DB-HSS13", "DRILL BIT SET HSS 13 PC", "1/16 TO 1/4 IN", 22.95, 10.40, 12, 4, "ACCESSORIES", "AISLE 5"},
    {"SC-DECK3", "DECK SCREWS #8 X 3 IN", "5 LB BOX", 31.99, 17.80, 15, 5, "FASTENERS", "AISLE 6"},
    {"SC-DRY158", "DRYWALL SCREWS 1-5/8 IN", "1 LB BOX", 8.49, 3.65, 40, 12, "FASTENERS", "AISLE 6"},
    {"NL-16D", "COMMON NAILS 16D", "5 LB BOX", 12.99, 6.10, 22, 6, "FASTENERS", "AISLE 6"},
    {"AN-WALL", "WALL ANCHORS ASSORTED", "100 PC KIT", 9.99, 3.90, 18, 6, "FASTENERS", "AISLE 6"},
    {"GL-WOOD", "WOOD GLUE 16 OZ", "INTERIOR/EXTERIOR", 7.49, 3.20, 16, 6, "ADHESIVES", "AISLE 7"},
    {"CK-SIL", "SILICONE CAULK CLEAR", "10 OZ TUBE", 6.99, 2.85, 30, 10, "ADHESIVES", "AISLE 7"},
    {"TP-DUCT", "DUCT TAPE 60 YD", "SILVER", 8.99, 3.75, 24, 8, "ADHESIVES", "AISLE 7"},
    {"PT-INTW", "INTERIOR PAINT WHITE 1 GAL", "EGGSHELL", 36.99, 21.40, 10, 4, "PAINT", "AISLE 8"},
    {"PT-PRM", "PRIMER 1 GAL", "STAIN BLOCKING", 29.99, 16.80, 8, 3, "PAINT", "AISLE 8"},
    {"BR-25", "ANGLED SASH BRUSH 2-1/2 IN", "", 11.49, 4.60, 14, 5, "PAINT", "AISLE 8"},
    {"RL-KIT", "ROLLER KIT 9 IN", "TRAY, FRAME, 2 COVERS", 15.99, 7.35, 9, 3, "PAINT", "AISLE 8"},
    {"SP-120", "SANDPAPER 120 GRIT", "10 SHEETS", 6.49, 2.40, 27, 10, "PAINT", "AISLE 8"},
    {"EL-EXT25", "EXTENSION CORD 25 FT", "12/3 OUTDOOR", 32.99, 18.90, 9, 3, "ELECTRICAL", "AISLE 9"},
    {"EL-OUTL", "DUPLEX OUTLET 15A", "WHITE", 2.49, 0.95, 60, 20, "ELECTRICAL", "AISLE 9"},
    {"EL-LED60", "LED BULB 60W EQUIV", "4 PACK, SOFT WHITE", 9.99, 4.70, 35, 12, "ELECTRICAL", "AISLE 9"},
    {"PB-TAPE", "PTFE THREAD TAPE", "1/2 IN X 520 IN", 1.99, 0.55, 45, 15, "PLUMBING", "AISLE 10"},
    {"PB-PLNG", "TOILET PLUNGER", "FLANGE", 13.49, 5.90, 7, 3, "PLUMBING", "AISLE 10"},
    {"PB-SHUT", "SHUT-OFF VALVE 1/2 IN", "QUARTER TURN", 11.99, 5.35, 12, 4, "PLUMBING", "AISLE 10"},
    {"GD-HOSE50", "GARDEN HOSE 50 FT", "5/8 IN, KINK FREE", 39.99, 22.50, 6, 2, "GARDEN", "OUTDOOR"},
    {"GD-GLOVE", "GARDEN GLOVES", "LEATHER PALM, LARGE", 8.99, 3.60, 19, 6, "GARDEN", "OUTDOOR"},
    {"GD-SOIL", "POTTING SOIL 1 CU FT", "", 10.49, 5.95, 30, 10, "GARDEN", "OUTDOOR"},
    {"SF-GLASS", "SAFETY GLASSES", "ANTI-FOG", 5.99, 2.15, 26, 8, "SAFETY", "AISLE 2"},
    {"SF-MASK", "DUST MASKS N95", "10 PACK", 19.99, 10.80, 3, 5, "SAFETY", "AISLE 2"},
    {"LABOR", "LABOR", "PER HOUR", 65.00, 0.00, 0, 0, "SERVICE", ""},
    {"KEY-CUT", "KEY CUTTING", "STANDARD HOUSE KEY", 3.50, 0.60, 0, 0, "SERVICE", "COUNTER"},
};

struct Line {
    const char* item;
    double quantity;
};

struct Sale {
    const char* number;
    const char* customer;
    const char* phone;
    const char* salesperson;
    int payment;  // 0 unpaid, 1 cash, 3 credit card, 4 account
    int status;   // 0 incomplete, 1 complete
    const char* cash;
    std::vector<Line> lines;
};

const Sale kSales[] = {
    {"10001", "MARGARET OKAFOR", "555-0142", "DIANE", 1, 1, "110.00", {{"HM-16", 1}, {"SC-DECK3", 2}, {"TP-DUCT", 1}}},
    {"10002", "RIVERSIDE PROPERTY MGMT", "555-0188", "TOMAS", 4, 1, "",
     {{"PT-INTW", 4}, {"PT-PRM", 2}, {"RL-KIT", 2}, {"BR-25", 3}, {"SP-120", 5}}},
    {"10003", "", "", "DIANE", 1, 1, "20.00", {{"KEY-CUT", 3}, {"EL-OUTL", 2}}},
    {"10004", "JAMES WHITFIELD", "555-0119", "TOMAS", 3, 1, "", {{"DR-18V", 1}, {"BT-18V", 1}, {"DB-HSS13", 1}}},
    {"10005", "ELENA ROSSI", "555-0176", "DIANE", 0, 0, "", {{"GD-HOSE50", 1}, {"GD-GLOVE", 2}, {"GD-SOIL", 4}}},
    {"10006", "HARBOR CAFE", "555-0133", "SAM", 0, 0, "",
     {{"PB-SHUT", 2}, {"PB-TAPE", 3}, {"LABOR", 1.5}, {"SF-MASK", 6}}},
};

const char* const kMessages[] = {
    "Delivery from Westline Supply expected Thursday before 10 AM - please keep the loading door clear.",
    "Riverside Property Mgmt pays on account; invoices go to their office on the 1st.",
    "Dust masks are below the minimum: reorder placed, 2 boxes on backorder for Harbor Cafe.",
    "Key machine needs a new cutter wheel. Use the spare in the drawer under the counter.",
};

std::string f2(double v) { return format_2f(v); }

bool ok(int result, const char* what) {
    if (result == RESULT_OK) return true;
    std::fprintf(stderr, "seed_demo: %s failed (result %d)\n", what, result);
    return false;
}

int refresh(ServerApi& api, int index, InvoiceRecord* copy) { return api.get_invoice(index, copy); }

}  // namespace

int main(int argc, char** argv) {
    std::string server_name = "stockavelle server 1.0";
    std::string remote;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--server-name") == 0) server_name = argv[i + 1];
        else if (std::strcmp(argv[i], "--remote") == 0) remote = argv[i + 1];
    }
    ServerApi api(client::ServerAddress{server_name, remote}, "stockavelle client 1.0");

    int count = 0;
    if (!ok(api.get_invoice_count(&count), "get_invoice_count")) return 1;
    if (count > 0) {
        std::printf("seed_demo: the database set already holds %d invoices; nothing added\n", count);
        return 0;
    }

    for (const Item& it : kItems) {
        InventoryRecord r{};
        set_field(r.item_number, it.number);
        set_field(r.description, it.description);
        set_field(r.remark, it.remark);
        set_field(r.unit_price, f2(it.price));
        set_field(r.minimum_quantity, format_g(it.minimum));
        set_field(r.category, it.category);
        set_field(r.location, it.location);
        set_field(r.standard_unit_cost, f2(it.cost));
        set_field(r.last_audit_date, today());
        const std::string quantity = it.stock > 0 ? format_g(it.stock) : "";
        const std::string cost = it.stock > 0 ? f2(it.cost) : "";
        const int result = api.add_inventory_item(r, quantity, cost);
        if (result != RESULT_EXISTS && !ok(result, it.number)) return 1;
    }

    for (const Sale& sale : kSales) {
        int index = 0;
        if (!ok(api.new_invoice(&index), "new_invoice")) return 1;
        InvoiceRecord copy{};
        if (!ok(refresh(api, index, &copy), "get_invoice")) return 1;
        auto set = [&](int id, const char* text) {
            if (!*text) return true;
            if (!ok(api.set_invoice_field(index, id, text, copy), "set_invoice_field")) return false;
            return ok(refresh(api, index, &copy), "get_invoice");
        };
        if (!set(FIELD_INVOICE_NUMBER, sale.number) || !set(FIELD_CUSTOMER_NAME, sale.customer) ||
            !set(FIELD_CUSTOMER_PHONE, sale.phone) || !set(FIELD_SALESPERSON, sale.salesperson))
            return 1;
        for (const Line& l : sale.lines) {
            const Item* item = nullptr;
            for (const Item& it : kItems)
                if (std::strcmp(it.number, l.item) == 0) item = &it;
            if (!item) continue;
            InvoiceLine line{};
            set_field(line.quantity, format_g(l.quantity));
            set_field(line.item_number, item->number);
            set_field(line.description, item->description);
            set_field(line.remark, item->remark);
            set_field(line.unit_price, f2(item->price));
            std::string fifo;
            const bool stocked = item->stock > 0;
            if (!stocked || api.get_fifo_cost(item->number, format_g(l.quantity), &fifo) != RESULT_OK) fifo = f2(item->cost);
            set_field(line.unit_cost, fifo);
            set_field(line.amount, f2(item->price * l.quantity));
            set_field(line.tax_percent, std::strcmp(item->category, "SERVICE") == 0 ? "" : "8.25");
            std::string note = today();
            if (std::strcmp(item->number, "LABOR") == 0) note += " Claim Number: " + format_g(index) + "-417";
            set_field(line.note, note);
            // Masks are short: the customer's extra boxes wait on backorder.
            if (stocked && l.quantity > item->stock) set_field(line.backorder_quantity, format_g(l.quantity - item->stock));
            if (!ok(api.add_invoice_item(index, stocked ? 1 : 0, copy, line), "add_invoice_item")) return 1;
            if (!ok(refresh(api, index, &copy), "get_invoice")) return 1;
        }
        if (sale.payment != 0) {
            if (!ok(api.set_invoice_payment(index, sale.payment, copy), "set_invoice_payment")) return 1;
            if (!ok(refresh(api, index, &copy), "get_invoice")) return 1;
        }
        if (!set(FIELD_CASH_RECEIVED, sale.cash)) return 1;
        if (sale.status != 0) {
            if (!ok(api.set_invoice_status(index, sale.status, copy), "set_invoice_status")) return 1;
        }
    }

    for (const char* text : kMessages) {
        MessageRecord none{}, message{};
        set_field(message.text, text);
        if (!ok(api.save_message(none, message), "save_message")) return 1;
    }
    std::printf("seed_demo: %zu items, %zu invoices and %zu messages added\n", std::size(kItems), std::size(kSales),
                std::size(kMessages));
    return 0;
}
