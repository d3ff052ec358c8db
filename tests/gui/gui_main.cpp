#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "widgets/theme.h"

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    // Whatever a test forgets to aim elsewhere stays out of the user's own settings and data.
    QStandardPaths::setTestModeEnabled(true);
    kvr::gui::theme::apply(app);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
