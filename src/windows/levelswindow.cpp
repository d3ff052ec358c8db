#include "windows/levelswindow.h"
#include "app/programtext.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "app/documentcontroller.h"
#include "app/leveloperations.h"
#include "config/conversions.h"
#include "config/readouts.h"
#include "util/texts.h"
#include "widgets/blockdiagram.h"
#include "widgets/clickablelabel.h"
#include "widgets/fader.h"
#include "widgets/theme.h"
#include "widgets/trackscale.h"
#include "windows/gesturewatcher.h"

namespace kvr::gui {

namespace t = core::texts;
using core::InputId;

namespace {

bool isInput(int index)
{
    return index < core::kInputCount;
}
InputId inputOf(int index)
{
    return static_cast<InputId>(index);
}
int outputOf(int index)
{
    return index - core::kInputCount + 1;
}

// The control names of each strip, as the window's families have them.
struct StripNames {
    const char* track;
    const char* fader;
    const char* db;
    const char* name;
    const char* mute;
};
constexpr StripNames kNames[LevelsWindow::kStrips] = {
    {"Input1Track", "Input1Slider", "Input1dBL", "Input1NameL", "MuteInput1"},
    {"Input2Track", "Input2Slider", "Input2dBL", "Input2NameL", "MuteInput2"},
    {"InputMTrack", "InputMSlider", "InputMdBL", "InputMNameL", "MuteInputM"},
    {"Output1Track", "Out1Slider", "Output1dBL", "Output1NameL", "MuteOutput1"},
    {"Output2Track", "Out2Slider", "Output2dBL", "Output2NameL", "MuteOutput2"},
    {"Output3Track", "Out3Slider", "Output3dBL", "Output3NameL", "MuteOutput3"},
    {"Output4Track", "Out4Slider", "Output4dBL", "Output4NameL", "MuteOutput4"},
};

} // namespace

LevelsWindow::LevelsWindow(DocumentController& document, QWidget* parent)
    : FramedWindow(QStringLiteral("TGainsForm"), q(t::kLevelsCaption), parent), m_document(document),
      m_gestures(new GestureWatcher(document, this))
{
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(16, 12, 16, 14);
    layout->setSpacing(12);
    auto* strips = new QHBoxLayout;
    strips->setSpacing(6);
    layout->addLayout(strips, 1);
    for (int i = 0; i < kStrips; ++i) {
        if (i == core::kInputCount) {
            auto* line = new QFrame(body());
            line->setFrameShape(QFrame::VLine);
            line->setStyleSheet(QStringLiteral("color: #3a434d;"));
            strips->addSpacing(6);
            strips->addWidget(line);
            strips->addSpacing(6);
        }
        buildStrip(i);
        auto* column = new QVBoxLayout;
        column->setSpacing(6);
        const Strip& s = m_strips[static_cast<size_t>(i)];
        column->addWidget(s.name, 0, Qt::AlignHCenter);
        column->addWidget(s.db, 0, Qt::AlignHCenter);
        auto* pair = new QHBoxLayout;
        pair->setSpacing(2);
        pair->addWidget(s.track);
        pair->addWidget(s.fader);
        column->addLayout(pair, 1);
        column->addWidget(s.mute, 0, Qt::AlignHCenter);
        if (s.polarity) {
            column->addWidget(s.polarity, 0, Qt::AlignHCenter);
        } else {
            // Keeps the inputs' mutes level with the outputs'.
            column->addSpacing(s.mute->sizeHint().height() + column->spacing());
        }
        strips->addLayout(column);
    }

    auto* buttons = new QHBoxLayout;
    m_muteAll = new QCheckBox(q(t::kMuteOuts), body());
    m_muteAll->setObjectName(QStringLiteral("MuteAll"));
    m_apply = new QPushButton(q(t::kApplyButton), body());
    m_apply->setObjectName(QStringLiteral("AplicarGainB"));
    m_ok = new QPushButton(q(t::kOk), body());
    m_ok->setObjectName(QStringLiteral("OKB"));
    m_close = new QPushButton(q(t::kCloseButton), body());
    m_close->setObjectName(QStringLiteral("CerrarB"));
    for (QPushButton* b : {m_apply, m_ok, m_close})
        b->setAutoDefault(false);
    buttons->addWidget(m_muteAll);
    buttons->addStretch(1);
    buttons->addWidget(m_apply);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);

    connect(m_muteAll, &QCheckBox::toggled, this, [this](bool mute) {
        if (!m_filling) m_document.levels().setAllOutputMutes(mute);
    });
    // The gains follow every change at once: Apply and OK have nothing left to compute.
    for (QPushButton* b : {m_apply, m_ok, m_close})
        connect(b, &QPushButton::clicked, this, &LevelsWindow::close);
    connect(&m_document, &DocumentController::changed, this, &LevelsWindow::onChanged);
    connect(&m_document, &DocumentController::replaced, this, &LevelsWindow::close);
    refill();
    resize(860, 520);
}

void LevelsWindow::buildStrip(int i)
{
    Strip& s = m_strips[static_cast<size_t>(i)];
    const StripNames& names = kNames[i];
    const QColor accent = isInput(i) ? inputColour(inputOf(i)) : theme::colour(theme::Role::Accent);

    if (i == static_cast<int>(InputId::M)) {
        s.name = new QLabel(q(t::kLevelsMixName), body());
    } else {
        auto* name = new ClickableLabel(body());
        name->setCursor(Qt::PointingHandCursor);
        connect(name, &ClickableLabel::clicked, this, &LevelsWindow::namesRequested);
        s.name = name;
    }
    s.name->setObjectName(q(names.name));
    s.name->setAlignment(Qt::AlignCenter);
    s.name->setMinimumWidth(60);
    s.name->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;").arg(accent.name()));

    s.db = new QLabel(body());
    s.db->setObjectName(q(names.db));
    s.db->setAlignment(Qt::AlignCenter);
    s.db->setMinimumWidth(60);
    s.db->setProperty("role", QStringLiteral("readout"));

    s.track = new TrackScale(body());
    s.track->setObjectName(q(names.track));
    s.track->setRange(core::kLevelPositionMin, core::kLevelPositionMax);
    s.track->setSingleStep(1);
    s.track->setPageStep(10);
    s.track->setTickInterval(50);
    s.track->addLabel(core::kLevelPositionMin, q(t::kLevelScaleTop));
    s.track->addLabel(core::kLevelPositionZeroDb, q(t::kLevelScaleZero));
    s.track->addLabel(core::kLevelPositionMax, q(t::kLevelScaleBottom));
    s.track->setAccent(accent);
    s.track->setProperty("Tag", isInput(i) ? i + 1 : outputOf(i));

    s.fader = new Fader(body());
    s.fader->setObjectName(q(names.fader));
    s.fader->setRange(0, core::kLevelFaderMax);
    s.fader->setSingleStep(1);
    s.fader->setPageStep(10);
    s.fader->setAccent(accent);

    s.mute = new QCheckBox(q(t::kMuteBox), body());
    s.mute->setObjectName(q(names.mute));
    s.mute->setProperty("Tag", isInput(i) ? i + 1 : outputOf(i));

    if (!isInput(i)) {
        s.polarity = new QCheckBox(q(t::kPolarityBox), body());
        s.polarity->setObjectName(QStringLiteral("PolOutput%1").arg(outputOf(i)));
        s.polarity->setProperty("Tag", outputOf(i));
        const int n = outputOf(i);
        connect(s.polarity, &QCheckBox::toggled, this, [this, n](bool inverted) {
            if (m_filling) return;
            m_document.levels().setPolarity(n, inverted);
            emit outputSelected(n);
        });
    }

    connect(s.track, &TrackScale::valueChanged, this, [this, i](int p) { trackMoved(i, p); });
    connect(s.fader, &Fader::valueChanged, this, [this, i](int v) { faderMoved(i, v); });
    // Pressing a fader gives its track the focus, so the keys go on from there.
    connect(s.fader, &Fader::sliderPressed, s.track, [track = s.track] { track->setFocus(Qt::MouseFocusReason); });
    connect(s.mute, &QCheckBox::toggled, this, [this, i](bool mute) { muteToggled(i, mute); });
    m_gestures->watch(s.track);
    m_gestures->watch(s.fader);
}

void LevelsWindow::trackMoved(int i, int position)
{
    if (m_filling) return;
    if (isInput(i))
        m_document.levels().setInputLevelPosition(inputOf(i), position);
    else
        m_document.levels().setOutputLevelPosition(outputOf(i), position);
}

void LevelsWindow::faderMoved(int i, int fader)
{
    if (m_filling) return;
    if (isInput(i))
        m_document.levels().setInputLevelFader(inputOf(i), fader);
    else
        m_document.levels().setOutputLevelFader(outputOf(i), fader);
}

void LevelsWindow::muteToggled(int i, bool mute)
{
    if (m_filling) return;
    if (isInput(i))
        m_document.levels().setInputMute(inputOf(i), mute);
    else
        m_document.levels().setOutputMute(outputOf(i), mute);
}

void LevelsWindow::refill()
{
    const core::Configuration& c = m_document.configuration();
    m_filling = true;
    bool allMuted = true;
    for (int i = 0; i < kStrips; ++i) {
        Strip& s = m_strips[static_cast<size_t>(i)];
        int position = 0;
        bool mute = false;
        if (isInput(i)) {
            const core::InputChannelSettings& in = c.input(inputOf(i));
            position = in.levelPosition;
            mute = in.mute;
            if (inputOf(i) != InputId::M) s.name->setText(QString::fromStdString(in.name));
        } else {
            const core::OutputChannelSettings& out = c.output(outputOf(i));
            position = out.levelPosition;
            mute = out.mute;
            allMuted = allMuted && mute;
            s.name->setText(QString::fromStdString(out.name));
            s.polarity->setChecked(out.inverted());
        }
        s.track->setValue(position);
        s.fader->setValue(core::levelFaderFromPosition(position));
        s.db->setText(QString::fromStdString(core::levelText(position)));
        s.mute->setChecked(mute);
    }
    m_muteAll->setChecked(allMuted);
    m_filling = false;
}

void LevelsWindow::onChanged(const DocumentChange& change)
{
    if (change.touchesAny({Region::Levels, Region::Names})) refill();
}

void LevelsWindow::showEvent(QShowEvent* event)
{
    refill();
    FramedWindow::showEvent(event);
}

} // namespace kvr::gui
