// The response plot widget offscreen: mouse events in data coordinates, one paint per batch, the
// drawn curve where the mapping puts it, and the editors' common frame.

#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

#include "guifixture.h"
#include "plot/responseplot.h"
#include "windows/editorwindow.h"

namespace kvr::gui::test {
namespace {

void send(QWidget* w, QEvent::Type type, QPointF at, Qt::MouseButton button, Qt::MouseButtons buttons,
          Qt::KeyboardModifiers keys)
{
    QMouseEvent e(type, at, w->mapToGlobal(at), button, buttons, keys);
    QApplication::sendEvent(w, &e);
}

TEST(ResponsePlot, MouseEventsArriveInDataCoordinatesWithButtonsAndShift)
{
    ResponsePlot plot;
    plot.resize(700, 400);
    plot.show();
    ASSERT_TRUE(waitFor([&] { return plot.isVisible(); }));
    const PlotMapping map = plot.mapping();
    ASSERT_TRUE(map.valid());
    // 20 .. 20000 Hz log, -20 .. 20 dB: 1000 Hz and 5 dB lie inside the area.
    const QPointF at(map.toPixelX(1000), map.toPixelY(5));
    EXPECT_TRUE(plot.plotArea().contains(at));

    std::vector<std::pair<char, PlotMouseEvent>> got;
    QObject::connect(&plot, &ResponsePlot::mousePressed, [&](const PlotMouseEvent& e) { got.push_back({'p', e}); });
    QObject::connect(&plot, &ResponsePlot::mouseMoved, [&](const PlotMouseEvent& e) { got.push_back({'m', e}); });
    QObject::connect(&plot, &ResponsePlot::mouseReleased, [&](const PlotMouseEvent& e) { got.push_back({'r', e}); });

    const QPointF to(map.toPixelX(2000), map.toPixelY(-3));
    send(&plot, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, Qt::ShiftModifier);
    send(&plot, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    send(&plot, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    send(&plot, QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton, Qt::NoModifier);

    ASSERT_EQ(got.size(), 4u);
    const auto& [k0, press] = got[0];
    EXPECT_EQ(k0, 'p');
    EXPECT_TRUE(press.mapped);
    EXPECT_NEAR(press.x, 1000, 1e-6);
    EXPECT_NEAR(press.y, 5, 1e-9);
    EXPECT_EQ(press.button, Qt::LeftButton);
    EXPECT_TRUE(press.shift());
    EXPECT_TRUE(press.exactlyShiftLeft());

    const auto& [k1, move] = got[1];
    EXPECT_EQ(k1, 'm');
    EXPECT_NEAR(move.x, 2000, 1e-6);
    EXPECT_NEAR(move.y, -3, 1e-9);
    EXPECT_EQ(move.button, Qt::NoButton);
    EXPECT_EQ(move.buttons, Qt::MouseButtons(Qt::LeftButton));
    EXPECT_FALSE(move.shift());
    EXPECT_FALSE(move.exactlyShiftLeft());

    const auto& [k2, release] = got[2];
    EXPECT_EQ(k2, 'r');
    EXPECT_EQ(release.button, Qt::LeftButton);
    EXPECT_EQ(release.buttons, Qt::MouseButtons());

    const auto& [k3, right] = got[3];
    EXPECT_EQ(right.button, Qt::RightButton);
    EXPECT_FALSE(right.exactlyShiftLeft());
    EXPECT_NEAR(right.x, 1000, 1e-6);

    // With an axis that cannot be drawn the events still come, unmapped.
    plot.model().setAxisRange(PlotAxisId::Y, 10, -10);
    send(&plot, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    ASSERT_EQ(got.size(), 5u);
    EXPECT_FALSE(got[4].second.mapped);
}

TEST(ResponsePlot, ManyChangesWithPlottingOffPaintOnce)
{
    ResponsePlot plot;
    plot.resize(500, 300);
    plot.show();
    ASSERT_TRUE(waitFor([&] { return plot.paintCount() > 0; }));
    pump(50);
    const int before = plot.paintCount();
    PlotModel& m = plot.model();
    m.setPlotting(false);
    for (int n = 1; n <= 4; ++n)
        for (int i = 0; i < 401; ++i)
            m.addPoint(n, 20.0 * std::pow(1000.0, i / 400.0), n - 10);
    m.setMark(1, PlotMark{plotcolour::kWhite, PlotMarkKind::Square, "1", 1000, 0, 0, 0, 3});
    pump(50);
    EXPECT_EQ(plot.paintCount(), before); // held
    m.setPlotting(true);
    ASSERT_TRUE(waitFor([&] { return plot.paintCount() > before; }));
    pump(50);
    EXPECT_EQ(plot.paintCount(), before + 1);
}

TEST(ResponsePlot, HandCursorFollowsTheEditor)
{
    ResponsePlot plot;
    EXPECT_EQ(plot.cursor().shape(), Qt::ArrowCursor);
    plot.setHandCursor(true);
    EXPECT_EQ(plot.cursor().shape(), Qt::PointingHandCursor);
    plot.setHandCursor(false);
    EXPECT_EQ(plot.cursor().shape(), Qt::ArrowCursor);
}

// A sample of what the editors draw, rendered at twice the pixel ratio: the curve's colour is
// found where the mapping puts its points, and the marks' white where they go. The image is kept
// in KVR_PLOT_SAMPLE_DIR when that is set, for a person to look at.
TEST(ResponsePlot, RendersCurvesAndMarksWhereTheMappingPutsThem)
{
    ResponsePlot plot;
    PlotModel& m = plot.model();
    {
        PlotModel::Hold hold(m);
        m.setGraphTitle(QStringLiteral("Input Equalization - PEQA"));
        m.setAxisTitle(PlotAxisId::X, QStringLiteral("Hz"));
        m.setAxisTitle(PlotAxisId::Y, QStringLiteral("dB"));
        m.setAxisRange(PlotAxisId::X, 20, 24000);
        m.setAxisRange(PlotAxisId::Y, -20, 20);
        const QColor colours[] = {plotcolour::kLime, plotcolour::kYellow, plotcolour::kFuchsia, plotcolour::kRed};
        for (int n = 1; n <= 4; ++n) {
            m.setColour(n, colours[n - 1]);
            std::vector<double> xs, ys;
            for (int i = 0; i <= 400; ++i) {
                const double f = 20.0 * std::pow(23999.0 / 20.0, i / 400.0);
                const double bell = 9.0 * std::exp(-std::pow(std::log2(f / (150.0 * n * n)), 2) * 1.5);
                xs.push_back(f);
                ys.push_back(n == 1 ? 0.0 : (n % 2 ? bell : -bell) + (n - 2) * 2.0);
            }
            m.setPoints(n, xs, ys);
        }
        m.setMark(1, PlotMark{plotcolour::kWhite, PlotMarkKind::Square, "3", 1000, 0, 0, 0, 3});
        m.setMark(2, PlotMark{plotcolour::kWhite, PlotMarkKind::DottedLine, "", 50, -180, 50, 180, 0});
        m.setMark(5, PlotMark{plotcolour::kBlack, PlotMarkKind::VerticalLine, "fc", 5000, 0, 0, 0, 0});
        m.setReadout(QStringLiteral("1000 Hz , 0.00 dBs"));
        m.bringToFront(1);
    }
    const QSize size(700, 400);
    const QImage image = plot.render(size, 2.0);
    ASSERT_EQ(image.size(), QSize(1400, 800));

    const PlotLayout l = PlotPainter(PlotStyle::standard(plot.font())).layout(m, QRectF(QPointF(0, 0), QSizeF(size)));
    ASSERT_TRUE(l.valid);
    const PlotMapping map = m.mapping(l.area);
    auto pixel = [&](double x, double y) {
        return image.pixelColor(int(std::lround(map.toPixelX(x) * 2)), int(std::lround(map.toPixelY(y) * 2)));
    };
    // Series 1 is flat at 0 dB and drawn on top: lime at 200 Hz (away from the square at 1 kHz).
    const QColor onCurve = pixel(200, 0);
    EXPECT_GT(onCurve.green(), 200);
    EXPECT_LT(onCurve.red(), 60);
    // The area above it is dark (between grid lines).
    const QColor empty = pixel(250, 12.5);
    EXPECT_LT(empty.lightness(), 60);
    // The square's edge is white: half-side 3 px to the right of 1 kHz.
    const QColor edge =
        image.pixelColor(int(std::lround((map.toPixelX(1000) + 3) * 2)), int(std::lround((map.toPixelY(0) - 2) * 2)));
    EXPECT_GT(edge.lightness(), 200);
    // A black mark is lifted off the dark background.
    const QColor fc = pixel(5000, 10);
    EXPECT_GT(fc.lightness(), 90);

    const QByteArray dir = qgetenv("KVR_PLOT_SAMPLE_DIR");
    if (!dir.isEmpty()) {
        EXPECT_TRUE(image.save(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("plot-sample@2x.png"))));
        EXPECT_TRUE(
            plot.render(size, 1.0).save(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("plot-sample.png"))));
        m.setAxisRange(PlotAxisId::Y, -180, 180);
        m.setAxisTitle(PlotAxisId::Y, QStringLiteral("Phase"));
        EXPECT_TRUE(plot.render(size, 1.0).save(
            QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("plot-sample-phase.png"))));
        // The dynamics editor's transfer curve: linear scales, no zero cross, a dotted reference.
        ResponsePlot dyn;
        PlotModel& d = dyn.model();
        d.setGraphTitle(QStringLiteral("Dynamic Output 1"));
        d.setLogScale(PlotAxisId::X, false);
        d.setAxisRange(PlotAxisId::X, -20.1, 20);
        d.setAxisTitle(PlotAxisId::X, QStringLiteral("input dBu"));
        d.setAxisTitle(PlotAxisId::Y, QStringLiteral("output dBu"));
        d.setCrossAtZero(false);
        d.setColour(1, plotcolour::kAqua);
        for (int i = 0; i <= 60; ++i) {
            const double x = -40 + i;
            d.addPoint(1, x, x < 8 ? x : 8 + (x - 8) / 4);
        }
        d.setColour(2, plotcolour::kWhite);
        d.setLineStyle(2, PlotLineStyle::Dotted);
        d.addPoint(2, -60, -60);
        d.addPoint(2, 20, 20);
        EXPECT_TRUE(dyn.render(QSize(460, 400), 1.0)
                        .save(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("plot-sample-dynamics.png"))));
    }
}

// The widget keeps layers between repaints; after every kind of change what it shows must be what
// a full paint of the model shows.
TEST(ResponsePlot, CachedLayersMatchAFullPaint)
{
    ResponsePlot plot;
    const QSize size(520, 320);
    plot.resize(size);
    PlotModel& m = plot.model();
    for (int n = 1; n <= 3; ++n)
        for (int i = 0; i <= 100; ++i)
            m.addPoint(n, 20.0 * std::pow(1000.0, i / 100.0), 4.0 * n - 8 + std::sin(i * 0.1) * n);
    m.setMark(1, PlotMark{plotcolour::kWhite, PlotMarkKind::Square, "1", 1000, 0, 0, 0, 3});

    const std::pair<const char*, std::function<void()>> steps[] = {
        {"first paint", [] {}},
        {"top curve rewritten", [&] { m.addPoint(3, 1000, 15); }},
        {"lower curve rewritten", [&] { m.addPoint(1, 1000, -15); }},
        {"lower curve hidden", [&] { m.setVisible(2, false); }},
        {"order changed", [&] { m.bringToFront(1); }},
        {"lower colour", [&] { m.setColour(3, plotcolour::kAqua); }},
        {"scale changed", [&] { m.setAxisRange(PlotAxisId::Y, -40, 10); }},
        {"title changed", [&] { m.setGraphTitle(QStringLiteral("CrossOver")); }},
        {"mark moved",
         [&] {
             m.setMark(1, PlotMark{plotcolour::kWhite, PlotMarkKind::Square, "2", 200, -3, 0, 0, 3});
         }},
        {"series cleared", [&] { m.clearSeries(1); }},
    };
    for (qreal dpr : {1.0, 2.0}) {
        for (const auto& [what, change] : steps) {
            SCOPED_TRACE(testing::Message() << what << " at " << dpr);
            change();
            QImage layered(size * dpr, QImage::Format_ARGB32_Premultiplied);
            layered.setDevicePixelRatio(dpr);
            {
                QPainter p(&layered);
                plot.paintLayers(p, dpr);
            }
            const QImage full = plot.render(size, dpr);
            ASSERT_EQ(layered.size(), full.size());
            int differing = 0;
            for (int y = 0; y < full.height(); ++y)
                for (int x = 0; x < full.width(); ++x) {
                    const QRgb a = layered.pixel(x, y), b = full.pixel(x, y);
                    if (std::abs(qRed(a) - qRed(b)) > 2 || std::abs(qGreen(a) - qGreen(b)) > 2 ||
                        std::abs(qBlue(a) - qBlue(b)) > 2)
                        ++differing;
                }
            EXPECT_EQ(differing, 0);
        }
    }
}

TEST(EditorWindow, ViewSwitchStatusAndPlot)
{
    EditorWindow w(QStringLiteral("TTestForm"), QStringLiteral("Test"), QStringLiteral("StatusL"));
    auto* mag = find<QRadioButton>(&w, "Mag");
    auto* phase = find<QRadioButton>(&w, "Phase");
    auto* delay = find<QRadioButton>(&w, "Delay");
    ASSERT_TRUE(mag && phase && delay);
    EXPECT_EQ(mag->text(), QStringLiteral("Mag"));
    EXPECT_EQ(phase->text(), QStringLiteral("Phase"));
    EXPECT_EQ(delay->text(), QStringLiteral("Delay"));
    EXPECT_TRUE(mag->isChecked());
    EXPECT_EQ(w.view(), PlotView::Magnitude);
    w.show();
    EXPECT_FALSE(delay->isVisible()); // only where a window asks for it

    std::vector<PlotView> views;
    QObject::connect(&w, &EditorWindow::viewChanged, [&](PlotView v) { views.push_back(v); });
    phase->click();
    w.setView(PlotView::Phase); // already there: nothing
    w.setDelayViewEnabled(true);
    EXPECT_TRUE(delay->isVisible());
    w.setView(PlotView::Delay);
    w.setDelayViewEnabled(false); // the hidden view falls back to magnitude
    EXPECT_EQ(views, (std::vector<PlotView>{PlotView::Phase, PlotView::Delay, PlotView::Magnitude}));
    EXPECT_TRUE(mag->isChecked());

    w.setStatusText(QStringLiteral("1000 Hz , 3.00 dBs"));
    auto* status = find<QLabel>(&w, "StatusL");
    ASSERT_NE(status, nullptr);
    EXPECT_EQ(status->text(), QStringLiteral("1000 Hz , 3.00 dBs"));
    EXPECT_EQ(w.plotModel().readout(), QStringLiteral("1000 Hz , 3.00 dBs"));
    EXPECT_EQ(w.objectName(), QStringLiteral("TTestForm"));
    const QByteArray dir = qgetenv("KVR_PLOT_SAMPLE_DIR");
    if (!dir.isEmpty()) {
        w.resize(760, 520);
        EXPECT_TRUE(w.grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(QStringLiteral("editor-sample.png"))));
    }
    EXPECT_EQ(w.plot()->parentWidget(), w.body());
}

} // namespace
} // namespace kvr::gui::test
