#include "windows/editorwindow.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/programtext.h"
#include "app/settings.h"
#include "plot/responseplot.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;

EditorWindow::EditorWindow(const QString& className, const QString& caption, const QString& statusName, QWidget* parent)
    : FramedWindow(className, caption, parent), m_plot(new ResponsePlot(body())), m_status(new QLabel(body())),
      m_side(new QWidget(body())), m_footer(new QHBoxLayout)
{
    auto* outer = new QVBoxLayout(body());
    outer->setContentsMargins(10, 8, 10, 6);
    outer->setSpacing(6);
    auto* row = new QHBoxLayout;
    row->setSpacing(10);
    auto* plotColumn = new QVBoxLayout;
    plotColumn->setSpacing(6);
    plotColumn->addWidget(m_plot, 1);

    m_footer->setSpacing(12);
    auto* viewSwitch = new QWidget(body());
    viewSwitch->setObjectName(QStringLiteral("ViewSwitch"));
    auto* switchLayout = new QHBoxLayout(viewSwitch);
    switchLayout->setContentsMargins(0, 0, 0, 0);
    switchLayout->setSpacing(14);
    auto* group = new QButtonGroup(this);
    const char* captions[3] = {t::kViewMagnitude, t::kViewPhase, t::kViewDelay};
    for (size_t i = 0; i < m_viewButtons.size(); ++i) {
        auto* button = new QRadioButton(QString::fromUtf8(captions[i]), viewSwitch);
        button->setObjectName(QString::fromUtf8(captions[i])); // "Mag", "Phase", "Delay"
        group->addButton(button, int(i));
        switchLayout->addWidget(button);
        m_viewButtons[i] = button;
        const PlotView view = static_cast<PlotView>(i);
        connect(button, &QRadioButton::toggled, this, [this, view](bool on) {
            if (on) onViewButton(view);
        });
    }
    m_viewButtons[0]->setChecked(true);
    m_viewButtons[2]->hide();
    m_footer->addWidget(viewSwitch);
    m_footer->addStretch(1);
    plotColumn->addLayout(m_footer);
    row->addLayout(plotColumn, 1);
    m_side->setObjectName(QStringLiteral("SidePanel"));
    row->addWidget(m_side);
    outer->addLayout(row, 1);

    m_status->setObjectName(statusName);
    m_status->setProperty("role", QStringLiteral("dim"));
    m_status->setMinimumHeight(m_status->fontMetrics().height() + 4);
    outer->addWidget(m_status);
}

PlotModel& EditorWindow::plotModel() const
{
    return m_plot->model();
}

void EditorWindow::setView(PlotView view)
{
    // The button's toggle runs onViewButton, which announces the change.
    viewButton(view)->setChecked(true);
}

void EditorWindow::onViewButton(PlotView view)
{
    if (view == m_view) return;
    m_view = view;
    emit viewChanged(view);
}

void EditorWindow::addFooterWidget(QWidget* widget)
{
    m_footer->insertWidget(m_footer->count() - 1, widget); // before the closing stretch
}

QSpinBox* EditorWindow::addYRangeSpin(const char* caption, const char* name, int lo, int hi, int value)
{
    auto* label = new QLabel(q(caption), body());
    label->setProperty("role", QStringLiteral("dim"));
    addFooterWidget(label);
    auto* spin = new QSpinBox(body());
    spin->setObjectName(q(name));
    spin->setRange(lo, hi);
    spin->setSingleStep(5);
    spin->setValue(value);
    spin->setFixedWidth(64);
    addFooterWidget(spin);
    connect(spin, &QSpinBox::valueChanged, this, [this] {
        if (m_view == PlotView::Magnitude) emit magnitudeRangeChanged();
    });
    return spin;
}

void EditorWindow::rememberView(Settings& settings)
{
    const QString key = QStringLiteral("view");
    const int saved = settings.windowValue(objectName(), key, 0).toInt();
    if (saved >= 0 && saved < int(m_viewButtons.size()) && (saved != int(PlotView::Delay) || m_delayEnabled))
        setView(static_cast<PlotView>(saved));
    connect(this, &EditorWindow::viewChanged, this,
            [this, &settings, key](PlotView view) { settings.setWindowValue(objectName(), key, int(view)); });
}

void EditorWindow::rememberValue(Settings& settings, QSpinBox* spin)
{
    const QString key = spin->objectName();
    const QVariant saved = settings.windowValue(objectName(), key);
    bool ok = false;
    const int value = saved.toInt(&ok);
    // A value the spin box does not hold (an edited settings file) leaves the default.
    if (ok && value >= spin->minimum() && value <= spin->maximum()) spin->setValue(value);
    connect(spin, &QSpinBox::valueChanged, this,
            [this, &settings, key](int v) { settings.setWindowValue(objectName(), key, v); });
}

void EditorWindow::setDelayViewEnabled(bool on)
{
    m_delayEnabled = on;
    viewButton(PlotView::Delay)->setVisible(on);
    if (!on && m_view == PlotView::Delay) setView(PlotView::Magnitude);
}

void EditorWindow::setStatusText(const QString& text)
{
    m_status->setText(text);
    m_plot->model().setReadout(text);
}

QString EditorWindow::statusText() const
{
    return m_status->text();
}

} // namespace kvr::gui
