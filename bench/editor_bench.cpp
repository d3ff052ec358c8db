// The equaliser and crossover editors offscreen at their default sizes, with the whole program's
// windows behind them (the main window follows every change): one band-marker drag step (mouse
// move -> band redesigned -> bank response -> every repaint done), one crossover side drag step,
// and the crossover window's full replot of its four outputs. A 60 Hz frame is 16.7 ms; the
// editors aim at 4 ms a step.

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

#include "app/application.h"
#include "app/documentcontroller.h"
#include "app/equalizeroperations.h"
#include "app/filedialogs.h"
#include "app/messagepresenter.h"
#include "app/viewoperations.h"
#include "config/configfile.h"
#include "config/crossoverediting.h"
#include "config/inputeqediting.h"
#include "plot/responseplot.h"
#include "widgets/theme.h"
#include "windows/crossoverwindow.h"
#include "windows/inputequalizerwindow.h"
#include "windows/outputequalizerwindow.h"
#include "windows/windowset.h"

using namespace kvr;
using namespace kvr::gui;

namespace {

class Silent final : public MessagePresenter {
public:
    core::Button show(const core::Message&) override { return core::Button::No; }
};

class NoDialogs final : public FileDialogs {
public:
    QString openFile(const FileDialogRequest&) override { return {}; }
    QStringList openFiles(const FileDialogRequest&) override { return {}; }
    QString saveFile(const FileDialogRequest&) override { return {}; }
};

// Six bands in every input bank, eighth-order sides on every output.
core::Configuration busy()
{
    using core::CrossoverSide;
    core::Configuration c;
    for (core::InputId bank : {core::InputId::A, core::InputId::B, core::InputId::M}) {
        for (int band = 1; band <= 6; ++band) {
            core::selectInputBand(c, bank, band);
            core::setInputBandType(c, bank, band, 1);
            core::setInputBandFrequency(c, bank, band, 60.0 * std::pow(2.6, band - 1));
            core::setInputBandGain(c, bank, band, band % 2 ? 4.0 : -3.0);
            core::setInputBandQ(c, bank, band, 1.5);
        }
    }
    const double edges[5] = {30, 120, 1200, 6000, 20000};
    for (int n = 1; n <= 4; ++n) {
        core::setCrossoverFamily(c, n, CrossoverSide::High, 2);
        core::setCrossoverOrder(c, n, CrossoverSide::High, 8);
        core::setCrossoverFrequency(c, n, CrossoverSide::High, edges[n]);
        core::setCrossoverFamily(c, n, CrossoverSide::Low, 2);
        core::setCrossoverOrder(c, n, CrossoverSide::Low, 8);
        core::setCrossoverFrequency(c, n, CrossoverSide::Low, edges[n - 1]);
    }
    return c;
}

struct Program {
    Silent presenter;
    NoDialogs dialogs;
    Application app{presenter, dialogs};
    WindowSet windows{app};
    QTemporaryDir folder;

    Program()
    {
        const QString file = folder.filePath(QStringLiteral("busy.kv4"));
        core::saveConfigurationFile(file.toStdString(), busy());
        app.document().openConfigurationFile(file);
    }
};

void send(ResponsePlot* plot, QEvent::Type type, double x, double y, Qt::MouseButton button, Qt::MouseButtons held)
{
    const PlotMapping map = plot->mapping();
    const QPointF p(map.toPixelX(x), map.toPixelY(y));
    QMouseEvent e(type, p, plot->mapToGlobal(p), button, held, Qt::NoModifier);
    QApplication::sendEvent(plot, &e);
}

void show(QWidget* w)
{
    w->show();
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
}

// Mouse move of a band drag to repaints done.
void BM_InputEqBandDragStep(benchmark::State& state)
{
    Program program;
    InputEqualizerWindow* w = program.windows.inputEqualizer();
    show(w);
    w->selectBank(core::InputId::A);
    QApplication::processEvents();
    ResponsePlot* plot = w->plot();
    const core::TSOS& band = core::inputBand(program.app.document().configuration(), core::InputId::A, 1);
    send(plot, QEvent::MouseButtonPress, band.Frec, band.Gain, Qt::LeftButton, Qt::LeftButton);
    if (!w->dragging()) state.SkipWithError("no drag");
    const int paintsBefore = plot->paintCount();
    double f = 60;
    for (auto _ : state) {
        f = f > 600 ? 60 : f * 1.013;
        send(plot, QEvent::MouseMove, f, 2.0 + std::sin(f), Qt::NoButton, Qt::LeftButton);
        QApplication::processEvents(); // every repaint the step asked for
    }
    send(plot, QEvent::MouseButtonRelease, f, 0, Qt::LeftButton, Qt::NoButton);
    state.counters["paints_per_step"] =
        benchmark::Counter(plot->paintCount() - paintsBefore, benchmark::Counter::kAvgIterations);
    state.counters["width"] = w->width();
    state.counters["height"] = w->height();
}
BENCHMARK(BM_InputEqBandDragStep)->Unit(benchmark::kMillisecond);

// Mouse move of a crossover side drag (the links and automatic times run) to repaints done.
void BM_CrossoverSideDragStep(benchmark::State& state)
{
    Program program;
    CrossoverWindow* w = program.windows.crossover();
    show(w);
    w->selectOutput(2);
    QApplication::processEvents();
    ResponsePlot* plot = w->plot();
    send(plot, QEvent::MouseButtonPress, 120, -3, Qt::LeftButton, Qt::LeftButton);
    if (!w->dragging()) state.SkipWithError("no drag");
    double f = 120;
    for (auto _ : state) {
        f = f > 600 ? 120 : f * 1.013;
        send(plot, QEvent::MouseMove, f, -3, Qt::NoButton, Qt::LeftButton);
        QApplication::processEvents();
    }
    send(plot, QEvent::MouseButtonRelease, f, -3, Qt::LeftButton, Qt::NoButton);
}
BENCHMARK(BM_CrossoverSideDragStep)->Unit(benchmark::kMillisecond);

// Every output's crossover changed (an undo of a change to all four): four responses computed,
// the Normal page refilled, the curves repainted over the cached frame.
void BM_CrossoverReplotFourOutputs(benchmark::State& state)
{
    Program program;
    CrossoverWindow* w = program.windows.crossover();
    show(w);
    for (auto _ : state) {
        emit program.app.document().changed(DocumentChange(Region::Crossover));
        QApplication::processEvents();
    }
}
BENCHMARK(BM_CrossoverReplotFourOutputs)->Unit(benchmark::kMillisecond);

// The view switch: the four outputs in the other view, the frame (new scale) drawn again too.
void BM_CrossoverViewSwitch(benchmark::State& state)
{
    Program program;
    CrossoverWindow* w = program.windows.crossover();
    show(w);
    bool phase = false;
    for (auto _ : state) {
        phase = !phase;
        w->setView(phase ? PlotView::Phase : PlotView::Magnitude);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_CrossoverViewSwitch)->Unit(benchmark::kMillisecond);

// Mouse move of a PEQX band drag to repaints done, with six bands in every output bank and every
// influence but SPEAKER in the view: the band redesigned, the output's total (its bank, input
// bank, crossover, level, delay) and, in the Add view (argument 1), the sum of the four outputs.
void BM_OutputEqBandDragStep(benchmark::State& state)
{
    Program program;
    DocumentController& doc = program.app.document();
    for (int n = 1; n <= 4; ++n) {
        for (int band = 1; band <= 6; ++band) {
            doc.equalizers().setOutputBandType(n, band, 1);
            doc.equalizers().setOutputBandFrequency(n, band, 50.0 * std::pow(2.8, band - 1));
            doc.equalizers().setOutputBandGain(n, band, band % 2 ? 3.0 : -2.0);
            doc.equalizers().setOutputBandQ(n, band, 1.4);
        }
    }
    for (core::ViewInfluence which :
         {core::ViewInfluence::Peq, core::ViewInfluence::Xover, core::ViewInfluence::OutDelays})
        doc.views().setInfluence(which, true);
    OutputEqualizerWindow* w = program.windows.outputEqualizer();
    show(w);
    w->selectOutput(2);
    w->setAddView(state.range(0) != 0);
    QApplication::processEvents();
    ResponsePlot* plot = w->plot();
    const core::TSOS& band = doc.configuration().output(2).peqx[0];
    send(plot, QEvent::MouseButtonPress, band.Frec, band.Gain, Qt::LeftButton, Qt::LeftButton);
    if (!w->dragging()) state.SkipWithError("no drag");
    const int paintsBefore = plot->paintCount();
    double f = 50;
    for (auto _ : state) {
        f = f > 500 ? 50 : f * 1.013;
        send(plot, QEvent::MouseMove, f, 3.0 + std::sin(f), Qt::NoButton, Qt::LeftButton);
        QApplication::processEvents();
    }
    send(plot, QEvent::MouseButtonRelease, f, 0, Qt::LeftButton, Qt::NoButton);
    state.counters["paints_per_step"] =
        benchmark::Counter(plot->paintCount() - paintsBefore, benchmark::Counter::kAvgIterations);
    state.counters["width"] = w->width();
    state.counters["height"] = w->height();
}
BENCHMARK(BM_OutputEqBandDragStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    theme::apply(app);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
