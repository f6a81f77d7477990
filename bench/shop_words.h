// What the benchmarks' made-up shops are made of: a fixed pseudo-random sequence, so every run builds the same
// shop, and the words of its items.
#pragma once

namespace stk::bench {

struct Sequence {
    unsigned long long state = 0x2545F4914F6CDD1DULL;
    unsigned next(unsigned bound) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<unsigned>(state % bound);
    }
};

inline const char* const kWords[] = {"BOLT", "NUT",   "WASHER", "SCREW",  "HINGE",  "PAINT", "BRUSH",
                                     "TAPE", "GLOVE", "PIPE",   "VALVE",  "HAMMER", "SAW",   "DRILL",
                                     "BIT",  "CLAMP", "CABLE",  "SWITCH", "BULB",   "FILTER"};
inline const char* const kCategories[] = {"FASTENERS", "PAINT", "PLUMBING", "ELECTRICAL", "HAND TOOLS", "GARDEN"};

}  // namespace stk::bench
