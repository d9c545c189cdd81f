// GoogleTest's entry point with a QApplication around the tests, for tests that need widgets,
// screens or an event loop.
#include <gtest/gtest.h>

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
