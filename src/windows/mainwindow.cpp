#include "windows/mainwindow.h"
#include "app/programtext.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/application.h"
#include "app/devicecontroller.h"
#include "app/documentcontroller.h"
#include "app/messagepresenter.h"
#include "app/routingoperations.h"
#include "app/settings.h"
#include "config/editing.h"
#include "config/labels.h"
#include "util/texts.h"
#include "widgets/blockbutton.h"
#include "widgets/blockdiagram.h"
#include "widgets/clickablelabel.h"
#include "widgets/routebutton.h"
#include "widgets/theme.h"

namespace kvr::gui {

namespace t = core::texts;
using core::InputId;

namespace {

QString numbered(const char* prefix, int n, const char* suffix = "")
{
    return q(prefix) + QString::number(n) + q(suffix);
}

QPixmap logoPixmap()
{
    const qreal dpr = 2.0;
    QPixmap pm(QSize(170, 44) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    // A small level meter as the mark, then the name.
    const QColor accent = theme::colour(theme::Role::Accent);
    for (int i = 0; i < 5; ++i) {
        const qreal h = 8 + i * 5.5;
        p.setPen(Qt::NoPen);
        p.setBrush(i < 4 ? accent : theme::colour(theme::Role::InputB));
        p.drawRoundedRect(QRectF(4 + i * 7, 38 - h, 5, h), 1.5, 1.5);
    }
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(22);
    f.setLetterSpacing(QFont::AbsoluteSpacing, 1.0);
    p.setFont(f);
    p.setPen(theme::colour(theme::Role::Text));
    p.drawText(QRectF(44, 2, 130, 26), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KVR 610"));
    QFont s(QStringLiteral("DejaVu Sans"));
    s.setPixelSize(9);
    s.setLetterSpacing(QFont::AbsoluteSpacing, 1.4);
    p.setFont(s);
    p.setPen(theme::colour(theme::Role::TextDim));
    p.drawText(QRectF(45, 27, 130, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("LOUDSPEAKER MGMT"));
    return pm;
}

QPixmap summingPixmap()
{
    const qreal dpr = 2.0;
    QPixmap pm(QSize(40, 40) * dpr);
    pm.setDevicePixelRatio(dpr);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor c = inputColour(InputId::M);
    p.setPen(QPen(c, 2));
    p.setBrush(theme::colour(theme::Role::Block));
    p.drawEllipse(QRectF(3, 3, 34, 34));
    p.setPen(QPen(theme::colour(theme::Role::Text), 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 12), QPointF(20, 28));
    p.drawLine(QPointF(12, 20), QPointF(28, 20));
    return pm;
}

QLabel* valueLabel(QWidget* parent, const QRect& area, const QString& name)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(area);
    label->setAlignment(Qt::AlignCenter);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    label->setStyleSheet(QStringLiteral("color: #dce2e8; font-weight: bold; background: transparent;"));
    return label;
}

} // namespace

MainWindow::MainWindow(Application& app, QWidget* parent)
    : FramedWindow(QStringLiteral("TDCPanelForm"), app.document().windowTitle(), parent), m_app(app),
      m_document(app.document()), m_device(app.device())
{
    auto* layout = new QVBoxLayout(body());
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* menuBar = new QMenuBar(body());
    menuBar->setObjectName(QStringLiteral("MainMenu"));
    menuBar->setNativeMenuBar(false);
    layout->addWidget(menuBar);
    auto* toolBar = new QWidget(body());
    toolBar->setObjectName(QStringLiteral("ToolBar"));
    layout->addWidget(toolBar);
    m_diagram = new BlockDiagram(body());
    layout->addWidget(m_diagram, 0, Qt::AlignHCenter);

    // Status line at the bottom.
    auto* statusBar = new QWidget(body());
    statusBar->setObjectName(QStringLiteral("StatusBar"));
    statusBar->setStyleSheet(QStringLiteral("#StatusBar { background: #22282f; border-top: 1px solid #3a434d; }"));
    auto* statusLayout = new QHBoxLayout(statusBar);
    statusLayout->setContentsMargins(10, 5, 10, 5);
    m_status = new QLabel(statusBar);
    m_status->setObjectName(QStringLiteral("StatusL"));
    m_status->setProperty("role", QStringLiteral("status"));
    statusLayout->addWidget(m_status);
    m_result = new QLabel(statusBar);
    m_result->setObjectName(QStringLiteral("ResultL"));
    statusLayout->addSpacing(12);
    statusLayout->addWidget(m_result);
    statusLayout->addStretch(1);
    auto* appTitle = new QLabel(q(t::kApplicationTitle), statusBar);
    appTitle->setProperty("role", QStringLiteral("dim"));
    statusLayout->addWidget(appTitle);
    layout->addWidget(statusBar);

    buildMenus(menuBar);
    buildToolBar(toolBar);
    buildDiagram();

    connect(&m_document, &DocumentController::changed, this, &MainWindow::onChanged);
    connect(&m_document, &DocumentController::historyChanged, this, &MainWindow::refreshHistory);
    connect(&m_document, &DocumentController::titleChanged, this, &MainWindow::setCaption);
    connect(&m_device, &DeviceController::connectionChanged, this, &MainWindow::refreshConnection);
    connect(&m_document, &DocumentController::busyChanged, this, &MainWindow::refreshBusy);
    connect(&m_device, &DeviceController::resultChanged, this, &MainWindow::refreshResult);
    connect(&m_device, &DeviceController::memoryChanged, m_memorySpin, &QSpinBox::setValue);
    connect(&m_device, &DeviceController::memoryBlockedChanged, m_memoryBlocked, &QCheckBox::setChecked);
    refresh();
    refreshHistory();
    refreshConnection();
    refreshBusy();
    adjustSize();
}

void MainWindow::buildMenus(QMenuBar* bar)
{
    auto item = [this](QMenu* menu, const char* name, const char* caption) {
        QAction* action = menu->addAction(q(caption));
        action->setObjectName(q(name));
        return action;
    };
    QMenu* file = bar->addMenu(q(t::kMenuFile));
    file->setObjectName(QStringLiteral("FileMenu"));
    m_newAction = item(file, "MenuNew", t::kMenuNew);
    m_openAction = item(file, "MenuOpen", t::kMenuOpen);
    QAction* save = item(file, "MenuSave", t::kMenuSave);
    QAction* saveAs = item(file, "MenuSaveAs", t::kMenuSaveAs);
    QAction* beforeReport = file->addSeparator();
    opens(item(file, "MenuReport", t::kMenuReport), EditorKind::Report);
    file->addSeparator();
    QAction* exit = item(file, "MenuExit", t::kMenuExit);
    connect(m_newAction, &QAction::triggered, &m_document, &DocumentController::newConfiguration);
    connect(m_openAction, &QAction::triggered, &m_document, &DocumentController::openConfiguration);
    connect(save, &QAction::triggered, &m_document, &DocumentController::saveConfiguration);
    connect(saveAs, &QAction::triggered, &m_document, &DocumentController::saveConfiguration);
    connect(exit, &QAction::triggered, this, &QWidget::close);
    m_newAction->setShortcut(QKeySequence::New);
    m_openAction->setShortcut(QKeySequence::Open);
    save->setShortcut(QKeySequence::Save);
    saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    exit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    buildFileExtras(file, beforeReport);

    QMenu* edit = bar->addMenu(q(t::kMenuEdit));
    edit->setObjectName(QStringLiteral("EditMenu"));
    m_undoAction = item(edit, "MenuUndo", t::kMenuUndo);
    m_undoAction->setShortcut(QKeySequence::Undo);
    m_redoAction = item(edit, "MenuRedo", t::kMenuRedo);
    m_redoAction->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction* a : {m_undoAction, m_redoAction})
        a->setShortcutContext(Qt::ApplicationShortcut);
    connect(m_undoAction, &QAction::triggered, &m_document, &DocumentController::undo);
    connect(m_redoAction, &QAction::triggered, &m_document, &DocumentController::redo);

    QMenu* config = bar->addMenu(q(t::kMenuConfiguration));
    config->setObjectName(QStringLiteral("ConfigurationMenu"));
    opens(item(config, "MenuSystemName", t::kMenuSystemName), EditorKind::SystemInfo);
    item(config, "MenuInptuts", t::kMenuInptutsOutputs); // no action
    config->addSeparator();
    QAction* password = item(config, "MenuPassword", t::kMenuPassword);
    QAction* lock = item(config, "MenuKeybLock", t::kMenuKeybLock);
    QAction* unlock = item(config, "MenuKeybUnlock", t::kMenuKeybUnlock);
    config->addSeparator();
    QAction* connectItem = item(config, "MenuConnect", t::kMenuConnect);
    QAction* program = item(config, "MenuProgram", t::kMenuProgram);
    m_verifyAction = item(config, "MenuVerifyAfterStore", t::kMenuVerifyAfterStore);
    m_verifyAction->setCheckable(true);
    m_verifyAction->setChecked(m_device.verifyAfterStore());
    connect(m_verifyAction, &QAction::toggled, &m_device, &DeviceController::setVerifyAfterStore);
    config->setToolTipsVisible(true);
    QAction* getConfigs = item(config, "MenuGetConfigurations", t::kMenuGetConfigurations);
    QAction* version = item(config, "MenuGetVersion", t::kMenuGetVersion);
    QAction* update = item(config, "MenuUpdate", t::kMenuUpdate);
    connect(password, &QAction::triggered, &m_device, &DeviceController::requestPassword);
    connect(lock, &QAction::triggered, &m_device, [this] { m_device.lockKeyboard(true); });
    connect(unlock, &QAction::triggered, &m_device, &DeviceController::unlockKeyboard);
    connect(connectItem, &QAction::triggered, &m_device, &DeviceController::requestConnection);
    connect(program, &QAction::triggered, &m_device, &DeviceController::storeConfiguration);
    connect(getConfigs, &QAction::triggered, &m_device, &DeviceController::readMemory);
    connect(version, &QAction::triggered, &m_device, &DeviceController::readVersion);
    connect(update, &QAction::triggered, &m_device, &DeviceController::uploadOperatingSystem);
    m_deviceActions = {password, lock, unlock, program, getConfigs, version, update};

    QMenu* view = bar->addMenu(q(t::kMenuView));
    view->setObjectName(QStringLiteral("ViewMenu"));
    opens(item(view, "MenuInputsOutputs", t::kMenuInputsOutputs), EditorKind::Names);
    opens(item(view, "MenuGains", t::kMenuGains), EditorKind::Levels);
    opens(item(view, "MenuPeq", t::kMenuPeq), EditorKind::InputEq);
    opens(item(view, "MenuXover", t::kMenuXover), EditorKind::Crossover);
    opens(item(view, "MenuPeqx", t::kMenuPeqx), EditorKind::OutputEq);
    opens(item(view, "MenuDynamics", t::kMenuDynamics), EditorKind::Dynamics);
    opens(item(view, "MenuInputDelays", t::kMenuInputDelays), EditorKind::InputDelay);
    opens(item(view, "MenuOutputDelays", t::kMenuOutputDelays), EditorKind::OutputDelay);
    view->addSeparator();
    opens(item(view, "MenuListings", t::kMenuListings), EditorKind::Listings);
    opens(item(view, "MenuDeviceData", t::kMenuDeviceData), EditorKind::DeviceData);

    QAction* copy = bar->addAction(q(t::kMenuCopyOutputs));
    copy->setObjectName(QStringLiteral("MenuCopyOutputs"));
    opens(copy, EditorKind::CopyOutputs);

    QMenu* help = bar->addMenu(q(t::kMenuHelp));
    help->setObjectName(QStringLiteral("HelpMenu"));
    QAction* about = item(help, "MenuAbout", t::kMenuAbout);
    connect(about, &QAction::triggered, this, &MainWindow::aboutRequested);
}

QToolButton* MainWindow::toolButton(const char* name, const char* hint, int icon)
{
    auto* button = new QToolButton(this);
    button->setObjectName(q(name));
    button->setToolTip(q(hint));
    button->setIcon(theme::toolIcon(static_cast<theme::ToolIcon>(icon)));
    button->setIconSize(QSize(26, 26));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setStyleSheet(
        QStringLiteral("QToolButton { border: 1px solid transparent; border-radius: 4px; padding: 3px; }"
                       "QToolButton:hover { background: #38424d; border-color: #46515d; }"
                       "QToolButton:pressed { background: #2b6f7b; }"));
    return button;
}

void MainWindow::buildToolBar(QWidget* bar)
{
    using theme::ToolIcon;
    bar->setStyleSheet(QStringLiteral("#ToolBar { background: #22282f; border-bottom: 1px solid #3a434d; }"));
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(8, 4, 8, 4);
    row->setSpacing(2);
    auto separator = [&] {
        auto* line = new QWidget(bar);
        line->setFixedSize(1, 26);
        line->setStyleSheet(QStringLiteral("background: #3a434d;"));
        row->addSpacing(6);
        row->addWidget(line);
        row->addSpacing(6);
    };
    auto add = [&](const char* name, const char* hint, ToolIcon icon) {
        QToolButton* b = toolButton(name, hint, static_cast<int>(icon));
        b->setParent(bar);
        row->addWidget(b);
        return b;
    };
    m_newButton = add("NewB", t::kHintNew, ToolIcon::New);
    m_openButton = add("OpenB", t::kHintOpen, ToolIcon::Open);
    m_saveButton = add("SaveB", t::kHintSave, ToolIcon::Save);
    QToolButton* report = add("ReportB", t::kHintReport, ToolIcon::Report);
    opens(report, EditorKind::Report, 0);
    separator();
    QToolButton* connectB = add("DetectSNVDB", t::kHintConnect, ToolIcon::Connect);
    m_ethernetButton = add("EthernetB", t::kHintEthernet, ToolIcon::Ethernet);
    separator();
    QToolButton* write = add("WriteProgramB", t::kHintStore, ToolIcon::Write);
    QToolButton* read = add("ReadProgramB", t::kHintRead, ToolIcon::Read);
    QToolButton* change = add("ChangeConfigB", t::kHintChange, ToolIcon::Change);
    auto* memoryLabel = new QLabel(q(t::kMemoryLabel), bar);
    memoryLabel->setProperty("role", QStringLiteral("dim"));
    row->addSpacing(6);
    row->addWidget(memoryLabel);
    m_memorySpin = new QSpinBox(bar);
    m_memorySpin->setObjectName(QStringLiteral("NProgramSpin"));
    m_memorySpin->setToolTip(q(t::kHintMemory));
    m_memorySpin->setRange(1, 18);
    m_memorySpin->setValue(m_device.memory());
    m_memorySpin->setFixedWidth(72);
    row->addWidget(m_memorySpin);
    separator();
    QToolButton* version = add("GetDSPVersionB", t::kHintGetVersion, ToolIcon::GetVersion);
    QToolButton* getSystem = add("GetDSPSystemB", t::kHintGetSystem, ToolIcon::GetSystem);
    QToolButton* update = add("UpdateSystemB", t::kHintUpdateSystem, ToolIcon::UpdateSystem);
    separator();
    QToolButton* lock = add("KeyBoardB", t::kHintLock, ToolIcon::Lock);
    QToolButton* unlock = add("KeyBoardUnB", t::kHintUnlock, ToolIcon::Unlock);
    QToolButton* password = add("PasswordB", t::kHintPassword, ToolIcon::Password);
    QToolButton* reset = add("ResetB", t::kHintReset, ToolIcon::Reset);
    separator();
    m_libraryButton = add("LoadAllMemB", t::kLibraryMakerButton, ToolIcon::Library);
    m_libraryButton->setText(q(t::kLibraryMakerButton));
    m_libraryButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_libraryButton->setVisible(false);
    m_memoryBlocked = new QCheckBox(q(t::kMemoryBlocked), bar);
    m_memoryBlocked->setObjectName(QStringLiteral("MemBlock"));
    m_memoryBlocked->setVisible(false);
    row->addWidget(m_memoryBlocked);
    // The coefficient listings are also written as files while this is on.
    auto* saveListings = new QCheckBox(q(t::kListingsSave), bar);
    saveListings->setObjectName(QStringLiteral("SaveCheck"));
    saveListings->setToolTip(q(t::kListingsSaveHint));
    row->addSpacing(8);
    row->addWidget(saveListings);
    connect(saveListings, &QCheckBox::toggled, this, &MainWindow::listingsSaveToggled);
    row->addStretch(1);
    QToolButton* about = add("AcercadeButton", t::kHintAbout, ToolIcon::About);

    connect(m_newButton, &QToolButton::clicked, &m_document, &DocumentController::newConfiguration);
    connect(m_openButton, &QToolButton::clicked, &m_document, &DocumentController::openConfiguration);
    connect(m_saveButton, &QToolButton::clicked, &m_document, &DocumentController::saveConfiguration);
    connect(connectB, &QToolButton::clicked, &m_device, &DeviceController::requestConnection);
    connect(m_ethernetButton, &QToolButton::clicked, &m_device, &DeviceController::showEthernetWindow);
    connect(write, &QToolButton::clicked, &m_device, &DeviceController::storeConfiguration);
    connect(read, &QToolButton::clicked, &m_device, &DeviceController::readMemory);
    connect(change, &QToolButton::clicked, &m_device, &DeviceController::changeMemory);
    connect(version, &QToolButton::clicked, &m_device, &DeviceController::readVersion);
    connect(getSystem, &QToolButton::clicked, &m_device, &DeviceController::readOperatingSystem);
    connect(update, &QToolButton::clicked, &m_device, &DeviceController::uploadOperatingSystem);
    connect(lock, &QToolButton::clicked, &m_device, [this] { m_device.lockKeyboard(false); });
    connect(unlock, &QToolButton::clicked, &m_device, &DeviceController::unlockKeyboard);
    connect(password, &QToolButton::clicked, &m_device, &DeviceController::requestPassword);
    connect(reset, &QToolButton::clicked, &m_device, &DeviceController::resetProcessor);
    connect(m_memorySpin, &QSpinBox::valueChanged, &m_device, &DeviceController::setMemory);
    connect(m_memoryBlocked, &QCheckBox::toggled, &m_device, &DeviceController::setMemoryBlocked);
    connect(m_libraryButton, &QToolButton::clicked, this, &MainWindow::libraryMakerRequested);
    connect(about, &QToolButton::clicked, this, &MainWindow::aboutRequested);

    m_deviceWidgets = {reset,  update, getSystem, version, password,     lock,
                       unlock, read,   write,     change,  m_memorySpin, m_ethernetButton};
}

void MainWindow::buildDiagram()
{
    QWidget* d = m_diagram;
    const QRect header = BlockDiagram::headerArea();

    m_logo = new ClickableLabel(d);
    m_logo->setObjectName(QStringLiteral("SNVDImage"));
    m_logo->setPixmap(logoPixmap());
    m_logo->setGeometry(16, (header.height() - 44) / 2, 170, 44);
    connect(m_logo, &ClickableLabel::clicked, this, &MainWindow::onLogoClicked);

    m_systemButton = new QPushButton(q(t::kSystemButton), d);
    m_systemButton->setObjectName(QStringLiteral("SistemaB"));
    m_systemButton->setGeometry(230, 16, 84, 30);
    opens(m_systemButton, EditorKind::SystemInfo, 0);
    m_systemName = new ClickableLabel(d);
    m_systemName->setObjectName(QStringLiteral("SistemaL"));
    m_systemName->setGeometry(324, 14, 220, 34);
    m_systemName->setStyleSheet(QStringLiteral("font-size: 13pt; font-weight: bold; color: #dce2e8;"));
    connect(m_systemName, &ClickableLabel::clicked, this, &MainWindow::onSystemNameClicked);

    auto* modeLabel = new QLabel(q(t::kModeLabel), d);
    modeLabel->setObjectName(QStringLiteral("ModoLabel"));
    modeLabel->setProperty("role", QStringLiteral("dim"));
    modeLabel->setGeometry(640, 16, 44, 30);
    modeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_modeCombo = new QComboBox(d);
    m_modeCombo->setObjectName(QStringLiteral("ModoCombo"));
    for (int mode = 0; mode < core::kRoutingModeCount; ++mode)
        m_modeCombo->addItem(QString::fromUtf8(core::routingModeInfo(mode).item.data(),
                                               qsizetype(core::routingModeInfo(mode).item.size())));
    m_modeCombo->setGeometry(692, 16, 270, 30);
    // Only the user's choice applies a mode; setting the index from code does not.
    connect(m_modeCombo, &QComboBox::activated, this,
            [this](int mode) { m_document.routing().chooseRoutingMode(mode); });

    m_copyButton = new QPushButton(q(t::kCopyButton), d);
    m_copyButton->setObjectName(QStringLiteral("CopyOutsB"));
    m_copyButton->setGeometry(BlockDiagram::kWidth - 106, 16, 86, 30);
    opens(m_copyButton, EditorKind::CopyOutputs, 0);

    // Inputs.
    const char* gainNames[3] = {"Gain1B", "Gain2B", "GainABB"};
    const char* gainLabels[3] = {"GainInput1L", "GainInput2L", "GainInputML"};
    const char* delayNames[3] = {"DelayC1B", "DelayC2B", "DelayCABB"};
    const char* delayLabels[3] = {"DelayC1L", "DelayC2L", "DelayCABL"};
    const char* peqNames[3] = {"PEQ1B", "PEQ2B", "PEQMB"};
    for (int i = 0; i < core::kInputCount; ++i) {
        const auto id = static_cast<InputId>(i);
        const QColor accent = inputColour(id);
        if (id != InputId::M) {
            auto* name = new BlockButton(i == 0 ? QStringLiteral("INPUT A") : QStringLiteral("INPUT B"), d);
            name->setObjectName(numbered("Input", i + 1, "B"));
            name->setGeometry(BlockDiagram::inputBlock(id, 0));
            name->setAccent(accent);
            opens(name, EditorKind::Names, i);
            m_inputNameButtons[static_cast<size_t>(i)] = name;
        }
        auto* gain = new BlockButton(QStringLiteral("GAIN"), d);
        gain->setObjectName(q(gainNames[i]));
        auto* delay = new BlockButton(QStringLiteral("DELAY"), d);
        delay->setObjectName(q(delayNames[i]));
        auto* peq = new BlockButton(QStringLiteral("PEQ"), d);
        peq->setObjectName(q(peqNames[i]));
        int column = 1;
        for (BlockButton* b : {gain, delay, peq}) {
            b->setGeometry(BlockDiagram::inputBlock(id, column++));
            b->setAccent(accent);
        }
        opens(gain, EditorKind::Levels, i);
        opens(delay, EditorKind::InputDelay, i);
        opens(peq, EditorKind::InputEq, i);
        m_inputGainButtons[static_cast<size_t>(i)] = gain;
        m_inputDelayButtons[static_cast<size_t>(i)] = delay;
        m_inputPeqButtons[static_cast<size_t>(i)] = peq;
        m_inputGainLabels[static_cast<size_t>(i)] =
            valueLabel(d, BlockDiagram::valueArea(gain->geometry()), q(gainLabels[i]));
        m_inputDelayLabels[static_cast<size_t>(i)] =
            valueLabel(d, BlockDiagram::valueArea(delay->geometry()), q(delayLabels[i]));
    }
    m_summing = new ClickableLabel(d);
    m_summing->setObjectName(QStringLiteral("ImagenSuma"));
    m_summing->setPixmap(summingPixmap());
    m_summing->setGeometry(BlockDiagram::summingNode());
    connect(m_summing, &ClickableLabel::doubleClicked, this, &MainWindow::onSummingDoubleClicked);
    auto* mixCaption = new QLabel(q(t::kInputMixCaption), d);
    mixCaption->setObjectName(QStringLiteral("MixLabel"));
    const QRect node = BlockDiagram::summingNode();
    mixCaption->setGeometry(node.right() + 6, node.top() - 6, 40, 18);
    mixCaption->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    mixCaption->setStyleSheet(QStringLiteral("color: %1; font-weight: bold;").arg(inputColour(InputId::M).name()));

    // Outputs.
    for (int n = 1; n <= core::kOutputCount; ++n) {
        const size_t k = static_cast<size_t>(n - 1);
        auto* route = new RouteButton(d);
        route->setObjectName(numbered("Route", n, "B"));
        route->setGeometry(BlockDiagram::outputBlock(n, 0));
        route->setProperty("Tag", n);
        connect(route, &QPushButton::clicked, this, [this, n] { m_document.routing().clickRoute(n); });
        m_routeButtons[k] = route;

        auto block = [&](const char* function, const QString& name, int column, EditorKind kind) {
            auto* b = new BlockButton(q(function), d);
            b->setObjectName(name);
            b->setGeometry(BlockDiagram::outputBlock(n, column));
            b->setProperty("Tag", n);
            opens(b, kind, n);
            return b;
        };
        m_xoverButtons[k] = block("XOVER", numbered("Xover", n, "B"), 1, EditorKind::Crossover);
        m_peqxButtons[k] = block("PEQX", numbered("PEQX", n, "B"), 2, EditorKind::OutputEq);
        m_peqxButtons[k]->setGlyph(BlockButton::Glyph::Equaliser);
        m_dynamicButtons[k] = block("DYNAMICS", numbered("Dynamic", n, "B"), 3, EditorKind::Dynamics);
        m_dynamicButtons[k]->setGlyph(BlockButton::Glyph::Dynamics);
        m_delayButtons[k] = block("DELAY", numbered("Delay", n, "FB"), 4, EditorKind::OutputDelay);
        m_gainButtons[k] = block("GAIN", numbered("Gainout", n, "B"), 5, EditorKind::Levels);
        m_outputButtons[k] = block("OUTPUT", numbered("Output", n, "B"), 6, EditorKind::Names);

        const QRect x = m_xoverButtons[k]->geometry();
        m_fc1Labels[k] =
            valueLabel(d, QRect(x.left() + 8, x.top() + 17, x.width() - 12, 20), numbered("fc1Xover", n, "L"));
        m_fc2Labels[k] =
            valueLabel(d, QRect(x.left() + 8, x.top() + 36, x.width() - 12, 20), numbered("fc2Xover", n, "L"));
        m_fc1Labels[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        m_fc2Labels[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        for (auto [label, caption] : {std::pair{m_fc1Labels[k], "LO"}, std::pair{m_fc2Labels[k], "HI"}}) {
            auto* tag = new QLabel(q(caption), d);
            tag->setGeometry(label->geometry().left(), label->geometry().top(), 24, label->height());
            tag->setAttribute(Qt::WA_TransparentForMouseEvents);
            tag->setStyleSheet(QStringLiteral("color: #8d98a4; font-size: 7pt; background: transparent;"));
        }
        m_delayLabels[k] =
            valueLabel(d, BlockDiagram::valueArea(m_delayButtons[k]->geometry()), numbered("Delay", n, "FL"));
        m_gainLabels[k] =
            valueLabel(d, BlockDiagram::valueArea(m_gainButtons[k]->geometry()), numbered("GainOut", n, "L"));

        const QRect out = m_outputButtons[k]->geometry();
        auto* cross = new QLabel(q(t::kMuteCross), d);
        cross->setObjectName(numbered("Mute", n, "L"));
        cross->setAlignment(Qt::AlignCenter);
        cross->setGeometry(out.left() - 8, out.bottom() + 1, 16, 18);
        cross->setStyleSheet(
            QStringLiteral("color: #e04f4f; font-size: 11pt; font-weight: bold; background: transparent;"));
        cross->setAttribute(Qt::WA_TransparentForMouseEvents);
        cross->setVisible(false);
        m_muteCrossLabels[k] = cross;
        auto* mute = new QLabel(q(t::kMuteText), d);
        mute->setObjectName(numbered("Mute", n));
        mute->setAlignment(Qt::AlignCenter);
        mute->setGeometry(out.left() + 10, out.bottom() + 2, out.width() - 18, 16);
        mute->setStyleSheet(QStringLiteral(
            "color: #ffffff; background: #b03a3a; border-radius: 3px; font-size: 7pt; font-weight: bold;"));
        mute->setVisible(false);
        m_muteLabels[k] = mute;
    }
}

void MainWindow::refresh()
{
    const core::Configuration& c = m_document.configuration();
    m_systemName->setText(q(c.system.name));
    m_inputNameButtons[0]->setText(q(c.input(InputId::A).name));
    m_inputNameButtons[1]->setText(q(c.input(InputId::B).name));
    for (int i = 0; i < core::kInputCount; ++i) {
        const auto id = static_cast<InputId>(i);
        m_inputGainLabels[static_cast<size_t>(i)]->setText(q(core::gainLabel(c.input(id).levelDb())));
        m_inputDelayLabels[static_cast<size_t>(i)]->setText(q(core::delayLabel(c.input(id).delayMs())));
        m_inputPeqButtons[static_cast<size_t>(i)]->setText(q(core::peqSourceCaption(c, id)));
    }
    std::array<core::RouteSource, core::kOutputCount> routes{};
    std::array<bool, core::kOutputCount> mutes{};
    for (int n = 1; n <= core::kOutputCount; ++n) {
        const size_t k = static_cast<size_t>(n - 1);
        const core::OutputChannelSettings& o = c.output(n);
        routes[k] = o.route;
        mutes[k] = o.mute;
        m_routeButtons[k]->setGlyph(static_cast<int>(o.route));
        m_outputButtons[k]->setText(q(o.name));
        m_gainLabels[k]->setText(q(core::gainLabel(o.levelDb())));
        m_delayLabels[k]->setText(q(core::delayLabel(o.delayMs())));
        m_fc1Labels[k]->setText(q(core::crossoverFrequencyLabel(o.xover.LowSide, core::CrossoverSide::Low)));
        m_fc2Labels[k]->setText(q(core::crossoverFrequencyLabel(o.xover.HighSide, core::CrossoverSide::High)));
        m_muteCrossLabels[k]->setVisible(o.mute);
        m_muteLabels[k]->setVisible(o.mute);
        const QColor accent = inputColour(core::inputForRoute(o.route));
        for (BlockButton* b : {m_xoverButtons[k], m_peqxButtons[k], m_dynamicButtons[k], m_delayButtons[k],
                               m_gainButtons[k], m_outputButtons[k]})
            b->setAccent(accent);
    }
    m_diagram->setRoutes(routes);
    m_diagram->setMutes(mutes);
    m_diagram->setInputMutes({c.input(InputId::A).mute, c.input(InputId::B).mute, c.input(InputId::M).mute});
    if (m_modeCombo->currentIndex() != c.routingMode) {
        const QSignalBlocker block(m_modeCombo);
        m_modeCombo->setCurrentIndex(c.routingMode);
    }
    m_memorySpin->setValue(m_device.memory());
}

void MainWindow::opens(QAbstractButton* button, EditorKind kind, int index)
{
    button->setEnabled(false);
    m_editorWidgets[static_cast<size_t>(kind)].push_back(button);
    connect(button, &QAbstractButton::clicked, this, [this, kind, index] {
        emit editorRequested({kind, index, false});
    });
}

void MainWindow::opens(QAction* action, EditorKind kind)
{
    action->setEnabled(false);
    m_editorActions[static_cast<size_t>(kind)].push_back(action);
    connect(action, &QAction::triggered, this, [this, kind] { emit editorRequested({kind, 0, true}); });
}

void MainWindow::setEditorAvailable(EditorKind kind, bool available)
{
    for (QWidget* w : m_editorWidgets[static_cast<size_t>(kind)])
        w->setEnabled(available);
    for (QAction* a : m_editorActions[static_cast<size_t>(kind)])
        a->setEnabled(available);
    explainDisabled();
}

void MainWindow::onChanged(const DocumentChange& change)
{
    // Dynamics, output equalisers, view choices and measurements have no label here.
    if (change.touchesAny({Region::Routing, Region::Levels, Region::InputDelays, Region::OutputDelays, Region::InputEq,
                           Region::Crossover, Region::Names, Region::SystemInfo}))
        refresh();
}

void MainWindow::refreshHistory()
{
    const QString undoName = m_document.undoName();
    const QString redoName = m_document.redoName();
    m_undoAction->setText(undoName.isEmpty() ? q(t::kMenuUndo) : q(t::kMenuUndoNamed).arg(undoName));
    m_redoAction->setText(redoName.isEmpty() ? q(t::kMenuRedo) : q(t::kMenuRedoNamed).arg(redoName));
    m_undoAction->setEnabled(m_document.canUndo());
    m_redoAction->setEnabled(m_document.canRedo());
}

void MainWindow::refreshConnection()
{
    const bool enabled = m_device.deviceControlsEnabled();
    for (QWidget* w : m_deviceWidgets)
        w->setEnabled(enabled);
    for (QAction* a : m_deviceActions)
        a->setEnabled(enabled);
    m_ethernetButton->setVisible(m_device.ethernetInUse());
    m_status->setText(m_device.statusText());
    m_status->setStyleSheet(
        QStringLiteral("background: %1;").arg(theme::statusColour(m_device.statusConnected()).name()));
    explainDisabled();
}

void MainWindow::refreshBusy()
{
    const bool idle = !m_document.busy();
    for (QWidget* w : std::initializer_list<QWidget*>{m_newButton, m_openButton})
        w->setEnabled(idle);
    m_newAction->setEnabled(idle);
    m_openAction->setEnabled(idle);
    refreshConnection();
}

void MainWindow::onSystemNameClicked()
{
    if (++m_systemNameClicks >= kLibraryMakerClicks) {
        m_systemNameClicks = 0;
        m_libraryButton->setVisible(true);
    }
}

void MainWindow::onSummingDoubleClicked()
{
    if (++m_summingDoubleClicks >= kMemoryBlockedDoubleClicks) m_memoryBlocked->setVisible(true);
}

void MainWindow::onLogoClicked()
{
    if (++m_logoClicks >= kLogoClicks) {
        m_logoClicks = 0;
        m_app.presenter().show(core::infoBox(t::kProgrammed));
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!m_app.requestClose()) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

void MainWindow::showEvent(QShowEvent* event)
{
    FramedWindow::showEvent(event);
    if (m_shownOnce) return;
    m_shownOnce = true;
    // The first activation asks for the connection (after the window is on screen).
    QTimer::singleShot(0, this, [this] {
        if (m_device.askForConnection()) m_device.requestConnection();
    });
}

// ---- Recent files, verify option, operation result, why a control is disabled ----

void MainWindow::buildFileExtras(QMenu* file, QAction* before)
{
    m_recentMenu = new QMenu(q(t::kMenuRecentFiles), file);
    m_recentMenu->setObjectName(QStringLiteral("MenuRecent"));
    m_recentMenu->setToolTipsVisible(true);
    file->insertMenu(before, m_recentMenu);
    connect(&m_app.settings(), &Settings::recentFilesChanged, this, &MainWindow::rebuildRecentMenu);
    rebuildRecentMenu();
}

void MainWindow::rebuildRecentMenu()
{
    m_recentMenu->clear();
    const QStringList files = m_app.settings().recentFiles();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        QAction* a = m_recentMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        a->setObjectName(QStringLiteral("MenuRecent%1").arg(i + 1));
        a->setToolTip(QDir::toNativeSeparators(path));
        a->setData(path);
        connect(a, &QAction::triggered, this, [this, path] { m_document.openRecentFile(path); });
    }
    m_recentMenu->addSeparator();
    QAction* clear = m_recentMenu->addAction(q(t::kMenuClearRecent));
    clear->setObjectName(QStringLiteral("MenuClearRecent"));
    clear->setEnabled(!files.isEmpty());
    connect(clear, &QAction::triggered, this, [this] {
        for (const QString& path : m_app.settings().recentFiles())
            m_app.settings().removeRecentFile(path);
    });
    m_recentMenu->setEnabled(!files.isEmpty());
}

void MainWindow::refreshResult()
{
    m_result->setText(m_device.resultText());
    m_result->setStyleSheet(m_device.resultFailed() ? QStringLiteral("color: #ff6b6b; font-weight: bold;")
                                                    : QStringLiteral("color: #8fd18f;"));
}

void MainWindow::explainDisabled()
{
    // A disabled control says why, after what it does.
    const char* device = m_device.connectionCode() == ConnectionCode::Offline ? t::kNeedsConnection : t::kNeedsIdle;
    auto explain = [](QString hint, bool enabled, const char* reason) {
        const QString suffix = QStringLiteral(" (") + q(reason) + QLatin1Char(')');
        for (const char* known : {t::kNeedsConnection, t::kNeedsIdle, t::kNeedsWindow}) {
            const QString old = QStringLiteral(" (") + q(known) + QLatin1Char(')');
            if (hint.endsWith(old)) hint.chop(old.size());
            if (hint == q(known)) hint.clear();
        }
        if (enabled) return hint;
        return hint.isEmpty() ? q(reason) : hint + suffix;
    };
    for (QWidget* w : m_deviceWidgets)
        w->setToolTip(explain(w->toolTip(), w->isEnabled(), device));
    for (QAction* a : m_deviceActions)
        a->setToolTip(explain(a->text().remove(QLatin1Char('&')), a->isEnabled(), device));
    for (const auto& widgets : m_editorWidgets)
        for (QWidget* w : widgets)
            w->setToolTip(explain(w->toolTip(), w->isEnabled(), t::kNeedsWindow));
}

void MainWindow::reject()
{
    // Escape must not hide the main window; closing goes through the close flow.
}

} // namespace kvr::gui
