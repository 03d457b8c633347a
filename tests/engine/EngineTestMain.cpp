#include <gtest/gtest.h>
#include <sys/prctl.h>

#include <QApplication>

// The launcher starts games detached: they outlive the program that started them. This test
// program adopts them instead of init, so it can wait for the engines it started and end them
// by their process ids.
int main(int argc, char** argv) {
    ::prctl(PR_SET_CHILD_SUBREAPER, 1);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
