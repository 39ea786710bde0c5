// main() of the Qt test executables: the program's application object, with its font, exists for
// the whole run of the tests.

#include "application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // CTest sets the offscreen platform; a test run by hand or listed by CMake gets it too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    TApplication app(argc, argv);
    InstallProgramFont();
    return RUN_ALL_TESTS();
}
