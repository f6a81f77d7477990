#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <random>
#include <vector>

#include "server/handlers/suggested_order.h"

namespace stk::server::testing {
namespace {

struct Stepped {
    std::int64_t step;
    double factor;
};

// The factor search as the order value defines it: 0.0001 at a time, recomputing everything at every step.
std::optional<Stepped> plain_stepping(const std::vector<OrderCandidate>& candidates, double requested,
                                      std::int64_t max_steps) {
    double costs = 0.0;
    for (const OrderCandidate& c : candidates) costs += c.unit_cost;
    double f = 0.0, h = 0.0;
    std::int64_t steps = 0;
    if (costs > 0.001) {
        while (h < requested) {
            if (steps == max_steps) return std::nullopt;
            f += 0.0001;
            ++steps;
            h = order_value(candidates, f);
        }
    }
    return Stepped{steps, f};
}

TEST(SuggestedOrder, RoundsHalfAwayFromZeroWithoutWrapping) {
    EXPECT_EQ(round_half_away(2.5), 3.0);
    EXPECT_EQ(round_half_away(2.4999), 2.0);
    EXPECT_EQ(round_half_away(-2.5), -3.0);
    EXPECT_EQ(round_half_away(-0.49), 0.0);
    EXPECT_EQ(round_half_away(-0.5), -1.0);
    EXPECT_EQ(round_half_away(0.0), 0.0);
    EXPECT_EQ(round_half_away(5000000000.5), 5000000001.0);
}

TEST(SuggestedOrder, FactorAtStepIsTheRepeatedSum) {
    double f = 0.0;
    for (std::int64_t n = 1; n <= 3000000; ++n) {
        f += 0.0001;
        ASSERT_EQ(factor_at_step(n), f) << "step " << n;
    }
    // Far out, each step still is the previous factor plus 0.0001, rounded.
    std::mt19937_64 random(7);
    const std::int64_t last = last_growing_step();
    std::uniform_real_distribution<double> exponent(0.0, std::log2(static_cast<double>(last)));
    for (int i = 0; i < 20000; ++i) {
        const auto n = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::exp2(exponent(random))));
        ASSERT_EQ(factor_at_step(n - 1) + 0.0001, factor_at_step(n)) << "step " << n;
    }
    EXPECT_NE(factor_at_step(last - 1), factor_at_step(last));
    EXPECT_EQ(factor_at_step(last) + 0.0001, factor_at_step(last));
    EXPECT_EQ(factor_at_step(last + 5), factor_at_step(last));
}

TEST(SuggestedOrder, SearchGivesTheSteppingAnswer) {
    std::mt19937 random(12345);
    auto pick = [&](std::initializer_list<double> values) {
        std::uniform_int_distribution<std::size_t> d(0, values.size() - 1);
        return *(values.begin() + d(random));
    };
    const std::int64_t cap = 40000;
    int compared = 0;
    for (int round = 0; round < 400; ++round) {
        std::vector<OrderCandidate> candidates;
        const int n = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < n; ++i) {
            OrderCandidate c;
            c.slot = i + 1;
            c.sold = pick({0, 0, 0.5, 1, 2.5, 3, 7, 12.25, -1, -4});
            c.stock = pick({0, 0, 0.5, 1, 4, 10, -2, -0.5});
            c.has_minimum = random() % 3 == 0;
            c.minimum = pick({1, 5, 12.5, 20});
            c.unit_cost = pick({1, 2.25, 0.1, 10, 0});
            candidates.push_back(c);
        }
        const double requested = pick({0, 0.5, 3, 17.25, 60, 150, 400});
        const OrderFactor found = find_order_factor(candidates, requested);
        const std::optional<Stepped> reference = plain_stepping(candidates, requested, cap);
        if (reference) {
            ++compared;
            ASSERT_TRUE(found.reached) << "round " << round;
            ASSERT_EQ(found.step, reference->step) << "round " << round;
            ASSERT_EQ(found.factor, reference->factor) << "round " << round;
        } else if (found.reached) {
            // The stepping gave up at its cap, so a step it had reached before would be a wrong answer.
            ASSERT_GT(found.step, cap) << "round " << round;
            ASSERT_GE(order_value(candidates, found.factor), requested);
        } else {
            // Never reached: from the answer's step on, the order no longer changes.
            const double h = order_value(candidates, found.factor);
            ASSERT_LT(h, requested);
            for (std::int64_t later : {found.step + 1, found.step + 12345, found.step * 3 + 1000000}) {
                ASSERT_EQ(order_value(candidates, factor_at_step(later)), h) << "round " << round;
            }
        }
    }
    EXPECT_GT(compared, 200);
}

TEST(SuggestedOrder, FallingValuesStillEnd) {
    // A negative cost cancels a rising value: the order value never grows, and the search still ends.
    std::vector<OrderCandidate> candidates(3);
    candidates[0] = {.slot = 1, .sold = 1, .stock = 0, .unit_cost = 1.5};
    candidates[1] = {.slot = 2, .sold = 1, .stock = 0.5, .unit_cost = -1.5};
    candidates[2] = {.slot = 3, .sold = 0, .stock = 5, .minimum = 6, .has_minimum = true, .unit_cost = 1};
    const OrderFactor found = find_order_factor(candidates, 1000);
    EXPECT_FALSE(found.reached);
    // Where the stepping does end (at f = 1.5, where the two quantities first differ), the answer is the
    // stepping's.
    const OrderFactor reachable = find_order_factor(candidates, 2.5);
    const std::optional<Stepped> reference = plain_stepping(candidates, 2.5, 1000000);
    ASSERT_TRUE(reference);
    EXPECT_EQ(reachable.step, reference->step);
}

TEST(SuggestedOrder, LargeOrderValuesAreFoundWithoutStepping) {
    std::vector<OrderCandidate> candidates;
    for (int i = 0; i < 2000; ++i) {
        OrderCandidate c;
        c.slot = i + 1;
        c.sold = 1 + i % 37;
        c.stock = i % 5;
        c.has_minimum = i % 7 == 0;
        c.minimum = 3;
        c.unit_cost = 0.01 * (1 + i % 11);
        candidates.push_back(c);
    }
    // About 10^9 steps of 0.0001 for the stepping.
    const double requested = 5e7;
    const OrderFactor found = find_order_factor(candidates, requested);
    ASSERT_TRUE(found.reached);
    EXPECT_GT(found.step, 100000000);
    EXPECT_GE(order_value(candidates, found.factor), requested);
    EXPECT_LT(order_value(candidates, factor_at_step(found.step - 1)), requested);

    // Left blank or with costs summing to nothing, the factor stays 0.
    EXPECT_EQ(find_order_factor(candidates, 0).step, 0);
    std::vector<OrderCandidate> free_items(3);
    EXPECT_EQ(find_order_factor(free_items, 100).step, 0);
}

}  // namespace
}  // namespace stk::server::testing
