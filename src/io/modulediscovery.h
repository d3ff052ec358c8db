#pragma once

#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUdpSocket>

#include "comm/discovery.h"
#include "comm/moduletable.h"
#include "io/discoveredmodule.h"
#include "io/operationrunner.h"
#include "util/result.h"

namespace kvr::io {

enum class ModuleChange : uint8_t { IpAddress, HostName };

// Finds the processor's Ethernet modules and configures them, over one UDP socket bound to any
// local address and an ephemeral port. Every call returns at once; what follows comes back as
// signals from the event loop. One scan or one awaited change at a time; identify never waits.
//
// A window drives it like this: scan() on "Scan" (and when ETHERNET is confirmed), a progress
// bar on scanProgress(), the list and the drop-down from scanFinished(); identify(), changeIp()
// and changeHostName() on their buttons, each change's box through messageRequested() and then
// changeFinished(), after which the window scans again.
class ModuleDiscovery : public QObject {
    Q_OBJECT
public:
    explicit ModuleDiscovery(QObject* parent = nullptr);
    ~ModuleDiscovery() override;

    // Where the discovery and change-IP messages go, and the UDP port of every message. An empty
    // address means the directed broadcast of this computer's first non-loopback IPv4 address,
    // looked up at every scan.
    void setTarget(const QString& address, quint16 port = core::discovery::kPort);
    QString target() const { return m_target; }
    quint16 port() const { return m_port; }
    // The address the next discovery goes to.
    core::Result<QString> resolvedTarget() const;
    // The directed broadcast of the first non-loopback IPv4 address of this computer.
    static core::Result<QString> defaultTarget();

    // Tests only: a shorter scan window or answer limit (defaults 3000 ms each).
    void setScanWindowMs(int ms) { m_scanWindowMs = ms; }
    void setAnswerLimitMs(int ms) { m_answerLimitMs = ms; }
    int scanWindowMs() const { return m_scanWindowMs; }

    bool isScanning() const { return m_state == State::Scanning; }
    bool isAwaitingAnswer() const { return m_state == State::AwaitingAnswer; }
    // The modules of the last scan (those found so far while one runs).
    const QList<DiscoveredModule>& modules() const { return m_modules; }

public slots:
    // Starts a scan; a scan that is running starts over. Refused while a change awaits its answer.
    bool scan();
    // "B" to the module; no answer is awaited.
    bool identify(const QString& moduleAddress);
    // "A" + identifier + "//" + new address + 0x00 to the target address; the answer within the
    // limit decides "IP Changed Successfully" or "Error Changing IP".
    bool changeIp(const QString& identifier, const QString& newAddress);
    // "L" then "SDN" + host name to the module; "Host Name Changed Successfully" or
    // "Error Changing Host Name".
    bool changeHostName(const QString& moduleAddress, const QString& hostName);

signals:
    void scanStarted();
    // 0 to 100 over the scan window.
    void scanProgress(int percent);
    // A module of this processor answered the running scan.
    void moduleFound(const kvr::io::DiscoveredModule& module);
    // The window closed; replies after it are not listed.
    void scanFinished(const QList<kvr::io::DiscoveredModule>& modules);
    // The answer to a change came (or the limit passed); its box went out just before.
    void changeFinished(kvr::io::ModuleChange change, bool ok);
    // A box to show: the result of a change, or why a scan could not send.
    void messageRequested(const kvr::core::Message& message);
    // A call that was not carried out, and why.
    void refused(const QString& reason);

private:
    enum class State : uint8_t { Idle, Scanning, AwaitingAnswer };

    bool ensureBound();
    bool sendTo(const QString& address, const core::Bytes& bytes);
    void onReadyRead();
    void onProgressTick();
    void onScanWindowClosed();
    void finishChange(bool ok);
    bool refuse(const QString& reason);

    QUdpSocket m_socket;
    QString m_target;
    quint16 m_port = core::discovery::kPort;
    int m_scanWindowMs = core::discovery::kScanWindowMs;
    int m_answerLimitMs = core::discovery::kChangeAnswerLimitMs;
    State m_state = State::Idle;
    ModuleChange m_change = ModuleChange::IpAddress;
    core::ModuleTable m_table;
    QList<DiscoveredModule> m_modules;
    QTimer m_scanTimer;
    QTimer m_progressTimer;
    QTimer m_answerTimer;
    QElapsedTimer m_scanClock;
    int m_lastProgress = -1;
};

} // namespace kvr::io

Q_DECLARE_METATYPE(kvr::io::ModuleChange)
