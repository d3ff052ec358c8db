#include "windows/connectionwindow.h"

#include <QButtonGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/devicecontroller.h"
#include "util/texts.h"
#include "widgets/theme.h"

namespace kvr::gui {

namespace t = core::texts;

ConnectionWindow::ConnectionWindow(DeviceController& device, QWidget* parent)
    : FramedWindow(QStringLiteral("TManual_Detect_Form"), QString::fromUtf8(t::kConnectionCaption), parent),
      m_device(device)
{
    setModal(true);
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(22, 16, 22, 18);
    layout->setSpacing(10);
    auto* heading = new QLabel(QString::fromUtf8(t::kConnectionHeading), body());
    heading->setObjectName(QStringLiteral("HeadingL"));
    heading->setProperty("role", QStringLiteral("heading"));
    layout->addWidget(heading);

    const char* captions[3] = {t::kChoiceOffline, t::kChoiceUsb, t::kChoiceEthernet};
    const char* names[3] = {"OfflineRB", "USBRB", "EthernetRB"};
    const char* details[3] = {t::kChoiceOfflineDetail, t::kChoiceUsbDetail, t::kChoiceEthernetDetail};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        auto* row = new QWidget(body());
        row->setObjectName(QStringLiteral("ChoiceRow%1").arg(i));
        row->setStyleSheet(QStringLiteral("#ChoiceRow%1 { background: #262c33; border: 1px solid #3a434d;"
                                          " border-radius: 5px; }")
                               .arg(i));
        auto* rowLayout = new QHBoxLayout(row);
        rowLayout->setContentsMargins(12, 8, 12, 8);
        auto* radio = new QRadioButton(QString::fromUtf8(captions[i]), row);
        radio->setObjectName(QString::fromUtf8(names[i]));
        QFont f = radio->font();
        f.setBold(true);
        radio->setFont(f);
        rowLayout->addWidget(radio);
        rowLayout->addStretch(1);
        auto* detail = new QLabel(QString::fromUtf8(details[i]), row);
        detail->setProperty("role", QStringLiteral("dim"));
        rowLayout->addWidget(detail);
        group->addButton(radio, i);
        m_choices[static_cast<size_t>(i)] = radio;
        layout->addWidget(row);
        // A click acts at once, as the choice is made.
        connect(radio, &QRadioButton::clicked, this, [this, i] {
            m_device.chooseConnection(static_cast<ConnectionChoice>(i));
            refresh(); // a choice refused while the processor is busy springs back
        });
    }
    layout->addSpacing(4);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_ok = new QPushButton(QString::fromUtf8(t::kOk), body());
    m_ok->setObjectName(QStringLiteral("OKButton"));
    m_ok->setDefault(true);
    m_ok->setMinimumWidth(96);
    buttons->addWidget(m_ok);
    layout->addLayout(buttons);
    connect(m_ok, &QPushButton::clicked, this, &ConnectionWindow::confirm);
    connect(&m_device, &DeviceController::connectionChanged, this, &ConnectionWindow::refresh);
    refresh();
    setFixedWidth(420);
    adjustSize();
}

void ConnectionWindow::refresh()
{
    // Until a choice is made in this run, the one confirmed last time is offered.
    const int index = static_cast<int>(m_device.offeredChoice());
    if (!m_choices[static_cast<size_t>(index)]->isChecked()) m_choices[static_cast<size_t>(index)]->setChecked(true);
}

void ConnectionWindow::confirm()
{
    hide();
    int checked = 0;
    for (int i = 0; i < 3; ++i)
        if (m_choices[static_cast<size_t>(i)]->isChecked()) checked = i;
    // An offered choice is made now, as a click on it would.
    m_device.confirmChoice(static_cast<ConnectionChoice>(checked));
}

void ConnectionWindow::reject()
{
    FramedWindow::reject();
    // Until a choice is confirmed the program keeps asking.
    if (m_device.askForConnection())
        QTimer::singleShot(0, this, [this] {
            if (m_device.askForConnection()) show();
        });
}

} // namespace kvr::gui
