// GoogleTest with a QApplication around it; CTest runs it offscreen.

#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char* argv[]) {
    // CTest sets the platform; listing the tests at build time needs it too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
