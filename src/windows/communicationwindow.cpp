#include "windows/communicationwindow.h"

#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

#include "app/devicecontroller.h"
#include "util/texts.h"

namespace kvr::gui {

namespace t = core::texts;

CommunicationWindow::CommunicationWindow(DeviceController& device, QWidget* parent)
    : FramedWindow(QStringLiteral("TW_Serial_Info_Form"), QString::fromUtf8(t::kCommWindowTitle), parent),
      m_info(new QLabel(QString::fromUtf8(t::kCommConnecting), body())), m_progress(new QProgressBar(body()))
{
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(20, 16, 20, 16);
    layout->setSpacing(10);
    m_info->setObjectName(QStringLiteral("Info"));
    m_info->setStyleSheet(QStringLiteral("font-size: 10.5pt; font-weight: bold;"));
    m_info->setMinimumHeight(22);
    m_progress->setObjectName(QStringLiteral("ProgressBar"));
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    auto* baud = new QLabel(QString::fromUtf8(t::kCommBaudrate), body());
    baud->setObjectName(QStringLiteral("BaudL"));
    baud->setProperty("role", QStringLiteral("dim"));
    layout->addWidget(m_info);
    layout->addWidget(m_progress);
    layout->addWidget(baud);
    setFixedWidth(460);
    adjustSize();

    connect(&device, &DeviceController::commStatusChanged, m_info, &QLabel::setText);
    connect(&device, &DeviceController::commProgressChanged, this, [this](int position, int maximum) {
        m_progress->setRange(0, std::max(1, maximum));
        m_progress->setValue(std::clamp(position, 0, std::max(1, maximum)));
    });
    connect(&device, &DeviceController::commWindowVisibleChanged, this, &CommunicationWindow::setVisibleCentred);
}

void CommunicationWindow::setVisibleCentred(bool visible)
{
    if (!visible) {
        hide();
        return;
    }
    if (isVisible()) return;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - rect().center());
    }
    show();
}

} // namespace kvr::gui
