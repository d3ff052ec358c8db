#include "windows/speakercalculatorwindow.h"
#include "app/programtext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QTabBar>
#include <QVBoxLayout>
#include <algorithm>

#include "app/documentcontroller.h"
#include "app/dynamicsoperations.h"
#include "app/messagepresenter.h"
#include "config/speakerediting.h"
#include "tools/powercheck.h"
#include "util/texts.h"
#include "widgets/numberfield.h"
#include "widgets/powerspinbox.h"
#include "windows/gesturewatcher.h"

namespace kvr::gui {

namespace t = core::texts;

SpeakerCalculatorWindow::SpeakerCalculatorWindow(DocumentController& document, QWidget* parent)
    : FramedWindow(QStringLiteral("TSpkForm"), q(core::speakerCaption(1)), parent), m_document(document),
      m_gestures(new GestureWatcher(document, this))
{
    auto* outer = new QVBoxLayout(body());
    outer->setContentsMargins(14, 10, 14, 12);
    outer->setSpacing(10);

    auto* tabs = new QHBoxLayout;
    m_tabs = new QTabBar(body());
    m_tabs->setObjectName(QStringLiteral("PowerTab"));
    for (const char* caption : t::kNamesOutputLabels)
        m_tabs->addTab(q(caption));
    m_tabs->setDrawBase(false);
    m_tabButtons = new SpinButtons(body());
    m_tabButtons->setObjectName(QStringLiteral("UpDown1"));
    tabs->addWidget(m_tabs);
    tabs->addWidget(m_tabButtons);
    tabs->addStretch(1);
    outer->addLayout(tabs);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(10);
    grid->setVerticalSpacing(6);
    auto label = [this](const char* text) { return new QLabel(q(text), body()); };
    m_impedance = new QComboBox(body());
    m_impedance->setObjectName(QStringLiteral("Zload"));
    for (const char* item : t::kImpedanceItems)
        m_impedance->addItem(q(item));
    m_boxPower = new PowerSpinBox(body());
    m_boxPower->setObjectName(QStringLiteral("PowerMaxLoadSpin"));
    m_boxPower->setRange(core::kBoxPowerMin, core::kBoxPowerMax);
    m_ampGain = new QSpinBox(body());
    m_ampGain->setObjectName(QStringLiteral("AmpGainSpin"));
    m_ampGain->setRange(core::kAmpGainMin, core::kAmpGainMax);
    m_ampGainDb = new QLabel(body());
    m_ampGainDb->setObjectName(QStringLiteral("dBlabel"));
    m_ampPower = new PowerSpinBox(body());
    m_ampPower->setObjectName(QStringLiteral("PowerAmpMaxSpin"));
    m_ampPower->setRange(core::kAmpPowerMin, core::kAmpPowerMax);
    m_balanced = new QCheckBox(q(t::kBalancedSignal), body());
    m_balanced->setObjectName(QStringLiteral("BalanceadoCheck"));
    m_speakers = new QComboBox(body());
    m_speakers->setObjectName(QStringLiteral("NumberSpeakers"));
    for (const char* item : t::kNumberSpeakersItems)
        m_speakers->addItem(q(item));
    // A typed value counts when it is entered, not at every key.
    for (QSpinBox* w : std::initializer_list<QSpinBox*>{m_boxPower, m_ampGain, m_ampPower}) {
        w->setKeyboardTracking(false);
        m_gestures->watch(w);
    }

    grid->addWidget(label(t::kSpeakerImpedance), 0, 0);
    grid->addWidget(m_impedance, 0, 1);
    grid->addWidget(label(t::kSpeakerBoxPower), 1, 0);
    grid->addWidget(m_boxPower, 1, 1);
    grid->addWidget(label(t::kSpeakerCount), 2, 0);
    grid->addWidget(m_speakers, 2, 1);
    grid->addWidget(label(t::kSpeakerAmpGain), 0, 2);
    auto* gainRow = new QHBoxLayout;
    gainRow->addWidget(m_ampGain);
    gainRow->addWidget(m_ampGainDb);
    grid->addLayout(gainRow, 0, 3);
    grid->addWidget(label(t::kSpeakerAmpPower), 1, 2);
    grid->addWidget(m_ampPower, 1, 3);
    grid->addWidget(m_balanced, 2, 2, 1, 2);
    grid->setColumnMinimumWidth(1, 90);
    grid->setColumnMinimumWidth(3, 140);
    outer->addLayout(grid);

    m_result = new QPlainTextEdit(body());
    m_result->setObjectName(QStringLiteral("PowerMemo"));
    m_result->setReadOnly(true);
    m_result->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Wide enough for the longest line, the amplifier warning.
    const QFontMetrics metrics = m_result->fontMetrics();
    m_result->setMinimumSize(metrics.horizontalAdvance(QStringLiteral("3") + q(t::kPowerAmpWarning)) + 30,
                             metrics.lineSpacing() * 5 + 16);
    outer->addWidget(m_result, 1);

    auto* buttons = new QHBoxLayout;
    auto* help = new QPushButton(q(t::kSpeakerHelp), body());
    help->setObjectName(QStringLiteral("HelpSpkBoton"));
    help->setFixedWidth(36);
    help->setAutoDefault(false);
    auto* ok = new QPushButton(q(t::kOk), body());
    ok->setObjectName(QStringLiteral("OKB"));
    ok->setAutoDefault(false);
    buttons->addWidget(help);
    buttons->addStretch(1);
    buttons->addWidget(ok);
    outer->addLayout(buttons);

    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (!m_filling && index >= 0) selectOutput(index + 1);
    });
    connect(m_tabButtons, &SpinButtons::stepped, this,
            [this](int d) { selectOutput(std::clamp(m_current + d, 1, core::kOutputCount)); });
    connect(m_impedance, &QComboBox::currentIndexChanged, this, [this](int item) {
        if (!m_filling && item >= 0) ops().setImpedance(m_current, item);
    });
    connect(m_boxPower, &QSpinBox::valueChanged, this, [this](int w) {
        if (!m_filling) ops().setBoxPower(m_current, w);
    });
    connect(m_ampGain, &QSpinBox::valueChanged, this, [this](int g) {
        if (!m_filling) ops().setAmplifierGain(m_current, g);
    });
    connect(m_ampPower, &QSpinBox::valueChanged, this, [this](int w) {
        if (!m_filling) ops().setAmplifierPower(m_current, w);
    });
    connect(m_balanced, &QCheckBox::toggled, this, [this](bool on) {
        if (!m_filling) ops().setBalanced(m_current, on);
    });
    connect(m_speakers, &QComboBox::currentIndexChanged, this, [this](int item) {
        if (!m_filling && item >= 0) ops().setNumberOfSpeakers(m_current, item);
    });
    connect(help, &QPushButton::clicked, this, &SpeakerCalculatorWindow::showCaution);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(&m_document, &DocumentController::changed, this, &SpeakerCalculatorWindow::onChanged);
    fill();
}

DynamicsOperations& SpeakerCalculatorWindow::ops()
{
    return m_document.dynamics();
}

void SpeakerCalculatorWindow::selectOutput(int output)
{
    if (output < 1 || output > core::kOutputCount) return;
    const bool changed = output != m_current;
    m_current = output;
    fill();
    if (changed) emit outputSelected(output);
}

void SpeakerCalculatorWindow::showCaution()
{
    core::Message caution = core::warningBox(t::kSpeakerCaution);
    caution.beep = true;
    m_document.presenter().show(caution);
}

void SpeakerCalculatorWindow::showEvent(QShowEvent* event)
{
    fill();
    FramedWindow::showEvent(event);
}

void SpeakerCalculatorWindow::onChanged(const DocumentChange& change)
{
    if (change.touches(Region::Dynamics, m_current)) fill();
}

void SpeakerCalculatorWindow::fill()
{
    const QScopedValueRollback<bool> filling(m_filling, true);
    const core::TDYNAMIC& dyn = m_document.configuration().output(m_current).dynamics;
    const core::SpeakerControls c = core::speakerControls(dyn);
    setCaption(q(core::speakerCaption(m_current)));
    m_tabs->setCurrentIndex(m_current - 1);
    m_impedance->setCurrentIndex(c.impedanceItem);
    m_boxPower->setValue(c.boxPowerW);
    m_ampGain->setValue(c.ampGain);
    m_ampGainDb->setText(q(c.gainDbText));
    m_ampPower->setValue(c.ampPowerW);
    m_balanced->setChecked(c.balanced);
    m_speakers->setCurrentIndex(c.numberSpeakersItem);
    QStringList lines;
    for (const std::string& line : core::powerMemoLines(dyn))
        lines << q(line);
    m_result->setPlainText(lines.join(QLatin1Char('\n')));
}

} // namespace kvr::gui
