// The suggested order and its factor search.
//
// The order is defined by raising a factor f in steps of 0.0001 (f := f + 0.0001 in double arithmetic) until
// the order value reaches the requested value. Done literally that takes hours for large orders and never
// ends when the value cannot be reached. Here the same first step is found by a left-first bisection over
// the step numbers: for a range of steps, an upper bound of the order value over the whole range decides
// whether the range can hold a step that reaches the value. Each candidate's quantity is piecewise monotone
// in f, so the bound comes from the quantities at the ends of the range, and it equals the order value at
// the range's end wherever the order value grows with f; the bisection then needs two evaluations per level.
// Every hit is confirmed with the very evaluation that the stepping would make, so the answer is the
// stepping's own wherever the stepping ends. Where it would not end, the search stops at the step from
// which the order no longer changes. Values that fall while others rise (negative costs, negative stock
// with negative sales) can make the bound loose; the bisection then has a budget, after which the search
// steps plainly within the same amount of work and stops there.
#include "server/handlers/suggested_order.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/number_text.h"
#include "common/text_field.h"

namespace stk::server {

namespace {

constexpr double kFactorStep = 0.0001;
constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

// The factor after `first_step + j` steps is first_factor + j * increment, exactly, for 0 <= j <= length.
struct FactorSegment {
    std::int64_t first_step;
    double first_factor;
    double increment;
    std::int64_t length;
};

struct FactorTable {
    std::vector<FactorSegment> segments;
    std::int64_t last_step = 0;  // the step at which the factor stops growing
    double last_factor = 0.0;
};

// Inside one binade every double is a multiple of the binade's unit, so f + 0.0001 rounds to f plus the same
// increment for every f of the binade, as long as the sum stays inside the binade and 0.0001 is not exactly
// half a unit (then the tie goes to the even neighbour and the increment alternates; those steps are taken
// one by one, as are the steps that cross into the next binade).
FactorTable build_factor_table() {
    FactorTable t;
    std::int64_t n = 0;
    double f = 0.0;
    for (;;) {
        const double next = f + kFactorStep;
        if (next == f) break;
        const double increment = next - f;
        std::int64_t length = 1;
        if (f > 0.0) {
            int exponent = 0;
            std::frexp(f, &exponent);
            const double top = std::ldexp(1.0, exponent);
            const double unit = std::ldexp(1.0, exponent - 53);
            const bool tie = std::fmod(kFactorStep, unit) == unit / 2;
            if (!tie) {
                const double room = std::floor((top - f) / increment);
                if (room > 3.0) length = static_cast<std::int64_t>(room) - 2;
            }
        }
        t.segments.push_back({n, f, increment, length});
        f = f + static_cast<double>(length) * increment;
        n += length;
    }
    t.last_step = n;
    t.last_factor = f;
    return t;
}

const FactorTable& factor_table() {
    static const FactorTable table = build_factor_table();
    return table;
}

// One function for the quantity before the minimum rule, never inlined, so that every caller (the stepping's
// evaluation and the bounds alike) gets bit-identical results whatever the compiler does with f * s - q.
[[gnu::noinline]] double raw_quantity(const OrderCandidate& c, double f) {
    return round_half_away(f * c.sold - c.stock);
}

[[gnu::noinline]] double small_stock_quantity(double f) {
    const double x = round_half_away(f);
    return x < 1 ? 1.0 : x;
}

double ordered_value(double x, double unit_cost) { return x > 0 ? x * unit_cost : 0.0; }

// An upper bound of the order value over every step in [first, last].
double order_value_bound(const std::vector<OrderCandidate>& candidates, double fa, double fb) {
    double h = 0.0;
    for (const OrderCandidate& c : candidates) {
        // raw_quantity is monotone in f (rising for s >= 0, falling for s < 0), small_stock_quantity rises.
        const double ra = raw_quantity(c, fa);
        const double rb = raw_quantity(c, fb);
        double low = std::min(ra, rb);
        double high = std::max(ra, rb);
        if (c.stock < 1) {
            if (ra < 1 && rb < 1) {
                low = small_stock_quantity(fa);
                high = small_stock_quantity(fb);
            } else if (!(ra >= 1 && rb >= 1)) {
                low = 1.0;
                high = std::max(high, small_stock_quantity(fb));
            }
        }
        // The top-up to the minimum only ever raises the quantity, and only to m - q.
        if (c.has_minimum) high = std::max(high, c.minimum - c.stock);
        h += c.unit_cost >= 0 ? ordered_value(high, c.unit_cost) : ordered_value(low, c.unit_cost);
    }
    return h;
}

struct StepSearch {
    const std::vector<OrderCandidate>& candidates;
    double requested;
    std::int64_t ranges_left;  // the bisection's budget; only mixed rising and falling values can use it up
    bool exhausted = false;
};

// First step of [first, last] at which the order value is no longer below the requested value, or -1.
std::int64_t first_reaching_step(StepSearch& s, std::int64_t first, std::int64_t last) {
    if (s.exhausted || s.ranges_left-- <= 0) {
        s.exhausted = true;
        return -1;
    }
    if (order_value_bound(s.candidates, factor_at_step(first), factor_at_step(last)) < s.requested) return -1;
    if (first == last) return order_value(s.candidates, factor_at_step(first)) < s.requested ? -1 : first;
    const std::int64_t middle = first + (last - first) / 2;
    const std::int64_t left = first_reaching_step(s, first, middle);
    if (left >= 0 || s.exhausted) return left;
    return first_reaching_step(s, middle + 1, last);
}

// First step of [1, last_growing_step()] from which the candidate's quantity stays as it is, or kNever.
std::int64_t settling_step(const OrderCandidate& c) {
    if (c.unit_cost == 0) return 1;  // its quantity never changes the order value
    if (c.sold > 0) return kNever;
    if (c.stock < 1) {
        // Falling or flat sales leave it on (or bring it to) the rule for small stock, which rises with f.
        if (c.sold < 0 || raw_quantity(c, 1.0) < 1) return kNever;
        return 1;
    }
    if (c.sold == 0) return 1;
    // Falling sales with stock: f * s - q stays at -1 or below, so without a minimum it is never ordered;
    // with one, the quantity falls until the top-up to the minimum takes over for good.
    if (!c.has_minimum) return 1;
    auto topped_up = [&](std::int64_t step) {
        return raw_quantity(c, factor_at_step(step)) + c.stock < c.minimum;
    };
    const std::int64_t end = last_growing_step();
    if (!topped_up(end)) return kNever;
    std::int64_t lo = 1, hi = end;
    while (lo < hi) {
        const std::int64_t mid = lo + (hi - lo) / 2;
        if (topped_up(mid)) {
            hi = mid;
        } else {
            lo = mid + 1;
        }
    }
    return lo;
}

}  // namespace

double round_half_away(double v) {
    const double whole = std::trunc(v);
    const double fraction = v - whole;
    if (v > 0) return fraction >= 0.5 ? whole + 1 : whole;
    return fraction <= -0.5 ? whole - 1 : whole;
}

std::vector<OrderCandidate> order_candidates(const ServerDatabase& db, std::string_view category) {
    std::vector<OrderCandidate> out;
    const std::string filter = upper_1252(category);
    for (int i = 1; i <= db.inventory.count; ++i) {
        const InventoryRecord& r = db.inventory[i];
        if (!filter.empty() && upper_1252(field(r.category)).find(filter) == std::string::npos) continue;
        OrderCandidate c;
        c.slot = i;
        if (!is_number(field(r.sold_quantity), &c.sold) || !is_number(field(r.quantity), &c.stock)) continue;
        c.has_minimum = is_number(field(r.minimum_quantity), &c.minimum);
        if (c.has_minimum) {
            if (c.minimum < 0.0001 || (c.stock >= c.minimum && c.sold < 0.0001)) continue;
        } else if (c.stock > 0 && c.sold < 0.0001) {
            continue;
        }
        if (!is_number(field(r.standard_unit_cost), &c.unit_cost)) continue;
        // "inf" and "nan" pass the number check, but nobody can order them.
        if (!std::isfinite(c.sold) || !std::isfinite(c.stock) || !std::isfinite(c.unit_cost) ||
            (c.has_minimum && !std::isfinite(c.minimum))) {
            continue;
        }
        out.push_back(c);
    }
    return out;
}

double suggested_quantity(const OrderCandidate& c, double f) {
    double x = raw_quantity(c, f);
    if (c.stock < 1 && x < 1) x = small_stock_quantity(f);
    if (c.has_minimum && x + c.stock < c.minimum) x = c.minimum - c.stock;
    return x;
}

double order_value(const std::vector<OrderCandidate>& candidates, double f) {
    double h = 0.0;
    for (const OrderCandidate& c : candidates) h += ordered_value(suggested_quantity(c, f), c.unit_cost);
    return h;
}

double factor_at_step(std::int64_t step) {
    const FactorTable& t = factor_table();
    if (step <= 0) return 0.0;
    if (step >= t.last_step) return t.last_factor;
    auto it = std::upper_bound(t.segments.begin(), t.segments.end(), step,
                               [](std::int64_t s, const FactorSegment& seg) { return s < seg.first_step; });
    const FactorSegment& seg = *(it - 1);
    return seg.first_factor + static_cast<double>(step - seg.first_step) * seg.increment;
}

std::int64_t last_growing_step() { return factor_table().last_step; }

OrderFactor find_order_factor(const std::vector<OrderCandidate>& candidates, double requested_value) {
    OrderFactor result;
    double costs = 0.0;
    for (const OrderCandidate& c : candidates) costs += c.unit_cost;
    // The stepping starts from an order value of 0 and only steps while that is below the requested value.
    if (!(costs > 0.001) || !(0.0 < requested_value)) return result;

    std::int64_t settled = 1;
    for (const OrderCandidate& c : candidates) settled = std::max(settled, settling_step(c));
    if (settled == kNever) settled = last_growing_step();

    // Work limits in candidate evaluations: far above what rising order values need (two ranges per halving).
    const std::int64_t per_range = std::max<std::int64_t>(1, static_cast<std::int64_t>(candidates.size()));
    StepSearch search{candidates, requested_value, std::max<std::int64_t>(4000, 20000000 / per_range)};
    std::int64_t step = first_reaching_step(search, 1, settled);
    if (search.exhausted) {
        // Only candidates whose values fall while others rise (negative costs, or negative stock with negative
        // sales) get here. Step plainly, as far as the same work allows, and stop there at the latest.
        const std::int64_t cap = std::min(settled, std::max<std::int64_t>(10000, 20000000 / per_range));
        step = -1;
        for (std::int64_t n = 1; n <= cap && step < 0; ++n) {
            if (!(order_value(candidates, factor_at_step(n)) < requested_value)) step = n;
        }
        if (step < 0) settled = cap;
    }
    if (step < 0) {
        // The stepping would not end: from `settled` on the order stays as it is (or, after the plain
        // stepping above, this is as far as the search goes).
        step = settled;
        result.reached = false;
    }
    result.step = step;
    result.factor = factor_at_step(step);
    return result;
}

}  // namespace stk::server
