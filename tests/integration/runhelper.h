#pragma once

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "comm/deviceoperation.h"
#include "io/operationrunner.h"

namespace kvr::test {

struct OpRun {
    bool finished = false;
    core::Outcome outcome;
    std::vector<std::string> statuses;
    std::vector<core::Message> messages;
    std::vector<core::ConnectionEffect> effects;
    qint64 elapsedMs = 0;

    std::string lastStatus() const { return statuses.empty() ? std::string() : statuses.back(); }
};

// Runs one operation to its end through the runner, answering questions with `answerer`
// (default: No). The test's own loop stands in for the program's event loop.
inline OpRun runOperation(io::Link& link, std::unique_ptr<core::DeviceOperation> op,
                          std::function<core::Answer(const core::Question&)> answerer = {}, int limitMs = 30000)
{
    OpRun run;
    io::OperationRunner runner;
    runner.setLink(&link);
    QEventLoop loop;
    QObject::connect(&runner, &io::OperationRunner::statusChanged,
                     [&](const QString& t) { run.statuses.push_back(t.toStdString()); });
    QObject::connect(&runner, &io::OperationRunner::messageRequested,
                     [&](const core::Message& m) { run.messages.push_back(m); });
    QObject::connect(&runner, &io::OperationRunner::connectionEffect,
                     [&](core::ConnectionEffect e) { run.effects.push_back(e); });
    QObject::connect(&runner, &io::OperationRunner::questionAsked, [&](const core::Question& q) {
        core::Answer a;
        if (answerer) a = answerer(q);
        QTimer::singleShot(0, &runner, [&runner, a] { runner.answer(a); }); // answered later, as a window would
    });
    QObject::connect(&runner, &io::OperationRunner::finished, [&](const core::Outcome& o) {
        run.finished = true;
        run.outcome = o;
        loop.quit();
    });
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &loop, &QEventLoop::quit);
    guard.start(limitMs);
    QElapsedTimer clock;
    clock.start();
    if (runner.start(std::move(op)) && !run.finished) loop.exec();
    run.elapsedMs = clock.elapsed();
    return run;
}

} // namespace kvr::test
