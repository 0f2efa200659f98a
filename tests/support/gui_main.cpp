// Test entry point: one guarded QApplication on the offscreen platform and the
// application object, as the program has them.
#include <gtest/gtest.h>

#include <QLocale>

#include "toolkit/application.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    TGuardedApplication app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    TApplication application;
    return RUN_ALL_TESTS();
}
