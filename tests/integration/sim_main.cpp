#include <QCoreApplication>
#include <gtest/gtest.h>

// Weak, so that another main for this test program (one that also sets up the application
// object) takes precedence; the simulator's tests create one on demand if none exists.
__attribute__((weak)) int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
