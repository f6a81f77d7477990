#include <gtest/gtest.h>

#include <QCoreApplication>

#include "tests/support/server_process.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // Every test of this process finds and makes sockets in a folder of its own, never in the shared one
    // where the user's own servers live.
    stk::test::test_pipe_folder();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
