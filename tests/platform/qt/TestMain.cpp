#include "tests/platform/qt/TestApplication.h"

#include <gtest/gtest.h>

namespace {
platform::qt::QtApplication* application = nullptr;
}

platform::qt::QtApplication& TestApplication() {
    return *application;
}

int main(int argc, char** argv) {
    // Listing the tests at build time runs without ctest's environment.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::qt::QtApplication app(argc, argv, "C:\\setup\\launcher.exe");
    application = &app;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
