// The response plot's data model, without a window: point order, replacement, marks, the
// Plotting hold, axis limits, the nearest-point rule and the pixel mapping. Expected values are
// worked out by hand beside each table.

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "plot/plotmodel.h"

namespace kvr::gui::test {
namespace {

struct Pt {
    double x, y;
};

std::vector<Pt> pointsOf(PlotModel& m, int n)
{
    std::vector<Pt> out;
    for (const PlotPoint& p : m.series(n).points)
        out.push_back({p.x, p.y});
    return out;
}

void expectPoints(PlotModel& m, int n, const std::vector<Pt>& want)
{
    const auto got = pointsOf(m, n);
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].x, want[i].x) << "point " << i;
        EXPECT_EQ(got[i].y, want[i].y) << "point " << i;
    }
}

// ---- points ------------------------------------------------------------------------------------

TEST(PlotModel, PointsAreKeptInAscendingXWithOnePointPerX)
{
    struct Row {
        const char* what;
        std::vector<Pt> added;
        std::vector<Pt> kept;
    };
    const Row rows[] = {
        {"in order", {{20, 1}, {50, 2}, {100, 3}}, {{20, 1}, {50, 2}, {100, 3}}},
        {"out of order", {{100, 1}, {20, 2}, {1000, 3}, {50, 4}}, {{20, 2}, {50, 4}, {100, 1}, {1000, 3}}},
        {"same x twice keeps the later y", {{100, 1}, {100, 5}}, {{100, 5}}},
        {"replacement in the middle", {{20, 1}, {50, 2}, {100, 3}, {50, -7}}, {{20, 1}, {50, -7}, {100, 3}}},
        {"a NaN x is no point", {{20, 1}, {NAN, 2}}, {{20, 1}}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        PlotModel m;
        for (const Pt& p : r.added)
            m.addPoint(1, p.x, p.y);
        expectPoints(m, 1, r.kept);
    }
}

TEST(PlotModel, CurveRewriteKeepsTheAddPointRules)
{
    struct Row {
        const char* what;
        std::vector<double> xs, ys;
        std::vector<Pt> kept;
    };
    const Row rows[] = {
        {"ascending grid", {20, 40, 80}, {1, 2, 3}, {{20, 1}, {40, 2}, {80, 3}}},
        {"unsorted", {80, 20, 40}, {3, 1, 2}, {{20, 1}, {40, 2}, {80, 3}}},
        {"repeated x, later wins", {10, 20, 10}, {1, 2, 3}, {{10, 3}, {20, 2}}},
        {"longer y range ignored", {10, 20}, {1, 2, 99}, {{10, 1}, {20, 2}}},
        {"lone NaN x", {NAN}, {1}, {}},
        {"empty", {}, {}, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        PlotModel m;
        m.addPoint(1, 5, 5); // replaced as a whole
        m.setPoints(1, r.xs, r.ys);
        expectPoints(m, 1, r.kept);
    }
}

TEST(PlotModel, CurveRewriteOnTheSameGridReusesTheStorage)
{
    PlotModel m;
    std::array<int, 401> hz{};
    std::array<float, 401> db{};
    for (size_t i = 0; i < hz.size(); ++i)
        hz[i] = int(20 + 50 * i);
    m.setPoints(2, hz, db);
    const PlotPoint* storage = m.series(2).points.data();
    for (size_t i = 0; i < db.size(); ++i)
        db[i] = float(i) * 0.5f;
    m.setPoints(2, hz, db);
    EXPECT_EQ(m.series(2).points.data(), storage);
    ASSERT_EQ(m.series(2).points.size(), 401u);
    EXPECT_EQ(m.series(2).points[400].x, 20020.0);
    EXPECT_EQ(m.series(2).points[400].y, 200.0);
    // Clearing and adding point by point keeps the storage too.
    m.clearSeries(2);
    for (size_t i = 0; i < hz.size(); ++i)
        m.addPoint(2, hz[i], 1.0);
    EXPECT_EQ(m.series(2).points.data(), storage);
}

TEST(PlotModel, SeriesAreCreatedOnFirstUseWithTheirAttributes)
{
    PlotModel m;
    EXPECT_FALSE(m.hasSeries(3));
    const PlotSeries& s = m.series(3);
    EXPECT_TRUE(m.hasSeries(3));
    EXPECT_TRUE(s.points.empty());
    EXPECT_TRUE(s.visible);
    EXPECT_FALSE(s.symbols);
    EXPECT_EQ(s.style, PlotLineStyle::Solid);
    EXPECT_EQ(s.colour, QColor(0xff, 0x00, 0xff)); // fuchsia for the third
    m.setColour(3, plotcolour::kAqua);
    m.setLineStyle(3, PlotLineStyle::Dotted);
    m.setVisible(3, false);
    m.setSymbols(3, true);
    EXPECT_EQ(m.series(3).colour, QColor(0x00, 0xff, 0xff));
    EXPECT_EQ(m.series(3).style, PlotLineStyle::Dotted);
    EXPECT_FALSE(m.series(3).visible);
    EXPECT_TRUE(m.series(3).symbols);
    // Numbers below 1 are no series.
    m.addPoint(0, 1, 1);
    m.addPoint(-2, 1, 1);
    EXPECT_FALSE(m.hasSeries(0));
    EXPECT_FALSE(m.hasSeries(-2));
}

TEST(PlotModel, BringToFrontDrawsTheSeriesLast)
{
    PlotModel m;
    for (int n : {1, 2, 3, 4})
        m.addPoint(n, 100, n);
    EXPECT_EQ(m.drawOrder(), (std::vector<int>{1, 2, 3, 4}));
    m.bringToFront(2);
    EXPECT_EQ(m.drawOrder(), (std::vector<int>{1, 3, 4, 2}));
    m.bringToFront(5); // a new series, on top at once
    EXPECT_EQ(m.drawOrder(), (std::vector<int>{1, 3, 4, 2, 5}));
}

// ---- marks -------------------------------------------------------------------------------------

TEST(PlotModel, MarksAreReplacedByNumber)
{
    PlotModel m;
    PlotMark square{plotcolour::kWhite, PlotMarkKind::Square, "1", 1000, 0, 0, 0, 3};
    m.setMark(1, square);
    PlotMark line{plotcolour::kWhite, PlotMarkKind::DottedLine, "", 50, -180, 50, 180, 0};
    m.setMark(2, line);
    square.x1 = 2000;
    square.y1 = 3.5;
    square.caption = "2";
    m.setMark(1, square);
    ASSERT_EQ(m.marks().size(), 2u);
    ASSERT_NE(m.mark(1), nullptr);
    EXPECT_EQ(m.mark(1)->x1, 2000.0);
    EXPECT_EQ(m.mark(1)->y1, 3.5);
    EXPECT_EQ(m.mark(1)->caption, QStringLiteral("2"));
    EXPECT_EQ(m.mark(2)->kind, PlotMarkKind::DottedLine);
    m.removeMark(2);
    EXPECT_EQ(m.mark(2), nullptr);
    EXPECT_TRUE(m.ShowMarks());
    m.setShowMarks(false);
    EXPECT_FALSE(m.ShowMarks());
    // The kinds keep the numbers the editors use.
    EXPECT_EQ(int(PlotMarkKind::VerticalLine), 0);
    EXPECT_EQ(int(PlotMarkKind::HorizontalLine), 1);
    EXPECT_EQ(int(PlotMarkKind::Square), 2);
    EXPECT_EQ(int(PlotMarkKind::DottedLine), 3);
}

// ---- repaints ----------------------------------------------------------------------------------

TEST(PlotModel, PlottingOffHoldsRepaintsAndOnRepaintsOnce)
{
    PlotModel m;
    std::vector<PlotChange> requests;
    m.setRepaintRequest([&](PlotChange c) { requests.push_back(c); });

    // Plotting on: each change asks at once ("repaints at once").
    m.addPoint(1, 100, 1);
    m.setMark(1, PlotMark{});
    EXPECT_EQ(requests.size(), 2u);

    // Off, many changes of every kind, on: exactly one request, carrying all of them.
    requests.clear();
    m.setPlotting(false);
    for (int i = 0; i < 401; ++i)
        m.addPoint(1, 20 + i, i);
    m.setMark(1, PlotMark{plotcolour::kWhite, PlotMarkKind::Square, "1", 500, 1, 0, 0, 3});
    m.setAxisTitle(PlotAxisId::Y, QStringLiteral("dB"));
    m.setAxisRange(PlotAxisId::Y, -40, 10);
    EXPECT_TRUE(requests.empty());
    m.setPlotting(true);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0], PlotChange::All);

    // Turning it on repaints once even when nothing was held.
    requests.clear();
    m.setPlotting(false);
    m.setPlotting(true);
    EXPECT_EQ(requests.size(), 1u);

    // Setting what is already there changes nothing and asks for nothing.
    requests.clear();
    m.setAxisRange(PlotAxisId::Y, -40, 10);
    m.setColour(1, m.series(1).colour);
    m.setVisible(1, true);
    m.setGraphTitle(QString());
    EXPECT_TRUE(requests.empty());
}

TEST(PlotModel, HoldRestoresThePreviousState)
{
    PlotModel m;
    int requests = 0;
    m.setRepaintRequest([&](PlotChange) { ++requests; });
    {
        PlotModel::Hold outer(m);
        {
            PlotModel::Hold inner(m);
            m.addPoint(1, 1, 1);
        }
        EXPECT_FALSE(m.Plotting()); // the inner hold gives back "off"
        m.addPoint(1, 2, 2);
        EXPECT_EQ(requests, 0);
    }
    EXPECT_TRUE(m.Plotting());
    EXPECT_EQ(requests, 1);
    EXPECT_EQ(m.repaintRequests(), 1);
}

TEST(PlotModel, ChangesSayWhetherTheFrameMoved)
{
    struct Row {
        const char* what;
        std::function<void(PlotModel&)> change;
        PlotChange kind;
    };
    const Row rows[] = {
        {"graph title", [](PlotModel& m) { m.setGraphTitle(QStringLiteral("CrossOver")); }, PlotChange::Frame},
        {"axis title", [](PlotModel& m) { m.setAxisTitle(PlotAxisId::X, QStringLiteral("Hz")); }, PlotChange::Frame},
        {"gridlines", [](PlotModel& m) { m.setGridlines(PlotAxisId::X, false); }, PlotChange::Frame},
        {"zero cross", [](PlotModel& m) { m.setCrossAtZero(false); }, PlotChange::Frame},
        {"axis range", [](PlotModel& m) { m.setAxisMax(PlotAxisId::Y, 40); }, PlotChange::All},
        {"log scale", [](PlotModel& m) { m.setLogScale(PlotAxisId::X, false); }, PlotChange::All},
        {"point", [](PlotModel& m) { m.addPoint(1, 1, 1); }, PlotChange::Content},
        {"mark", [](PlotModel& m) { m.setMark(4, PlotMark{}); }, PlotChange::Content},
        {"readout", [](PlotModel& m) { m.setReadout(QStringLiteral("1000 Hz")); }, PlotChange::Content},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        PlotModel m;
        std::vector<PlotChange> got;
        m.setRepaintRequest([&](PlotChange c) { got.push_back(c); });
        r.change(m);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0], r.kind);
    }
}

// ---- axes --------------------------------------------------------------------------------------

TEST(PlotModel, InconsistentLimitsReplaceTheTitle)
{
    struct Row {
        double min, max;
        bool log;
        bool consistent;
    };
    const Row rows[] = {
        {20, 20000, true, true}, {-20, 20, false, true},      {-20.1, 20, false, true}, {10, 10, false, false},
        {10, 5, false, false},   {0, 100, true, false},       {-5, 100, true, false},   {0.001, 0.002, true, true},
        {NAN, 10, false, false}, {0, INFINITY, false, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.min << " .. " << r.max << (r.log ? " log" : " linear"));
        PlotModel m;
        m.setAxisTitle(PlotAxisId::Y, QStringLiteral("dB"));
        m.setLogScale(PlotAxisId::Y, r.log);
        m.setAxisRange(PlotAxisId::Y, r.min, r.max);
        EXPECT_EQ(m.yAxis().consistent(), r.consistent);
        EXPECT_EQ(m.yAxis().caption(),
                  r.consistent ? QStringLiteral("dB") : QStringLiteral("MAX/MIN VALUES INCONSISTENT"));
        EXPECT_EQ(m.mapping(QRectF(0, 0, 100, 100)).valid(), r.consistent);
    }
}

// ---- nearest point -----------------------------------------------------------------------------

TEST(PlotModel, NearestPointRule)
{
    // Points at 100, 200 and 400 Hz on a 20 .. 20000 Hz axis. Midpoints 150 and 300.
    struct Row {
        double mouseX;
        int index; // -1: none
    };
    const Row rows[] = {
        {20, 0},       // the axis minimum, below the first point
        {50, 0},       // below the first x
        {100, 0},      // exact
        {149.9, 0},    // below the midpoint
        {150, 0},      // at the midpoint: not above it
        {150.001, 1},  // just above
        {200, 1},      // exact
        {300, 1},      // midpoint
        {300.001, 2},  // just above
        {400, 2},      // the last, exact
        {1000, 2},     // past the last point
        {20000, 2},    // the axis maximum
        {19.999, -1},  // outside the axis range
        {20000.1, -1}, // outside the axis range
        {NAN, -1},
    };
    PlotModel m;
    m.addPoint(7, 400, -3);
    m.addPoint(7, 100, 1);
    m.addPoint(7, 200, 2);
    const double ys[] = {1, 2, -3}, xs[] = {100, 200, 400};
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << "mouse x " << r.mouseX);
        const auto got = m.nearest(7, r.mouseX);
        if (r.index < 0) {
            EXPECT_FALSE(got.has_value());
            continue;
        }
        ASSERT_TRUE(got.has_value());
        EXPECT_EQ(got->index, r.index);
        EXPECT_EQ(got->x, xs[r.index]);
        EXPECT_EQ(got->y, ys[r.index]);
    }
}

TEST(PlotModel, NearestPointFailsWithoutPoints)
{
    PlotModel m;
    EXPECT_FALSE(m.nearest(1, 1000).has_value()); // no such series
    m.series(1);
    EXPECT_FALSE(m.nearest(1, 1000).has_value()); // empty
    m.addPoint(1, 1000, 0);
    m.setAxisRange(PlotAxisId::X, 20000, 20); // inconsistent: nothing is inside
    EXPECT_FALSE(m.nearest(1, 1000).has_value());
}

TEST(PlotModel, ValueAtFollowsTheDrawnLine)
{
    // (100, 0) to (1000, 10), then to (3000, 50): on a log axis the straight line is in log10 x, so 10^2.5 gives 5;
    // on a linear axis 550 gives 5.
    struct Row {
        bool log;
        double x;
        double want; // NAN: none
    };
    const Row rows[] = {
        {true, 100, 0},    {true, 1000, 10},    {true, std::pow(10.0, 2.5), 5},
        {true, 99.9, NAN}, {true, 3000.1, NAN}, {false, 550, 5},
        {false, 190, 1},   {false, 2000, 30},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.x << (r.log ? " log" : " linear"));
        PlotModel m;
        m.setLogScale(PlotAxisId::X, r.log);
        m.addPoint(1, 100, 0);
        m.addPoint(1, 1000, 10);
        m.addPoint(1, 3000, 50);
        const auto got = m.valueAt(1, r.x);
        if (std::isnan(r.want)) {
            EXPECT_FALSE(got.has_value());
        } else {
            ASSERT_TRUE(got.has_value());
            EXPECT_NEAR(*got, r.want, 1e-9);
        }
    }
    PlotModel empty;
    EXPECT_FALSE(empty.valueAt(1, 100).has_value());
}

// ---- pixel mapping -----------------------------------------------------------------------------

TEST(PlotMapping, DataAndPixelsOnLogAndLinearAxes)
{
    // Area 600 x 300 px at (50, 20). X 20 .. 20000 Hz log: 3 decades over 600 px, 200 px each;
    // sqrt(20 * 20000) = 632.456 Hz is the middle. Y -20 .. 20 dB linear: 7.5 px per dB, 0 dB at
    // 170. Log Y 1 .. 1000: 100 px per decade.
    PlotAxis x{"Hz", 20, 20000, true, true};
    PlotAxis y{"dB", -20, 20, false, true};
    const PlotMapping map(x, y, QRectF(50, 20, 600, 300));
    ASSERT_TRUE(map.valid());
    struct Row {
        double data, pixel;
        bool isX;
    };
    const Row rows[] = {
        {20, 50, true},    {20000, 650, true}, {std::sqrt(20.0 * 20000.0), 350, true},
        {200, 250, true},  {2, -150, true},    {20, 20, false},
        {-20, 320, false}, {0, 170, false},    {4, 140, false},
        {-40, 470, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << (r.isX ? "x " : "y ") << r.data);
        const double px = r.isX ? map.toPixelX(r.data) : map.toPixelY(r.data);
        EXPECT_NEAR(px, r.pixel, 1e-9);
        const double back = r.isX ? map.toDataX(px) : map.toDataY(px);
        EXPECT_NEAR(back, r.data, 1e-9 * std::max(1.0, std::abs(r.data)));
    }
    PlotAxis logY{"", 1, 1000, true, true};
    const PlotMapping logMap(x, logY, QRectF(0, 0, 300, 300));
    EXPECT_NEAR(logMap.toPixelY(10), 200, 1e-9);
    EXPECT_NEAR(logMap.toDataY(100), 100, 1e-9);
}

TEST(PlotMapping, NothingMapsWithoutAConsistentScaleOrArea)
{
    PlotAxis x{"", 20, 20000, true, true};
    PlotAxis bad{"", 5, 5, false, true};
    PlotAxis y{"", -1, 1, false, true};
    EXPECT_FALSE(PlotMapping(x, bad, QRectF(0, 0, 100, 100)).valid());
    EXPECT_FALSE(PlotMapping(bad, y, QRectF(0, 0, 100, 100)).valid());
    EXPECT_FALSE(PlotMapping(x, y, QRectF(0, 0, 0, 100)).valid());
    EXPECT_TRUE(std::isnan(PlotMapping(x, bad, QRectF(0, 0, 100, 100)).toDataX(10)));
}

TEST(PlotModel, InsideBothRanges)
{
    PlotModel m; // 20 .. 20000 Hz, -20 .. 20 dB
    EXPECT_TRUE(m.inRanges(20, -20));
    EXPECT_TRUE(m.inRanges(20000, 20));
    EXPECT_FALSE(m.inRanges(19.9, 0));
    EXPECT_FALSE(m.inRanges(1000, 20.01));
}

} // namespace
} // namespace kvr::gui::test
