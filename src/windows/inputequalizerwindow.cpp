#include "windows/inputequalizerwindow.h"
#include "app/programtext.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "app/documentcontroller.h"
#include "app/equalizeroperations.h"
#include "config/inputeqediting.h"
#include "config/labels.h"
#include "plot/responseplot.h"
#include "util/texts.h"
#include "widgets/bandpanel.h"
#include "windows/gesturewatcher.h"

namespace kvr::gui {

namespace t = core::texts;
using core::InputId;

namespace {

constexpr std::array<InputId, 3> kBanks{InputId::A, InputId::B, InputId::M};
// The bank buttons and view checks, in bank order.
constexpr const char* kBankButtonNames[3] = {"ModPEQ1", "ModPEQ2", "ModPEQM"};
constexpr const char* kViewCheckNames[3] = {"VerPEQ1Check", "VerPEQ2Check", "VerPEQMCheck"};
constexpr const char* kSourceGroupNames[3] = {"PEQAGroup", "PEQBGroup", "PEQMGroup"};
const QColor kBankColours[3] = {plotcolour::kLime, plotcolour::kYellow, plotcolour::kFuchsia};

constexpr int kBandMark = 1;
constexpr int kLineMark = 2;
constexpr double kLineMarkHz = 50.0;
constexpr double kMagnitudeMinDb = -20.0;
constexpr double kMagnitudeMaxDb = 20.0;
constexpr double kPhaseLimitDeg = 180.0;
constexpr int kWheelStepDelta = 120;
constexpr int kWheelGestureMs = 400;
// Room for the plot at its own size hint beside the band panel.
constexpr QSize kDefaultSize(1000, 560);

// A bank's place in the arrays of its controls.
size_t indexOf(InputId bank)
{
    return static_cast<size_t>(bank);
}

} // namespace

int InputEqualizerWindow::seriesOf(InputId bank)
{
    return static_cast<int>(bank) + 1;
}

InputEqualizerWindow::InputEqualizerWindow(DocumentController& document, QWidget* parent)
    : EditorWindow(QStringLiteral("TPEQNForm"), q(t::kInputEqCaption), QStringLiteral("StatusBar"), parent),
      m_document(document), m_gestures(new GestureWatcher(document, this))
{
    build();
    rememberView(document.settings());
    m_wheelEnd.setSingleShot(true);
    m_wheelEnd.setInterval(kWheelGestureMs);
    connect(&m_wheelEnd, &QTimer::timeout, this, [this] { m_document.endGesture(); });

    PlotModel& model = plotModel();
    {
        PlotModel::Hold hold(model);
        model.setLogScale(PlotAxisId::X, true);
        model.setAxisTitle(PlotAxisId::X, q(t::kAxisHz));
        for (InputId bank : kBanks) {
            const int n = seriesOf(bank);
            model.setColour(n, kBankColours[indexOf(bank)]);
            model.setLineStyle(n, PlotLineStyle::Solid);
            model.setSymbols(n, false);
        }
        model.setMark(kLineMark, PlotMark{plotcolour::kWhite, PlotMarkKind::DottedLine, QString(), kLineMarkHz,
                                          -kPhaseLimitDeg, kLineMarkHz, kPhaseLimitDeg, 0});
        setAxes();
        for (InputId bank : kBanks)
            plotBank(bank);
        model.setGraphTitle(q(t::kInputEqGraphTitle) + q(core::bankName(m_bank)));
        fillSelectors();
        fillBand();
        model.bringToFront(seriesOf(m_bank));
    }

    connect(&m_document, &DocumentController::changed, this, &InputEqualizerWindow::onChanged);
    connect(&m_document, &DocumentController::replaced, this, &InputEqualizerWindow::onReplaced);
    connect(this, &EditorWindow::viewChanged, this, &InputEqualizerWindow::onViewChanged);
    connect(plot(), &ResponsePlot::mousePressed, this, &InputEqualizerWindow::onPress);
    connect(plot(), &ResponsePlot::mouseMoved, this, &InputEqualizerWindow::onMove);
    connect(plot(), &ResponsePlot::mouseReleased, this, &InputEqualizerWindow::onRelease);
    plot()->installEventFilter(this);
    m_gestures->watch(plot());
    resize(kDefaultSize);
}

EqualizerOperations& InputEqualizerWindow::ops()
{
    return m_document.equalizers();
}

const core::TSOS& InputEqualizerWindow::section() const
{
    return core::inputBand(m_document.configuration(), m_bank, m_band);
}

// ---------------------------------------------------------------- building

void InputEqualizerWindow::build()
{
    auto* side = new QVBoxLayout(sidePanel());
    side->setContentsMargins(0, 0, 0, 0);
    side->setSpacing(10);

    auto* banks = new QHBoxLayout;
    auto* bankGroup = new QButtonGroup(this);
    for (InputId bank : kBanks) {
        const size_t i = indexOf(bank);
        auto* button = new QRadioButton(q(t::kInputBankButtons[i]), sidePanel());
        button->setObjectName(q(kBankButtonNames[i]));
        bankGroup->addButton(button);
        banks->addWidget(button);
        m_bankButtons[i] = button;
        connect(button, &QRadioButton::toggled, this, [this, bank](bool on) {
            if (on && !m_filling) selectBank(bank);
        });
    }
    side->addLayout(banks);
    side->addWidget(buildBandPanel());
    side->addWidget(buildSourcePanel());
    side->addStretch(1);

    for (InputId bank : kBanks) {
        const size_t i = indexOf(bank);
        auto* check = new QCheckBox(q(t::kInputViewChecks[i]), body());
        check->setObjectName(q(kViewCheckNames[i]));
        check->setStyleSheet(QStringLiteral("QCheckBox { color: %1; }").arg(kBankColours[i].name()));
        addFooterWidget(check);
        m_viewChecks[i] = check;
        connect(check, &QCheckBox::toggled, this, [this, bank](bool on) {
            if (!m_filling) ops().setInputBankView(bank, on);
        });
    }
}

QWidget* InputEqualizerWindow::buildBandPanel()
{
    m_panel = new BandPanel(sidePanel());
    for (QWidget* control : m_panel->gestureControls())
        m_gestures->watch(control);
    connect(m_panel, &BandPanel::bandChosen, this, &InputEqualizerWindow::onBandSpin);
    connect(m_panel, &BandPanel::typeChosen, this, &InputEqualizerWindow::onType);
    connect(m_panel, &BandPanel::fieldCommitted, this, &InputEqualizerWindow::commitField);
    connect(m_panel, &BandPanel::fieldStepped, this, &InputEqualizerWindow::stepField);
    connect(m_panel, &BandPanel::analogCommitted, this, &InputEqualizerWindow::commitAnalog);
    connect(m_panel, &BandPanel::qBarMoved, this, &InputEqualizerWindow::onQBar);
    return m_panel;
}

QWidget* InputEqualizerWindow::buildSourcePanel()
{
    auto* box = new QGroupBox(q(t::kInputSourceTitle), sidePanel());
    box->setObjectName(QStringLiteral("SourcePanel"));
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(6);
    for (int column = 0; column < 3; ++column) {
        auto* heading = new QLabel(q(t::kInputSourceColumns[column]), box);
        heading->setProperty("role", QStringLiteral("dim"));
        grid->addWidget(heading, 0, column + 1, Qt::AlignHCenter);
    }
    for (InputId input : kBanks) {
        const size_t i = indexOf(input);
        const int row = static_cast<int>(i) + 1;
        grid->addWidget(new QLabel(q(t::kInputSourceRows[i]), box), row, 0);
        auto* group = new QButtonGroup(this);
        group->setObjectName(q(kSourceGroupNames[i]));
        for (int item = 0; item < 3; ++item) {
            auto* radio = new QRadioButton(box);
            radio->setObjectName(q(kSourceGroupNames[i]) + QString::number(item));
            group->addButton(radio, item);
            grid->addWidget(radio, row, item + 1, Qt::AlignHCenter);
        }
        m_sourceGroups[i] = group;
        connect(group, &QButtonGroup::idToggled, this, [this, input](int item, bool on) {
            if (on && !m_filling) ops().setInputSource(input, item);
        });
    }
    return box;
}

// ---------------------------------------------------------------- filling from the document

void InputEqualizerWindow::onChanged(const DocumentChange& change)
{
    if (!change.touches(Region::InputEq)) return;
    PlotModel::Hold hold(plotModel());
    for (InputId bank : kBanks)
        if (change.touches(Region::InputEq, bank)) plotBank(bank);
    fillSelectors();
    if (change.touches(Region::InputEq, m_bank)) fillBand();
    plotModel().bringToFront(seriesOf(m_bank));
}

void InputEqualizerWindow::onReplaced()
{
    // New and Open close the editor; it comes back on band 1 of PEQA.
    hide();
    m_dragging = false;
    m_bank = InputId::A;
    m_band = 1;
    plotModel().setGraphTitle(q(t::kInputEqGraphTitle) + q(core::bankName(m_bank)));
}

void InputEqualizerWindow::fillSelectors()
{
    const QScopedValueRollback<bool> filling(m_filling, true);
    const core::Configuration& c = m_document.configuration();
    for (InputId bank : kBanks) {
        const size_t i = indexOf(bank);
        m_bankButtons[i]->setChecked(bank == m_bank);
        m_viewChecks[i]->setChecked(c.input(bank).peqView);
        if (QAbstractButton* b = m_sourceGroups[i]->button(c.input(bank).peqSource)) b->setChecked(true);
    }
}

void InputEqualizerWindow::fillBand()
{
    // An undo may lower the band count below the band shown: show the last band in use.
    m_band = std::min(m_band, std::max(1, m_document.configuration().input(m_bank).peqBandCount));
    const core::TSOS& s = section();
    m_panel->showInputBand(m_band, s);
    plotModel().setShowMarks(!core::bandControls(s.Tipo).analog);
    placeMarks();
}

void InputEqualizerWindow::placeMarks()
{
    const core::BandFields f = core::bandFields(section());
    plotModel().setMark(kBandMark, PlotMark{plotcolour::kWhite, PlotMarkKind::Square, QString::number(m_band),
                                            f.frequencyHz, f.gainDb, 0, 0, 3});
}

void InputEqualizerWindow::plotBank(InputId bank)
{
    const core::Configuration& c = m_document.configuration();
    core::ChainResponse response;
    core::inputBankResponse(c, bank, response);
    core::responseCurve(response, view() == PlotView::Phase, m_curve);
    const int n = seriesOf(bank);
    plotModel().setPoints(n, core::frequencyGrid().frequencyHz, m_curve);
    plotModel().setVisible(n, c.input(bank).peqView);
}

void InputEqualizerWindow::setAxes()
{
    PlotModel& model = plotModel();
    if (view() == PlotView::Phase) {
        model.setAxisTitle(PlotAxisId::Y, q(t::kAxisPhase));
        model.setAxisRange(PlotAxisId::Y, -kPhaseLimitDeg, kPhaseLimitDeg);
    } else {
        model.setAxisTitle(PlotAxisId::Y, q(t::kAxisDb));
        model.setAxisRange(PlotAxisId::Y, kMagnitudeMinDb, kMagnitudeMaxDb);
    }
}

void InputEqualizerWindow::onViewChanged()
{
    // The three banks in the new view, one repaint.
    PlotModel::Hold hold(plotModel());
    setAxes();
    for (InputId bank : kBanks)
        plotBank(bank);
    placeMarks();
    plotModel().bringToFront(seriesOf(m_bank));
    setStatusText(QString());
}

// ---------------------------------------------------------------- the user's changes

void InputEqualizerWindow::selectBank(InputId bank)
{
    m_bank = bank;
    m_band = 1;
    PlotModel::Hold hold(plotModel());
    plotModel().setGraphTitle(q(t::kInputEqGraphTitle) + q(core::bankName(bank)));
    ops().selectInputBand(bank, m_band);
    fillSelectors();
    fillBand();
    plotModel().bringToFront(seriesOf(bank));
}

void InputEqualizerWindow::onBandSpin(int band)
{
    m_band = core::clampBand(band);
    PlotModel::Hold hold(plotModel());
    ops().selectInputBand(m_bank, m_band);
    fillBand();
}

void InputEqualizerWindow::onType(int item)
{
    ops().setInputBandType(m_bank, m_band, item);
    fillBand();
}

void InputEqualizerWindow::setField(Field field, double value)
{
    switch (field) {
    case Field::Frequency:
        ops().setInputBandFrequency(m_bank, m_band, value);
        break;
    case Field::Gain:
        ops().setInputBandGain(m_bank, m_band, value);
        break;
    case Field::Q:
        ops().setInputBandQ(m_bank, m_band, value);
        break;
    }
}

void InputEqualizerWindow::commitField(Field field)
{
    if (const std::optional<double> value = m_panel->number(field)) setField(field, *value);
    // The field shows what was stored (or the stored value again, for a text that is no number).
    fillBand();
}

void InputEqualizerWindow::stepField(Field field, int direction)
{
    const core::BandFields shown = core::bandFields(section());
    const double from = field == Field::Frequency ? shown.frequencyHz : field == Field::Gain ? shown.gainDb : shown.q;
    setField(field, m_panel->steppedValue(field, direction, from));
    fillBand();
}

void InputEqualizerWindow::commitAnalog()
{
    const core::BandFields shown = core::bandFields(section());
    ops().setInputBandAnalog(m_bank, m_band, m_panel->lNumber().value_or(shown.l), m_panel->hNumber().value_or(shown.h),
                             m_panel->bNumber().value_or(shown.b));
    fillBand();
}

void InputEqualizerWindow::onQBar(int position)
{
    ops().setInputBandQBar(m_bank, m_band, position);
    fillBand();
}

// ---------------------------------------------------------------- the plot's mouse

void InputEqualizerWindow::onPress(const PlotMouseEvent& e)
{
    if (view() != PlotView::Magnitude || !e.mapped || e.exactlyShiftLeft()) return;
    if (!core::bandDragStarts(section(), e.x, e.y)) return;
    m_dragging = true;
    if (plotModel().xAxis().contains(e.x)) setStatusText(q(core::bandPressStatus(e.x, e.y)));
    ops().dragInputBand(m_bank, m_band, e.x, e.y);
}

void InputEqualizerWindow::onMove(const PlotMouseEvent& e)
{
    const PlotModel& model = plotModel();
    if (m_dragging) {
        if (!e.mapped) return;
        setStatusText(model.inRanges(e.x, e.y) ? q(core::dragStatus(e.x, e.y)) : QString());
        ops().dragInputBand(m_bank, m_band, e.x, e.y);
        return;
    }
    if (!e.mapped || !model.inRanges(e.x, e.y)) {
        setStatusText(QString());
        plot()->setHandCursor(false);
        return;
    }
    const bool phase = view() == PlotView::Phase;
    const std::optional<PlotNearest> near = model.nearest(seriesOf(m_bank), e.x);
    setStatusText(near ? q(core::curveReadout(near->x, near->y, phase)) : QString());
    plot()->setHandCursor(!phase && !e.exactlyShiftLeft() && core::bandDragStarts(section(), e.x, e.y));
}

void InputEqualizerWindow::onRelease(const PlotMouseEvent&)
{
    if (!m_dragging) return;
    m_dragging = false;
    setStatusText(QString());
}

bool InputEqualizerWindow::wheel(QWheelEvent* event)
{
    if (view() != PlotView::Magnitude) return false;
    const PlotMapping map = plot()->mapping();
    if (!map.valid()) return false;
    const QPointF at = event->position();
    const core::TSOS& s = section();
    if (!core::bandControls(s.Tipo).q || !core::bandDragStarts(s, map.toDataX(at.x()), map.toDataY(at.y())))
        return false;
    m_wheelDelta += event->angleDelta().y();
    const int steps = m_wheelDelta / kWheelStepDelta;
    m_wheelDelta -= steps * kWheelStepDelta;
    if (steps != 0) ops().stepInputBandQ(m_bank, m_band, steps);
    // Turns of the wheel close together are one step of the history.
    m_wheelEnd.start();
    return true;
}

bool InputEqualizerWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == plot() && event->type() == QEvent::Wheel && wheel(static_cast<QWheelEvent*>(event))) {
        event->accept();
        return true;
    }
    return EditorWindow::eventFilter(watched, event);
}

} // namespace kvr::gui
