#pragma once

// The fake processor of the unit tests behind real transports on this machine: a TCP server on
// 127.0.0.1 and the master side of a pseudo-terminal.

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>
#include <cstdio>

#include "../unit/fakeprocessor.h"

namespace kvr::test {

class FakeTcpProcessor {
public:
    explicit FakeTcpProcessor(FakeProcessor& proc) : m_proc(proc)
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&m_server, &QTcpServer::newConnection, [this] {
            while (QTcpSocket* s = m_server.nextPendingConnection()) {
                s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
                QObject::connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    const QByteArray in = s->readAll();
                    for (const auto& r : m_proc.receive(std::span<const uint8_t>(
                             reinterpret_cast<const uint8_t*>(in.constData()), size_t(in.size())))) {
                        s->write(reinterpret_cast<const char*>(r.data()), qint64(r.size()));
                        s->flush();
                    }
                    if (m_proc.disconnectRequested) {
                        m_proc.disconnectRequested = false;
                        s->abort();
                    }
                });
                QObject::connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
            }
        });
    }
    quint16 port() const { return m_server.serverPort(); }

private:
    FakeProcessor& m_proc;
    QTcpServer m_server;
};

class FakePtyProcessor {
public:
    explicit FakePtyProcessor(FakeProcessor& proc);
    ~FakePtyProcessor();
    QString devicePath() const { return m_path; }

private:
    void onReadable();
    FakeProcessor& m_proc;
    int m_master = -1;
    int m_slaveKeep = -1; // keeps the slave side alive between the program's opens
    QString m_path;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace kvr::test
