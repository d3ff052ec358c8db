#include "windows/copyoutputwindow.h"
#include "app/programtext.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/documentcontroller.h"
#include "app/nameoperations.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;

namespace {

struct Block {
    const char* name;
    const char* caption;
};
constexpr Block kBlockBoxes[CopyOutputWindow::kBlocks] = {
    {"RouteCheck", t::kCopyRoute},          {"XoverCheck", t::kCopyXover},        {"PEQXCheck", t::kCopyPeqx},
    {"OutDelayCheck", t::kCopyOutputDelay}, {"OutGainCheck", t::kCopyOutputGain}, {"DynamicCheck", t::kCopyDynamics},
    {"NamesCheck", t::kCopyOutputName},
};

QSpinBox* outputSpin(QWidget* parent, const char* name)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(q(name));
    spin->setRange(1, core::kOutputCount);
    spin->setValue(1);
    spin->setMinimumWidth(70);
    return spin;
}

} // namespace

CopyOutputWindow::CopyOutputWindow(DocumentController& document, QWidget* parent)
    : FramedWindow(QStringLiteral("TCopyOutputForm"), q(t::kCopyCaption), parent), m_document(document),
      m_from(outputSpin(body(), "OrigenSpin")), m_to(outputSpin(body(), "CopiaSpin")),
      m_all(new QCheckBox(q(t::kCopyAll), body())), m_ok(new QPushButton(q(t::kOk), body())),
      m_cancel(new QPushButton(q(t::kCancel), body()))
{
    setModal(true);
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(18, 12, 18, 14);
    layout->setSpacing(12);
    auto* outputs = new QHBoxLayout;
    auto* from = new QFormLayout;
    from->addRow(q(t::kCopyFrom), m_from);
    auto* to = new QFormLayout;
    to->addRow(q(t::kCopyTo), m_to);
    outputs->addLayout(from);
    outputs->addSpacing(16);
    outputs->addLayout(to);
    outputs->addStretch(1);
    layout->addLayout(outputs);

    auto* boxes = new QGridLayout;
    boxes->setHorizontalSpacing(24);
    boxes->setVerticalSpacing(8);
    for (int k = 0; k < kBlocks; ++k) {
        auto* box = new QCheckBox(q(kBlockBoxes[k].caption), body());
        box->setObjectName(q(kBlockBoxes[k].name));
        m_blocks[static_cast<size_t>(k)] = box;
        boxes->addWidget(box, k % 4, k / 4);
        connect(box, &QCheckBox::toggled, this, &CopyOutputWindow::blockToggled);
    }
    m_all->setObjectName(QStringLiteral("CopyAll"));
    m_all->setStyleSheet(QStringLiteral("font-weight: bold;"));
    boxes->addWidget(m_all, 3, 1);
    layout->addLayout(boxes);
    connect(m_all, &QCheckBox::toggled, this, [this](bool checked) {
        // Checking "Copy All" checks every block; unchecking it leaves them as they are.
        if (!checked) return;
        for (QCheckBox* box : m_blocks) {
            const QSignalBlocker block(box);
            box->setChecked(true);
        }
    });

    auto* buttons = new QHBoxLayout;
    m_ok->setObjectName(QStringLiteral("OKB"));
    m_cancel->setObjectName(QStringLiteral("CancelB"));
    m_cancel->setAutoDefault(false);
    m_ok->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_ok);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &CopyOutputWindow::accept);
    connect(m_cancel, &QPushButton::clicked, this, &CopyOutputWindow::reject);
    adjustSize();
}

void CopyOutputWindow::blockToggled(bool checked)
{
    if (checked) return;
    const QSignalBlocker block(m_all);
    m_all->setChecked(false);
}

core::CopyOptions CopyOutputWindow::options() const
{
    auto on = [this](int k) { return m_blocks[static_cast<size_t>(k)]->isChecked(); };
    core::CopyOptions o;
    o.route = on(0);
    o.xover = on(1);
    o.peqx = on(2);
    o.outputDelay = on(3);
    o.outputGain = on(4);
    o.dynamics = on(5);
    o.name = on(6);
    return o;
}

void CopyOutputWindow::accept()
{
    const int from = m_from->value();
    const int to = m_to->value();
    const core::CopyOptions what = options();
    // Closed first: the question and any notice of the copy appear over the main window.
    FramedWindow::accept();
    m_document.names().copyOutput(from, to, what);
}

} // namespace kvr::gui
