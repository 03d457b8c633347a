#include <gtest/gtest.h>

#include <QCoreApplication>

// Downloads need an application object for their event loops; no display.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
