#include "windows/dynamicswindow.h"
#include "app/programtext.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSlider>
#include <QVBoxLayout>
#include <vector>

#include "app/documentcontroller.h"
#include "app/dynamicsoperations.h"
#include "app/settings.h"
#include "config/conversions.h"
#include "config/dynamicsediting.h"
#include "plot/responseplot.h"
#include "util/texts.h"
#include "windows/gesturewatcher.h"

namespace kvr::gui {

namespace t = core::texts;

namespace {

constexpr int kCurveSeries = 1;
constexpr int kReferenceSeries = 2;
// The axes of the transfer curve, in dBu.
constexpr double kInputMinDbu = -20.1;
constexpr double kOutputMinDbu = -20.0;
constexpr double kAxisMaxDbu = 20.0;
// The reference line: output = input.
constexpr double kReferenceFrom = -60.0;
constexpr double kReferenceTo = 20.0;
constexpr QSize kDefaultSize(1180, 620);
const QString kViewPowerKey = QStringLiteral("viewPower");

} // namespace

DynamicsWindow::DynamicsWindow(DocumentController& document, QWidget* parent)
    : FramedWindow(QStringLiteral("TDynamicform"), q(t::kDynamicsCaption), parent), m_document(document),
      m_gestures(new GestureWatcher(document, this))
{
    auto* outer = new QVBoxLayout(body());
    outer->setContentsMargins(10, 8, 10, 8);
    outer->setSpacing(8);

    auto* outputs = new QHBoxLayout;
    outputs->setSpacing(6);
    for (int n = 1; n <= core::kOutputCount; ++n) {
        auto* button = new QPushButton(body());
        button->setObjectName(QStringLiteral("Output%1B").arg(n));
        button->setAutoDefault(false);
        button->setMinimumWidth(90);
        outputs->addWidget(button);
        m_outputButtons[static_cast<size_t>(n - 1)] = button;
        connect(button, &QPushButton::clicked, this, [this, n] { selectOutput(n); });
    }
    outputs->addStretch(1);
    outer->addLayout(outputs);

    auto* middle = new QHBoxLayout;
    middle->setSpacing(10);
    auto* plotColumn = new QVBoxLayout;
    plotColumn->setSpacing(4);
    m_plot = new ResponsePlot(body());
    m_plot->setObjectName(QStringLiteral("DynamicGraph"));
    m_plot->setMinimumSize(420, 360);
    plotColumn->addWidget(m_plot, 1);
    m_status = new QLabel(body());
    m_status->setObjectName(QStringLiteral("StatusBar"));
    m_status->setProperty("role", QStringLiteral("dim"));
    m_status->setMinimumHeight(m_status->fontMetrics().height() + 4);
    plotColumn->addWidget(m_status);
    middle->addLayout(plotColumn, 1);
    middle->addWidget(buildStagePanel());
    middle->addWidget(buildGatePanel());
    outer->addLayout(middle, 1);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(10);
    m_viewPower = new QCheckBox(q(t::kViewPower), body());
    m_viewPower->setObjectName(QStringLiteral("ViewPower"));
    m_viewPower->setChecked(document.settings().windowValue(objectName(), kViewPowerKey, true).toBool());
    m_power = new QPlainTextEdit(body());
    m_power->setObjectName(QStringLiteral("PowerMemoDyn"));
    m_power->setReadOnly(true);
    m_power->setFixedHeight(m_power->fontMetrics().lineSpacing() * 5 + 12);
    auto* speaker = new QPushButton(q(t::kSpeakerParameters), body());
    speaker->setObjectName(QStringLiteral("SpkAmpB"));
    speaker->setAutoDefault(false);
    bottom->addWidget(m_viewPower, 0, Qt::AlignTop);
    bottom->addWidget(m_power, 1);
    bottom->addWidget(speaker, 0, Qt::AlignTop);
    outer->addLayout(bottom);
    connect(m_viewPower, &QCheckBox::toggled, this, [this](bool on) {
        m_document.settings().setWindowValue(objectName(), kViewPowerKey, on);
        fillPower();
    });
    connect(speaker, &QPushButton::clicked, this, [this] { emit speakerParametersRequested(m_current); });

    PlotModel& model = m_plot->model();
    {
        PlotModel::Hold hold(model);
        model.setLogScale(PlotAxisId::X, false);
        model.setCrossAtZero(false);
        model.setAxisTitle(PlotAxisId::X, q(t::kAxisInputDbu));
        model.setAxisRange(PlotAxisId::X, kInputMinDbu, kAxisMaxDbu);
        model.setAxisTitle(PlotAxisId::Y, q(t::kAxisOutputDbu));
        model.setAxisRange(PlotAxisId::Y, kOutputMinDbu, kAxisMaxDbu);
        model.setColour(kCurveSeries, plotcolour::kAqua);
        model.setLineStyle(kCurveSeries, PlotLineStyle::Solid);
        model.setSymbols(kCurveSeries, false);
        model.setColour(kReferenceSeries, plotcolour::kWhite);
        model.setLineStyle(kReferenceSeries, PlotLineStyle::Dotted);
        model.setSymbols(kReferenceSeries, false);
        model.addPoint(kReferenceSeries, kReferenceFrom, kReferenceFrom);
        model.addPoint(kReferenceSeries, kReferenceTo, kReferenceTo);
        fill();
    }

    connect(&m_document, &DocumentController::changed, this, &DynamicsWindow::onChanged);
    connect(&m_document, &DocumentController::replaced, this, &DynamicsWindow::onReplaced);
    connect(m_plot, &ResponsePlot::mouseMoved, this, &DynamicsWindow::onMove);
    resize(kDefaultSize);
}

DynamicsOperations& DynamicsWindow::ops()
{
    return m_document.dynamics();
}

const core::TDYNAMIC& DynamicsWindow::dyn() const
{
    return m_document.configuration().output(m_current).dynamics;
}

// ---------------------------------------------------------------- building

QSlider* DynamicsWindow::buildSlider(Slider which, const char* name, const char* valueName, int lo, int hi)
{
    const size_t k = static_cast<size_t>(which);
    auto* slider = new QSlider(Qt::Vertical, body());
    slider->setObjectName(q(name));
    slider->setRange(lo, hi);
    // An inverted view of the position: the lowest position (the highest level, the shortest
    // time) at the top, and the Up key moves the handle up.
    slider->setInvertedAppearance(true);
    slider->setInvertedControls(true);
    slider->setPageStep(2);
    slider->setMinimumHeight(200);
    m_gestures->watch(slider);
    auto* value = new QLabel(body());
    value->setObjectName(q(valueName));
    value->setAlignment(Qt::AlignCenter);
    value->setMinimumWidth(74);
    value->setProperty("role", QStringLiteral("readout"));
    value->setStyleSheet(QStringLiteral("QLabel { padding: 2px 4px; }")); // narrower columns
    m_sliders[k] = slider;
    m_values[k] = value;
    connect(slider, &QSlider::valueChanged, this, [this, which](int p) { onSlider(which, p); });
    return slider;
}

QWidget* DynamicsWindow::buildStagePanel()
{
    m_stagePanel = new QGroupBox(body());
    m_stagePanel->setObjectName(QStringLiteral("DynamicPanel"));
    auto* grid = new QGridLayout(m_stagePanel);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    struct Column {
        Slider which;
        const char* caption;
        const char* name;
        const char* valueName;
        int lo, hi;
    };
    const Column columns[] = {
        {Slider::Threshold, t::kThresholdLimiter, "UmbralSlider", "UmbralL", core::kThresholdPositionMin,
         core::kThresholdPositionMax},
        {Slider::Ratio, t::kDynamicsRatio, "RatioSlider", "RatioL", core::kRatioPositionMin, core::kRatioPositionMax},
        {Slider::Gain, t::kDynamicsGain, "GainSlider", "GainL", core::kGainPositionMin, core::kGainPositionMax},
        {Slider::Knee, t::kDynamicsKnee, "KneeSlider", "KneeL", core::kKneePositionMin, core::kKneePositionMax},
        {Slider::Attack, t::kDynamicsAttack, "AttackSlider", "AttackL", 0, int(core::kAttackTimesMs.size()) - 1},
        {Slider::Release, t::kDynamicsRelease, "ReleaseSlider", "ReleaseL", 0, int(core::kReleaseTimesMs.size()) - 1},
    };
    int column = 0;
    for (const Column& c : columns) {
        auto* caption = new QLabel(q(c.caption), m_stagePanel);
        caption->setProperty("role", QStringLiteral("dim"));
        if (c.which == Slider::Threshold) {
            caption->setObjectName(QStringLiteral("UmbralCaptionL"));
            m_thresholdCaption = caption;
        }
        QSlider* slider = buildSlider(c.which, c.name, c.valueName, c.lo, c.hi);
        grid->addWidget(caption, 0, column, Qt::AlignHCenter);
        QLabel* value = m_values[static_cast<size_t>(c.which)];
        if (c.which == Slider::Ratio) {
            // "x.x" then ": 1".
            auto* pair = new QHBoxLayout;
            pair->setSpacing(3);
            value->setMinimumWidth(46);
            pair->addWidget(value);
            auto* suffix = new QLabel(q(t::kRatioSuffix), m_stagePanel);
            suffix->setObjectName(QStringLiteral("RatioSuffixL"));
            pair->addWidget(suffix);
            grid->addLayout(pair, 1, column, Qt::AlignHCenter);
        } else {
            grid->addWidget(value, 1, column, Qt::AlignHCenter);
        }
        grid->addWidget(slider, 2, column, Qt::AlignHCenter);
        ++column;
    }

    auto* kind = new QGroupBox(q(t::kKneeKindGroup), m_stagePanel);
    kind->setObjectName(QStringLiteral("TipoKGroup"));
    auto* kindLayout = new QVBoxLayout(kind);
    auto* kindGroup = new QButtonGroup(this);
    m_limiter = new QRadioButton(q(t::kKneeKinds[0]), kind);
    m_limiter->setObjectName(QStringLiteral("LimiterRB"));
    m_compressor = new QRadioButton(q(t::kKneeKinds[1]), kind);
    m_compressor->setObjectName(QStringLiteral("CompressorRB"));
    for (QRadioButton* b : {m_limiter, m_compressor}) {
        kindGroup->addButton(b);
        kindLayout->addWidget(b);
    }
    connect(m_compressor, &QRadioButton::toggled, this, [this](bool compressor) {
        if (m_filling) return;
        ops().setCompressor(m_current, compressor);
        fill();
    });

    auto* autoBox = new QGroupBox(q(t::kAutoTimeGroup), m_stagePanel);
    autoBox->setObjectName(QStringLiteral("AutoTimeGroup"));
    auto* autoLayout = new QVBoxLayout(autoBox);
    m_autoTime = new QCheckBox(q(t::kAutoTimeCheck), autoBox);
    m_autoTime->setObjectName(QStringLiteral("AutoTime"));
    autoLayout->addWidget(m_autoTime);
    connect(m_autoTime, &QCheckBox::toggled, this, [this](bool on) {
        if (m_filling) return;
        ops().setAutomaticTimes(m_current, on);
        fill();
    });

    m_bypass = new QPushButton(m_stagePanel);
    m_bypass->setObjectName(QStringLiteral("DynBypassBoton"));
    m_bypass->setCheckable(true);
    m_bypass->setAutoDefault(false);
    connect(m_bypass, &QPushButton::toggled, this, [this](bool bypassed) {
        if (m_filling) return;
        ops().setBypass(m_current, bypassed);
        fill();
    });

    auto* row = new QHBoxLayout;
    row->addWidget(kind);
    row->addWidget(autoBox);
    grid->addLayout(row, 4, 0, 1, 4);
    grid->addWidget(m_bypass, 4, 4, 1, 2, Qt::AlignCenter);
    return m_stagePanel;
}

QWidget* DynamicsWindow::buildGatePanel()
{
    m_gatePanel = new QGroupBox(body());
    m_gatePanel->setObjectName(QStringLiteral("GatePanel"));
    auto* grid = new QGridLayout(m_gatePanel);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    struct Column {
        Slider which;
        const char* caption;
        const char* name;
        const char* valueName;
        int lo, hi;
    };
    const int lastGateTime = int(core::kGateTimesMs.size()) - 1;
    const Column columns[] = {
        {Slider::Gate, t::kGateThresholdCaption, "GateSlider", "GateL", core::kGatePositionMin, core::kGatePositionMax},
        {Slider::Hold, t::kHoldTime, "HoldSlider", "HoldL", 0, lastGateTime},
        {Slider::Close, t::kCloseTime, "CloseSlider", "CloseL", 0, lastGateTime},
    };
    int column = 0;
    for (const Column& c : columns) {
        auto* caption = new QLabel(q(c.caption), m_gatePanel);
        caption->setProperty("role", QStringLiteral("dim"));
        QSlider* slider = buildSlider(c.which, c.name, c.valueName, c.lo, c.hi);
        grid->addWidget(caption, 0, column, Qt::AlignHCenter);
        grid->addWidget(m_values[static_cast<size_t>(c.which)], 1, column, Qt::AlignHCenter);
        grid->addWidget(slider, 2, column, Qt::AlignHCenter);
        ++column;
    }
    m_gateBypass = new QPushButton(m_gatePanel);
    m_gateBypass->setObjectName(QStringLiteral("GateBypassBoton"));
    m_gateBypass->setCheckable(true);
    m_gateBypass->setAutoDefault(false);
    grid->setRowMinimumHeight(3, 4);
    grid->addWidget(m_gateBypass, 4, 0, 1, 3, Qt::AlignCenter);
    connect(m_gateBypass, &QPushButton::toggled, this, [this](bool bypassed) {
        if (m_filling) return;
        ops().setGateBypass(m_current, bypassed);
        fill();
    });
    return m_gatePanel;
}

// ---------------------------------------------------------------- filling from the document

void DynamicsWindow::onChanged(const DocumentChange& change)
{
    if (change.touches(Region::Dynamics, m_current) || change.touches(Region::Names)) fill();
}

void DynamicsWindow::onReplaced()
{
    // New and Open close the editor; it comes back on output 1.
    hide();
    m_current = 1;
}

void DynamicsWindow::showEvent(QShowEvent* event)
{
    fill();
    FramedWindow::showEvent(event);
}

void DynamicsWindow::fillCaptions()
{
    const core::Configuration& c = m_document.configuration();
    for (int n = 1; n <= core::kOutputCount; ++n) {
        QPushButton* b = m_outputButtons[static_cast<size_t>(n - 1)];
        b->setText(q(c.output(n).name));
        b->setStyleSheet(
            n == m_current
                ? QStringLiteral("QPushButton { color: %1; font-weight: bold; }").arg(plotcolour::kRed.name())
                : QString());
    }
    m_plot->model().setGraphTitle(q(core::dynamicsPlotTitle(c.output(m_current).name)));
    m_stagePanel->setTitle(q(core::dynamicsPanelTitle(m_current)));
    m_gatePanel->setTitle(q(core::gatePanelTitle(m_current)));
}

void DynamicsWindow::fill()
{
    const QScopedValueRollback<bool> filling(m_filling, true);
    PlotModel::Hold hold(m_plot->model());
    fillCaptions();
    const core::TDYNAMIC& d = dyn();
    const core::DynamicsPositions p = core::dynamicsPositions(d);
    const std::array<int, kSliders> positions{p.threshold, p.ratio, p.gain, p.knee, p.attack,
                                              p.release,   p.gate,  p.hold, p.close};
    const std::array<std::string, kSliders> texts{
        core::thresholdText(p.threshold), core::ratioText(p.ratio),   core::makeupGainText(p.gain),
        core::kneeText(p.knee),           core::attackText(p.attack), core::releaseText(p.release),
        core::gateThresholdText(p.gate),  core::gateTimeText(p.hold), core::gateTimeText(p.close)};
    const core::DynamicsControlStates s = core::dynamicsControlStates(d);
    const std::array<bool, kSliders> enabled{s.threshold, s.ratio,         s.gain, s.knee, s.attack,
                                             s.release,   s.gateThreshold, s.hold, s.close};
    for (size_t k = 0; k < kSliders; ++k) {
        // A slider the user holds stays under the mouse.
        if (!m_sliders[k]->isSliderDown()) m_sliders[k]->setValue(positions[k]);
        m_values[k]->setText(q(texts[k]));
        m_sliders[k]->setEnabled(enabled[k]);
        m_values[k]->setEnabled(enabled[k]);
    }
    m_thresholdCaption->setText(q(core::thresholdCaption(d)));
    (d.CriKnee != 0 ? m_compressor : m_limiter)->setChecked(true);
    m_limiter->setEnabled(s.kind);
    m_compressor->setEnabled(s.kind);
    m_autoTime->setChecked(d.AuxFlag != 0);
    m_autoTime->setEnabled(s.autoTime);
    m_bypass->setChecked(d.BypassF != 0);
    m_bypass->setText(q(d.BypassF != 0 ? t::kDynamicsBypassed : t::kDynamicsActive));
    m_gateBypass->setChecked(d.GateBypassF != 0);
    m_gateBypass->setText(q(d.GateBypassF != 0 ? t::kGateBypassed : t::kGateActive));
    plotCurve();
    fillPower();
}

void DynamicsWindow::plotCurve()
{
    const std::vector<core::CurvePoint> curve = core::dynamicsTransferCurve(dyn());
    std::vector<double> xs(curve.size());
    std::vector<double> ys(curve.size());
    for (size_t i = 0; i < curve.size(); ++i) {
        xs[i] = curve[i].inputDbu;
        ys[i] = curve[i].outputDbu;
    }
    m_plot->model().setPoints(kCurveSeries, xs, ys);
    m_plot->model().bringToFront(kCurveSeries);
}

void DynamicsWindow::fillPower()
{
    m_power->setPlainText(joinLines(core::dynamicsPowerText(dyn(), m_viewPower->isChecked())));
}

// ---------------------------------------------------------------- the user's changes

void DynamicsWindow::selectOutput(int output)
{
    if (output < 1 || output > core::kOutputCount) return;
    m_current = output;
    // The stored values pass through the sliders: a value between their steps is stored as the
    // slider holds it.
    ops().selectOutput(output);
    fill();
}

void DynamicsWindow::onSlider(Slider which, int position)
{
    if (m_filling) return;
    const int n = m_current;
    switch (which) {
    case Slider::Threshold:
        ops().setThresholdPosition(n, position);
        break;
    case Slider::Ratio:
        ops().setRatioPosition(n, position);
        break;
    case Slider::Gain:
        ops().setGainPosition(n, position);
        break;
    case Slider::Knee:
        ops().setKneePosition(n, position);
        break;
    case Slider::Attack:
        ops().setAttackPosition(n, position);
        break;
    case Slider::Release:
        ops().setReleasePosition(n, position);
        break;
    case Slider::Gate:
        ops().setGateThresholdPosition(n, position);
        break;
    case Slider::Hold:
        ops().setHoldPosition(n, position);
        break;
    case Slider::Close:
        ops().setClosePosition(n, position);
        break;
    }
    // A change the stage refuses (or that changes nothing) still shows the stored value.
    fill();
}

void DynamicsWindow::onMove(const PlotMouseEvent& e)
{
    if (e.exactlyShiftLeft()) return;
    const bool inside = e.mapped && m_plot->model().inRanges(e.x, e.y);
    const QString text = inside ? q(core::dynamicsReadoutText(dyn(), e.x)) : QString();
    m_status->setText(text);
    m_plot->model().setReadout(text);
}

} // namespace kvr::gui
