#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <unistd.h>

#include "sim/simulator.h"

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] auto written = ::write(g_signalPipe[1], &byte, 1);
}

// SIGINT and SIGTERM end the event loop, so the temporary state folder is removed.
void quitOnSignals(QCoreApplication& app)
{
    if (::pipe(g_signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &app);
    QObject::connect(notifier, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    auto options = kvr::sim::parseSimOptions(app.arguments().mid(1));
    if (!options) {
        std::fprintf(stderr, "kvr610-sim: %s\n%s", options.message().c_str(), qPrintable(kvr::sim::simUsage()));
        return 2;
    }
    if (options->help) {
        std::fputs(qPrintable(kvr::sim::simUsage()), stdout);
        return 0;
    }
    kvr::sim::Simulator simulator(*options);
    if (auto started = simulator.start(); !started) {
        std::fprintf(stderr, "kvr610-sim: %s\n", started.message().c_str());
        return 1;
    }
    for (const QString& line : simulator.endpoints())
        std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
    quitOnSignals(app);
    return app.exec();
}
