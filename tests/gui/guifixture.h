#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "app/application.h"
#include "app/devicecontroller.h"
#include "app/documentcontroller.h"
#include "app/librarymaker.h"
#include "app/modulefinder.h"
#include "app/settings.h"
#include "scripted.h"
#include "windows/windowset.h"

namespace kvr::gui::test {

// Runs the event loop until the condition holds or the time is up.
inline bool waitFor(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QEventLoop loop;
        QTimer::singleShot(2, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

template <typename T> T* find(QWidget* root, const char* name)
{
    T* w = root->findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Lets the event loop run for a while.
inline void pump(int ms = 20)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// The program with its windows, scripted boxes and dialogs.
class GuiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        // Settings and the recovery copy of every test live in its own folder.
        settings = std::make_unique<Settings>(path(QStringLiteral("settings.ini")), path(QStringLiteral("recovery")));
        app = std::make_unique<Application>(presenter, dialogs, *settings);
        windows = std::make_unique<WindowSet>(*app);
    }
    void TearDown() override
    {
        windows.reset();
        app.reset();
        settings.reset();
    }
    QString path(const QString& name) const { return folder.filePath(name); }

    ScriptedPresenter presenter;
    ScriptedDialogs dialogs;
    std::unique_ptr<Settings> settings;
    std::unique_ptr<Application> app;
    std::unique_ptr<WindowSet> windows;
    QTemporaryDir folder;
};

} // namespace kvr::gui::test
