// The response plot, offscreen: a full paint at 700 x 400 logical pixels with four 401-point
// curves and a few marks, the repaint the widget does on a data change (cached frame plus
// curves), a curve rewrite in the model, and one band-drag step as an editor runs it (design a
// section, sum the bank over the grid, rewrite the curve, move the mark, repaint). Editors need
// a drag step, repaint included, within 4 ms.

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

#include "dsp/frequencygrid.h"
#include "dsp/tsos.h"
#include "plot/responseplot.h"

using namespace kvr;
using namespace kvr::gui;

namespace {

const QSize kSize(700, 400);

std::array<core::TSOS, 6> bank()
{
    std::array<core::TSOS, 6> b{};
    for (int i = 0; i < 6; ++i) {
        b[i].Tipo = static_cast<uint8_t>(core::SectionType::Parametric);
        b[i].Gain = i % 2 ? -6.0 : 5.0;
        b[i].Frec = 60.0 * std::pow(3.0, i);
        b[i].Q = 1.5;
        b[i].Design();
    }
    return b;
}

// Four editor curves (different banks) and the input editor's marks.
void fill(PlotModel& m)
{
    PlotModel::Hold hold(m);
    m.setGraphTitle(QStringLiteral("Input Equalization - PEQA"));
    m.setAxisTitle(PlotAxisId::X, QStringLiteral("Hz"));
    m.setAxisTitle(PlotAxisId::Y, QStringLiteral("dB"));
    m.setAxisRange(PlotAxisId::X, 20, 24000);
    m.setAxisRange(PlotAxisId::Y, -20, 20);
    const auto& grid = core::frequencyGrid();
    auto sections = bank();
    const QColor colours[] = {plotcolour::kLime, plotcolour::kYellow, plotcolour::kFuchsia, plotcolour::kRed};
    for (int n = 1; n <= 4; ++n) {
        sections[0].Frec = 40.0 * n;
        sections[0].Design();
        const core::TSOS* chain[6];
        for (int i = 0; i < 6; ++i)
            chain[i] = &sections[i];
        core::ChainResponse r;
        core::AddChainResponse(std::span<const core::TSOS* const>(chain, 6), r);
        m.setColour(n, colours[n - 1]);
        m.setPoints(n, grid.frequencyHz, r.magnitudeDb);
    }
    m.setMark(1, PlotMark{plotcolour::kWhite, PlotMarkKind::Square, "1", 1000, 3, 0, 0, 3});
    m.setMark(2, PlotMark{plotcolour::kWhite, PlotMarkKind::DottedLine, "", 50, -180, 50, 180, 0});
    m.setMark(3, PlotMark{plotcolour::kWhite, PlotMarkKind::VerticalLine, "fc", 2500, 0, 0, 0, 0});
    m.setReadout(QStringLiteral("1000 Hz , 3.00 dBs"));
}

QImage target(qreal dpr)
{
    QImage image(kSize * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    return image;
}

// Everything: background, grid, scales, titles, curves, marks (PNG export, printing).
void BM_PlotFullPaint(benchmark::State& state)
{
    const qreal dpr = qreal(state.range(0));
    ResponsePlot plot;
    fill(plot.model());
    QImage image = target(dpr);
    for (auto _ : state) {
        QPainter p(&image);
        plot.paint(p, QRectF(QPointF(0, 0), QSizeF(kSize)));
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PlotFullPaint)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// What the widget repaints after a data change of its top curve: the cached layer (frame and the
// curves below) copied, the top curve, marks and readout drawn.
void BM_PlotTopCurveRepaint(benchmark::State& state)
{
    const qreal dpr = qreal(state.range(0));
    ResponsePlot plot;
    plot.resize(kSize);
    fill(plot.model());
    QImage image = target(dpr);
    for (auto _ : state) {
        plot.model().setColour(1, plotcolour::kLime); // no change: the layers stay
        QPainter p(&image);
        plot.paintLayers(p, dpr);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PlotTopCurveRepaint)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// A repaint after a change of a curve below the top one: the layer is drawn again.
void BM_PlotLowerCurveRepaint(benchmark::State& state)
{
    const qreal dpr = qreal(state.range(0));
    ResponsePlot plot;
    plot.resize(kSize);
    fill(plot.model());
    QImage image = target(dpr);
    double y = 0;
    for (auto _ : state) {
        y = y > 10 ? 0 : y + 0.1;
        plot.model().addPoint(2, 1000, y);
        QPainter p(&image);
        plot.paintLayers(p, dpr);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PlotLowerCurveRepaint)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// A 401-point curve rewritten on the same grid.
void BM_PlotCurveRewrite(benchmark::State& state)
{
    PlotModel m;
    const auto& grid = core::frequencyGrid();
    std::array<float, core::kGridPoints> db{};
    m.setPoints(1, grid.frequencyHz, db);
    float g = 0;
    for (auto _ : state) {
        g += 0.01f;
        for (float& v : db)
            v = g;
        m.setPoints(1, grid.frequencyHz, db);
        benchmark::DoNotOptimize(m.series(1).points.data());
    }
}
BENCHMARK(BM_PlotCurveRewrite)->Unit(benchmark::kMicrosecond);

// The same rewrite point by point, as addPoint on an existing curve.
void BM_PlotCurveAddPoints(benchmark::State& state)
{
    PlotModel m;
    const auto& grid = core::frequencyGrid();
    for (int i = 0; i < core::kGridPoints; ++i)
        m.addPoint(1, grid.frequencyHz[i], 0);
    double g = 0;
    for (auto _ : state) {
        g += 0.01;
        for (int i = 0; i < core::kGridPoints; ++i)
            m.addPoint(1, grid.frequencyHz[i], g);
        benchmark::DoNotOptimize(m.series(1).points.data());
    }
}
BENCHMARK(BM_PlotCurveAddPoints)->Unit(benchmark::kMicrosecond);

// One mouse move of a band drag: design the band, sum the six sections over the grid, rewrite
// the bank's curve and the marker with plotting held, and repaint as the widget does.
void BM_BandDragStep(benchmark::State& state)
{
    const qreal dpr = qreal(state.range(0));
    ResponsePlot plot;
    plot.resize(kSize);
    PlotModel& m = plot.model();
    fill(m);
    QImage image = target(dpr);
    auto sections = bank();
    const core::TSOS* chain[6];
    for (int i = 0; i < 6; ++i)
        chain[i] = &sections[i];
    core::ChainResponse r;
    const auto& grid = core::frequencyGrid();
    double f = 500;
    for (auto _ : state) {
        f = f > 5000 ? 500 : f * 1.01;
        sections[2].Frec = std::round(f);
        sections[2].Design();
        core::AddChainResponse(std::span<const core::TSOS* const>(chain, 6), r);
        {
            PlotModel::Hold hold(m);
            m.setPoints(1, grid.frequencyHz, r.magnitudeDb);
            m.setMark(1, PlotMark{plotcolour::kWhite, PlotMarkKind::Square, "3", sections[2].Frec, -6, 0, 0, 3});
            m.bringToFront(1);
            m.setReadout(QStringLiteral("%1 Hz , -6.00 dBs").arg(sections[2].Frec));
        }
        QPainter p(&image);
        plot.paintLayers(p, dpr);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_BandDragStep)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(9.5); // the program's own
    app.setFont(font);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
