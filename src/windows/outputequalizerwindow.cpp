#include "windows/outputequalizerwindow.h"
#include "app/programtext.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>
#include <vector>

#include "app/delayoperations.h"
#include "app/documentcontroller.h"
#include "app/equalizeroperations.h"
#include "app/leveloperations.h"
#include "app/settings.h"
#include "app/viewoperations.h"
#include "config/conversions.h"
#include "config/inputeqediting.h"
#include "config/outputeqediting.h"
#include "config/readouts.h"
#include "dsp/tsos.h"
#include "plot/responseplot.h"
#include "tools/delayaxis.h"
#include "util/texts.h"
#include "widgets/fader.h"
#include "widgets/trackscale.h"
#include "windows/gesturewatcher.h"

namespace kvr::gui {

namespace t = core::texts;
using core::ViewInfluence;

namespace {

constexpr int kBandMark = 1;
constexpr int kLineMark = 5;
constexpr double kLineMarkHz = 50.0;
constexpr double kPhaseLimitDeg = 180.0;
constexpr int kYMaxDefault = 20;
constexpr int kYMinDefault = -20;
constexpr unsigned kAllOutputs = 0x0F;
// Room for the plot at its own size hint beside the two columns of controls.
constexpr QSize kDefaultSize(1250, 660);
// The influence boxes by name, in the order of ViewInfluence.
constexpr const char* kInfluenceNames[core::kViewInfluenceCount] = {
    "VerPEQCheck", "VerXoverCheck", "VerPEQXCheck", "VerDelayCheck", "VerGainCheck", "VerfrecdataCheck"};

void watchAll(GestureWatcher* watcher, QWidget* control)
{
    watcher->watch(control);
    for (QWidget* child : control->findChildren<QWidget*>())
        watcher->watch(child);
}

unsigned bitOf(int output)
{
    return 1u << (output - 1);
}

// The outputs whose total a change alters: their own blocks, or everything the outputs share
// (input levels, input banks, the influences).
unsigned outputsTouched(const DocumentChange& change)
{
    if (change.touchesAny({Region::View, Region::InputEq})) return kAllOutputs;
    for (core::InputId id : {core::InputId::A, core::InputId::B, core::InputId::M})
        if (change.touches(Region::Levels, id)) return kAllOutputs;
    unsigned outputs = 0;
    for (int n = 1; n <= core::kOutputCount; ++n)
        for (Region r : {Region::OutputEq, Region::Crossover, Region::OutputDelays, Region::Levels, Region::Routing,
                         Region::Measurement})
            if (change.touches(r, n)) outputs |= bitOf(n);
    return outputs;
}

} // namespace

OutputEqualizerWindow::OutputEqualizerWindow(DocumentController& document, QWidget* parent)
    : EditorWindow(QStringLiteral("TPEQXForm"), q(t::kOutputEqCaption), QStringLiteral("StatusBar"), parent),
      m_document(document), m_gestures(new GestureWatcher(document, this))
{
    setDelayViewEnabled(true);
    auto* columns = new QHBoxLayout(sidePanel());
    columns->setContentsMargins(0, 0, 0, 0);
    columns->setSpacing(10);
    auto* left = new QVBoxLayout;
    left->setSpacing(8);
    left->addWidget(buildOutputPanel());
    left->addWidget(buildBandPanel());
    left->addStretch(1);
    auto* right = new QVBoxLayout;
    right->setSpacing(8);
    right->addWidget(buildLevelPanel(), 1);
    right->addWidget(buildInfluencePanel());
    auto* import = new QPushButton(q(t::kImportData), sidePanel());
    import->setObjectName(QStringLiteral("ImportB"));
    import->setAutoDefault(false);
    connect(import, &QPushButton::clicked, this, &OutputEqualizerWindow::importRequested);
    right->addWidget(import);
    columns->addLayout(left);
    columns->addLayout(right);
    buildFooter();

    Settings& settings = document.settings();
    rememberView(settings);
    rememberValue(settings, m_yMax);
    rememberValue(settings, m_yMin);
    m_addView = settings.windowValue(objectName(), QStringLiteral("add"), false).toBool();
    (m_addView ? m_add : m_individual)->setChecked(true);
    connect(m_add, &QRadioButton::toggled, this, [this](bool add) {
        if (!m_filling) setAddView(add);
    });

    PlotModel& model = plotModel();
    {
        PlotModel::Hold hold(model);
        model.setLogScale(PlotAxisId::X, true);
        model.setAxisTitle(PlotAxisId::X, q(t::kAxisHz));
        for (int n = 1; n <= kAddSeries; ++n) {
            model.setLineStyle(n, PlotLineStyle::Solid);
            model.setSymbols(n, false);
        }
        model.setColour(kAddSeries, plotcolour::kYellow);
        model.setMark(kLineMark, PlotMark{plotcolour::kWhite, PlotMarkKind::DottedLine, QString(), kLineMarkHz,
                                          -kPhaseLimitDeg, kLineMarkHz, kPhaseLimitDeg, 0});
        fillSelectors();
        fillOutputControls();
        fillBand();
        refreshAll();
        setAxes();
    }

    connect(&m_document, &DocumentController::changed, this, &OutputEqualizerWindow::onChanged);
    connect(&m_document, &DocumentController::replaced, this, &OutputEqualizerWindow::onReplaced);
    connect(&m_document, &DocumentController::memoryRead, this, &OutputEqualizerWindow::onMemoryRead);
    connect(this, &EditorWindow::viewChanged, this, &OutputEqualizerWindow::onViewChanged);
    connect(plot(), &ResponsePlot::mousePressed, this, &OutputEqualizerWindow::onPress);
    connect(plot(), &ResponsePlot::mouseMoved, this, &OutputEqualizerWindow::onMove);
    connect(plot(), &ResponsePlot::mouseReleased, this, &OutputEqualizerWindow::onRelease);
    m_gestures->watch(plot());
    resize(kDefaultSize);
}

EqualizerOperations& OutputEqualizerWindow::ops()
{
    return m_document.equalizers();
}

const core::TSOS& OutputEqualizerWindow::section() const
{
    return core::outputBand(m_document.configuration(), m_current, band());
}

// ---------------------------------------------------------------- building

QWidget* OutputEqualizerWindow::buildOutputPanel()
{
    auto* box = new QGroupBox(q(t::kOutputSelectTitle), sidePanel());
    box->setObjectName(QStringLiteral("OutputPanel"));
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    auto* group = new QButtonGroup(this);
    auto* shown = new QLabel(q(t::kOutputShownLabel), box);
    shown->setProperty("role", QStringLiteral("dim"));
    grid->addWidget(shown, 1, 0);
    for (int n = 1; n <= core::kOutputCount; ++n) {
        const size_t k = static_cast<size_t>(n - 1);
        auto* button = new QRadioButton(q(t::kOutputEqSelectors[k]), box);
        button->setObjectName(QStringLiteral("ModPEQX%1").arg(n));
        group->addButton(button);
        grid->addWidget(button, 0, n);
        m_outputButtons[k] = button;
        connect(button, &QRadioButton::toggled, this, [this, n](bool on) {
            if (on && !m_filling) selectOutput(n);
        });
        auto* check = new QCheckBox(box);
        check->setObjectName(QStringLiteral("VerPEQX%1").arg(n));
        check->setToolTip(q(t::kOutputEqSelectors[k]));
        grid->addWidget(check, 1, n, Qt::AlignHCenter);
        m_shownChecks[k] = check;
        connect(check, &QCheckBox::toggled, this, [this, n](bool on) {
            if (m_filling) return;
            m_document.views().setOutputShown(n, on);
            if (on) selectOutput(n);
        });
    }
    return box;
}

QWidget* OutputEqualizerWindow::buildBandPanel()
{
    m_panel = new BandPanel(sidePanel());
    m_panel->setTypeCaption(1, q(t::kOutputParametricCaption));
    watchAll(m_gestures, m_panel->bandSpin()); // held arrows select the bands in one step
    for (QWidget* control : m_panel->gestureControls())
        m_gestures->watch(control);

    // The type-1 design's variant, for every bank.
    auto* variants = new QHBoxLayout;
    auto* variantGroup = new QButtonGroup(this);
    m_constQ = new QRadioButton(q(t::kConstQ), m_panel);
    m_constQ->setObjectName(QStringLiteral("Q_const_RadioB"));
    m_adaptQ = new QRadioButton(q(t::kAdaptQ), m_panel);
    m_adaptQ->setObjectName(QStringLiteral("Q_Adapt_RadioB"));
    for (QRadioButton* b : {m_constQ, m_adaptQ}) {
        variantGroup->addButton(b);
        variants->addWidget(b);
    }
    variants->addStretch(1);
    m_panel->grid()->addLayout(variants, 9, 0, 1, 3);
    connect(m_constQ, &QRadioButton::toggled, this, [this](bool constant) {
        if (m_filling) return;
        ops().setConstantQ(constant);
        fillBand();
    });

    connect(m_panel, &BandPanel::bandChosen, this, &OutputEqualizerWindow::onBandSpin);
    connect(m_panel, &BandPanel::typeChosen, this, &OutputEqualizerWindow::onType);
    connect(m_panel, &BandPanel::fieldCommitted, this, &OutputEqualizerWindow::commitField);
    connect(m_panel, &BandPanel::fieldStepped, this, &OutputEqualizerWindow::stepField);
    connect(m_panel, &BandPanel::analogCommitted, this, &OutputEqualizerWindow::commitAnalog);
    connect(m_panel, &BandPanel::qBarMoved, this, &OutputEqualizerWindow::onQBar);
    return m_panel;
}

QWidget* OutputEqualizerWindow::buildLevelPanel()
{
    auto* box = new QGroupBox(sidePanel());
    box->setObjectName(QStringLiteral("LevelPanel"));
    auto* layout = new QVBoxLayout(box);
    layout->setSpacing(6);
    auto* strips = new QHBoxLayout;
    strips->setSpacing(14);
    const QString readoutStyle = QStringLiteral("background: #12151a; border: 1px solid #3a434d; border-radius: 3px; "
                                                "padding: 2px 6px; font-weight: bold; color: #dce2e8;");
    auto column = [&](const char* title, QLabel* readout, QLabel* unit, TrackScale* track, Fader* fader) {
        auto* c = new QVBoxLayout;
        c->setSpacing(4);
        auto* heading = new QLabel(q(title), box);
        heading->setProperty("role", QStringLiteral("dim"));
        c->addWidget(heading, 0, Qt::AlignHCenter);
        auto* value = new QHBoxLayout;
        value->setSpacing(4);
        value->addStretch(1);
        value->addWidget(readout);
        if (unit) value->addWidget(unit);
        value->addStretch(1);
        c->addLayout(value);
        auto* pair = new QHBoxLayout;
        pair->setSpacing(2);
        track->setMinimumHeight(300);
        pair->addWidget(track);
        pair->addWidget(fader);
        c->addLayout(pair, 1);
        strips->addLayout(c);
    };

    m_gainDb = new QLabel(box);
    m_gainDb->setObjectName(QStringLiteral("OutGaindBL"));
    m_gainDb->setAlignment(Qt::AlignCenter);
    m_gainDb->setMinimumWidth(56);
    m_gainDb->setProperty("role", QStringLiteral("readout"));
    m_gainTrack = new TrackScale(box);
    m_gainTrack->setObjectName(QStringLiteral("OutGainTrack"));
    m_gainTrack->setRange(core::kLevelPositionMin, core::kLevelPositionMax);
    m_gainTrack->setSingleStep(1);
    m_gainTrack->setPageStep(10);
    m_gainTrack->setTickInterval(50);
    m_gainTrack->addLabel(core::kLevelPositionMin, q(t::kLevelScaleTop));
    m_gainTrack->addLabel(core::kLevelPositionZeroDb, q(t::kLevelScaleZero));
    m_gainTrack->addLabel(core::kLevelPositionMax, q(t::kLevelScaleBottom));
    m_gainFader = new Fader(box);
    m_gainFader->setObjectName(QStringLiteral("OutGainSlider"));
    m_gainFader->setRange(0, core::kLevelFaderMax);
    m_gainFader->setSingleStep(1);
    m_gainFader->setPageStep(10);
    column(t::kOutputLevelTitle, m_gainDb, nullptr, m_gainTrack, m_gainFader);

    m_delayMs = new QLabel(box);
    m_delayMs->setObjectName(QStringLiteral("msecL"));
    m_delayMs->setAlignment(Qt::AlignCenter);
    m_delayMs->setMinimumWidth(56);
    m_delayMs->setProperty("role", QStringLiteral("readout"));
    m_delayUnits = new QLabel(q(t::kUnitsMilliseconds), box);
    m_delayUnits->setObjectName(QStringLiteral("unitsL"));
    m_delayUnits->setProperty("role", QStringLiteral("dim"));
    // The delay track of the output delay window, upside down: more delay higher up.
    m_delayTrack = new TrackScale(box);
    m_delayTrack->setObjectName(QStringLiteral("OutDelayTrack"));
    m_delayTrack->setRange(-core::kOutputDelayPositionMax, 0);
    m_delayTrack->setSingleStep(1);
    m_delayTrack->setPageStep(10);
    m_delayTrack->setTickInterval(50);
    m_delayTrack->setUpArrowStep(-core::kDelayKeyStep);
    m_delayTrack->addLabel(-core::kOutputDelayPositionMax, q(t::kDelayScaleTop));
    m_delayTrack->addLabel(0, q(t::kDelayScaleBottom));
    m_delayFader = new Fader(box);
    m_delayFader->setObjectName(QStringLiteral("OutDelaySlider"));
    m_delayFader->setRange(0, core::kOutputDelayFaderMax);
    m_delayFader->setSingleStep(1);
    m_delayFader->setPageStep(10);
    column(t::kOutputDelayTitle, m_delayMs, m_delayUnits, m_delayTrack, m_delayFader);
    layout->addLayout(strips, 1);

    m_polarity = new QCheckBox(q(t::kPolarityBox), box);
    m_polarity->setObjectName(QStringLiteral("PolOutput"));
    layout->addWidget(m_polarity, 0, Qt::AlignHCenter);

    connect(m_gainTrack, &TrackScale::valueChanged, this, [this](int p) {
        if (!m_filling) m_document.levels().setOutputLevelPosition(m_current, p);
    });
    connect(m_gainFader, &Fader::valueChanged, this, [this](int v) {
        if (!m_filling) m_document.levels().setOutputLevelFader(m_current, v);
    });
    connect(m_delayTrack, &TrackScale::valueChanged, this, [this](int p) {
        if (!m_filling) m_document.delays().setOutputDelayPosition(m_current, -p);
    });
    connect(m_delayFader, &Fader::valueChanged, this, [this](int v) {
        if (!m_filling) m_document.delays().setOutputDelayFader(m_current, v);
    });
    connect(m_polarity, &QCheckBox::toggled, this, [this](bool inverted) {
        if (!m_filling) m_document.levels().setPolarity(m_current, inverted);
    });
    connect(m_gainFader, &Fader::sliderPressed, m_gainTrack, [this] { m_gainTrack->setFocus(Qt::MouseFocusReason); });
    connect(m_delayFader, &Fader::sliderPressed, m_delayTrack,
            [this] { m_delayTrack->setFocus(Qt::MouseFocusReason); });
    for (QWidget* w : std::initializer_list<QWidget*>{m_gainTrack, m_gainFader, m_delayTrack, m_delayFader})
        m_gestures->watch(w);
    return box;
}

QWidget* OutputEqualizerWindow::buildInfluencePanel()
{
    auto* box = new QGroupBox(q(t::kInfluenceTitle), sidePanel());
    box->setObjectName(QStringLiteral("InfluencePanel"));
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(4);
    for (int i = 0; i < core::kViewInfluenceCount; ++i) {
        auto* check = new QCheckBox(q(t::kViewInfluenceCaptions[i]), box);
        check->setObjectName(q(kInfluenceNames[i]));
        grid->addWidget(check, i % 3, i / 3);
        m_influences[static_cast<size_t>(i)] = check;
        const auto which = static_cast<ViewInfluence>(i);
        connect(check, &QCheckBox::toggled, this, [this, which](bool on) {
            if (!m_filling) m_document.views().setInfluence(which, on);
        });
    }
    return box;
}

void OutputEqualizerWindow::buildFooter()
{
    auto* sum = new QWidget(body());
    sum->setObjectName(QStringLiteral("SumSwitch"));
    auto* row = new QHBoxLayout(sum);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(14);
    auto* group = new QButtonGroup(this);
    m_individual = new QRadioButton(q(t::kViewIndividual), sum);
    m_individual->setObjectName(QStringLiteral("Individual"));
    m_add = new QRadioButton(q(t::kViewAdd), sum);
    m_add->setObjectName(QStringLiteral("Add"));
    for (QRadioButton* b : {m_individual, m_add}) {
        group->addButton(b);
        row->addWidget(b);
    }
    addFooterWidget(sum);

    m_yMax = addYRangeSpin(t::kCrossoverYMax, "YMaxUpDown", 0, 40, kYMaxDefault);
    m_yMin = addYRangeSpin(t::kCrossoverYMin, "YMinUpDown", -80, -10, kYMinDefault);
    connect(this, &EditorWindow::magnitudeRangeChanged, this, &OutputEqualizerWindow::setAxes);
}

// ---------------------------------------------------------------- filling from the document

void OutputEqualizerWindow::onChanged(const DocumentChange& change)
{
    if (!change.touchesAny({Region::OutputEq, Region::View, Region::Names, Region::Levels, Region::OutputDelays,
                            Region::Crossover, Region::InputEq, Region::Routing, Region::Measurement}))
        return;
    PlotModel::Hold hold(plotModel());
    if (change.touchesAny({Region::OutputEq, Region::View, Region::Names})) fillSelectors();
    if (change.touchesAny({Region::Levels, Region::OutputDelays})) fillOutputControls();
    if (change.touches(Region::OutputEq)) fillBand();
    // Hidden, the window computes nothing: showing it computes everything.
    if (isVisible()) recompute(outputsTouched(change));
}

void OutputEqualizerWindow::onReplaced()
{
    // New and Open close the editor; it comes back on output 1, band 1 of every output.
    hide();
    m_dragging = false;
    m_current = 1;
    m_bands.fill(1);
}

void OutputEqualizerWindow::onMemoryRead()
{
    // A memory read starts the view afresh: magnitude, each output on its own.
    setView(PlotView::Magnitude);
    setAddView(false);
}

void OutputEqualizerWindow::showEvent(QShowEvent* event)
{
    {
        PlotModel::Hold hold(plotModel());
        fillSelectors();
        fillOutputControls();
        fillBand();
        refreshAll();
    }
    EditorWindow::showEvent(event);
}

void OutputEqualizerWindow::fillSelectors()
{
    const QScopedValueRollback<bool> filling(m_filling, true);
    const core::Configuration& c = m_document.configuration();
    for (int n = 1; n <= core::kOutputCount; ++n) {
        const size_t k = static_cast<size_t>(n - 1);
        m_outputButtons[k]->setChecked(n == m_current);
        m_shownChecks[k]->setChecked(c.output(n).peqxView);
    }
    for (int i = 0; i < core::kViewInfluenceCount; ++i)
        m_influences[static_cast<size_t>(i)]->setChecked(core::viewInfluence(c.view, static_cast<ViewInfluence>(i)));
    (c.constantQ ? m_constQ : m_adaptQ)->setChecked(true);
    plotModel().setGraphTitle(q(core::outputEqTitle(c.output(m_current).name)));
    if (m_styledCurrent != m_current) {
        m_styledCurrent = m_current;
        for (int n = 1; n <= core::kOutputCount; ++n)
            m_outputButtons[static_cast<size_t>(n - 1)]->setStyleSheet(
                QStringLiteral("QRadioButton { color: %1; font-weight: bold; }")
                    .arg((n == m_current ? plotcolour::kRed : plotcolour::kAqua).name()));
    }
    recolour();
}

void OutputEqualizerWindow::fillOutputControls()
{
    const QScopedValueRollback<bool> filling(m_filling, true);
    const core::OutputChannelSettings& o = m_document.configuration().output(m_current);
    // A track or fader the user holds stays under the mouse.
    if (!m_gainTrack->isSliderDown() && !m_gainFader->isSliderDown()) {
        m_gainTrack->setValue(o.levelPosition);
        m_gainFader->setValue(core::levelFaderFromPosition(o.levelPosition));
    }
    m_gainDb->setText(q(core::levelText(o.levelPosition)));
    if (!m_delayTrack->isSliderDown() && !m_delayFader->isSliderDown()) {
        m_delayTrack->setValue(-o.delayPosition);
        m_delayFader->setValue(core::outputDelayFaderFromPosition(o.delayPosition));
    }
    m_delayMs->setText(q(core::outputDelayReadout(o.delayPosition, m_document.configuration().temperatureC).ms));
    m_polarity->setChecked(o.inverted());
}

void OutputEqualizerWindow::fillBand()
{
    // An undo may lower the band count below the band shown: show the last band in use.
    int& current = m_bands[static_cast<size_t>(m_current - 1)];
    current = std::clamp(current, 1, std::max(1, m_document.configuration().output(m_current).peqxCount));
    m_panel->showOutputBand(current, section());
    placeMarks();
}

void OutputEqualizerWindow::placeMarks()
{
    const core::OutputBandControls c = core::outputBandControls(section());
    plotModel().setMark(kBandMark, PlotMark{plotcolour::kWhite, PlotMarkKind::Square, QString::number(band()),
                                            c.frequencyHz, c.gainDb, 0, 0, 3});
    // The marks stand on the dB and degree scales: the delay view has none.
    plotModel().setShowMarks(c.marksShown && view() != PlotView::Delay);
}

void OutputEqualizerWindow::recolour()
{
    PlotModel& model = plotModel();
    for (int n = 1; n <= core::kOutputCount; ++n)
        model.setColour(n, n == m_current ? plotcolour::kRed : plotcolour::kAqua);
    model.bringToFront(m_current);
    // The sum over the outputs while it is shown; hidden, it leaves the current output on top.
    if (m_addView) model.bringToFront(kAddSeries);
}

// ---------------------------------------------------------------- the views

void OutputEqualizerWindow::curveOf(const core::ViewCurve& curve)
{
    switch (view()) {
    case PlotView::Magnitude:
        std::copy(curve.levelDb.begin(), curve.levelDb.end(), m_curve.begin());
        break;
    case PlotView::Phase:
        for (size_t i = 0; i < core::kGridPoints; ++i)
            m_curve[i] = core::wrapPhaseDegrees(curve.phaseRad[i]);
        break;
    case PlotView::Delay:
        core::groupDelayMs(curve, m_curve);
        break;
    }
}

void OutputEqualizerWindow::plotOutput(int output)
{
    curveOf(m_state.total(output));
    plotModel().setPoints(output, core::frequencyGrid().frequencyHz, m_curve);
    plotModel().setVisible(output, m_document.configuration().output(output).peqxView);
}

void OutputEqualizerWindow::plotAdd()
{
    PlotModel& model = plotModel();
    if (m_state.hasAdd()) {
        curveOf(m_state.addSum());
        model.setPoints(kAddSeries, core::frequencyGrid().frequencyHz, m_curve);
    } else {
        model.clearSeries(kAddSeries); // no output shown: nothing to sum
    }
    model.setVisible(kAddSeries, m_addView);
}

void OutputEqualizerWindow::recompute(unsigned outputs)
{
    if (outputs == 0) return;
    const core::Configuration& c = m_document.configuration();
    PlotModel::Hold hold(plotModel());
    for (int n = 1; n <= core::kOutputCount; ++n) {
        if (!(outputs & bitOf(n))) continue;
        m_state.computeOutput(c, n);
        ++m_outputsComputed;
        plotOutput(n);
    }
    m_state.computeAdd(c);
    plotAdd();
    if (view() == PlotView::Delay) fitDelayAxis();
    recolour();
}

void OutputEqualizerWindow::refreshAll()
{
    recompute(kAllOutputs);
}

void OutputEqualizerWindow::setAxes()
{
    PlotModel& model = plotModel();
    switch (view()) {
    case PlotView::Magnitude:
        model.setAxisTitle(PlotAxisId::Y, q(t::kAxisDb));
        model.setAxisRange(PlotAxisId::Y, m_yMin->value(), m_yMax->value());
        break;
    case PlotView::Phase:
        model.setAxisTitle(PlotAxisId::Y, q(t::kAxisPhase));
        model.setAxisRange(PlotAxisId::Y, -kPhaseLimitDeg, kPhaseLimitDeg);
        break;
    case PlotView::Delay:
        model.setAxisTitle(PlotAxisId::Y, q(t::kAxisDelay));
        fitDelayAxis();
        break;
    }
}

void OutputEqualizerWindow::fitDelayAxis()
{
    // The curves on screen within the frequency axis decide the range.
    PlotModel& model = plotModel();
    std::vector<double> values;
    values.reserve(core::kGridPoints * kAddSeries);
    for (int n = 1; n <= kAddSeries; ++n) {
        const PlotSeries* s = model.findSeries(n);
        if (!s || !s->visible) continue;
        for (const PlotPoint& p : s->points)
            if (model.xAxis().contains(p.x)) values.push_back(p.y);
    }
    const core::DelayAxisRange range = core::groupDelayAxisRange(values);
    model.setAxisRange(PlotAxisId::Y, range.minMs, range.maxMs);
}

void OutputEqualizerWindow::onViewChanged()
{
    PlotModel::Hold hold(plotModel());
    for (int n = 1; n <= core::kOutputCount; ++n)
        plotOutput(n);
    plotAdd();
    setAxes();
    placeMarks();
    recolour();
    setStatusText(QString());
}

// ---------------------------------------------------------------- the user's changes

void OutputEqualizerWindow::selectOutput(int output)
{
    if (output < 1 || output > core::kOutputCount) return;
    PlotModel::Hold hold(plotModel());
    m_current = output; // on the band it was on: selecting an output stores nothing
    fillSelectors();
    fillOutputControls();
    fillBand();
}

void OutputEqualizerWindow::setAddView(bool add)
{
    m_addView = add;
    m_document.settings().setWindowValue(objectName(), QStringLiteral("add"), add);
    {
        const QScopedValueRollback<bool> filling(m_filling, true);
        (add ? m_add : m_individual)->setChecked(true);
    }
    PlotModel::Hold hold(plotModel());
    plotAdd();
    if (view() == PlotView::Delay) fitDelayAxis();
    recolour();
    setStatusText(QString());
}

void OutputEqualizerWindow::onBandSpin(int value)
{
    m_bands[static_cast<size_t>(m_current - 1)] = core::clampBand(value);
    PlotModel::Hold hold(plotModel());
    ops().selectOutputBand(m_current, band());
    fillBand();
}

void OutputEqualizerWindow::onType(int item)
{
    ops().setOutputBandType(m_current, band(), item);
    fillBand();
}

void OutputEqualizerWindow::setField(Field field, double value)
{
    switch (field) {
    case Field::Frequency:
        ops().setOutputBandFrequency(m_current, band(), value);
        break;
    case Field::Gain:
        ops().setOutputBandGain(m_current, band(), value);
        break;
    case Field::Q:
        ops().setOutputBandQ(m_current, band(), value);
        break;
    }
}

void OutputEqualizerWindow::commitField(Field field)
{
    if (const std::optional<double> value = m_panel->number(field)) setField(field, *value);
    // The field shows what was stored (or the stored value again, for a text that is no number).
    fillBand();
}

void OutputEqualizerWindow::stepField(Field field, int direction)
{
    const core::OutputBandControls shown = core::outputBandControls(section());
    const double from = field == Field::Frequency ? shown.frequencyHz : field == Field::Gain ? shown.gainDb : shown.q;
    setField(field, m_panel->steppedValue(field, direction, from));
    fillBand();
}

void OutputEqualizerWindow::commitAnalog()
{
    const core::TSOS& s = section();
    ops().setOutputBandAnalog(m_current, band(), m_panel->lNumber().value_or(s.Frec / 100.0),
                              m_panel->hNumber().value_or(s.Q / 100.0), m_panel->bNumber().value_or(s.Gain));
    fillBand();
}

void OutputEqualizerWindow::onQBar(int position)
{
    ops().setOutputBandQBar(m_current, band(), position);
    fillBand();
}

// ---------------------------------------------------------------- the plot's mouse

void OutputEqualizerWindow::onPress(const PlotMouseEvent& e)
{
    if (view() != PlotView::Magnitude || !e.mapped || e.button != Qt::LeftButton) return;
    if (!core::outputBandDragBegins(section(), e.x, e.y, e.exactlyShiftLeft())) return;
    m_dragging = true;
    setStatusText(plotModel().xAxis().contains(e.x) ? q(core::bandDragStatusText(e.x, e.y, true)) : QString());
    ops().dragOutputBand(m_current, band(), e.x, e.y);
}

void OutputEqualizerWindow::onMove(const PlotMouseEvent& e)
{
    const PlotModel& model = plotModel();
    if (m_dragging) {
        if (!e.mapped) return;
        // Only the frequency is checked against its axis: the level may run off the scale.
        setStatusText(model.xAxis().contains(e.x) ? q(core::bandDragStatusText(e.x, e.y, false)) : QString());
        ops().dragOutputBand(m_current, band(), e.x, e.y);
        return;
    }
    if (!e.mapped || !model.inRanges(e.x, e.y)) {
        setStatusText(QString());
        plot()->setHandCursor(false);
        return;
    }
    const char* unit = view() == PlotView::Magnitude ? t::kUnitDbs
                       : view() == PlotView::Phase   ? t::kUnitDegrees
                                                     : t::kUnitMs;
    const int series = m_addView ? kAddSeries : m_current;
    const std::optional<PlotNearest> near = model.nearest(series, e.x);
    setStatusText(near ? q(core::outputViewStatusText(m_addView, static_cast<int>(near->x), near->y, unit))
                       : QString());
    plot()->setHandCursor(view() == PlotView::Magnitude &&
                          core::outputBandDragBegins(section(), e.x, e.y, e.exactlyShiftLeft()));
}

void OutputEqualizerWindow::onRelease(const PlotMouseEvent&)
{
    if (!m_dragging) return;
    m_dragging = false;
    setStatusText(QString());
}

} // namespace kvr::gui
