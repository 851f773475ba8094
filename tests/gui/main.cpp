// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "app/LocalNetworkLoader.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never the user's real settings: Qt's test mode moves every standard location aside.
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("glomiecode-tests"));
    SetLocalNetworkFolder(QStringLiteral(GLOMIE_LOCALNET_DIR));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
