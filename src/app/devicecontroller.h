#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <deque>
#include <memory>
#include <variant>
#include <vector>

#include "app/connectioncode.h"
#include "comm/action.h"
#include "util/bytes.h"
#include "util/message.h"
#include "util/result.h"

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

class DocumentController;
class FileDialogs;
class MessagePresenter;
class Settings;

// An Ethernet module found by a scan.
struct EthernetModule {
    QString ip;
    QString hostName;
    QString identifier;
};

// The connection to the processor and the operations on it: the chosen link, the connection
// state the windows show, and one device operation at a time through the operation runner.
class DeviceController : public QObject {
    Q_OBJECT
public:
    DeviceController(DocumentController& document, MessagePresenter& presenter, FileDialogs& dialogs,
                     Settings& settings, QObject* parent = nullptr);
    ~DeviceController() override;

    // A load or an exchange runs (shared with the document: New, Open and edits of history wait).
    bool busy() const;
    bool operationRunning() const { return m_pending != Pending::None; }

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
    // The choice the connection window shows: the one made in this run, else the one confirmed
    // last time the program ran.
    ConnectionChoice offeredChoice() const;
    // The connection window's OK with the choice it shows (made now if it was only offered).
    void confirmChoice(ConnectionChoice choice);
    // "Connect": ask for the connection again.
    void requestConnection();
    // A click on a choice of the connection window acts at once.
    void chooseConnection(ConnectionChoice choice);
    // The connection window's OK.
    void confirmConnection();
    void goOffline();
    // The Ethernet button: ETHERNET chosen, the module window shown.
    void showEthernetWindow();
    // Connect through a module found by a scan.
    void connectEthernet(const EthernetModule& module);
    // A scan found nothing: the ETHERNET choice, and any connection made with it, falls back to
    // offline (the link closed, "Status: Offline").
    void ethernetNotFound();

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
    // The library maker's send: the images into memories 1, 2, ...
    bool sendLibrary(std::vector<core::Bytes> images);

    // The TCP port of the Ethernet modules (1001; the virtual processor may listen elsewhere).
    void setEthernetPort(quint16 port) { m_ethernetPort = port; }
    quint16 ethernetPort() const { return m_ethernetPort; }
    io::OperationRunner& runner() { return *m_runner; }
    // The link operations go over, if any.
    io::Link* currentLink() const;
    // The DSP version read last (0 until one was read).
    int dspVersion() const { return m_dspVersion; }
    Settings& settings() { return m_settings; }

    // ---- What the last store or read came to, for the main window's status area ----
    // "Memory N stored and verified", "Memory N read", a mismatch...; empty before any.
    QString resultText() const { return m_resultText; }
    bool resultFailed() const { return m_resultFailed; }
    // Stores read the memory back and compare (remembered between runs; on at first).
    bool verifyAfterStore() const;
    void setVerifyAfterStore(bool verify);

signals:
    void memoryBlockedChanged(bool blocked);
    void memoryChanged(int memory);
    void connectionChanged();
    void connectionWindowRequested();
    void ethernetWindowRequested(bool scan);
    void passwordWindowRequested();
    // The Ethernet module window closes (after connecting).
    void ethernetWindowDone();
    // A device operation ended (completed, or failed).
    void operationFinished(bool completed, bool failed);
    void commWindowVisibleChanged(bool visible);
    void commStatusChanged(const QString& text);
    void commProgressChanged(int position, int maximum);
    void resultChanged();

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

    bool startOperation(std::unique_ptr<core::DeviceOperation> operation, Pending pending, io::Link* link);
    io::Link* operationLink();
    bool refuseWhileBusy();
    void onOperationFinished(const core::Outcome& outcome);
    void onConnectionEffect(core::ConnectionEffect effect);
    void enqueue(UiEffect effect);
    void drainEffects();
    void answerQuestion(const core::Question& question);
    void closeSocket();
    core::Result<core::Bytes> readOperatingSystemFile(const QString& path);
    void finishMemoryRead(const core::Outcome& outcome);
    void finishOperatingSystemRead(const core::Outcome& outcome);
    void setStatus(const QString& text, bool connected);
    void setResult(const QString& text, bool failed);
    void finishStore(const core::Outcome& outcome);
    void setConnectionCode(ConnectionCode code);
    void setChoice(ConnectionChoice choice);
    void updateDeviceControls();
    // Tells the document whether an exchange (or the USB check) runs.
    void publishBusy();

    DocumentController& m_document;
    MessagePresenter& m_presenter;
    FileDialogs& m_dialogs;
    Settings& m_settings;
    QString m_resultText;
    bool m_resultFailed = false;
    bool m_choiceMade = false;
    bool m_confirmAfterCheck = false;
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
