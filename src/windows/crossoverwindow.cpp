#include "windows/crossoverwindow.h"
#include "app/programtext.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/crossoveroperations.h"
#include "app/documentcontroller.h"
#include "app/messagepresenter.h"
#include "config/conversions.h"
#include "config/crossoverediting.h"
#include "config/inputeqediting.h"
#include "plot/responseplot.h"
#include "util/rounding.h"
#include "util/texts.h"
#include "widgets/clickablelabel.h"
#include "widgets/numberfield.h"
#include "windows/gesturewatcher.h"

namespace kvr::gui {

namespace t = core::texts;
using core::CrossoverSide;

namespace {

constexpr std::array<CrossoverSide, 2> kSides{CrossoverSide::Low, CrossoverSide::High};
constexpr int kLineMark = 5;
constexpr double kLineMarkHz = 50.0;
constexpr double kPhaseLimitDeg = 180.0;
constexpr int kYMaxDefault = 10;
constexpr int kYMinDefault = -40;
constexpr int kOrderMax = 8;
// Room for the plot at its own size hint beside the pages.
constexpr QSize kDefaultSize(1060, 600);
// The dotted 50 Hz line: black would vanish on the plot's dark area.
const QColor kLineMarkColour(0x8d, 0x98, 0xa4);
const char* const kOutputProperty = "xoverOutput";

size_t sideIndex(CrossoverSide side)
{
    return side == CrossoverSide::Low ? 0 : 1;
}
QString sideLetter(CrossoverSide side)
{
    return side == CrossoverSide::Low ? QStringLiteral("L") : QStringLiteral("H");
}
// The custom page's names: "frecl1Edit", "Qh3Edit".
QString customName(const char* stem, CrossoverSide side, int section, const char* suffix)
{
    return q(stem) + (side == CrossoverSide::Low ? QStringLiteral("l") : QStringLiteral("h")) +
           QString::number(section) + q(suffix);
}

void watchAll(GestureWatcher* watcher, QWidget* control)
{
    watcher->watch(control);
    for (QWidget* child : control->findChildren<QWidget*>())
        watcher->watch(child);
}

// A spin box changed only by its arrows (the order spins).
void arrowsOnly(QSpinBox* spin)
{
    if (auto* edit = spin->findChild<QLineEdit*>()) edit->setReadOnly(true);
}

} // namespace

CrossoverWindow::CrossoverWindow(DocumentController& document, QWidget* parent)
    : EditorWindow(QStringLiteral("TXOVERForm"), q(t::kCrossoverCaption), QStringLiteral("StatusBar"), parent),
      m_document(document), m_gestures(new GestureWatcher(document, this))
{
    auto* side = new QVBoxLayout(sidePanel());
    side->setContentsMargins(0, 0, 0, 0);
    side->setSpacing(8);
    auto* pageButtons = new QHBoxLayout;
    auto* normal = new QPushButton(q(t::kCrossoverNormalButton), sidePanel());
    normal->setObjectName(QStringLiteral("NormalB"));
    auto* custom = new QPushButton(q(t::kCrossoverCustomButton), sidePanel());
    custom->setObjectName(QStringLiteral("CustomB"));
    for (QPushButton* b : {normal, custom}) {
        b->setCheckable(true);
        b->setAutoExclusive(true);
        b->setAutoDefault(false); // Enter in a field or spin box must not switch the page
        b->setStyleSheet(QStringLiteral("QPushButton:checked { background: #2b6f7b; border-color: #3cb4c8; }"));
        pageButtons->addWidget(b);
    }
    normal->setChecked(true);
    m_pageButtons = {normal, custom};
    pageButtons->addStretch(1);
    side->addLayout(pageButtons);
    m_pages = new QStackedWidget(sidePanel());
    m_pages->setObjectName(QStringLiteral("Pages"));
    m_pages->addWidget(buildNormalPage());
    m_pages->addWidget(buildCustomPage());
    side->addWidget(m_pages);
    side->addStretch(1);
    buildFooter();
    rememberView(document.settings());
    rememberValue(document.settings(), m_yMax);
    rememberValue(document.settings(), m_yMin);
    connect(normal, &QPushButton::clicked, this, &CrossoverWindow::showNormalPage);
    connect(custom, &QPushButton::clicked, this, &CrossoverWindow::showCustomPage);

    PlotModel& model = plotModel();
    {
        PlotModel::Hold hold(model);
        model.setGraphTitle(q(t::kCrossoverGraphTitle));
        model.setLogScale(PlotAxisId::X, true);
        model.setAxisTitle(PlotAxisId::X, q(t::kAxisHz));
        for (int n = 1; n <= core::kOutputCount; ++n) {
            model.setLineStyle(n, PlotLineStyle::Solid);
            model.setSymbols(n, false);
        }
        model.setMark(kLineMark, PlotMark{kLineMarkColour, PlotMarkKind::DottedLine, QString(), kLineMarkHz,
                                          -kPhaseLimitDeg, kLineMarkHz, kPhaseLimitDeg, 0});
        setAxes();
        replotAll();
        for (int n = 1; n <= core::kOutputCount; ++n)
            fillRow(n);
        fillLinks();
        fillCustom();
        recolour();
    }

    connect(&m_document, &DocumentController::changed, this, &CrossoverWindow::onChanged);
    connect(&m_document, &DocumentController::replaced, this, &CrossoverWindow::onReplaced);
    connect(this, &EditorWindow::viewChanged, this, &CrossoverWindow::onViewChanged);
    connect(plot(), &ResponsePlot::mousePressed, this, &CrossoverWindow::onPress);
    connect(plot(), &ResponsePlot::mouseMoved, this, &CrossoverWindow::onMove);
    connect(plot(), &ResponsePlot::mouseReleased, this, &CrossoverWindow::onRelease);
    m_gestures->watch(plot());
    resize(kDefaultSize);
}

CrossoverOperations& CrossoverWindow::ops()
{
    return m_document.crossovers();
}

void CrossoverWindow::forOutput(QWidget* control, int output)
{
    // Entering any control of an output makes it current.
    control->setProperty(kOutputProperty, output);
    control->installEventFilter(this);
}

// ---------------------------------------------------------------- building

QWidget* CrossoverWindow::buildNormalPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("NormalPage"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(6);

    for (int n = 1; n <= core::kOutputCount; ++n) {
        const size_t k = static_cast<size_t>(n - 1);
        auto* box = new QGroupBox(page);
        box->setObjectName(QStringLiteral("Output%1Box").arg(n));
        auto* grid = new QGridLayout(box);
        grid->setContentsMargins(8, 4, 8, 6);
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(4);
        auto* label = new ClickableLabel(q(t::kCrossoverLabelPrefix) + QString::number(n), box);
        label->setObjectName(QStringLiteral("Xover%1Label").arg(n));
        label->setCursor(Qt::PointingHandCursor);
        connect(label, &ClickableLabel::clicked, this, [this, n] { selectOutput(n); });
        m_outputLabels[k] = label;
        grid->addWidget(label, 0, 0, 1, 4);
        for (CrossoverSide s : kSides) {
            const int row = s == CrossoverSide::Low ? 1 : 2;
            const QString suffix = QString::number(n) + sideLetter(s);
            SideControls& c = m_sides[k][sideIndex(s)];
            auto* sideLabel =
                new QLabel(q(s == CrossoverSide::Low ? t::kCrossoverLowSideLabel : t::kCrossoverHighSideLabel), box);
            sideLabel->setProperty("role", QStringLiteral("dim"));
            sideLabel->setToolTip(q(s == CrossoverSide::Low ? t::kCrossoverLowSide : t::kCrossoverHighSide));
            grid->addWidget(sideLabel, row, 0);

            c.family = new QComboBox(box);
            c.family->setObjectName(QStringLiteral("TipoXCombo") + suffix);
            for (const char* item : t::kCrossoverFamilies)
                c.family->addItem(q(item));
            grid->addWidget(c.family, row, 1);

            c.order = new QSpinBox(box);
            c.order->setObjectName(QStringLiteral("OrdenSpin") + suffix);
            c.order->setRange(1, kOrderMax);
            c.order->setValue(4);
            c.order->setFixedWidth(48);
            c.order->setToolTip(q(t::kCrossoverOrderLabel));
            arrowsOnly(c.order);
            m_gestures->watch(c.order);
            grid->addWidget(c.order, row, 2);

            c.frequencySpin = new QSpinBox(box);
            c.frequencySpin->setObjectName(QStringLiteral("FrecSpin") + suffix);
            c.frequencySpin->setRange(core::kCrossoverFrequencyMin, core::kCrossoverFrequencyMax);
            c.frequencySpin->setVisible(false);

            auto* field = new QHBoxLayout;
            field->setSpacing(2);
            c.frequency = new NumberField(box);
            c.frequency->setObjectName(QStringLiteral("FrecEdit") + suffix);
            c.frequency->setFixedWidth(60);
            m_gestures->watch(c.frequency);
            c.frequencyButtons = new SpinButtons(box);
            c.frequencyButtons->setObjectName(QStringLiteral("FrecSpinB") + suffix);
            watchAll(m_gestures, c.frequencyButtons);
            field->addWidget(c.frequency);
            field->addWidget(c.frequencyButtons);
            grid->addLayout(field, row, 3);

            for (QWidget* w : std::initializer_list<QWidget*>{c.family, c.order, c.frequency})
                forOutput(w, n);
            connect(c.family, &QComboBox::currentIndexChanged, this, [this, n, s](int item) {
                if (m_filling || item < 0) return;
                selectOutput(n);
                ops().setFamily(n, s, item);
                fillRow(n);
            });
            connect(c.order, &QSpinBox::valueChanged, this, [this, n, s](int order) {
                if (m_filling) return;
                selectOutput(n);
                ops().setOrder(n, s, order);
                fillRow(n);
            });
            connect(c.frequencySpin, &QSpinBox::valueChanged, this, [this, n, s](int hz) {
                if (m_filling) return;
                selectOutput(n);
                ops().setFrequency(n, s, hz);
                fillRow(n);
            });
            connect(c.frequency, &NumberField::committed, this, [this, n, s] { commitFrequency(n, s); });
            connect(c.frequency, &NumberField::stepped, this, [this, n, s](int d) { stepFrequency(n, s, d); });
            connect(c.frequencyButtons, &SpinButtons::stepped, this, [this, n, s](int d) {
                selectOutput(n);
                stepFrequency(n, s, d);
            });
        }
        layout->addWidget(box);
    }

    auto* links = new QHBoxLayout;
    const char* names[3] = {"Link12", "Link23", "Link34"};
    for (int i = 0; i < 3; ++i) {
        auto* check = new QCheckBox(q(t::kCrossoverLinks[i]), page);
        check->setObjectName(q(names[i]));
        links->addWidget(check);
        m_links[static_cast<size_t>(i)] = check;
        const int link = i + 1;
        connect(check, &QCheckBox::toggled, this, [this, link](bool on) {
            if (!m_filling) ops().setLink(link, on);
        });
    }
    layout->addLayout(links);
    return page;
}

QWidget* CrossoverWindow::buildCustomPage()
{
    auto* page = new QWidget;
    page->setObjectName(QStringLiteral("CustomPage"));
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);

    auto* top = new QGridLayout;
    auto spinRow = [&](int row, const char* caption, const char* name, int lo, int hi) {
        auto* label = new QLabel(q(caption), page);
        auto* spin = new QSpinBox(page);
        spin->setObjectName(q(name));
        spin->setRange(lo, hi);
        spin->setFixedWidth(56);
        arrowsOnly(spin);
        m_gestures->watch(spin);
        top->addWidget(label, row, 0);
        top->addWidget(spin, row, 1);
        return spin;
    };
    m_customOutput = spinRow(0, t::kCrossoverOutputLabel, "XoverCSpin", 1, core::kOutputCount);
    m_customOrders[0] = spinRow(1, t::kCrossoverLowOrderLabel, "LowOrderCSpin", 1, kOrderMax);
    m_customOrders[1] = spinRow(2, t::kCrossoverHighOrderLabel, "HighOrderCSpin", 1, kOrderMax);
    m_customOrders[0]->setValue(4);
    m_customOrders[1]->setValue(4);
    auto* help = new QPushButton(q(t::kCrossoverHelpButton), page);
    help->setObjectName(QStringLiteral("HelpB"));
    help->setFixedWidth(36);
    help->setAutoDefault(false);
    top->addWidget(help, 0, 3, Qt::AlignRight);
    top->setColumnStretch(2, 1);
    layout->addLayout(top);

    connect(m_customOutput, &QSpinBox::valueChanged, this, [this](int n) {
        if (!m_filling) selectOutput(n);
    });
    for (CrossoverSide s : kSides) {
        connect(m_customOrders[sideIndex(s)], &QSpinBox::valueChanged, this, [this, s](int order) {
            if (m_filling) return;
            ops().setCustomOrder(m_current, s, order);
            fillCustom();
        });
    }
    connect(help, &QPushButton::clicked, this,
            [this] { m_document.presenter().show(core::warningBox(t::kCustomHelpWarning)); });

    for (CrossoverSide s : kSides) {
        auto* box = new QGroupBox(q(s == CrossoverSide::Low ? t::kCrossoverLowSide : t::kCrossoverHighSide), page);
        auto* grid = new QGridLayout(box);
        grid->setHorizontalSpacing(6);
        grid->setVerticalSpacing(4);
        auto* hz = new QLabel(q(t::kAxisHz), box);
        hz->setProperty("role", QStringLiteral("dim"));
        auto* qh = new QLabel(q(t::kQLabel), box);
        qh->setProperty("role", QStringLiteral("dim"));
        grid->addWidget(hz, 0, 1);
        grid->addWidget(qh, 0, 2);
        for (int k = 1; k <= core::kCustomSections; ++k) {
            SectionControls& c = m_sections[sideIndex(s)][static_cast<size_t>(k - 1)];
            c.label = new QLabel(QString::number(k), box);
            grid->addWidget(c.label, k, 0);
            auto pair = [&](NumberField*& f, SpinButtons*& b, const char* stem) {
                auto* row = new QHBoxLayout;
                row->setSpacing(2);
                f = new NumberField(box);
                f->setObjectName(customName(stem, s, k, "Edit"));
                f->setFixedWidth(62);
                m_gestures->watch(f);
                b = new SpinButtons(box);
                b->setObjectName(customName(stem, s, k, "SpinB"));
                watchAll(m_gestures, b);
                row->addWidget(f);
                row->addWidget(b);
                return row;
            };
            grid->addLayout(pair(c.frequency, c.frequencyButtons, "frec"), k, 1);
            grid->addLayout(pair(c.q, c.qButtons, "Q"), k, 2);
            connect(c.frequency, &NumberField::committed, this, [this, s, k] { commitCustom(s, k, false); });
            connect(c.q, &NumberField::committed, this, [this, s, k] { commitCustom(s, k, true); });
            connect(c.frequency, &NumberField::stepped, this,
                    [this, s, k](int d) { stepCustom(s, k, false, d * core::kCustomFrequencyStep); });
            connect(c.q, &NumberField::stepped, this,
                    [this, s, k](int d) { stepCustom(s, k, true, d * core::kCustomQKeyStep); });
            connect(c.frequencyButtons, &SpinButtons::stepped, this,
                    [this, s, k](int d) { stepCustom(s, k, false, d * core::kCustomFrequencyStep); });
            connect(c.qButtons, &SpinButtons::stepped, this,
                    [this, s, k](int d) { stepCustom(s, k, true, d * core::kCustomQSpinStep); });
        }
        layout->addWidget(box);
    }
    layout->addStretch(1);
    return page;
}

void CrossoverWindow::buildFooter()
{
    m_yMax = addYRangeSpin(t::kCrossoverYMax, "YMaxUpDown", 0, 40, kYMaxDefault);
    m_yMin = addYRangeSpin(t::kCrossoverYMin, "YMinUpDown", -140, -10, kYMinDefault);
    connect(this, &EditorWindow::magnitudeRangeChanged, this, &CrossoverWindow::setAxes);
}

// ---------------------------------------------------------------- filling from the document

void CrossoverWindow::onChanged(const DocumentChange& change)
{
    if (!change.touches(Region::Crossover)) return;
    PlotModel::Hold hold(plotModel());
    for (int n = 1; n <= core::kOutputCount; ++n) {
        if (!change.touches(Region::Crossover, n)) continue;
        replot(n);
        fillRow(n);
    }
    fillLinks();
    fillCustom();
    plotModel().bringToFront(m_current);
}

void CrossoverWindow::onReplaced()
{
    // New and Open close the editor; it comes back on output 1.
    hide();
    m_dragging = false;
    m_dragNotices.clear();
    m_current = 1;
    recolour();
}

void CrossoverWindow::replot(int output)
{
    core::ChainResponse r;
    core::crossoverResponse(m_document.configuration(), output, r);
    core::responseCurve(r, view() == PlotView::Phase, m_curve);
    plotModel().setPoints(output, core::frequencyGrid().frequencyHz, m_curve);
}

void CrossoverWindow::replotAll()
{
    PlotModel::Hold hold(plotModel());
    for (int n = 1; n <= core::kOutputCount; ++n)
        replot(n);
    plotModel().bringToFront(m_current);
}

void CrossoverWindow::fillRow(int output)
{
    const QScopedValueRollback<bool> filling(m_filling, true);
    const core::Configuration& c = m_document.configuration();
    for (CrossoverSide s : kSides) {
        const core::TXOVERPB& side = core::crossoverSide(c, output, s);
        SideControls& controls = m_sides[static_cast<size_t>(output - 1)][sideIndex(s)];
        controls.family->setCurrentIndex(core::crossoverFamilyFromCode(s, side.Tipo));
        controls.order->setValue(side.Orden);
        controls.frequencySpin->setValue(core::crossoverSpinFromFrequency(side.Frec));
        controls.frequency->showText(q(core::crossoverFrequencyText(side)));
    }
}

void CrossoverWindow::fillLinks()
{
    const QScopedValueRollback<bool> filling(m_filling, true);
    for (size_t i = 0; i < m_links.size(); ++i)
        m_links[i]->setChecked(m_document.configuration().links.crossover[i]);
}

void CrossoverWindow::fillCustom()
{
    const QScopedValueRollback<bool> filling(m_filling, true);
    m_customOutput->setValue(m_current);
    for (CrossoverSide s : kSides) {
        const core::CustomSideView view =
            core::customSideView(core::crossoverSide(m_document.configuration(), m_current, s), s);
        QSpinBox* order = m_customOrders[sideIndex(s)];
        order->setValue(view.order);
        order->setEnabled(view.orderEnabled);
        for (int k = 0; k < core::kCustomSections; ++k) {
            const core::CustomSectionView& v = view.sections[static_cast<size_t>(k)];
            SectionControls& c = m_sections[sideIndex(s)][static_cast<size_t>(k)];
            c.frequency->showText(q(v.frequencyText));
            c.q->showText(q(v.qText));
            c.label->setVisible(v.visible);
            for (QWidget* w : std::initializer_list<QWidget*>{c.frequency, c.frequencyButtons}) {
                w->setVisible(v.visible);
                w->setEnabled(v.editable);
            }
            for (QWidget* w : std::initializer_list<QWidget*>{c.q, c.qButtons}) {
                w->setVisible(v.qVisible);
                w->setEnabled(v.editable);
            }
        }
    }
}

void CrossoverWindow::recolour()
{
    PlotModel::Hold hold(plotModel());
    for (int n = 1; n <= core::kOutputCount; ++n) {
        const QColor colour = n == m_current ? plotcolour::kRed : plotcolour::kAqua;
        plotModel().setColour(n, colour);
        m_outputLabels[static_cast<size_t>(n - 1)]->setStyleSheet(
            QStringLiteral("color: %1; font-weight: bold;").arg(colour.name()));
    }
    plotModel().bringToFront(m_current);
}

void CrossoverWindow::setAxes()
{
    PlotModel& model = plotModel();
    if (view() == PlotView::Phase) {
        model.setAxisTitle(PlotAxisId::Y, q(t::kAxisPhase));
        model.setAxisRange(PlotAxisId::Y, -kPhaseLimitDeg, kPhaseLimitDeg);
    } else {
        model.setAxisTitle(PlotAxisId::Y, q(t::kAxisDb));
        model.setAxisRange(PlotAxisId::Y, m_yMin->value(), m_yMax->value());
    }
}

void CrossoverWindow::onViewChanged()
{
    // Redrawing stores nothing and runs no link: the four kept responses in the new view.
    PlotModel::Hold hold(plotModel());
    setAxes();
    replotAll();
    setStatusText(QString());
}

// ---------------------------------------------------------------- the user's changes

void CrossoverWindow::selectOutput(int output)
{
    output = core::clampTo(output, 1, core::kOutputCount);
    if (output == m_current) return;
    m_current = output;
    recolour();
    fillCustom();
}

void CrossoverWindow::showNormalPage()
{
    m_pages->setCurrentIndex(0);
    m_pageButtons[0]->setChecked(true);
    m_sides[static_cast<size_t>(m_current - 1)][0].frequency->setFocus();
}

void CrossoverWindow::showCustomPage()
{
    fillCustom();
    m_pages->setCurrentIndex(1);
    m_pageButtons[1]->setChecked(true);
}

void CrossoverWindow::commitFrequency(int output, CrossoverSide side)
{
    selectOutput(output);
    NumberField* field = m_sides[static_cast<size_t>(output - 1)][sideIndex(side)].frequency;
    if (const std::optional<double> hz = field->number()) ops().setFrequency(output, side, *hz);
    fillRow(output);
}

void CrossoverWindow::stepFrequency(int output, CrossoverSide side, int direction)
{
    const SideControls& c = m_sides[static_cast<size_t>(output - 1)][sideIndex(side)];
    // A step starts from the whole hertz the field stands for.
    const std::optional<double> typed = c.frequency->number();
    const int base = typed ? core::crossoverSpinFromFrequency(*typed) : c.frequencySpin->value();
    ops().setFrequency(output, side, base + direction);
    fillRow(output);
}

void CrossoverWindow::commitCustom(CrossoverSide side, int section, bool isQ)
{
    const SectionControls& c = m_sections[sideIndex(side)][static_cast<size_t>(section - 1)];
    if (const std::optional<double> value = (isQ ? c.q : c.frequency)->number()) {
        if (isQ)
            ops().setCustomQ(m_current, side, section, *value);
        else
            ops().setCustomFrequency(m_current, side, section, *value);
    }
    fillCustom();
}

void CrossoverWindow::stepCustom(CrossoverSide side, int section, bool isQ, double step)
{
    const core::CustomSectionView shown =
        core::customSideView(core::crossoverSide(m_document.configuration(), m_current, side), side)
            .sections[static_cast<size_t>(section - 1)];
    const SectionControls& c = m_sections[sideIndex(side)][static_cast<size_t>(section - 1)];
    if (isQ)
        ops().setCustomQ(m_current, side, section, c.q->number().value_or(shown.q) + step);
    else
        ops().setCustomFrequency(m_current, side, section, c.frequency->number().value_or(shown.frequencyHz) + step);
    fillCustom();
}

bool CrossoverWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn) {
        const QVariant output = watched->property(kOutputProperty);
        if (output.isValid()) selectOutput(output.toInt());
    }
    return EditorWindow::eventFilter(watched, event);
}

// ---------------------------------------------------------------- the plot's mouse

void CrossoverWindow::onPress(const PlotMouseEvent& e)
{
    if (view() != PlotView::Magnitude || !e.mapped || m_dragging) return;
    CrossoverSide side;
    if (e.button == Qt::LeftButton)
        side = CrossoverSide::Low;
    else if (e.button == Qt::RightButton)
        side = CrossoverSide::High;
    else
        return;
    if (!core::crossoverDragStarts(m_document.configuration(), m_current, side, e.x)) return;
    m_dragging = true;
    m_dragSide = side;
    m_dragNotices.clear();
    setStatusText(plotModel().inRanges(e.x, e.y) ? q(core::dragStatus(e.x, e.y)) : QString());
}

void CrossoverWindow::onMove(const PlotMouseEvent& e)
{
    const PlotModel& model = plotModel();
    if (m_dragging) {
        // Only the drag's own button held moves its side.
        const Qt::MouseButton held = m_dragSide == CrossoverSide::Low ? Qt::LeftButton : Qt::RightButton;
        if (!e.mapped || e.buttons != Qt::MouseButtons(held)) return;
        setStatusText(model.inRanges(e.x, e.y) ? q(core::dragStatus(e.x, e.y)) : QString());
        ops().dragFrequency(m_current, m_dragSide, e.x, m_dragNotices);
        return;
    }
    if (!e.mapped || !model.inRanges(e.x, e.y)) {
        setStatusText(QString());
        plot()->setHandCursor(false);
        return;
    }
    const bool phase = view() == PlotView::Phase;
    const std::optional<PlotNearest> near = model.nearest(m_current, e.x);
    setStatusText(near ? q(core::curveReadout(e.x, near->y, phase)) : QString());
    const core::Configuration& c = m_document.configuration();
    plot()->setHandCursor(!phase && (core::crossoverDragStarts(c, m_current, CrossoverSide::Low, e.x) ||
                                     core::crossoverDragStarts(c, m_current, CrossoverSide::High, e.x)));
}

void CrossoverWindow::onRelease(const PlotMouseEvent& e)
{
    if (!m_dragging) return;
    const Qt::MouseButton held = m_dragSide == CrossoverSide::Low ? Qt::LeftButton : Qt::RightButton;
    if (e.button != held) return;
    m_dragging = false;
    setStatusText(QString());
    const core::Notices notices = std::move(m_dragNotices);
    m_dragNotices.clear();
    ops().showDeferred(notices);
}

} // namespace kvr::gui
