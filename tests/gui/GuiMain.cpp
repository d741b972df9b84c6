#include <QApplication>

#include <gtest/gtest.h>

#include "platform/qt/RuntimeDirectory.h"

// The widgets need one QApplication for the whole test program.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    velinor::platform::qt::PrepareRuntimeDirectory();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
