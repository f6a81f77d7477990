// Reads one request from a connection, checks it, runs its operation and writes the answer; then, after the
// client is gone, brings the database files back in line with memory when a write failed.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "common/protocol.h"
#include "common/records.h"
#include "server/db/database.h"
#include "server/transport/byte_stream.h"

namespace stk::server {

inline constexpr std::string_view kReceiveError = "An error occured while receiving data.\r\n";
inline constexpr std::string_view kSendError = "An error occured while sending data.\r\n";

// The largest request there is: a header and two invoices (SET_INVOICE_CUSTOMER).
inline constexpr std::size_t kLargestRequest = sizeof(RequestHeader) + 2 * sizeof(InvoiceRecord);

// Answers the save-with-retry question for a failed save: true = Retry, false = Cancel.
using AskRetryFn = std::function<bool(std::string_view failure_text)>;

struct DispatcherConfig {
    std::string client_name{kDefaultClientName};  // the ClientName every request must carry
    AskRetryFn ask_retry;                         // unset: Cancel
};

class Dispatcher {
public:
    Dispatcher(ServerDatabase& db, DispatcherConfig config) : db_(db), config_(std::move(config)) {}

    DispatcherConfig& config() { return config_; }

    // How many bytes the request that starts with `header` takes in all: the header and the blocks its
    // operation reads. A header that is refused on its own (version, client name, or an opcode that names no
    // operation) is a whole request by itself, so it is refused without waiting for anything after it.
    std::size_t request_length(const RequestHeader& header) const;

    // A line for the activity log, from the transport around the dispatcher.
    void log(std::string_view text) { db_.log_line(text); }

    // Serves one request to its end: logs "Processing client request...", answers (or refuses) the request,
    // disconnects, runs the saves a failed write calls for, and logs "Waiting for a client request". A request
    // that broke off (the stream runs out of bytes) is logged as unreadable and not carried out.
    void serve(ByteStream& stream);

    // The request part alone: reads, checks, runs and answers. Returns the answer's result code, or -1 when
    // no answer was written.
    int dispatch_request(ByteStream& stream);

    bool read_exactly(ByteStream& stream, void* buffer, std::size_t n);
    void write_block(ByteStream& stream, const void* buffer, std::size_t n);

private:
    ServerDatabase& db_;
    DispatcherConfig config_;
};

// Saves inventory (with its cost layers), invoices and messages whole, asking Retry/Cancel on each failure.
// A database given up stays marked unsaved (ServerDatabase::*_unsaved); a saved one is unmarked.
void save_all_databases(ServerDatabase& db, const AskRetryFn& ask_retry);

// One attempt for every database marked unsaved, logging each outcome; unmarks those saved.
void save_unsaved_databases(ServerDatabase& db);

// The last thing before the server ends (SIGTERM, window closed): one more attempt for every unsaved database.
// true when every file holds everything, and the journal is emptied; false when something is still unsaved,
// after logging what, and whether the journal holds it for the next start.
bool save_before_exit(ServerDatabase& db);

}  // namespace stk::server
