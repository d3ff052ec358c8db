#include "windows/systeminformationwindow.h"
#include "app/programtext.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/documentcontroller.h"
#include "app/nameoperations.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;

namespace {

QLineEdit* field(QWidget* parent, const char* name, size_t capacity)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(q(name));
    edit->setMaxLength(static_cast<int>(capacity));
    return edit;
}

// A field shows the whole stored text even where the file keeps more than a person may type
// (the comment), so OK never cuts what was loaded.
void showText(QLineEdit* edit, const std::string& text, size_t typed)
{
    const QString value = QString::fromStdString(text);
    edit->setMaxLength(static_cast<int>(std::max<qsizetype>(static_cast<qsizetype>(typed), value.size())));
    edit->setText(value);
}

} // namespace

SystemInformationWindow::SystemInformationWindow(DocumentController& document, QWidget* parent)
    : FramedWindow(QStringLiteral("TInfoSistemaForm"), q(t::kSystemInfoCaption), parent), m_document(document),
      m_name(field(body(), "SistemaEdit", core::kSystemNameCapacity)),
      m_project(field(body(), "ProyectEdit", core::kInfoTextCapacity)),
      m_installation(field(body(), "InstalacionEdit", core::kInfoTextCapacity)),
      m_engineer(field(body(), "IngenieroEdit", core::kInfoTextCapacity)),
      m_comment(field(body(), "ComentarioEdit", core::kInfoTextCapacity)), m_ok(new QPushButton(q(t::kOk), body()))
{
    setModal(true);
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(18, 12, 18, 14);
    layout->setSpacing(10);
    auto* form = new QFormLayout;
    form->addRow(q(t::kSystemInfoName), m_name);
    form->addRow(q(t::kSystemInfoProject), m_project);
    form->addRow(q(t::kSystemInfoInstallation), m_installation);
    form->addRow(q(t::kSystemInfoEngineer), m_engineer);
    form->addRow(q(t::kSystemInfoComment), m_comment);
    layout->addLayout(form);
    auto* buttons = new QHBoxLayout;
    m_ok->setObjectName(QStringLiteral("OKB"));
    m_ok->setDefault(true);
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &SystemInformationWindow::accept);
    refill();
    setFixedWidth(460);
    adjustSize();
}

void SystemInformationWindow::refill()
{
    const core::SystemInfo& s = m_document.configuration().system;
    showText(m_name, s.name, core::kSystemNameCapacity);
    showText(m_project, s.project, core::kInfoTextCapacity);
    showText(m_installation, s.installation, core::kInfoTextCapacity);
    showText(m_engineer, s.engineer, core::kInfoTextCapacity);
    showText(m_comment, s.comment, core::kInfoTextCapacity);
}

void SystemInformationWindow::accept()
{
    core::SystemInfo info;
    info.name = m_name->text().toStdString();
    info.project = m_project->text().toStdString();
    info.installation = m_installation->text().toStdString();
    info.engineer = m_engineer->text().toStdString();
    info.comment = m_comment->text().toStdString();
    m_document.names().applySystemInfo(info);
    FramedWindow::accept();
}

void SystemInformationWindow::showEvent(QShowEvent* event)
{
    refill();
    FramedWindow::showEvent(event);
}

} // namespace kvr::gui
