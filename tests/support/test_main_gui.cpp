#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>
#include <cstdlib>

#include "tests/support/server_process.h"

int main(int argc, char** argv) {
    // Test discovery runs this binary at build time too, where no display may exist.
    if (!std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    // Every test of this process finds and makes sockets in a folder of its own, never in the shared one
    // where the user's own servers live.
    stk::test::test_pipe_folder();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
