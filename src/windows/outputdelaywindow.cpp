#include "windows/outputdelaywindow.h"
#include "app/programtext.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/delayoperations.h"
#include "app/documentcontroller.h"
#include "config/conversions.h"
#include "config/readouts.h"
#include "util/texts.h"
#include "widgets/fader.h"
#include "widgets/theme.h"
#include "widgets/trackscale.h"
#include "windows/gesturewatcher.h"

namespace kvr::gui {

namespace t = core::texts;

namespace {

// The tracks' names differ in case, as the window's controls have them.
constexpr const char* kTrackNames[core::kOutputCount] = {"Del1track", "Del2Track", "Del3Track", "Del4track"};
constexpr const char* kLinkNames[3] = {"LinkOut12D", "LinkOut23D", "LinkOut34D"};

QLabel* readout(QWidget* parent, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
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

OutputDelayWindow::OutputDelayWindow(DocumentController& document, QWidget* parent)
    : FramedWindow(QStringLiteral("TDelayFinoForm"), q(t::kOutputDelayCaption), parent), m_document(document),
      m_gestures(new GestureWatcher(document, this))
{
    auto* layout = new QHBoxLayout(body());
    layout->setContentsMargins(16, 12, 16, 14);
    layout->setSpacing(18);
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(8);
    for (int n = 1; n <= core::kOutputCount; ++n) {
        buildChannel(n);
        const Channel& ch = m_channels[static_cast<size_t>(n - 1)];
        const int column = 2 * (n - 1);
        grid->addWidget(ch.name, 0, column, Qt::AlignHCenter);
        auto* pair = new QHBoxLayout;
        pair->setSpacing(2);
        pair->addStretch(1);
        pair->addWidget(ch.track);
        pair->addWidget(ch.fader);
        pair->addStretch(1);
        grid->addLayout(pair, 1, column);
        auto* values = new QGridLayout;
        values->setHorizontalSpacing(6);
        values->setVerticalSpacing(4);
        values->addWidget(ch.ms, 0, 0);
        values->addWidget(unit(body(), t::kMsUnit), 0, 1);
        values->addWidget(ch.cm, 1, 0);
        values->addWidget(unit(body(), t::kCentimetreUnit), 1, 1);
        values->addWidget(ch.feet, 2, 0);
        values->addWidget(unit(body(), t::kFeetUnit), 2, 1);
        grid->addLayout(values, 2, column);
        if (n < core::kOutputCount) {
            auto* link = new QCheckBox(q(t::kLinkCaption), body());
            link->setObjectName(q(kLinkNames[n - 1]));
            link->setToolTip(q(t::kLinkOutputDelayHints[n - 1]));
            m_links[static_cast<size_t>(n - 1)] = link;
            grid->addWidget(link, 0, column + 1, Qt::AlignHCenter);
            connect(link, &QCheckBox::toggled, this, [this, n](bool on) {
                if (!m_filling) m_document.delays().setOutputDelayLink(n, on);
            });
        }
    }
    grid->setRowStretch(1, 1);
    layout->addLayout(grid, 1);

    auto* side = new QVBoxLayout;
    side->setSpacing(12);
    auto* temperature = new QGroupBox(q(t::kTemperatureCaption), body());
    auto* tl = new QGridLayout(temperature);
    m_celsius = new QSpinBox(temperature);
    m_celsius->setObjectName(QStringLiteral("TemperaturaSpin"));
    m_celsius->setRange(core::kTemperatureMinC, core::kTemperatureMaxC);
    m_celsius->setValue(core::kTemperatureDefaultC);
    m_fahrenheit = new QSpinBox(temperature);
    m_fahrenheit->setObjectName(QStringLiteral("TemperaturaFSpin"));
    m_fahrenheit->setRange(core::fahrenheitFromCelsius(core::kTemperatureMinC),
                           core::fahrenheitFromCelsius(core::kTemperatureMaxC));
    m_fahrenheit->setValue(core::fahrenheitFromCelsius(core::kTemperatureDefaultC));
    m_fahrenheit->findChild<QLineEdit*>()->setReadOnly(true);
    for (QSpinBox* spin : {m_celsius, m_fahrenheit}) {
        spin->setKeyboardTracking(false);
        spin->setMinimumWidth(70);
    }
    tl->addWidget(m_celsius, 0, 0);
    tl->addWidget(unit(temperature, t::kCelsiusUnit), 0, 1);
    tl->addWidget(m_fahrenheit, 1, 0);
    tl->addWidget(unit(temperature, t::kFahrenheitUnit), 1, 1);
    side->addWidget(temperature);
    side->addStretch(1);
    m_ok = new QPushButton(q(t::kOk), body());
    m_ok->setObjectName(QStringLiteral("OKBoton"));
    m_ok->setAutoDefault(false);
    side->addWidget(m_ok);
    layout->addLayout(side);

    // The temperature only changes what the distances read: the delays stay, and no link runs.
    connect(m_celsius, &QSpinBox::valueChanged, this, &OutputDelayWindow::setTemperature);
    connect(m_fahrenheit, &QSpinBox::valueChanged, this,
            [this](int f) { m_celsius->setValue(core::celsiusFromFahrenheit(f)); });
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(&m_document, &DocumentController::changed, this, &OutputDelayWindow::onChanged);
    connect(&m_document, &DocumentController::replaced, this, &OutputDelayWindow::close);
    refill();
    resize(820, 480);
}

void OutputDelayWindow::buildChannel(int n)
{
    Channel& ch = m_channels[static_cast<size_t>(n - 1)];
    ch.name = new QLabel(body());
    ch.name->setObjectName(QStringLiteral("Out%1L").arg(n));
    ch.name->setAlignment(Qt::AlignCenter);
    ch.name->setStyleSheet(QStringLiteral("font-weight: bold;"));
    ch.track = new TrackScale(body());
    ch.track->setObjectName(q(kTrackNames[n - 1]));
    ch.track->setProperty("Tag", n);
    ch.track->setRange(0, core::kOutputDelayPositionMax);
    ch.track->setSingleStep(1);
    ch.track->setPageStep(10);
    ch.track->setTickInterval(50);
    ch.track->setUpArrowStep(core::kDelayKeyStep);
    ch.track->addLabel(0, q(t::kOutputDelayScaleTop));
    ch.track->addLabel(core::kOutputDelayPositionMax, q(t::kOutputDelayScaleBottom));
    ch.fader = new Fader(body());
    ch.fader->setObjectName(QStringLiteral("Del%1Slider").arg(n));
    ch.fader->setProperty("Tag", n);
    ch.fader->setRange(0, core::kOutputDelayFaderMax);
    ch.fader->setMaximumAtTop(true);
    ch.fader->setSingleStep(1);
    ch.fader->setPageStep(10);
    ch.ms = readout(body(), QStringLiteral("msegdel%1").arg(n));
    ch.cm = readout(body(), QStringLiteral("Del%1L").arg(n));
    ch.feet = readout(body(), QStringLiteral("PiesDel%1L").arg(n));

    connect(ch.track, &TrackScale::valueChanged, this, [this, n](int p) {
        if (m_filling) return;
        m_document.delays().setOutputDelayPosition(n, p);
        emit outputSelected(n);
    });
    connect(ch.fader, &Fader::valueChanged, this, [this, n](int v) {
        if (m_filling) return;
        emit outputSelected(n);
        m_document.delays().setOutputDelayFader(n, v);
    });
    connect(ch.fader, &Fader::sliderPressed, this, [this, n, track = ch.track] {
        emit outputSelected(n);
        track->setFocus(Qt::MouseFocusReason);
    });
    m_gestures->watch(ch.track);
    m_gestures->watch(ch.fader);
}

void OutputDelayWindow::focusOutput(int output)
{
    if (output < 1 || output > core::kOutputCount) return;
    m_channels[static_cast<size_t>(output - 1)].track->setFocus(Qt::OtherFocusReason);
}

int OutputDelayWindow::temperature() const
{
    return m_celsius->value();
}

void OutputDelayWindow::setTemperature(int celsius)
{
    const QSignalBlocker block(m_fahrenheit);
    m_fahrenheit->setValue(core::fahrenheitFromCelsius(celsius));
    refillReadouts();
}

void OutputDelayWindow::refill()
{
    const core::Configuration& c = m_document.configuration();
    m_filling = true;
    for (int n = 1; n <= core::kOutputCount; ++n) {
        Channel& ch = m_channels[static_cast<size_t>(n - 1)];
        const int position = c.output(n).delayPosition;
        ch.name->setText(QString::fromStdString(c.output(n).name));
        ch.track->setValue(position);
        ch.fader->setValue(core::outputDelayFaderFromPosition(position));
    }
    for (size_t k = 0; k < m_links.size(); ++k)
        m_links[k]->setChecked(c.links.outputDelay[k]);
    m_filling = false;
    refillReadouts();
}

void OutputDelayWindow::refillReadouts()
{
    const core::Configuration& c = m_document.configuration();
    for (int n = 1; n <= core::kOutputCount; ++n) {
        Channel& ch = m_channels[static_cast<size_t>(n - 1)];
        const core::OutputDelayReadout r = core::outputDelayReadout(c.output(n).delayPosition, m_celsius->value());
        ch.ms->setText(QString::fromStdString(r.ms));
        ch.cm->setText(QString::fromStdString(r.cm));
        ch.feet->setText(QString::fromStdString(r.feet));
    }
}

void OutputDelayWindow::onChanged(const DocumentChange& change)
{
    if (change.touchesAny({Region::OutputDelays, Region::Names})) refill();
}

void OutputDelayWindow::showEvent(QShowEvent* event)
{
    refill();
    FramedWindow::showEvent(event);
}

} // namespace kvr::gui
