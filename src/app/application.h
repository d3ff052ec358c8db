#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>

#include "app/connectioncode.h"
#include "comm/action.h"
#include "config/configfile.h"
#include "config/configuration.h"
#include "config/library.h"
#include "util/bytes.h"
#include "util/message.h"
#include "util/result.h"

#include <deque>
#include <memory>
#include <variant>

class QTimer;

namespace kvr::core {
class DeviceOperation;
}
namespace kvr::io {
class Link;
class OperationRunner;
class TcpLink;
class UsbLink;
} // namespace kvr::io

namespace kvr::gui {

class FileDialogs;
class ModuleFinder;

// An Ethernet module found by a scan.
struct EthernetModule {
    QString ip;
    QString hostName;
    QString identifier;
};
class MessagePresenter;

// The program: the one Configuration, the file in use, the connection state and the device
// operations. Windows read it, observe its signals and change it only through its operations,
// one per user action.
class Application : public QObject {
    Q_OBJECT
public:
    Application(MessagePresenter& presenter, FileDialogs& dialogs, QObject* parent = nullptr);
    ~Application() override;

    MessagePresenter& presenter() { return m_presenter; }
    FileDialogs& dialogs() { return m_dialogs; }

    // ---- The Configuration and its file ----
    const core::Configuration& configuration() const { return m_config; }
    // "NoName" after New, the file name after Open or Save.
    QString documentName() const { return m_documentName; }
    QString windowTitle() const;
    bool loading() const { return m_loading; }
    // An exchange with the processor or a load is running: New, Open and close must wait.
    bool busy() const;

    // New: asks to save first. False when the user stopped it (or the save failed).
    bool newConfiguration();
    // Open: the open dialog, then the load. True when a file was loaded.
    bool openConfiguration();
    bool openConfigurationFile(const QString& path);
    // Save: the save dialog, then the write. True when written.
    bool saveConfiguration();
    bool saveConfigurationFile(const QString& path);
    // The close flow of the main window: true when the window may close.
    bool requestClose();

    // ---- Routing ----
    // A user's choice in the mode list: the mode's routes (and captions) applied.
    void chooseRoutingMode(int mode);
    // A route button: the free-mode question outside "Free Route", then the route advances.
    void clickRoute(int output);

    // ---- Main window extras ----
    bool memoryBlocked() const { return m_memoryBlocked; }
    void setMemoryBlocked(bool blocked);
    // The memory selector, 1..18.
    int memory() const { return m_memory; }
    void setMemory(int memory);

    // ---- Connection ----
    ConnectionCode connectionCode() const { return m_code; }
    ConnectionChoice connectionChoice() const { return m_choice; }
    bool usbInUse() const { return m_usbInUse; }
    bool ethernetInUse() const { return m_ethernetInUse; }
    QString statusText() const { return m_statusText; }
    bool statusConnected() const { return m_statusConnected; }
    // The device controls are enabled: connected and no operation running.
    bool deviceControlsEnabled() const { return m_deviceControlsEnabled; }
    bool askForConnection() const { return m_askForConnection; }
    // "Connect": ask for the connection again.
    void requestConnection();
    // A click on a choice of the connection window acts at once.
    void chooseConnection(ConnectionChoice choice);
    // The connection window's OK.
    void confirmConnection();
    void goOffline();
    // The Ethernet button: ETHERNET chosen, the module window shown.
    void showEthernetWindow();

    // ---- Ethernet modules ----
    const QList<EthernetModule>& modules() const { return m_modules; }
    bool scanning() const { return m_scanning; }
    int scanProgress() const { return m_scanProgress; }
    bool moduleChangeRunning() const { return m_change != ModuleChange::None; }
    // The scan's result line: "Scaning ...", the count found or "No Devices Found".
    QString scanResult() const { return m_scanResult; }
    // Index into modules(), -1 when none is chosen.
    int selectedModule() const { return m_selectedModule; }
    void scanModules();
    void selectModule(int index);
    void connectModule();
    void changeModuleIp(const QString& address);
    void changeModuleHostName(const QString& hostName);
    void identifyModule();
    // Where scans go; not owned. Without one a scan finds nothing.
    void setModuleFinder(ModuleFinder* finder);
    static constexpr int kScanMs = 3000;
    void setScanDurationMs(int ms) { m_scanMs = ms; }
    // How long a module change may take to be answered.
    // Longer than the modules' own answer limit, so their answer (or its absence) decides.
    static constexpr int kModuleChangeLimitMs = 4000;
    void setModuleChangeLimitMs(int ms) { m_changeLimitMs = ms; }

    // ---- Library maker ----
    static constexpr int kLibraryRows = 39;
    // Row texts Edit1..Edit39: chosen file names or memory names.
    const QStringList& libraryRows() const { return m_libraryRows; }
    QString libraryFileName() const { return m_libraryFileName; }
    const core::MemoryLibrary& library() const { return m_library; }
    void chooseLibraryRowFile(int row);
    void loadLibraryFiles();
    void saveLibrary();
    void openLibrary();
    void sendLibrary();

    // ---- Device operations (buttons and menu items) ----
    void storeConfiguration();
    void readMemory();
    void changeMemory();
    void readVersion();
    void readOperatingSystem();
    void uploadOperatingSystem();
    // The menu's lock asks once more before the operation's own question.
    void lockKeyboard(bool fromMenu);
    void unlockKeyboard();
    // Shows the password window; the window answers with sendPassword() or cancelPassword().
    void requestPassword();
    void sendPassword(const std::array<uint8_t, 6>& keys, bool active);
    void cancelPassword();
    void resetProcessor();

    // The TCP port of the Ethernet modules (1001; the virtual processor may listen elsewhere).
    void setEthernetPort(quint16 port) { m_ethernetPort = port; }
    quint16 ethernetPort() const { return m_ethernetPort; }
    io::OperationRunner& runner() { return *m_runner; }
    // The DSP version read last (0 until one was read).
    int dspVersion() const { return m_dspVersion; }

signals:
    void configurationChanged();
    void titleChanged(const QString& title);
    void busyChanged(bool busy);
    void memoryBlockedChanged(bool blocked);
    void memoryChanged(int memory);
    void connectionChanged();
    void connectionWindowRequested();
    void ethernetWindowRequested(bool scan);
    void passwordWindowRequested();
    void modulesChanged();
    void scanProgressChanged(int position);
    // The Ethernet module window closes (after connecting).
    void ethernetWindowDone();
    void libraryChanged();
    // A device operation ended (completed, or failed).
    void operationFinished(bool completed, bool failed);
    void loadStarted();
    void loadProgress(const kvr::core::LoadProgress& progress);
    void loadFinished();
    void commWindowVisibleChanged(bool visible);
    void commStatusChanged(const QString& text);
    void commProgressChanged(int position, int maximum);

private:
    // What a finished operation leads to.
    enum class Pending : uint8_t {
        None,
        UsbDetect,
        EthernetDetect,
        Store,
        Read,
        Change,
        Version,
        OsRead,
        OsUpload,
        Keyboard,
        Password,
        Reset,
        LibrarySend
    };
    // Boxes, questions and the connection window, shown one after another from the event loop
    // so that a running operation is never inside a box.
    struct QueuedBox {
        core::Message message;
    };
    struct QueuedQuestion {
        core::Question question;
    };
    struct QueuedConnectionWindow {};
    using UiEffect = std::variant<QueuedBox, QueuedQuestion, QueuedConnectionWindow>;

    void setUpDevice();
    bool startOperation(std::unique_ptr<core::DeviceOperation> operation, Pending pending, io::Link* link);
    io::Link* currentLink() const;
    io::Link* operationLink();
    bool refuseWhileBusy();
    void onOperationFinished(const core::Outcome& outcome);
    void onConnectionEffect(core::ConnectionEffect effect);
    void enqueue(UiEffect effect);
    void drainEffects();
    void answerQuestion(const core::Question& question);
    void closeSocket();
    core::Result<core::Bytes> buildImage() const;
    core::Result<core::Bytes> readOperatingSystemFile(const QString& path);
    void finishMemoryRead(const core::Outcome& outcome);
    void finishOperatingSystemRead(const core::Outcome& outcome);
    void clearLibraryRows();
    void fillLibraryRows();
    void setDocumentName(const QString& name);
    void setConfiguration(core::Configuration config);
    void setStatus(const QString& text, bool connected);
    void setConnectionCode(ConnectionCode code);
    void setChoice(ConnectionChoice choice);
    void updateDeviceControls();
    void setLoading(bool loading);
    core::Button ask(const core::Message& message);
    void showMessages(const std::vector<core::Message>& messages);
    // Asks to save before the Configuration is dropped; false when the caller must stop.
    bool offerSave(core::MessageKind kind);

    MessagePresenter& m_presenter;
    FileDialogs& m_dialogs;
    core::Configuration m_config;
    QString m_documentName;
    bool m_loading = false;
    bool m_memoryBlocked = false;
    int m_memory = 1;

    ConnectionCode m_code = ConnectionCode::Offline;
    ConnectionChoice m_choice = ConnectionChoice::Offline;
    bool m_usbInUse = false;
    bool m_ethernetInUse = false;
    bool m_askForConnection = true;
    bool m_deviceControlsEnabled = false;
    QString m_statusText;
    bool m_statusConnected = false;

    QList<EthernetModule> m_modules;
    bool m_scanning = false;
    int m_scanProgress = 0;
    QString m_scanResult;
    int m_selectedModule = -1;

    core::MemoryLibrary m_library;
    QStringList m_libraryRows;
    QString m_libraryFileName;

    ModuleFinder* m_finder = nullptr;
    QTimer* m_scanTimer = nullptr;
    QTimer* m_scanTicker = nullptr;
    QTimer* m_changeLimit = nullptr;
    int m_scanMs = kScanMs;
    int m_changeLimitMs = kModuleChangeLimitMs;
    enum class ModuleChange : uint8_t { None, Ip, HostName } m_change = ModuleChange::None;
    void onScanTimer();
    void onModuleFound(const EthernetModule& module);
    void onChangeAnswered(bool ok);
    void setUpEthernet();

    std::unique_ptr<io::OperationRunner> m_runner;
    io::UsbLink* m_usb = nullptr;
    io::TcpLink* m_tcp = nullptr;
    quint16 m_ethernetPort = 1001;
    Pending m_pending = Pending::None;
    int m_dspVersion = 0;
    int m_operationMemory = 1;
    bool m_usbChecking = false;
    std::deque<UiEffect> m_effects;
    bool m_draining = false;
    bool m_drainScheduled = false;
};

} // namespace kvr::gui
