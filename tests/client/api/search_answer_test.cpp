// How the request layer reads a SEARCH_INVENTORY answer that is too long or breaks off, against a scripted peer.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <thread>

#include "client/api/server_api.h"
#include "common/records.h"
#include "common/text_field.h"
#include "platform/local_pipe.h"
#include "tests/support/server_process.h"

using namespace stk;

namespace {

// Serves one connection: reads the request header, sends `answer`, then hangs up.
class ScriptedPeer {
public:
    ScriptedPeer(const std::string& name, std::string answer) : answer_(std::move(answer)) {
        platform::ensure_pipe_folder();
        path_ = platform::local_pipe_path(name);
        ::unlink(path_.c_str());
        fd_ = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path_.c_str(), sizeof(address.sun_path) - 1);
        ok_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(fd_, 1) == 0;
        if (ok_) thread_ = std::thread([this] { serve(); });
    }
    ~ScriptedPeer() {
        if (thread_.joinable()) thread_.join();
        ::close(fd_);
        ::unlink(path_.c_str());
    }
    bool ok() const { return ok_; }

private:
    void serve() {
        const int client = ::accept(fd_, nullptr, nullptr);
        if (client < 0) return;
        char header[sizeof(RequestHeader)];
        std::size_t got = 0;
        while (got < sizeof header) {
            const ssize_t n = ::read(client, header + got, sizeof header - got);
            if (n <= 0) break;
            got += static_cast<std::size_t>(n);
        }
        std::size_t sent = 0;
        while (sent < answer_.size()) {
            const ssize_t n = ::send(client, answer_.data() + sent, answer_.size() - sent, MSG_NOSIGNAL);
            if (n <= 0) break;
            sent += static_cast<std::size_t>(n);
        }
        ::close(client);
    }

    std::string answer_, path_;
    int fd_ = -1;
    bool ok_ = false;
    std::thread thread_;
};

std::string answer_header(int count) {
    ResponseHeader r{};
    r.opcode = SEARCH_INVENTORY;
    r.result = 1;
    r.value = count;
    return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

std::string packed(std::string_view number, std::string_view description) {
    PackedItemLengths head{};
    head.lengths[0] = static_cast<std::uint8_t>(number.size());
    head.lengths[1] = static_cast<std::uint8_t>(description.size());
    return std::string(reinterpret_cast<const char*>(&head), sizeof head) + std::string(number) +
           std::string(description);
}

}  // namespace

TEST(SearchAnswer, BrokenAnswerKeepsWhatArrivedAndTooManyReadsNothing) {
    {
        const std::string name = test::unique_server_name("broken");
        // Three announced, one whole item, then half of the next one's length block.
        ScriptedPeer peer(name, answer_header(3) + packed("HM-16", "CLAW HAMMER") + std::string(7, '\0'));
        ASSERT_TRUE(peer.ok());
        client::ServerApi api(client::ServerAddress{name, ""}, "stockavelle client 1.0");
        std::vector<InventoryRecord> items;
        EXPECT_EQ(api.search_inventory("HM", &items, 100), client::kTransportFailed);
        ASSERT_EQ(items.size(), 1u);
        EXPECT_EQ(field(items[0].item_number), "HM-16");
        EXPECT_EQ(field(items[0].description), "CLAW HAMMER");
    }
    {
        const std::string name = test::unique_server_name("toomany");
        ScriptedPeer peer(name, answer_header(3) + packed("A", "1") + packed("B", "2") + packed("C", "3"));
        ASSERT_TRUE(peer.ok());
        client::ServerApi api(client::ServerAddress{name, ""}, "stockavelle client 1.0");
        std::vector<InventoryRecord> items{InventoryRecord{}};
        EXPECT_EQ(api.search_inventory("*", &items, 2), 1);
        EXPECT_TRUE(items.empty());
    }
    {
        // A negative count is a huge one when taken unsigned: too many, not a failure to read.
        const std::string name = test::unique_server_name("negative");
        ScriptedPeer peer(name, answer_header(-1));
        ASSERT_TRUE(peer.ok());
        client::ServerApi api(client::ServerAddress{name, ""}, "stockavelle client 1.0");
        std::vector<InventoryRecord> items;
        EXPECT_EQ(api.search_inventory("*", &items, 100000), 1);
        EXPECT_TRUE(items.empty());
    }
}

namespace {

std::string invoice_answer_header(int count) {
    ResponseHeader r{};
    r.opcode = SEARCH_INVOICES;
    r.result = 1;
    r.value = count;
    return std::string(reinterpret_cast<const char*>(&r), sizeof r);
}

std::string invoice_row(std::int32_t index, const std::string& text) {
    InvoiceSearchRowHead head{index, 1, static_cast<std::int32_t>(text.size() + 1)};
    return std::string(reinterpret_cast<const char*>(&head), sizeof head) + text + std::string(1, '\0');
}

}  // namespace

TEST(SearchAnswer, InvoiceAnswerKeepsWhatArrivedAndStopsAtTheRowLimit) {
    {
        const std::string name = test::unique_server_name("brokeninvoices");
        // Three announced, one whole row, then a row whose text breaks off.
        ScriptedPeer peer(name,
                          invoice_answer_header(3) + invoice_row(4, "1001\tA") + invoice_row(5, "1002").substr(0, 15));
        ASSERT_TRUE(peer.ok());
        client::ServerApi api(client::ServerAddress{name, ""}, "stockavelle client 1.0");
        std::vector<client::InvoiceSearchRow> rows;
        EXPECT_EQ(api.search_invoices("", 1, &rows), client::kTransportFailed);
        ASSERT_EQ(rows.size(), 1u);
        EXPECT_EQ(rows[0].invoice_index, 4);
        EXPECT_EQ(rows[0].text, "1001\tA");
    }
    {
        const std::string name = test::unique_server_name("invoicelimit");
        ScriptedPeer peer(name,
                          invoice_answer_header(3) + invoice_row(1, "A") + invoice_row(2, "B") + invoice_row(3, "C"));
        ASSERT_TRUE(peer.ok());
        client::ServerApi api(client::ServerAddress{name, ""}, "stockavelle client 1.0");
        std::vector<client::InvoiceSearchRow> rows;
        EXPECT_EQ(api.search_invoices("", 0, &rows, 2), 1);
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[1].text, "B");
    }
}
