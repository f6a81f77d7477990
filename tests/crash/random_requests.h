// Random changing requests for the kill harness: each is drawn once from the state of the reference server,
// then sent the same way to any server (it fetches the copies it needs from the server it runs on), so that
// two servers in the same state answer it alike and end in the same state.
#pragma once

#include <functional>
#include <random>
#include <string>

#include "client/api/server_api.h"

namespace stk::crash {

struct Request {
    std::string name;
    // The answer's result code, or client::kTransportFailed when the exchange broke off.
    std::function<int(client::ServerApi&)> send;
};

class RequestMaker {
public:
    explicit RequestMaker(unsigned seed) : random_(seed) {}

    // The next request, chosen from what `reference` holds now. Invoices get their date before anything else
    // happens to them, so that no answer depends on the clock of the server that gives it.
    Request next(client::ServerApi& reference);

private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    std::string some_item(client::ServerApi& reference);

    std::mt19937 random_;
    int next_item_ = 1;
    int next_message_ = 1;
};

}  // namespace stk::crash
