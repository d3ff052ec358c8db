#include "widgets/bandpanel.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScopedValueRollback>
#include <QSlider>
#include <QSpinBox>

#include "config/configuration.h"
#include "config/conversions.h"
#include "config/inputeqediting.h"
#include "config/outputeqediting.h"
#include "dsp/tsos.h"
#include "util/texts.h"
#include "widgets/numberfield.h"

namespace kvr::gui {

namespace t = core::texts;

namespace {

constexpr int kFieldWidth = 78;
constexpr int kBandSpinWidth = 70;

QString text(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

BandPanel::BandPanel(QWidget* parent) : QGroupBox(parent)
{
    setObjectName(QStringLiteral("BandPanel"));
    m_grid = new QGridLayout(this);
    m_grid->setHorizontalSpacing(8);
    m_grid->setVerticalSpacing(6);

    auto label = [this](const char* caption, const char* name) {
        auto* l = new QLabel(text(caption), this);
        l->setObjectName(text(name));
        return l;
    };
    auto newField = [this](const char* name) {
        auto* f = new NumberField(this);
        f->setObjectName(text(name));
        f->setFixedWidth(kFieldWidth);
        return f;
    };
    auto spin = [this](const char* name) {
        auto* s = new SpinButtons(this);
        s->setObjectName(text(name));
        return s;
    };
    // A field, its spin buttons and its label on one row of the grid.
    auto fieldRow = [this, label, newField, spin](int row, const char* caption, const char* labelName,
                                                  const char* fieldName, const char* spinName, QLabel*& l,
                                                  NumberField*& f, SpinButtons*& s) {
        f = newField(fieldName);
        s = spin(spinName);
        l = label(caption, labelName);
        auto* controls = new QHBoxLayout;
        controls->setSpacing(2);
        controls->addWidget(f);
        controls->addWidget(s);
        controls->addStretch(1);
        m_grid->addWidget(l, row, 0);
        m_grid->addLayout(controls, row, 1);
    };

    m_bandSpin = new QSpinBox(this);
    m_bandSpin->setObjectName(QStringLiteral("SpinFiltro"));
    m_bandSpin->setRange(1, core::kEditableBands);
    m_bandSpin->setFixedWidth(kBandSpinWidth);
    m_grid->addWidget(label(t::kBandLabel, "BandL"), 0, 0);
    m_grid->addWidget(m_bandSpin, 0, 1);

    m_type = new QComboBox(this);
    m_type->setObjectName(QStringLiteral("TipoFiltroCombo"));
    for (int i = 0; i < core::kEqTypeItems; ++i)
        m_type->addItem(text(t::kSectionTypeCaptions[i]));
    m_grid->addWidget(label(t::kTypeLabel, "TipoL"), 1, 0);
    m_grid->addWidget(m_type, 1, 1, 1, 2);

    fieldRow(2, t::kFrequencyLabel, "FrecL", "FrecEdit", "FrecSpinB", m_frequencyLabel, m_frequency, m_frequencySpin);
    fieldRow(3, t::kGainLabel, "GainL", "GainEdit", "GainSpinB", m_gainLabel, m_gain, m_gainSpin);
    fieldRow(4, t::kQLabel, "QL", "QEdit", "QSpinB", m_qLabel, m_q, m_qSpin);

    m_qBar = new QSlider(Qt::Horizontal, this);
    m_qBar->setObjectName(QStringLiteral("QBar"));
    m_qBar->setRange(core::kQBarMin, core::kQBarMax);
    m_qBar->setValue(core::kQBarDefault);
    m_grid->addWidget(m_qBar, 5, 0, 1, 2);

    // The twin of the track bar: high Q at the top, as on the track bar's right.
    m_qSlider = new QSlider(Qt::Vertical, this);
    m_qSlider->setObjectName(QStringLiteral("QSlider"));
    m_qSlider->setRange(core::kQSliderMin, core::kQSliderMax);
    m_qSlider->setInvertedAppearance(true);
    m_qSlider->setValue(core::kQSliderSum - core::kQBarDefault);
    m_grid->addWidget(m_qSlider, 2, 2, 4, 1, Qt::AlignHCenter);

    m_l = newField("LEdit");
    m_h = newField("HEdit");
    m_b = newField("BEdit");
    m_lLabel = label(t::kLLabel, "LL");
    m_hLabel = label(t::kHLabel, "HL");
    m_bLabel = label(t::kBLabel, "BL");
    m_grid->addWidget(m_lLabel, 6, 0);
    m_grid->addWidget(m_l, 6, 1);
    m_grid->addWidget(m_hLabel, 7, 0);
    m_grid->addWidget(m_h, 7, 1);
    m_grid->addWidget(m_bLabel, 8, 0);
    m_grid->addWidget(m_b, 8, 1);

    connect(m_bandSpin, &QSpinBox::valueChanged, this, [this](int v) {
        if (!m_filling) emit bandChosen(v);
    });
    connect(m_type, &QComboBox::currentIndexChanged, this, [this](int item) {
        if (!m_filling && item >= 0) emit typeChosen(item);
    });
    for (Field which : {Field::Frequency, Field::Gain, Field::Q}) {
        SpinButtons* s = which == Field::Frequency ? m_frequencySpin : which == Field::Gain ? m_gainSpin : m_qSpin;
        connect(field(which), &NumberField::committed, this, [this, which] { emit fieldCommitted(which); });
        connect(field(which), &NumberField::stepped, this, [this, which](int d) { emit fieldStepped(which, d); });
        connect(s, &SpinButtons::stepped, this, [this, which](int d) { emit fieldStepped(which, d); });
    }
    for (NumberField* f : {m_l, m_h, m_b})
        connect(f, &NumberField::committed, this, &BandPanel::analogCommitted);
    connect(m_qBar, &QSlider::valueChanged, this, &BandPanel::onQBar);
    connect(m_qSlider, &QSlider::valueChanged, this, &BandPanel::onQSlider);
}

void BandPanel::setTypeCaption(int item, const QString& caption)
{
    m_type->setItemText(item, caption);
}

QList<QWidget*> BandPanel::gestureControls() const
{
    QList<QWidget*> controls{m_frequency, m_gain, m_q, m_l, m_h, m_b, m_qBar, m_qSlider};
    for (SpinButtons* s : {m_frequencySpin, m_gainSpin, m_qSpin}) {
        controls.append(s);
        controls.append(s->findChildren<QWidget*>());
    }
    return controls;
}

NumberField* BandPanel::field(Field which) const
{
    switch (which) {
    case Field::Frequency:
        return m_frequency;
    case Field::Gain:
        return m_gain;
    case Field::Q:
        break;
    }
    return m_q;
}

// ---------------------------------------------------------------- filling

void BandPanel::showInputBand(int band, const core::TSOS& section)
{
    const core::BandFields f = core::bandFields(section);
    const core::BandControls c = core::bandControls(section.Tipo);
    show({band, section.Tipo < core::kEqTypeItems ? section.Tipo : -1, f.frequencyText, f.gainText, f.qText, f.lText,
          f.hText, f.bText, f.qBar, core::kQSliderSum - f.qBar, c.gain, c.q, c.analog});
}

void BandPanel::showOutputBand(int band, const core::TSOS& section)
{
    const core::OutputBandControls c = core::outputBandControls(section);
    show({band, c.typeItem, c.frequencyText, c.gainText, c.qText, c.lText, c.hText, c.bText, c.qBar, c.qSlider,
          c.rules.gainEnabled, c.rules.qEnabled, c.rules.analogFields});
}

void BandPanel::show(const Shown& s)
{
    const QScopedValueRollback<bool> filling(m_filling, true);
    m_bandSpin->setValue(s.band);
    m_type->setCurrentIndex(s.typeItem);
    m_frequency->showText(QString::fromStdString(s.frequency));
    m_gain->showText(QString::fromStdString(s.gain));
    m_q->showText(QString::fromStdString(s.q));
    m_l->showText(QString::fromStdString(s.l));
    m_h->showText(QString::fromStdString(s.h));
    m_b->showText(QString::fromStdString(s.b));
    // A bar the user holds stays under the mouse.
    if (!m_qBar->isSliderDown() && !m_qSlider->isSliderDown()) {
        m_qBar->setValue(s.qBar);
        m_qSlider->setValue(s.qSlider);
    }

    for (QWidget* w : std::initializer_list<QWidget*>{m_gain, m_gainSpin, m_gainLabel})
        w->setEnabled(s.gainEnabled);
    for (QWidget* w : std::initializer_list<QWidget*>{m_q, m_qSpin, m_qLabel, m_qBar, m_qSlider})
        w->setEnabled(s.qEnabled);
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_frequency, m_frequencySpin, m_frequencyLabel, m_gain, m_gainSpin,
                                         m_gainLabel, m_q, m_qSpin, m_qLabel, m_qBar, m_qSlider})
        w->setVisible(!s.analog);
    for (QWidget* w : std::initializer_list<QWidget*>{m_l, m_h, m_b, m_lLabel, m_hLabel, m_bLabel})
        w->setVisible(s.analog);
}

// ---------------------------------------------------------------- reading the fields

std::optional<double> BandPanel::number(Field which) const
{
    return field(which)->number();
}

double BandPanel::steppedValue(Field which, int direction, double shown) const
{
    const double step = which == Field::Frequency ? core::kEqFrequencyStepHz
                        : which == Field::Gain    ? core::kEqGainStepDb
                                                  : core::kEqQStep;
    return field(which)->number().value_or(shown) + direction * step;
}

std::optional<double> BandPanel::lNumber() const
{
    return m_l->number();
}

std::optional<double> BandPanel::hNumber() const
{
    return m_h->number();
}

std::optional<double> BandPanel::bNumber() const
{
    return m_b->number();
}

// ---------------------------------------------------------------- the Q bar and its twin

void BandPanel::onQBar(int position)
{
    // The program moves the bar to show a band: that stores nothing.
    if (m_filling) return;
    {
        const QScopedValueRollback<bool> filling(m_filling, true);
        m_qSlider->setValue(core::kQSliderSum - position);
    }
    emit qBarMoved(position);
}

void BandPanel::onQSlider(int value)
{
    if (m_filling) return;
    // The twin moves the track bar, whose change reports the position.
    m_qBar->setValue(core::kQSliderSum - value);
}

} // namespace kvr::gui
