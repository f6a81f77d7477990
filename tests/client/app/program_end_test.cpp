// The program may end through exit() at any moment: Qt's X11 plugin calls it when the display goes away,
// while the session still holds its reserved arrays.
#include <gtest/gtest.h>

#include <cstdlib>

#include "client/app/session.h"

namespace stk::client {
namespace {

TEST(ProgramEnd, ExitWhileTheSessionHoldsItsArraysEndsWithoutACrash) {
    // A fresh process, so that the session is made before anything else reserves memory, as in the program.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            ClientSession& s = session();
            if (!s.reserve_arrays()) std::exit(2);
            std::exit(1);
        },
        ::testing::ExitedWithCode(1), "");
}

}  // namespace
}  // namespace stk::client
