// main() of the Qt test executables: a QApplication exists for the whole run of the tests.

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // CTest sets the offscreen platform; a test run by hand or listed by CMake gets it too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
