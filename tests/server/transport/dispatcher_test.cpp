// The dispatcher over bytes in memory: refusals, the answers it completes itself, requests that break off,
// where each request ends, and the saves after a failed write.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <cstring>
#include <filesystem>

#include "common/protocol.h"
#include "common/text_field.h"
#include "server/transport/dispatcher.h"

using namespace stk;
using namespace stk::server;

namespace {

constexpr const char* kProcessing = "Processing client request...\r\n";
constexpr const char* kWaiting = "Waiting for a client request\r\n";
constexpr const char* kReceiveErrorText = "An error occured while receiving data.\r\n";

RequestHeader request(int opcode, std::string_view client = "stockavelle client 1.0", int version = 100) {
    RequestHeader h;
    std::memset(&h, 0, sizeof h);
    h.version = version;
    set_field(h.client_name, client);
    h.opcode = opcode;
    return h;
}

template <class T>
std::string bytes(const T& v) {
    return std::string(reinterpret_cast<const char*>(&v), sizeof v);
}

ResponseHeader response_of(const std::string& out) {
    ResponseHeader r;
    std::memset(&r, 0, sizeof r);
    if (out.size() >= sizeof r) std::memcpy(&r, out.data(), sizeof r);
    return r;
}

struct Fixture {
    ServerDatabase db;
    std::string log;
    Dispatcher dispatcher{db, DispatcherConfig{}};

    Fixture() {
        db.log = [this](std::string_view t) { log.append(t); };
        EXPECT_TRUE(db.reserve(100, 100));
    }
    std::string serve(const std::string& input) {
        MemoryStream stream(input);
        log.clear();
        dispatcher.serve(stream);
        EXPECT_TRUE(stream.finished);
        return stream.output;
    }
};

}  // namespace

TEST(Dispatcher, RefusesWrongVersionClientNameAndUnknownOpcodeWithoutAnswer) {
    Fixture f;
    EXPECT_EQ(f.serve(bytes(request(GET_INVOICE_COUNT, "stockavelle client 1.0", 99))), "");
    EXPECT_EQ(f.log, std::string(kProcessing) + "Client version incorrect for this server.\r\n" + kWaiting);

    EXPECT_EQ(f.serve(bytes(request(GET_INVOICE_COUNT, "STOCKAVELLE CLIENT 1.0"))), "");
    EXPECT_EQ(f.log, std::string(kProcessing) + "Client indentification incorrect.\r\n" + kWaiting);

    EXPECT_EQ(f.serve(bytes(request(15))), "");
    EXPECT_EQ(f.log, std::string(kProcessing) + kWaiting);

    // A name with no NUL in its 32 bytes counts as its first 31 bytes, nothing beyond.
    RequestHeader h = request(GET_INVOICE_COUNT);
    std::memset(h.client_name, 'a', sizeof h.client_name);
    h.opcode = GET_INVOICE_COUNT;
    f.dispatcher.config().client_name = std::string(31, 'a');
    EXPECT_EQ(response_of(f.serve(bytes(h))).result, RESULT_OK);
    f.dispatcher.config().client_name = std::string(32, 'a');
    EXPECT_EQ(f.serve(bytes(h)), "");
}

TEST(Dispatcher, AnswersCountTotalsAndInvoiceFetchesItself) {
    Fixture f;
    f.db.invoices.count = 0;
    std::string out = f.serve(bytes(request(GET_INVOICE_COUNT)));
    ASSERT_EQ(out.size(), sizeof(ResponseHeader));
    ResponseHeader r = response_of(out);
    EXPECT_EQ(r.opcode, GET_INVOICE_COUNT);
    EXPECT_EQ(r.result, RESULT_OK);
    EXPECT_EQ(r.value, 0);
    EXPECT_EQ(r.payload_length, 0);
    EXPECT_EQ(f.log, std::string(kProcessing) + kWaiting);

    // Bad index: the header alone, result 0.
    RequestHeader totals = request(GET_INVOICE_TOTALS);
    totals.invoice_index = 0;
    out = f.serve(bytes(totals));
    ASSERT_EQ(out.size(), sizeof(ResponseHeader));
    EXPECT_EQ(response_of(out).result, RESULT_FAILED);
    EXPECT_EQ(response_of(out).opcode, GET_INVOICE_TOTALS);

    // GET_INVOICE and GET_INVOICE_ITEM always carry their record, zero-filled when refused.
    RequestHeader get = request(GET_INVOICE);
    get.invoice_index = 5;
    out = f.serve(bytes(get));
    ASSERT_EQ(out.size(), sizeof(ResponseHeader) + sizeof(InvoiceRecord));
    EXPECT_EQ(response_of(out).result, RESULT_FAILED);
    EXPECT_EQ(response_of(out).payload_length, 0);
    EXPECT_EQ(out.find_first_not_of('\0', sizeof(ResponseHeader)), std::string::npos);

    RequestHeader item = request(GET_INVOICE_ITEM);
    item.invoice_index = 1;
    item.selector = 0;
    out = f.serve(bytes(item));
    ASSERT_EQ(out.size(), sizeof(ResponseHeader) + sizeof(InvoiceLine));
    EXPECT_EQ(out.find_first_not_of('\0', sizeof(ResponseHeader)), std::string::npos);
}

TEST(Dispatcher, RequestThatBreaksOffIsNotCarriedOut) {
    Fixture f;
    // Half a header, then the connection was dropped.
    const std::string header = bytes(request(GET_INVOICE_COUNT));
    EXPECT_EQ(f.serve(header.substr(0, 100)), "");
    EXPECT_EQ(f.log, std::string(kProcessing) + kReceiveErrorText + kWaiting);
    EXPECT_EQ(f.serve(""), "");
    EXPECT_EQ(f.log, std::string(kProcessing) + kReceiveErrorText + kWaiting);

    // A request block that breaks off: the operation does not run and nothing is answered.
    RequestHeader add = request(ADD_INVOICE_ITEM);
    add.invoice_index = 1;
    InvoiceRecord copy;
    std::memset(&copy, 0, sizeof copy);
    EXPECT_EQ(f.serve(bytes(add) + bytes(copy) + std::string(100, 'x')), "");
    EXPECT_EQ(f.log, std::string(kProcessing) + kReceiveErrorText + kWaiting);

    // A header with texts that fill their whole width (no NUL) is still read safely.
    RequestHeader item = request(GET_INVENTORY_ITEM);
    std::memset(item.text_a, 'Z', sizeof item.text_a);
    std::memset(item.text_b, 'Z', sizeof item.text_b);
    const std::string out = f.serve(bytes(item));
    ASSERT_EQ(out.size(), sizeof(ResponseHeader));
    EXPECT_EQ(response_of(out).result, RESULT_FAILED);
}

TEST(Dispatcher, ShortWriteIsLoggedAndTheExchangeEnds) {
    Fixture f;
    MemoryStream stream(bytes(request(GET_INVOICE_COUNT)));
    stream.write_limit = 10;
    f.dispatcher.serve(stream);
    EXPECT_EQ(f.log, std::string(kProcessing) + "An error occured while sending data.\r\n" + kWaiting);
    EXPECT_TRUE(stream.finished);
}

TEST(Dispatcher, UnsavedDatabasesStayMarkedUntilASaveWorks) {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString() + "/set";  // not there yet: every save fails
    Fixture f;
    f.db.paths = DatabasePaths::in_folder(folder);
    ASSERT_TRUE(f.db.invoices.grow_for_one());  // an empty invoice table has no file to write
    f.db.invoices.count = 1;
    int asked = 0;
    save_all_databases(f.db, [&](std::string_view) { return ++asked < 2; });  // Retry once, then Cancel
    EXPECT_EQ(asked, 4);  // inventory: Retry, Cancel; invoices: Cancel; messages: Cancel
    EXPECT_TRUE(f.db.inventory_unsaved && f.db.invoices_unsaved && f.db.messages_unsaved);
    // Each failure is its text and its path, each on a line of its own: nothing logged next joins the path.
    const std::string inventory_failed =
        "Stockavelle was unable to save inventory. The destination drive may be full, or the destination file(s) "
        "may be inaccessible or write protected.\r\n" +
        f.db.paths.inventory + "\r\n";
    const std::string invoices_failed =
        "Stockavelle was unable to save invoices. The destination drive may be full, or the destination file may be "
        "inaccessible or write protected.\r\n" +
        f.db.paths.invoices + "\r\n";
    const std::string messages_failed =
        "Stockavelle was unable to save messages. The destination drive may be full, or the destination file may be "
        "inaccessible or write protected.\r\n" +
        f.db.paths.messages + "\r\n";
    EXPECT_EQ(f.log, inventory_failed + inventory_failed + invoices_failed + messages_failed);

    // Each later request tries once more and says how it went.
    f.serve(bytes(request(GET_INVOICE_COUNT)));
    EXPECT_TRUE(f.db.inventory_unsaved && f.db.invoices_unsaved && f.db.messages_unsaved);
    EXPECT_EQ(f.log, kProcessing + inventory_failed + invoices_failed + messages_failed + kWaiting);

    std::filesystem::create_directories(folder);
    f.serve(bytes(request(GET_INVOICE_COUNT)));
    EXPECT_FALSE(f.db.inventory_unsaved || f.db.invoices_unsaved || f.db.messages_unsaved);
    const std::string expected = std::string(kProcessing) + "Your inventory was successfully saved.\r\n" +
                                 f.db.paths.inventory + "\r\n" + "Your invoices were successfully saved.\r\n" +
                                 f.db.paths.invoices + "\r\n" + "Your messages were successfully saved.\r\n" +
                                 f.db.paths.messages + "\r\n" + kWaiting;
    EXPECT_EQ(f.log, expected);

    // Nothing marked: nothing saved, nothing logged.
    f.serve(bytes(request(GET_INVOICE_COUNT)));
    EXPECT_EQ(f.log, std::string(kProcessing) + kWaiting);
}

namespace {

// Notes how much had been logged when the client was let go.
struct WatchedStream : MemoryStream {
    WatchedStream(std::string in, const std::string& log) : MemoryStream(std::move(in)), log_(log) {}
    void finish() override {
        MemoryStream::finish();
        log_at_finish = log_.size();
    }
    const std::string& log_;
    std::size_t log_at_finish = 0;
};

}  // namespace

TEST(Dispatcher, FailedWriteIsAnsweredFirstThenEverythingIsSaved) {
    QTemporaryDir dir;
    Fixture f;
    f.db.paths = DatabasePaths::in_folder(dir.path().toStdString() + "/gone");  // no folder: writes fail
    int asked = 0;
    f.dispatcher.config().ask_retry = [&](std::string_view) {
        ++asked;
        return false;  // Cancel
    };

    WatchedStream stream(bytes(request(NEW_INVOICE)), f.log);
    f.log.clear();
    f.dispatcher.serve(stream);
    const ResponseHeader r = response_of(stream.output);
    ASSERT_EQ(stream.output.size(), sizeof(ResponseHeader));
    EXPECT_EQ(r.result, RESULT_SAVE_FAILED);
    EXPECT_EQ(r.value, 1);
    EXPECT_EQ(f.db.invoices.count, 1);  // memory keeps the change

    // The client had its answer before the first save was tried; then one box per database.
    const std::string after = f.log.substr(stream.log_at_finish);
    EXPECT_EQ(after.find("Stockavelle was unable to save inventory."), 0u) << f.log;
    EXPECT_LT(after.find("Stockavelle was unable to save invoices."),
              after.find("Stockavelle was unable to save messages."));
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(f.log.substr(f.log.size() - std::strlen(kWaiting)), kWaiting);
    EXPECT_TRUE(f.db.inventory_unsaved && f.db.invoices_unsaved && f.db.messages_unsaved);
}

TEST(Dispatcher, RecordBlocksWithoutTerminatorsAreReadWithinTheirWidths) {
    QTemporaryDir dir;
    Fixture f;
    f.db.paths = DatabasePaths::in_folder(dir.path().toStdString());

    // Every byte of the new item is a letter: no field carries a NUL.
    RequestHeader add = request(ADD_INVENTORY_ITEM);
    InventoryRecord item;
    std::memset(&item, 'Q', sizeof item);
    std::string out = f.serve(bytes(add) + bytes(item));
    ASSERT_EQ(out.size(), sizeof(ResponseHeader));
    ASSERT_EQ(response_of(out).result, RESULT_OK) << f.log;

    RequestHeader get = request(GET_INVENTORY_ITEM);
    set_field(get.text_a, std::string(63, 'q'));  // found without regard to case
    out = f.serve(bytes(get));
    ASSERT_EQ(out.size(), sizeof(ResponseHeader) + sizeof(InventoryRecord));
    InventoryRecord stored;
    std::memcpy(&stored, out.data() + sizeof(ResponseHeader), sizeof stored);
    EXPECT_EQ(field(stored.item_number), std::string(63, 'Q'));
    EXPECT_EQ(stored.item_number[63], '\0');
    EXPECT_EQ(field(stored.description), std::string(63, 'Q'));
    EXPECT_EQ(stored.last_audit_date[63], '\0');
    EXPECT_EQ(stored.note[63], '\0');
}

TEST(Dispatcher, EveryRequestEndsWhereItsOperationStopsReading) {
    QTemporaryDir dir;
    Fixture f;
    f.db.paths = DatabasePaths::in_folder(dir.path().toStdString());
    const int opcodes[] = {10,  20,  30,  40,  50,  60,  70,  80,  90,  100, 110, 120, 130, 140,
                           150, 160, 170, 180, 190, 200, 210, 220, 230, 240, 250, 260, 270};
    std::size_t largest = 0;
    for (int opcode : opcodes) {
        const RequestHeader header = request(opcode);
        const std::size_t length = f.dispatcher.request_length(header);
        ASSERT_GE(length, sizeof(RequestHeader)) << opcode;
        largest = std::max(largest, length);
        const std::string whole = bytes(header) + std::string(length - sizeof(RequestHeader), '\0');

        // Every byte the listener waits for is read, and none is missing.
        MemoryStream stream(whole);
        f.log.clear();
        f.dispatcher.serve(stream);
        EXPECT_EQ(stream.pos, whole.size()) << opcode;
        EXPECT_EQ(f.log.find(kReceiveErrorText), std::string::npos) << opcode;

        // One byte short: the operation does not run.
        if (length > sizeof(RequestHeader)) {
            EXPECT_EQ(f.serve(whole.substr(0, whole.size() - 1)), "") << opcode;
            EXPECT_NE(f.log.find(kReceiveErrorText), std::string::npos) << opcode;
        }
    }
    EXPECT_EQ(largest, kLargestRequest);

    // A header that is refused on its own is a whole request: nothing after it is waited for.
    EXPECT_EQ(f.dispatcher.request_length(request(SET_INVOICE_CUSTOMER, "stockavelle client 1.0", 99)),
              sizeof(RequestHeader));
    EXPECT_EQ(f.dispatcher.request_length(request(SET_INVOICE_CUSTOMER, "someone else")), sizeof(RequestHeader));
    EXPECT_EQ(f.dispatcher.request_length(request(15)), sizeof(RequestHeader));
}
