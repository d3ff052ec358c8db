#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

namespace kvr::sim {

// One place where a program talks to the processor, one client at a time: a TCP port, a
// pseudo-terminal, later an Ethernet module.
class Link : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual QString transportName() const = 0;
    virtual void send(const QByteArray& bytes) = 0;
    // Closes the current connection after what was sent has gone out.
    virtual void drop() = 0;

signals:
    void opened();
    void closed();
    void received(const QByteArray& bytes);
};

} // namespace kvr::sim
