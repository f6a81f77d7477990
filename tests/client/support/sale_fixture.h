// A main window with the sale workspace attached, talking to a real server on a temporary database set.
// Message boxes and dialogs are answered through the dialog seam; every request the workspace sends is
// recorded.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstring>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "client/app/sale_attach.h"
#include "client/app/session.h"
#include "client/app/session_attach.h"
#include "client/inventory/inventory_pane.h"
#include "client/invoice/invoice_workspace.h"
#include "client/main_window/main_window.h"
#include "client/ui/control_ids.h"
#include "client/ui/dialog_seam.h"
#include "client/ui/strings.h"
#include "common/protocol.h"
#include "common/text_field.h"
#include "tests/support/server_process.h"

namespace stk::client::testing {

struct Sent {
    int opcode;
    std::string text;
};

// Runs the event loop until `done` holds or the deadline passes.
inline bool wait_for(const std::function<bool()>& done, int timeout_ms = 10000) {
    QElapsedTimer t;
    t.start();
    while (!done()) {
        if (t.elapsed() > timeout_ms) return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Types text into a widget key by key, as a user would.
inline void type_keys(QWidget* w, const QString& text) {
    w->setFocus();
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &release);
    }
}

inline void press_key(QWidget* w, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

class SaleFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.start()) << server.log() << server.errors();
        api = std::make_unique<ServerApi>(server.make_api());
        session().settings.tax_percentage[0] = '\0';
        set_field(session().settings.tax_percentage, "8.25");

        DialogSeam::set_message_handler([this](const MessageRequest& m) {
            messages.push_back(m.text);
            if (!answers.empty()) {
                const MsgAnswer a = answers.front();
                answers.pop_front();
                return a;
            }
            return m.default_answer;
        });
        DialogSeam::set_dialog_handler([this](QDialog& d) {
            dialogs.push_back(d.windowTitle());
            if (d.windowTitle() == "Enter Your Identification") {
                if (auto* e = d.findChild<QLineEdit*>("1050")) e->setText(salesperson);
                return static_cast<int>(QDialog::Accepted);
            }
            if (d.windowTitle() == "Customer" && customer_dialog) return customer_dialog(d);
            if (other_dialog) return other_dialog(d);
            return static_cast<int>(QDialog::Rejected);
        });

        window = std::make_unique<MainWindow>();
        attach_session(*window);
        window->resize(1000, 720);
        window->show();
        window->edit(ids::kTaxPercent)->setText("8.25");
        SaleSettings settings;
        settings.tax_percentage = [] { return std::string("8.25"); };
        settings.data_set_folder = [this] { return data_set.path(); };
        ContactsAccess contacts;
        contacts.contains = [this](std::string_view name, std::string_view phone) {
            for (const InvoiceRecord& c : contact_list)
                if (equal_ci(field(c.customer_name), name) && equal_ci(field(c.customer_phone_number), phone))
                    return true;
            return false;
        };
        contacts.full = [] { return false; };
        contacts.append = [this](const InvoiceRecord& c) {
            contact_list.push_back(c);
            return true;
        };
        contacts.save = [this] {
            ++contact_saves;
            return true;
        };
        contacts.file_path = [] { return QString("contacts.txt"); };
        sale = attach_sale(*window, *api, settings, contacts);
        ASSERT_TRUE(sale.invoice && sale.inventory);
        auto record = [this](int opcode, std::string_view text) { sent.push_back({opcode, std::string(text)}); };
        sale.invoice->on_request = record;
        sale.inventory->on_request = record;
    }

    void TearDown() override {
        window.reset();
        DialogSeam::reset();
    }

    InvoiceWorkspace& ws() { return *sale.invoice; }
    InventoryPane& pane() { return *sale.inventory; }
    QLineEdit* edit(int id) { return window->edit(id); }

    std::vector<std::string> texts_of(int opcode) const {
        std::vector<std::string> out;
        for (const Sent& s : sent)
            if (s.opcode == opcode) out.push_back(s.text);
        return out;
    }
    int count_of(int opcode) const { return static_cast<int>(texts_of(opcode).size()); }
    bool asked(int string_number) const {
        for (const QString& m : messages)
            if (m.startsWith(string_text(string_number))) return true;
        return false;
    }

    // A new invoice made current and given a number, so that the server will not hand its slot out again.
    int make_invoice(const QString& number) {
        EXPECT_EQ(ws().new_invoice(), 1);
        edit(ids::kInvoiceNumber)->setText(number);
        return ws().current_index();
    }

    void add_stock_item(const char* number, const char* description, const char* price, const char* quantity,
                        const char* cost) {
        InventoryRecord r{};
        set_field(r.item_number, number);
        set_field(r.description, description);
        set_field(r.unit_price, price);
        set_field(r.quantity, quantity);
        set_field(r.standard_unit_cost, cost);
        ASSERT_EQ(api->add_inventory_item(r, quantity, cost), 1);
    }

    // Fills the entry fields and presses "Add to Invoice".
    void enter_line(const QString& quantity, const QString& item, const QString& description, const QString& price,
                    const QString& cost, bool inventory_item = true) {
        edit(ids::kOrderQuantity)->setText(quantity);
        edit(ids::kItemNumber)->setText(item);
        edit(ids::kDescription)->setText(description);
        edit(ids::kUnitPrice)->setText(price);
        edit(ids::kUnitCost)->setText(cost);
        window->inventory_item_check()->setChecked(inventory_item);
        window->run_command(ids::kAddToInvoice);
    }

    const InvoiceLine& line(int n) { return ws().copy().lines[n - 1]; }

    // From here on requests with `opcode` are answered `result`, as a relay between client and server could:
    // after the server has done its part when `forwarded`, else without the server ever seeing them.
    void force_result(int opcode, int result, bool forwarded) {
        forced[opcode] = {result, forwarded};
        api->relay = [this](std::int32_t op, const std::function<int()>& exchange) {
            const auto it = forced.find(op);
            if (it == forced.end()) return exchange();
            if (it->second.second) exchange();
            return it->second.first;
        };
    }
    void stop_forcing() {
        forced.clear();
        api->relay = nullptr;
    }
    // The copy is the server's record, byte for byte.
    bool copy_is_stored() {
        InvoiceRecord stored{};
        return api->get_invoice(ws().current_index(), &stored) == RESULT_OK &&
               std::memcmp(&stored, &ws().copy(), sizeof stored) == 0;
    }

    stk::test::ServerProcess server;
    std::unique_ptr<ServerApi> api;
    QTemporaryDir data_set;
    std::unique_ptr<MainWindow> window;
    SaleWorkspace sale;
    std::vector<Sent> sent;
    std::vector<QString> messages;
    std::deque<MsgAnswer> answers;
    std::vector<QString> dialogs;
    QString salesperson = "PAT";
    std::function<int(QDialog&)> customer_dialog;
    std::function<int(QDialog&)> other_dialog;  // any dialog not answered above
    std::vector<InvoiceRecord> contact_list;
    int contact_saves = 0;
    std::map<int, std::pair<int, bool>> forced;
};

}  // namespace stk::client::testing
