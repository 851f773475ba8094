// SPDX-License-Identifier: MIT
#include <QCoreApplication>
#include <gtest/gtest.h>

// The socket tests run the service on this thread's event loop.
int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
