// The suggested order: which items to re-order and how many, scaled by one factor on past sales so that the
// order reaches a requested value.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "server/db/database.h"

namespace stk::server {

struct OrderCandidate {
    int slot = 0;
    double sold = 0.0;      // s
    double stock = 0.0;     // q
    double minimum = 0.0;   // m, when has_minimum
    bool has_minimum = false;
    double unit_cost = 0.0;  // c
};

// Rounds half away from zero (2.5 -> 3, -2.5 -> -3), keeping the whole number in a double.
double round_half_away(double v);

// The candidates of the inventory, in slot order, for a category filter ("" = all).
std::vector<OrderCandidate> order_candidates(const ServerDatabase& db, std::string_view category);

// The quantity to order of one candidate at factor f; ordered only when it is above 0.
double suggested_quantity(const OrderCandidate& c, double f);

// The order value at factor f: the sum, in slot order, of quantity x unit cost over the ordered candidates.
double order_value(const std::vector<OrderCandidate>& candidates, double f);

// The factor is raised 0.0001 at a time, each step adding 0.0001 to the previous factor in double arithmetic.
// Factor after `step` such additions, computed without making them one by one.
double factor_at_step(std::int64_t step);
// The last step that still changes the factor: from there on, adding 0.0001 leaves it as it is.
std::int64_t last_growing_step();

struct OrderFactor {
    std::int64_t step = 0;  // number of 0.0001 steps taken
    double factor = 0.0;
    bool reached = true;  // false when the order value can never reach the requested value
};

// The factor at the first step whose order value reaches `order_value` (0 steps when nothing is asked for or
// the candidates' costs sum to 0.001 or less). When no step reaches it, the factor at the step from which
// the order no longer changes.
OrderFactor find_order_factor(const std::vector<OrderCandidate>& candidates, double requested_value);

}  // namespace stk::server
