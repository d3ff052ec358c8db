#include "windows/progresswindow.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

#include "app/documentcontroller.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;

ProgressWindow::ProgressWindow(DocumentController& document, QWidget* parent)
    : FramedWindow(QStringLiteral("TProgresionForm"), QString::fromUtf8(t::kProgressCaption), parent),
      m_text(new QLabel(body())), m_bar(new QProgressBar(body())), m_status(new QLabel(body()))
{
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(20, 16, 20, 16);
    layout->setSpacing(10);
    m_text->setObjectName(QStringLiteral("TextL"));
    m_text->setStyleSheet(QStringLiteral("font-weight: bold;"));
    m_text->setMinimumWidth(420);
    m_bar->setObjectName(QStringLiteral("ProgressBar1"));
    m_bar->setRange(0, 100);
    m_bar->setTextVisible(false);
    m_status->setObjectName(QStringLiteral("StatusL"));
    m_status->setProperty("role", QStringLiteral("dim"));
    layout->addWidget(m_text);
    layout->addWidget(m_bar);
    layout->addWidget(m_status);
    setFixedWidth(480);
    adjustSize();

    connect(&document, &DocumentController::loadStarted, this, [this] {
        m_bar->setValue(0);
        m_status->clear();
        show();
        raise();
    });
    connect(&document, &DocumentController::loadProgress, this, &ProgressWindow::setProgress);
    connect(&document, &DocumentController::loadFinished, this, &QWidget::hide);
}

void ProgressWindow::setProgress(const core::LoadProgress& progress)
{
    m_text->setText(QString::fromStdString(progress.text));
    m_bar->setValue(progress.position);
    m_status->setText(QString::fromStdString(progress.status));
    // The load does not return to the event loop between stages: paint now.
    if (isVisible()) repaint();
}

} // namespace kvr::gui
