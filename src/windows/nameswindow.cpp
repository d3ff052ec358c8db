#include "windows/nameswindow.h"
#include "app/programtext.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/documentcontroller.h"
#include "app/nameoperations.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;
using core::InputId;

namespace {

QLineEdit* field(QWidget* parent, const QString& name, size_t capacity)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMaxLength(static_cast<int>(capacity));
    return edit;
}

} // namespace

NamesWindow::NamesWindow(DocumentController& document, QWidget* parent)
    : FramedWindow(QStringLiteral("TInputOutputForm"), q(t::kNamesCaption), parent), m_document(document),
      m_systemName(field(body(), QStringLiteral("NombreDispositivo"), core::kSystemNameCapacity)),
      m_ok(new QPushButton(q(t::kOk), body())), m_cancel(new QPushButton(q(t::kCancel), body()))
{
    setModal(true);
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(18, 12, 18, 14);
    layout->setSpacing(10);
    auto* system = new QFormLayout;
    system->addRow(q(t::kNamesSystemName), m_systemName);
    layout->addLayout(system);

    auto* channels = new QHBoxLayout;
    auto* inputs = new QGroupBox(q(t::kNamesInputs), body());
    inputs->setObjectName(QStringLiteral("InputsGroup"));
    auto* inputForm = new QFormLayout(inputs);
    for (int i = 0; i < 2; ++i) {
        auto* edit = field(inputs, QStringLiteral("Input%1Edit").arg(i + 1), core::kChannelNameCapacity);
        inputForm->addRow(q(t::kNamesInputLabels[i]), edit);
        m_inputs[static_cast<size_t>(i)] = edit;
    }
    auto* outputs = new QGroupBox(q(t::kNamesOutputs), body());
    outputs->setObjectName(QStringLiteral("OutputsGroup"));
    auto* outputForm = new QFormLayout(outputs);
    for (int n = 1; n <= core::kOutputCount; ++n) {
        auto* edit = field(outputs, QStringLiteral("Output%1Edit").arg(n), core::kChannelNameCapacity);
        outputForm->addRow(q(t::kNamesOutputLabels[n - 1]), edit);
        m_outputs[static_cast<size_t>(n - 1)] = edit;
    }
    channels->addWidget(inputs, 0, Qt::AlignTop);
    channels->addWidget(outputs);
    layout->addLayout(channels);

    auto* buttons = new QHBoxLayout;
    m_ok->setObjectName(QStringLiteral("OKB"));
    m_cancel->setObjectName(QStringLiteral("CancelB"));
    m_cancel->setAutoDefault(false);
    m_ok->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(m_cancel);
    buttons->addWidget(m_ok);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &NamesWindow::accept);
    connect(m_cancel, &QPushButton::clicked, this, &NamesWindow::reject);
    refill();
    setFixedWidth(400);
    adjustSize();
}

void NamesWindow::refill()
{
    const core::Configuration& c = m_document.configuration();
    m_systemName->setText(QString::fromStdString(c.system.name));
    m_inputs[0]->setText(QString::fromStdString(c.input(InputId::A).name));
    m_inputs[1]->setText(QString::fromStdString(c.input(InputId::B).name));
    for (int n = 1; n <= core::kOutputCount; ++n)
        m_outputs[static_cast<size_t>(n - 1)]->setText(QString::fromStdString(c.output(n).name));
}

void NamesWindow::accept()
{
    ChannelNames names;
    names.systemName = m_systemName->text();
    for (size_t i = 0; i < 2; ++i)
        names.inputs[i] = m_inputs[i]->text();
    for (size_t k = 0; k < m_outputs.size(); ++k)
        names.outputs[k] = m_outputs[k]->text();
    m_document.names().applyNames(names);
    FramedWindow::accept();
}

void NamesWindow::showEvent(QShowEvent* event)
{
    refill();
    FramedWindow::showEvent(event);
}

} // namespace kvr::gui
