#include "windows/inputdelaywindow.h"
#include "app/programtext.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/delayoperations.h"
#include "app/documentcontroller.h"
#include "config/conversions.h"
#include "config/readouts.h"
#include "util/texts.h"
#include "widgets/blockdiagram.h"
#include "widgets/fader.h"
#include "widgets/trackscale.h"
#include "windows/gesturewatcher.h"

namespace kvr::gui {

namespace t = core::texts;
using core::InputId;

namespace {

struct ChannelNames {
    const char* track;
    const char* fader;
    const char* metres;
    const char* feet;
    const char* ms;
    int tag;
};
// By InputId: A, B, A+B.
constexpr ChannelNames kNames[core::kInputCount] = {
    {"DistATrack", "DistASlider", "DistAL", "PiesAL", "msegAL", 1},
    {"DistBTrack", "DistBSlider", "DistBL", "PiesBL", "msegBL", 3},
    {"DistMTrack", "DistMSlider", "DistML", "PiesML", "msegML", 2},
};

QLabel* readout(QWidget* parent, const char* name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(q(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setMinimumWidth(58);
    label->setProperty("role", QStringLiteral("readout"));
    return label;
}

QLabel* unit(QWidget* parent, const char* text)
{
    auto* label = new QLabel(q(text), parent);
    label->setProperty("role", QStringLiteral("dim"));
    return label;
}

} // namespace

InputDelayWindow::InputDelayWindow(DocumentController& document, QWidget* parent)
    : FramedWindow(QStringLiteral("TDelayForm"), q(t::kInputDelayCaption), parent), m_document(document),
      m_gestures(new GestureWatcher(document, this))
{
    auto* layout = new QHBoxLayout(body());
    layout->setContentsMargins(16, 12, 16, 14);
    layout->setSpacing(18);
    for (InputId id : {InputId::A, InputId::B, InputId::M}) {
        buildChannel(id);
        const Channel& ch = m_channels[static_cast<size_t>(id)];
        auto* column = new QVBoxLayout;
        column->setSpacing(8);
        auto* caption = new QLabel(q(t::kDelayInputCaptions[static_cast<int>(id)]), body());
        caption->setAlignment(Qt::AlignCenter);
        caption->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;").arg(inputColour(id).name()));
        column->addWidget(caption);
        auto* pair = new QHBoxLayout;
        pair->setSpacing(2);
        pair->addStretch(1);
        pair->addWidget(ch.track);
        pair->addWidget(ch.fader);
        pair->addStretch(1);
        column->addLayout(pair, 1);
        auto* values = new QGridLayout;
        values->setHorizontalSpacing(6);
        values->setVerticalSpacing(4);
        values->addWidget(ch.metres, 0, 0);
        values->addWidget(unit(body(), t::kMetreUnit), 0, 1);
        values->addWidget(ch.feet, 1, 0);
        values->addWidget(unit(body(), t::kFeetUnit), 1, 1);
        values->addWidget(ch.ms, 2, 0);
        values->addWidget(unit(body(), t::kMsUnit), 2, 1);
        column->addLayout(values);
        layout->addLayout(column);
    }

    auto* side = new QVBoxLayout;
    side->setSpacing(12);
    auto* temperature = new QGroupBox(q(t::kTemperatureCaption), body());
    auto* tl = new QGridLayout(temperature);
    m_celsius = new QSpinBox(temperature);
    m_celsius->setObjectName(QStringLiteral("TemperaturaSpin"));
    m_celsius->setRange(core::kTemperatureMinC, core::kTemperatureMaxC);
    m_fahrenheit = new QSpinBox(temperature);
    m_fahrenheit->setObjectName(QStringLiteral("TemperaturaFSpin"));
    m_fahrenheit->setRange(core::fahrenheitFromCelsius(core::kTemperatureMinC),
                           core::fahrenheitFromCelsius(core::kTemperatureMaxC));
    // °F follows its spin buttons only; °C takes a typed value when it is complete.
    m_fahrenheit->findChild<QLineEdit*>()->setReadOnly(true);
    for (QSpinBox* spin : {m_celsius, m_fahrenheit}) {
        spin->setKeyboardTracking(false);
        spin->setMinimumWidth(70);
        m_gestures->watch(spin);
    }
    tl->addWidget(m_celsius, 0, 0);
    tl->addWidget(unit(temperature, t::kCelsiusUnit), 0, 1);
    tl->addWidget(m_fahrenheit, 1, 0);
    tl->addWidget(unit(temperature, t::kFahrenheitUnit), 1, 1);
    side->addWidget(temperature);
    m_linkAToB = new QCheckBox(q(t::kLinkAToB), body());
    m_linkAToB->setObjectName(QStringLiteral("LinkABDelayCheck"));
    m_linkAll = new QCheckBox(q(t::kLinkAll), body());
    m_linkAll->setObjectName(QStringLiteral("LinkAllDelayCheck"));
    side->addWidget(m_linkAToB);
    side->addWidget(m_linkAll);
    side->addStretch(1);
    m_ok = new QPushButton(q(t::kOk), body());
    m_ok->setObjectName(QStringLiteral("OKBoton"));
    m_ok->setAutoDefault(false);
    side->addWidget(m_ok);
    layout->addLayout(side);

    connect(m_celsius, &QSpinBox::valueChanged, this, [this](int c) {
        if (!m_filling) m_document.delays().setTemperature(c);
    });
    connect(m_fahrenheit, &QSpinBox::valueChanged, this, [this](int f) {
        if (!m_filling) m_document.delays().setTemperatureFahrenheit(f);
    });
    connect(m_linkAToB, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_filling) m_document.delays().setInputDelayLinkAToB(on);
    });
    connect(m_linkAll, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_filling) m_document.delays().setInputDelayLinkAll(on);
    });
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(&m_document, &DocumentController::changed, this, &InputDelayWindow::onChanged);
    connect(&m_document, &DocumentController::replaced, this, &InputDelayWindow::close);
    refill();
    resize(640, 470);
}

void InputDelayWindow::buildChannel(InputId id)
{
    Channel& ch = m_channels[static_cast<size_t>(id)];
    const ChannelNames& names = kNames[static_cast<int>(id)];
    const QColor accent = inputColour(id);
    ch.track = new TrackScale(body());
    ch.track->setObjectName(q(names.track));
    ch.track->setProperty("Tag", names.tag);
    ch.track->setRange(0, core::kInputDelayPositionMax);
    ch.track->setSingleStep(1);
    ch.track->setPageStep(10);
    ch.track->setTickInterval(1000);
    ch.track->setUpArrowStep(core::kDelayKeyStep);
    ch.track->addLabel(0, q(t::kDistanceScaleTop));
    ch.track->addLabel(core::kInputDelayPositionMax, q(t::kDistanceScaleBottom));
    ch.track->setAccent(accent);
    ch.fader = new Fader(body());
    ch.fader->setObjectName(q(names.fader));
    ch.fader->setRange(0, core::kInputDelayFaderMax);
    ch.fader->setMaximumAtTop(true);
    ch.fader->setSingleStep(1);
    ch.fader->setPageStep(10);
    ch.fader->setAccent(accent);
    ch.metres = readout(body(), names.metres);
    ch.feet = readout(body(), names.feet);
    ch.ms = readout(body(), names.ms);

    connect(ch.track, &TrackScale::valueChanged, this, [this, id](int p) {
        if (!m_filling) m_document.delays().setInputDelayPosition(id, p);
    });
    connect(ch.fader, &Fader::valueChanged, this, [this, id](int v) {
        if (!m_filling) m_document.delays().setInputDelayFader(id, v);
    });
    connect(ch.fader, &Fader::sliderPressed, ch.track, [track = ch.track] { track->setFocus(Qt::MouseFocusReason); });
    m_gestures->watch(ch.track);
    m_gestures->watch(ch.fader);
}

void InputDelayWindow::focusInput(InputId input)
{
    m_channels[static_cast<size_t>(input)].track->setFocus(Qt::OtherFocusReason);
}

void InputDelayWindow::refill()
{
    const core::Configuration& c = m_document.configuration();
    m_filling = true;
    for (InputId id : {InputId::A, InputId::B, InputId::M}) {
        Channel& ch = m_channels[static_cast<size_t>(id)];
        // The distance of the stored samples at the stored temperature (nothing is written back).
        const int position = core::inputDelayCmFromSamples(c.input(id).delaySamples, c.temperatureC);
        ch.track->setValue(position);
        ch.fader->setValue(core::inputDelayFaderFromPosition(position));
        const core::InputDelayReadout r = core::inputDelayReadout(position, c.temperatureC);
        ch.metres->setText(QString::fromStdString(r.metres));
        ch.feet->setText(QString::fromStdString(r.feet));
        ch.ms->setText(QString::fromStdString(r.ms));
    }
    m_celsius->setValue(c.temperatureC);
    if (c.temperatureC != m_shownCelsius) {
        m_fahrenheit->setValue(core::fahrenheitFromCelsius(c.temperatureC));
        m_shownCelsius = c.temperatureC;
    }
    m_linkAToB->setChecked(c.links.inputDelayAB);
    m_linkAll->setChecked(c.links.inputDelayAll);
    m_filling = false;
}

void InputDelayWindow::onChanged(const DocumentChange& change)
{
    if (change.touches(Region::InputDelays)) refill();
}

void InputDelayWindow::showEvent(QShowEvent* event)
{
    refill();
    FramedWindow::showEvent(event);
}

} // namespace kvr::gui
