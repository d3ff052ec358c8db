#include "windows/ethernetmoduleswindow.h"
#include "app/programtext.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "app/devicecontroller.h"
#include "app/messagepresenter.h"
#include "app/modulefinder.h"
#include "comm/discovery.h"
#include "util/texts.h"
#include "widgets/theme.h"

namespace kvr::gui {

namespace t = core::texts;

namespace {

// The host name field keeps upper case, and typing stops at the name's length. The initial
// "HOST NAME" is longer: it is set, not typed, and the change refuses it.
class HostNameValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        input = input.toUpper();
        return input.size() > qsizetype(core::discovery::kHostNameEditLength) ? Invalid : Acceptable;
    }
};

} // namespace

EthernetModulesWindow::EthernetModulesWindow(ModuleFinder& finder, DeviceController& device,
                                             MessagePresenter& presenter, QWidget* parent)
    : FramedWindow(QStringLiteral("TEM100Form"), q(t::kEthernetCaption), parent), m_finder(finder), m_device(device),
      m_presenter(presenter)
{
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(16, 12, 16, 14);
    layout->setSpacing(10);
    auto* columns = new QHBoxLayout;
    columns->setSpacing(14);
    auto* left = new QVBoxLayout;
    auto* right = new QVBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(right, 1);
    layout->addLayout(columns);

    auto* scanGroup = new QGroupBox(q(t::kScanGroup), body());
    scanGroup->setObjectName(QStringLiteral("ScanGroup"));
    auto* scanRow = new QHBoxLayout(scanGroup);
    m_scan = new QPushButton(q(t::kScanButton), scanGroup);
    m_scan->setObjectName(QStringLiteral("ScanB"));
    m_progress = new QProgressBar(scanGroup);
    m_progress->setObjectName(QStringLiteral("ScanProgressBar"));
    m_progress->setRange(0, 100);
    m_progress->setTextVisible(false);
    scanRow->addWidget(m_scan);
    scanRow->addWidget(m_progress, 1);
    left->addWidget(scanGroup);

    m_selectGroup = new QGroupBox(q(t::kSelectGroup), body());
    m_selectGroup->setObjectName(QStringLiteral("SelectGroup"));
    auto* selectRow = new QHBoxLayout(m_selectGroup);
    m_processors = new QComboBox(m_selectGroup);
    m_processors->setObjectName(QStringLiteral("ProcessorBox"));
    m_processors->setPlaceholderText(q(t::kChooseProcessor));
    selectRow->addWidget(m_processors, 1);
    left->addWidget(m_selectGroup);

    m_connectGroup = new QGroupBox(q(t::kConnectGroup), body());
    m_connectGroup->setObjectName(QStringLiteral("ConnectGroup"));
    auto* connectRow = new QHBoxLayout(m_connectGroup);
    m_connect = new QPushButton(q(t::kConnectButton), m_connectGroup);
    m_connect->setObjectName(QStringLiteral("ConnectB"));
    m_ipLabel = new QLabel(q(t::kNoModuleIp), m_connectGroup);
    m_ipLabel->setObjectName(QStringLiteral("Label5"));
    m_ipLabel->setStyleSheet(QStringLiteral("font-weight: bold; font-family: 'DejaVu Sans Mono';"));
    connectRow->addWidget(m_connect);
    connectRow->addWidget(m_ipLabel, 1);
    left->addWidget(m_connectGroup);
    left->addStretch(1);

    auto* listCaption = new QLabel(q(t::kModuleListCaption), body());
    listCaption->setProperty("role", QStringLiteral("dim"));
    right->addWidget(listCaption);
    m_list = new QListWidget(body());
    m_list->setObjectName(QStringLiteral("IPList"));
    m_list->installEventFilter(this);
    m_list->setMinimumHeight(90);
    right->addWidget(m_list, 1);

    m_ipGroup = new QGroupBox(q(t::kIpManagement), body());
    m_ipGroup->setObjectName(QStringLiteral("IPManagementGroup"));
    auto* grid = new QGridLayout(m_ipGroup);
    auto* octets = new QHBoxLayout;
    octets->setSpacing(3);
    for (int i = 0; i < 4; ++i) {
        auto* edit = new QLineEdit(m_ipGroup);
        edit->setObjectName(QStringLiteral("IP0%1").arg(i + 1));
        edit->setValidator(new QIntValidator(0, 255, edit));
        edit->setMaxLength(3);
        edit->setFixedWidth(52);
        edit->setAlignment(Qt::AlignCenter);
        m_octets[static_cast<size_t>(i)] = edit;
        octets->addWidget(edit);
        if (i < 3) octets->addWidget(new QLabel(QStringLiteral("."), m_ipGroup));
    }
    octets->addStretch(1);
    auto* changeIp = new QPushButton(q(t::kChangeIpButton), m_ipGroup);
    changeIp->setObjectName(QStringLiteral("ChangeIPB"));
    m_hostEdit = new QLineEdit(q(t::kHostNamePlaceholder), m_ipGroup);
    m_hostEdit->setObjectName(QStringLiteral("HostEdit"));
    m_hostEdit->setValidator(new HostNameValidator(m_hostEdit));
    auto* changeHost = new QPushButton(q(t::kChangeHostButton), m_ipGroup);
    changeHost->setObjectName(QStringLiteral("ChangeHostB"));
    grid->addLayout(octets, 0, 0);
    grid->addWidget(changeIp, 0, 1);
    grid->addWidget(m_hostEdit, 1, 0);
    grid->addWidget(changeHost, 1, 1);
    right->addWidget(m_ipGroup);

    m_identify = new QPushButton(q(t::kIdentifyButton), body());
    m_identify->setObjectName(QStringLiteral("IdentifyButton1"));
    m_identify->setToolTip(q(t::kIdentifyHint));
    right->addWidget(m_identify);

    auto* bottom = new QHBoxLayout;
    m_status = new QLabel(body());
    m_status->setObjectName(QStringLiteral("StatusB"));
    m_status->setProperty("role", QStringLiteral("status"));
    m_result = new QLabel(body());
    m_result->setObjectName(QStringLiteral("Label2"));
    m_result->setStyleSheet(QStringLiteral("font-weight: bold; color: #8fd3de;"));
    bottom->addWidget(m_status);
    bottom->addStretch(1);
    bottom->addWidget(m_result);
    layout->addLayout(bottom);

    connect(m_scan, &QPushButton::clicked, &m_finder, &ModuleFinder::scan);
    connect(m_processors, &QComboBox::activated, this, &EthernetModulesWindow::onModuleChosen);
    connect(m_connect, &QPushButton::clicked, this, &EthernetModulesWindow::connectChosen);
    connect(changeIp, &QPushButton::clicked, this, &EthernetModulesWindow::changeIp);
    connect(changeHost, &QPushButton::clicked, this, [this] { m_finder.changeHostName(m_hostEdit->text()); });
    connect(m_identify, &QPushButton::clicked, &m_finder, &ModuleFinder::identify);
    connect(&m_finder, &ModuleFinder::modulesChanged, this, &EthernetModulesWindow::refreshModules);
    connect(&m_finder, &ModuleFinder::scanFinished, this, &EthernetModulesWindow::fillLists);
    connect(&m_finder, &ModuleFinder::scanProgressChanged, m_progress, &QProgressBar::setValue);
    connect(&m_device, &DeviceController::connectionChanged, this, &EthernetModulesWindow::refreshConnection);
    connect(&m_device, &DeviceController::ethernetWindowDone, this, &QWidget::hide);
    fillLists();
    refreshModules();
    refreshConnection();
    setFixedWidth(700);
    adjustSize();
}

void EthernetModulesWindow::refreshModules()
{
    const bool listed = !m_finder.scanning() && !m_finder.modules().isEmpty();
    const bool chosen = listed && m_finder.selectedModule() >= 0;
    m_selectGroup->setVisible(listed);
    m_connectGroup->setVisible(chosen);
    m_ipGroup->setVisible(chosen);
    m_identify->setVisible(chosen);
    m_progress->setValue(m_finder.scanProgress());
    m_result->setText(m_finder.scanResult());
    m_scan->setEnabled(!m_finder.scanning());

    if (m_finder.scanning()) {
        fillLists();
        return;
    }
    const int index = m_finder.selectedModule();
    {
        const QSignalBlocker block(m_processors);
        m_processors->setCurrentIndex(index);
    }
    if (chosen) {
        const EthernetModule& m = m_finder.modules()[index];
        m_ipLabel->setText(m.ip);
        const QStringList parts = m.ip.split(QLatin1Char('.'));
        for (int i = 0; i < 4; ++i)
            m_octets[static_cast<size_t>(i)]->setText(i < parts.size() ? parts[i] : QString());
        m_hostEdit->setText(m.hostName);
    } else {
        m_ipLabel->setText(q(t::kNoModuleIp));
    }
}

void EthernetModulesWindow::fillLists()
{
    // Only a scan's start and end rebuild the lists: lines deleted from IPList stay deleted
    // until the next scan.
    const QSignalBlocker block(m_processors);
    m_processors->clear();
    m_list->clear();
    if (m_finder.scanning()) return;
    for (const EthernetModule& m : m_finder.modules()) {
        m_processors->addItem(m.hostName);
        m_list->addItem(m.hostName + QLatin1Char('=') + m.ip);
    }
    m_processors->setCurrentIndex(m_finder.selectedModule());
}

void EthernetModulesWindow::refreshConnection()
{
    m_status->setText(m_device.statusText());
    m_status->setStyleSheet(
        QStringLiteral("background: %1;").arg(theme::statusColour(m_device.statusConnected()).name()));
}

void EthernetModulesWindow::onModuleChosen(int index)
{
    m_finder.selectModule(index);
}

void EthernetModulesWindow::connectChosen()
{
    if (m_finder.selectedModule() < 0) {
        m_ipLabel->setText(q(t::kNoModuleIp));
        m_presenter.show(core::errorBox(t::kSelectProcessorFirst));
        return;
    }
    m_finder.connectSelected();
}

void EthernetModulesWindow::changeIp()
{
    // The fields as typed: an empty one makes an address the change refuses.
    QStringList parts;
    for (QLineEdit* e : m_octets)
        parts << e->text();
    m_finder.changeIp(parts.join(QLatin1Char('.')));
}

void EthernetModulesWindow::deleteSelectedLine()
{
    QListWidgetItem* item = m_list->currentItem();
    if (!item) return;
    core::Message ask{core::MessageKind::Confirmation, core::Button::Ok | core::Button::Cancel,
                      std::string(t::kDeleteLineQuestion) + item->text().toStdString(), false};
    if (m_presenter.show(ask) == core::Button::Ok) delete m_list->takeItem(m_list->row(item));
}

bool EthernetModulesWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Delete || key == Qt::Key_Backspace) {
            deleteSelectedLine();
            return true;
        }
    }
    return FramedWindow::eventFilter(watched, event);
}

} // namespace kvr::gui
